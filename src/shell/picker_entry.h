#pragma once

class QComboBox;

namespace torvanu {

// Keeps an editable picker's current entry in step with its text, however the text came
// (typed, picked, set by the program): the entry whose text it is, or none. The arrow keys,
// the mouse wheel and the open list then step on from what the picker shows; from a text
// that is no entry, Down starts at the first.
void followTextWithEntry(QComboBox* picker);

} // namespace torvanu
