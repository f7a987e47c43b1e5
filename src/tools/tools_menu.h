#pragma once

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace torvanu {

struct BookFiles;

// What the entry of the menu "ツール(&T)" that shows where the record book is kept needs.
struct ToolsMenuServices
{
    std::function<BookFiles()> bookFiles;
    std::function<void(const QString&)> openFolder;
};

// Adds the entry to menu; the windows it opens belong to owner.
void addBookLocationEntry(QMenu* menu, QWidget* owner, ToolsMenuServices services);

} // namespace torvanu
