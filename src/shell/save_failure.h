#pragma once

#include "shell/save_flow.h"

#include <QString>
#include <QStringView>

class QWidget;

namespace torvanu {

class Dialogs;

// The lines beneath a failed save's message: the file and the cause. Empty for a save that
// was made or cancelled.
QString saveFailureDetail(const CsvSaveResult& result);

// Shows a failed save once: the window's own text, the detail beneath it. Shows nothing for a
// save that was made or cancelled. Returns whether the save failed.
bool showSaveFailure(Dialogs& dialogs, QWidget* owner, QStringView text,
                     const CsvSaveResult& result);

} // namespace torvanu
