#pragma once

#include "records/race_record.h"

#include <functional>
#include <optional>

class QMenu;
class QWidget;

namespace torvanu {

class Dialogs;
class Module1;
class RaceDetailWindow;

struct RaceDetailServices
{
    Dialogs& dialogs;
    std::function<std::optional<RaceRecord>()> selectedRecord; // nothing when none is selected
    Module1* module1 = nullptr; // saves the window's files; without it each window saves alone
};

// Opens the window for record, or says once why it cannot; owner holds the window.
RaceDetailWindow* openRaceDetail(QWidget* owner, Dialogs& dialogs,
                                 const std::optional<RaceRecord>& record,
                                 Module1* module1 = nullptr);

// Adds "レース詳細" to menu, for the record selected when it is chosen.
void addRaceDetailEntry(QMenu* menu, QWidget* owner, RaceDetailServices services);

} // namespace torvanu
