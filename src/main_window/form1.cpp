#include "form1.h"

#include "calculator_panel.h"
#include "captions.h"
#include "drag_bar.h"
#include "lap_table_panel.h"
#include "about/about_box.h"
#include "about/form2.h"
#include "about/help_links.h"
#include "analysis_window/analysis_window.h"
#include "export/csv_text.h"
#include "pace_band/pace_band_dialog.h"
#include "race_detail/race_detail_entry.h"
#include "records/record_model.h"
#include "record_book/book_choice.h"
#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "shell/dialogs.h"
#include "records/data_location.h"
#include "shell/module1.h"
#include "shell/save_failure.h"
#include "shell/shared_captions.h"
#include "shell/window_placement.h"
#include "program_version.h"
#include "tools/book_location_window.h"
#include "tools/tools_menu.h"
#include "history_import/history_import_entry.h"
#include "ui_style.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Window-level sizes, in twips.
constexpr int kDetailWidthTw = 12165;
constexpr int kCompactWidthTw = 5085;
constexpr int kCompactHeightTw = 5800;
constexpr int kStartHeightTw = 10000;
constexpr int kDetailTabWidthTw = 11535;
constexpr int kCompactTabWidthTw = 4455;
constexpr int kTabHeightTw = 4455;
constexpr int kListLeftTw = 1440;
constexpr int kListTopTw = 5040;
constexpr int kListWidthTw = 10335;
constexpr int kDragBarLeftTw = 240;
constexpr int kDragBarWidthTw = 12135;
constexpr int kDragBarHeightTw = 100;

QRect twipsRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

} // namespace

Form1::Form1(Dialogs& dialogs, Form1Folders folders, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_folders(std::move(folders))
{
    setObjectName(u"Form1"_s);
    setFont(msGothic(kCaptionPoints));

    m_module1 = std::make_unique<Module1>(m_dialogs, this);
    m_aboutBox =
        std::make_unique<AboutBox>(*m_module1, helpPagePath(m_folders.programFolder), this);

    auto* client = new QWidget(this);
    client->setObjectName(u"client"_s);
    setCentralWidget(client);

    m_lapTable = new LapTablePanel(client);
    m_lapTable->setGeometry(twipsRect(5040, 720, 6495, 3735));
    m_calculator = new CalculatorPanel(client, m_dialogs, *m_lapTable);

    m_check1 = new QCheckBox(kDetailCheck.toString(), client);
    m_check1->setObjectName(u"Check1"_s);
    m_check1->setFont(msGothic(kCaptionPoints));
    m_check1->setGeometry(twipsRect(3240, 3240, 1215, 375));

    buildRecordArea(client);
    buildMenus();
    connect(m_lapTable->csvButton(), &QPushButton::clicked, this, [this] { CSVFileSave(); });

    // The calculator's panels and the lap table lie on top of the tab strip.
    m_calculator->tabStrip()->lower();
    connect(m_check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(m_dragBar, &DragBar::mouseMoved, this, [this](Qt::MouseButtons buttons, int y) {
        Picture4_MouseMove(buttons, y * kTwipsPerPixel);
    });

    m_outerWidthTw = kDetailWidthTw;
    m_outerHeightTw = kStartHeightTw;
}

Form1::~Form1() = default;

void Form1::buildMenus()
{
    QMenu* menu = menuBar()->addMenu(kMenuMenu.toString());
    menu->setObjectName(u"mnMenu"_s);
    m_mnInfo = menu->addAction(kMenuDetail.toString());
    m_mnInfo->setObjectName(u"mnInfo"_s);
    m_mnInfo->setCheckable(true);
    connect(m_mnInfo, &QAction::triggered, this, &Form1::mnInfo_Click);
    menu->addSeparator()->setObjectName(u"mnbd1"_s);
    QAction* end = menu->addAction(kMenuEnd.toString());
    end->setObjectName(u"mnEnd"_s);
    connect(end, &QAction::triggered, this, [this] { m_module1->UnloadAllForms(); });

    QMenu* tools = menuBar()->addMenu(kMenuTools.toString());
    tools->setObjectName(u"mnTools"_s);
    QAction* analysis = tools->addAction(kMenuAnalysis.toString());
    analysis->setObjectName(u"mnAnalysis"_s);
    connect(analysis, &QAction::triggered, this, &Form1::showAnalysisWindow);
    QAction* paceBand = tools->addAction(kMenuPaceBand.toString());
    paceBand->setObjectName(u"mnPaceBand"_s);
    connect(paceBand, &QAction::triggered, this, &Form1::mnPaceBand_Click);
    addRaceDetailEntry(tools, this,
                       {m_dialogs,
                        [this]() -> std::optional<RaceRecord> {
                            if (const auto row = m_recordBook->selectedRow())
                                return m_recordBook->model().record(*row);
                            return std::nullopt;
                        },
                        m_module1.get()});
    addBookLocationEntry(tools, this,
                         {[this] {
                              return BookFiles{logFilePath(m_folders.dataFolder),
                                               logFilePath(m_folders.saveFolder())};
                          },
                          [this](const QString& folder) { m_module1->ShellOpen(folder); }});
    addHistoryImportEntry(
        tools, this,
        {m_dialogs,
         [this] {
             QList<RaceRecord> records;
             const RecordModel& model = m_recordBook->model();
             for (int row = 0; row < model.rowCount(); ++row)
                 records.append(model.record(row));
             return records;
         },
         [this] { return m_folders.saveFolder(); },
         [this](const QList<RaceRecord>& records) { m_recordBook->appendRecords(records); }});

    QMenu* help = menuBar()->addMenu(kMenuHelp.toString());
    help->setObjectName(u"mnHelp"_s);
    QAction* online = help->addAction(kMenuOnlineHelp.toString());
    online->setObjectName(u"mnOnlineHelp"_s);
    QAction* readme = help->addAction(kMenuReadme.toString());
    readme->setObjectName(u"mnReadme"_s);
    help->addSeparator()->setObjectName(u"mnbd2"_s);
    QAction* version = help->addAction(kMenuVersion.toString());
    version->setObjectName(u"mnVer"_s);
    connect(online, &QAction::triggered, this,
            [this] { openOnlineHelp(*m_module1, m_folders.programFolder); });
    connect(readme, &QAction::triggered, this,
            [this] { openReadme(*m_module1, m_folders.programFolder); });
    connect(version, &QAction::triggered, this, [this] { m_aboutBox->show(); });
}

void Form1::showAnalysisWindow()
{
    if (!m_analysisWindow) {
        // What the analysis fills in is shown at once: the main window comes to the front.
        AnalysisWindow::Services services{m_dialogs,
                                          [this](int row) {
                                              m_recordBook->selectRow(row);
                                              bringToFront();
                                          },
                                          [this](const Goal& goal) {
                                              m_calculator->takeGoal(goal.distanceKm, goal.hours,
                                                                     goal.minutes, goal.seconds);
                                              bringToFront();
                                          },
                                          &m_module1->saveFolders()};
        m_analysisWindow = new AnalysisWindow(m_recordBook->model(), std::move(services), this);
        // Beside the calculator, whose numbers it is read against; later openings keep
        // wherever the user moved it.
        moveBeside(m_analysisWindow, this);
    }
    m_analysisWindow->show();
    m_analysisWindow->raise();
    m_analysisWindow->activateWindow();
}

void Form1::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Form1::buildRecordArea(QWidget* client)
{
    auto* caption = new QLabel(kRecordListCaption.toString(), client);
    caption->setObjectName(u"Label9"_s);
    caption->setGeometry(twipsRect(240, 5040, 1080, 180));

    auto* picture = new QLabel(client);
    picture->setObjectName(u"Picture5"_s);
    picture->setPixmap(QPixmap(u":/torvanu.png"_s));
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(twipsRect(480, 5400, 540, 540));

    m_recordBook = new RecordBook(
        client,
        RecordBook::Services{m_dialogs,
                             [this](QWidget* owner, const QString& current) {
                                 return m_module1->BrowseDataFile(owner, current);
                             },
                             [this](const QString& target) { m_module1->ShellOpen(target); },
                             [] { return QDate::currentDate(); }},
        m_folders.dataFolder, m_folders.saveFolder(), m_folders.recoveryFolder);
    m_recordBook->listView()->setGeometry(twipsRect(kListLeftTw, kListTopTw, kListWidthTw, 3615));
    m_recordBook->newButton()->setGeometry(twipsRect(240, 6240, 975, 375));
    m_recordBook->editButton()->setGeometry(twipsRect(240, 6720, 975, 375));
    m_recordBook->deleteButton()->setGeometry(twipsRect(240, 7200, 975, 375));
    m_recordBook->upButton()->setGeometry(twipsRect(240, 7800, 375, 495));
    m_recordBook->downButton()->setGeometry(twipsRect(840, 7800, 375, 495));

    m_dragBar = new DragBar(client);
    m_dragBar->setGeometry(twipsRect(kDragBarLeftTw, 8760, kDragBarWidthTw, kDragBarHeightTw));
    m_recordArea = {caption,
                    picture,
                    m_recordBook->listView(),
                    m_recordBook->newButton(),
                    m_recordBook->editButton(),
                    m_recordBook->deleteButton(),
                    m_recordBook->upButton(),
                    m_recordBook->downButton(),
                    m_dragBar};
}

void Form1::Form_Load()
{
    // Asked before either book is read; the chosen one is read and saved where it is.
    if (const std::optional<QString> book =
            chooseBook(m_dialogs, this, m_folders.programFolder, m_folders.saveFolder())) {
        m_folders.dataFolder = *book;
        m_folders.dataWriteFolder = *book;
        m_recordBook->useFolder(*book);
    }
    if (m_recordBook->logFileExists())
        m_recordBook->LoadLogData();
    m_recordBook->RestoreUnsavedChanges();
    setWindowTitle(kProgramTitle.toString());
    m_calculator->showGoalTimePanel();
    m_outerHeightTw = kStartHeightTw;
    applyOuterSize();
    Check1_Click();
    UpdateResults(Mode::GoalTime);
}

void Form1::UpdateResults(Mode mode)
{
    m_calculator->UpdateResults(mode);
}

void Form1::FullMarathonMatrix(Mode mode)
{
    m_calculator->FullMarathonMatrix(mode);
}

void Form1::CSVFileSave()
{
    CsvScreen screen;
    const std::optional<Mode> shown = m_calculator->visibleMode();
    screen.panel =
        !shown ? CsvPanel::None : (*shown == Mode::GoalTime ? CsvPanel::GoalTime : CsvPanel::Pace);
    const CalculatorPanel& c = *m_calculator;
    screen.goalDistance = c.pickerText(Mode::GoalTime, 0);
    screen.goalUnit = c.unitText(Mode::GoalTime);
    screen.paceMinutes = c.pickerText(Mode::GoalTime, 1);
    screen.paceSeconds = c.pickerText(Mode::GoalTime, 2);
    screen.goalTimeDisplay = c.resultText(Mode::GoalTime);
    screen.paceDistance = c.pickerText(Mode::Pace, 0);
    screen.paceUnit = c.unitText(Mode::Pace);
    screen.goalHours = c.pickerText(Mode::Pace, 1);
    screen.goalMinutes = c.pickerText(Mode::Pace, 2);
    screen.goalSeconds = c.pickerText(Mode::Pace, 3);
    screen.paceDisplay = c.resultText(Mode::Pace);
    screen.speed = m_lapTable->speedText();
    for (int km = 1; km <= kLapRows; ++km)
        screen.splits[km - 1] = m_lapTable->split(km);
    screen.halfTime = m_lapTable->half();
    screen.fullTime = m_lapTable->full();

    const auto showError = [this](const QString& text) {
        m_dialogs.message(this, text, Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
    };
    const std::optional<QString> text = csvText(screen);
    if (!text) {
        showError(kCsvWriteError.toString());
        return;
    }
    showSaveFailure(m_dialogs, this, kCsvWriteError, m_module1->SaveAsCSV(*text));
}

bool Form1::detailMode() const
{
    return m_check1->isChecked();
}

QSize Form1::frameExtent() const
{
    // What the window manager adds around the window: title bar and borders.
    return {std::max(0, frameGeometry().width() - geometry().width()),
            std::max(0, frameGeometry().height() - geometry().height())};
}

int Form1::clientHeightTwips() const
{
    const int wrapped = menuBar()->heightForWidth(pixels(m_outerWidthTw));
    const int menu = wrapped > 0 ? wrapped : menuBar()->sizeHint().height();
    return (pixels(shownOuterHeightTwips()) - frameExtent().height() - menu) * kTwipsPerPixel;
}

void Form1::Check1_Click()
{
    if (!m_check1->isChecked()) {
        m_detailHeightTw = m_outerHeightTw;
        m_mnInfo->setChecked(false);
        m_lapTable->hide();
        m_calculator->tabStrip()->resize(pixels(kCompactTabWidthTw), pixels(kTabHeightTw));
        setOuterSize(kCompactWidthTw, kCompactHeightTw);
        setRecordAreaVisible(false);
        m_dragBarTopTw = clientHeightTwips() - kDragBarHeightTw;
        placeDragBar();
    } else {
        m_mnInfo->setChecked(true);
        m_lapTable->show();
        m_calculator->tabStrip()->resize(pixels(kDetailTabWidthTw), pixels(kTabHeightTw));
        setRecordAreaVisible(true);
        setOuterSize(kDetailWidthTw, m_detailHeightTw);
        m_dragBarTopTw = clientHeightTwips() - kDragBarHeightTw;
        placeDragBar();
        fitListToDragBar();
    }
    if (const auto mode = m_calculator->visibleMode())
        UpdateResults(*mode);
}

void Form1::mnInfo_Click(bool checked)
{
    // The action has already toggled its own mark; the check box follows it, and its
    // change runs the switch.
    m_check1->setChecked(checked);
}

void Form1::mnPaceBand_Click()
{
    PaceBandSource source;
    source.mode = m_calculator->visibleMode().value_or(Mode::GoalTime);
    const int pickers = source.mode == Mode::GoalTime ? 3 : 4;
    for (int i = 0; i < pickers; ++i)
        source.pickers[static_cast<std::size_t>(i)] = m_calculator->pickerText(source.mode, i);
    source.unit = m_calculator->unitText(source.mode);
    // A snapshot of the calculator: a band already open keeps its plan, a new one starts anew.
    auto* dialog = new PaceBandDialog(m_dialogs, *m_module1, source, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void Form1::Picture4_MouseMove(Qt::MouseButtons buttons, int yTwips)
{
    if (buttons != Qt::LeftButton || !m_check1->isChecked())
        return;
    const int newTop = m_dragBarTopTw + yTwips;
    if (kListTopTw >= newTop)
        return;
    const int frame = shownOuterHeightTwips() - clientHeightTwips();
    setOuterSize(m_outerWidthTw, frame + kDragBarHeightTw + newTop);
    // At the screen's lower edge the bar stops where the window does.
    m_dragBarTopTw = std::min(newTop, clientHeightTwips() - kDragBarHeightTw);
    placeDragBar();
    fitListToDragBar();
}

void Form1::setRecordAreaVisible(bool visible)
{
    // The compact window ends above the record list. Without a title bar (no window manager)
    // the same outer height would let its top show through, so the area is hidden as well.
    for (QWidget* widget : m_recordArea)
        widget->setVisible(visible);
}

void Form1::fitListToDragBar()
{
    QWidget* list = m_recordBook->listView();
    list->resize(list->width(), std::max(0, pixels(m_dragBarTopTw) - pixels(kListTopTw)));
}

void Form1::placeDragBar()
{
    m_dragBar->setGeometry(
        twipsRect(kDragBarLeftTw, m_dragBarTopTw, kDragBarWidthTw, kDragBarHeightTw));
}

void Form1::setOuterSize(int widthTw, int heightTw)
{
    m_outerWidthTw = widthTw;
    m_outerHeightTw = heightTw;
    applyOuterSize();
}

void Form1::applyOuterSize()
{
    // The sizes are outer sizes, title bar and frame included; what the window manager adds
    // is only known from the real window, so it is measured every time.
    const QSize frame = frameExtent();
    m_appliedFrame = frame;
    setFixedSize(pixels(m_outerWidthTw) - frame.width(),
                 pixels(shownOuterHeightTwips()) - frame.height());
    keepOnScreen();
}

int Form1::shownOuterHeightTwips() const
{
    const QScreen* shownOn = screen();
    if (!shownOn)
        return m_outerHeightTw;
    return std::min(m_outerHeightTw, shownOn->availableGeometry().height() * kTwipsPerPixel);
}

void Form1::keepOnScreen()
{
    // Growing downward from where it stands would put the record list and the drag bar
    // below the screen's edge, out of the user's reach: the window moves up instead.
    const QScreen* shownOn = screen();
    if (!shownOn)
        return;
    const QRect area = shownOn->availableGeometry();
    const QRect outer = frameGeometry();
    const int height = pixels(shownOuterHeightTwips());
    if (outer.y() + height <= area.bottom() + 1)
        return;
    move(outer.x(), std::max(area.top(), area.bottom() + 1 - height));
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    applyOuterSize();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A window manager that adds its frame after the window appears announces it with a
    // move; the outer size must stay what the program set.
    const QSize frame = frameExtent();
    if (frame != m_appliedFrame)
        applyOuterSize();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload())
        event->accept();
    else
        event->ignore();
}

bool Form1::Form_QueryUnload()
{
    if (m_unloading)
        return true;
    m_unloading = true;
    // The user may keep the window open when the book cannot be saved or changed outside.
    if (!m_recordBook->SaveLogData()) {
        m_unloading = false;
        return false;
    }
    m_module1->UnloadAllForms();
    return true;
}

} // namespace torvanu
