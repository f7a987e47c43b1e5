#include "race_detail/race_detail_entry.h"

#include "shell/shared_captions.h"
#include "views/race_detail/race_detail_load.h"
#include "views/race_detail/race_detail_texts.h"
#include "race_detail/race_detail_window.h"
#include "shell/dialogs.h"
#include "shell/window_placement.h"

#include <QMenu>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu {

RaceDetailWindow* openRaceDetail(QWidget* owner, Dialogs& dialogs,
                                 const std::optional<RaceRecord>& record, Module1* module1)
{
    if (!record) {
        // The list shows only in the detail view: the message says where to find it.
        dialogs.message(owner,
                        u"%1の%2で記録を選んでください。"_s.arg(kDetailCheck, kRecordListCaption),
                        Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        return nullptr;
    }
    RaceDetailLoad load = loadRaceDetail(*record);
    if (!load.data) {
        dialogs.message(owner, load.error, Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return nullptr;
    }
    // A window manager cascades a second window below the first, past a low screen's edge;
    // the program cascades it itself, inside the screen.
    const RaceDetailWindow* previous = nullptr;
    const QList<RaceDetailWindow*> open =
        owner ? owner->findChildren<RaceDetailWindow*>() : QList<RaceDetailWindow*>();
    for (const RaceDetailWindow* window : open) {
        if (window->isVisible())
            previous = window;
    }
    auto* window = new RaceDetailWindow(std::move(*load.data), dialogs, module1, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (previous)
        moveCascaded(window, previous);
    window->show();
    return window;
}

void addRaceDetailEntry(QMenu* menu, QWidget* owner, RaceDetailServices services)
{
    QAction* entry = menu->addAction(kRaceDetailEntry.toString());
    entry->setObjectName(u"mnRaceDetail"_s);
    auto shared = std::make_shared<RaceDetailServices>(std::move(services));
    QObject::connect(entry, &QAction::triggered, owner, [owner, shared] {
        openRaceDetail(owner, shared->dialogs, shared->selectedRecord(), shared->module1);
    });
}

} // namespace torvanu
