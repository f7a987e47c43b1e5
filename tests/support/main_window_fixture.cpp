#include "main_window_fixture.h"

#include "support/file_helpers.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace torvanu::test {

QString MainWindowFixture::folder(const QString& name) const
{
    return name.isEmpty() ? environment.path() : environment.filePath(name);
}

QString MainWindowFixture::logPath() const
{
    return environment.filePath(u"log.dat"_s);
}

bool MainWindowFixture::start(const Options& options)
{
    if (options.log && !writeFile(logPath(), *options.log))
        return false;
    const QString top = environment.path();
    form = std::make_unique<Form1>(dialogs, Form1Folders{top, top, folder(options.recoveryFolder),
                                                         folder(options.dataWriteFolder)});
    form->Form_Load();
    switch (options.show) {
    case Show::Hidden:
        return true;
    case Show::Exposed:
        form->show();
        return QTest::qWaitForWindowExposed(form.get());
    case Show::Active:
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }
    return false;
}

} // namespace torvanu::test
