#include "startup.h"

#include "form1.h"
#include "records/data_location.h"
#include "main_window/ui_style.h"
#include "shell/program_font.h"
#include "shell/qt_dialogs.h"
#include "shell/qt_translation.h"
#include "shell/single_window.h"
#include "shell/single_window_texts.h"
#include "shell/termination_watch.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QStandardPaths>
#include <QStyleHints>

using namespace Qt::StringLiterals;

namespace torvanu {

Startup::Startup() = default;
Startup::~Startup() = default;

namespace {

void bringToFront(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    // An open editor or question stays in front of its window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

StartupClaim Startup::claimBook()
{
    // Only the name is needed to find the book; the rest waits for a window or a message.
    QCoreApplication::setApplicationName(u"Torvanu"_s);
    // Keyed by the book the window saves to: every copy of the program saves to the user's
    // own folder, whichever book it reads at start.
    const QString book =
        logFilePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    m_singleWindow = std::make_unique<SingleWindow>(book);
    switch (m_singleWindow->claim()) {
    case SingleWindow::Claim::Owner:
        return {};
    case SingleWindow::Claim::OtherRaised:
        return {false, 0,
                kAlreadyOpenRaised.toString().arg(QDir::toNativeSeparators(book)) + u"\n"_s};
    case SingleWindow::Claim::OtherSilent:
        break;
    }
    prepareApplication();
    if (!m_dialogs)
        m_dialogs = std::make_unique<QtDialogs>();
    m_dialogs->message(nullptr, kAlreadyOpenSilent.toString().arg(QDir::toNativeSeparators(book)),
                       Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
    return {false, 1, QString()};
}

void Startup::prepareApplication()
{
    if (m_prepared)
        return;
    m_prepared = true;
    QCoreApplication::setApplicationName(u"Torvanu"_s);
    QGuiApplication::setDesktopFileName(u"io.github.torvanu.Torvanu"_s);
    QApplication::setWindowIcon(QIcon(u":/torvanu.png"_s));
    mark(StartupPhase::Application);
    installFontSubstitutions();
    mark(StartupPhase::Fonts);
    // Without it Qt's own texts stay English; the program still works, so no message box.
    if (const auto missing = installQtTranslation(*QCoreApplication::instance()))
        qWarning("Qt's Japanese texts are missing: %s", qPrintable(missing->file));
    mark(StartupPhase::Translations);
    // The key names (Ctrl+Z, Shift) are the one English left in a text field's context menu;
    // the keys work all the same, as in the menus of a Japanese desktop's own text fields.
    QGuiApplication::styleHints()->setShowShortcutsInContextMenus(false);
}

void Startup::mark(StartupPhase phase) const
{
    if (m_phaseMark)
        m_phaseMark(phase);
}

Form1& Startup::start()
{
    prepareApplication();

    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString perUserFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // The book lives in the user's folder; one left beside the program by an older version moves.
    const DataLocation place = chooseDataLocation(programFolder, perUserFolder);
    if (!m_dialogs)
        m_dialogs = std::make_unique<QtDialogs>();
    // The main window is built in the program's typeface: built in the desktop's, every field
    // would lay out its text twice and Qt would look up a second family's fonts for nothing.
    // The desktop's comes back for the windows and menus that follow.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(msGothic(kCaptionPoints));
    m_window = std::make_unique<Form1>(*m_dialogs, Form1Folders{programFolder, place.readFolder,
                                                                perUserFolder, place.writeFolder});
    QApplication::setFont(desktopFont);
    mark(StartupPhase::Window);
    m_window->Form_Load();
    mark(StartupPhase::Book);
    m_window->show();
    mark(StartupPhase::Shown);
    if (m_singleWindow)
        QObject::connect(m_singleWindow.get(), &SingleWindow::raiseRequested, m_window.get(),
                         [window = m_window.get()] { bringToFront(*window); });
    // The end of the session closes the window like any other close, record book included.
    m_terminationWatch = std::make_unique<TerminationWatch>();
    QObject::connect(m_terminationWatch.get(), &TerminationWatch::terminationRequested,
                     m_window.get(), &QWidget::close);
    return *m_window;
}

} // namespace torvanu
