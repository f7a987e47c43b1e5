#pragma once

class QComboBox;

namespace torvanu {

// Makes a new picker editable, with no completion: a typed text is kept as typed, never
// completed into an entry's text nor added as an entry. Called before anything else is done
// with the picker, so that its list is later set up as an editable picker's.
void makeTypedTextPicker(QComboBox* picker);

// Keeps an editable picker's current entry in step with its text, however the text came
// (typed, picked, set by the program): the entry whose text it is, or none. The arrow keys,
// the mouse wheel and the open list then step on from what the picker shows; from a text
// that is no entry, Down starts at the first.
void followTextWithEntry(QComboBox* picker);

// Lets digits typed on a non-editable picker choose the entry they name, whatever blanks or
// zeros pad its text: the hour list holds " 0" … " 9", the month list "01" … "09", and Qt's
// own search, comparing from the first character, would answer "3" with nothing. Digits typed in
// quick succession make one number ("4", "5" picks 45); one that would name no entry starts a new
// number. Every other key keeps Qt's behaviour.
void pickByTypedDigits(QComboBox* picker);

} // namespace torvanu
