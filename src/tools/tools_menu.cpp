#include "tools/tools_menu.h"

#include "tools/book_location_window.h"

#include <QMenu>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kBookLocationEntry = u"記録ファイルの場所(&L)...";

} // namespace

void addBookLocationEntry(QMenu* menu, QWidget* owner, ToolsMenuServices services)
{
    QAction* location = menu->addAction(kBookLocationEntry.toString());
    location->setObjectName(u"mnBookLocation"_s);
    auto shared = std::make_shared<ToolsMenuServices>(std::move(services));
    QObject::connect(location, &QAction::triggered, owner, [owner, shared] {
        // A new window each time: the book's files are read afresh, and a closed window goes.
        auto* window = new BookLocationWindow(shared->bookFiles(), shared->openFolder, owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
}

} // namespace torvanu
