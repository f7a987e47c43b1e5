#pragma once

#include <QString>

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace torvanu {

struct BookFiles;

// The menu "ツール(&T)": the program's additions that have no place in its original windows.
struct ToolsMenuServices
{
    std::function<BookFiles()> bookFiles;
    std::function<void(const QString&)> openFolder;
};

// Adds the menu to bar before `before` (null: at the end); windows it opens belong to owner.
void addToolsMenu(QMenuBar* bar, QAction* before, QWidget* owner, ToolsMenuServices services);

} // namespace torvanu
