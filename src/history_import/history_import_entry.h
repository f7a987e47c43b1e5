#pragma once

#include "history_import/history_import_window.h"

class QMenu;

namespace torvanu {

// Adds "記録の一括読込(&I)..." to menu. The window it opens belongs to owner; choosing the
// entry again brings the open one forward instead of a second.
void addHistoryImportEntry(QMenu* menu, QWidget* owner, HistoryImportServices services);

} // namespace torvanu
