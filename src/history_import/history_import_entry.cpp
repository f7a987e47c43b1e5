#include "history_import/history_import_entry.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kEntryCaption = u"記録の一括読込(&I)...";

} // namespace

void addHistoryImportEntry(QMenu* menu, QWidget* owner, HistoryImportServices services)
{
    QAction* entry = menu->addAction(kEntryCaption.toString());
    entry->setObjectName(u"mnHistoryImport"_s);
    auto shared = std::make_shared<HistoryImportServices>(std::move(services));
    auto open = std::make_shared<QPointer<HistoryImportWindow>>();
    QObject::connect(entry, &QAction::triggered, owner, [owner, shared, open] {
        if (!*open) {
            *open = new HistoryImportWindow(*shared, owner);
            (*open)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*open)->show();
        (*open)->raise();
        (*open)->activateWindow();
    });
}

} // namespace torvanu
