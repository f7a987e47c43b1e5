#pragma once

class QWidget;

namespace torvanu {

// Escape closes window, as it closes every dialog: the program's own windows that are not
// dialogs behave the same to a keyboard user.
void closeOnEscape(QWidget* window);

} // namespace torvanu
