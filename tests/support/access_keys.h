#pragma once

class QWidget;

namespace torvanu::test {

// What some desktops do to every Qt program: an access-key "&" put into each caption of
// buttons, tabs and frames under root. A caption that has one already is left alone, so the
// call can follow every step that sets a caption anew.
void addAccessKeys(QWidget* root);

} // namespace torvanu::test
