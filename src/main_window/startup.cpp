#include "startup.h"

#include "form1.h"
#include "records/data_location.h"
#include "shell/program_font.h"
#include "shell/qt_dialogs.h"
#include "shell/qt_translation.h"
#include "shell/termination_watch.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStandardPaths>
#include <QStyleHints>

using namespace Qt::StringLiterals;

namespace torvanu {

Startup::Startup() = default;
Startup::~Startup() = default;

Form1& Startup::start()
{
    QCoreApplication::setApplicationName(u"Torvanu"_s);
    QGuiApplication::setDesktopFileName(u"io.github.torvanu.Torvanu"_s);
    QApplication::setWindowIcon(QIcon(u":/torvanu.png"_s));
    installFontSubstitutions();
    // Without it Qt's own texts stay English; the program still works, so no message box.
    if (const auto missing = installQtTranslation(*QCoreApplication::instance()))
        qWarning("Qt's Japanese texts are missing: %s", qPrintable(missing->file));
    // The key names (Ctrl+Z, Shift) are the one English left in a text field's context menu;
    // the keys work all the same, as in the menus of a Japanese desktop's own text fields.
    QGuiApplication::styleHints()->setShowShortcutsInContextMenus(false);

    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString perUserFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // The book lives in the user's folder; one left beside the program by an older version moves.
    const DataLocation place = chooseDataLocation(programFolder, perUserFolder);
    m_dialogs = std::make_unique<QtDialogs>();
    m_window = std::make_unique<Form1>(*m_dialogs, Form1Folders{programFolder, place.readFolder,
                                                                perUserFolder, place.writeFolder});
    m_window->Form_Load();
    m_window->show();
    // The end of the session closes the window like any other close, record book included.
    m_terminationWatch = std::make_unique<TerminationWatch>();
    QObject::connect(m_terminationWatch.get(), &TerminationWatch::terminationRequested,
                     m_window.get(), &QWidget::close);
    return *m_window;
}

} // namespace torvanu
