#include "race_detail/race_detail_window.h"

#include "export/table_csv.h"
#include "race_detail/detail_picture.h"
#include "race_detail/route_view.h"
#include "race_detail/text_table.h"
#include "race_detail/best_efforts_table.h"
#include "shell/chart_view.h"
#include "shell/dialogs.h"
#include "shell/escape_closes.h"
#include "shell/module1.h"
#include "shell/save_failure.h"
#include "shell/save_flow.h"
#include "shell/screen_share.h"
#include "views/charts/image_texts.h"
#include "views/race_detail/course_map.h"
#include "views/race_detail/profile_chart.h"
#include "views/race_detail/race_detail_texts.h"

#include <QBuffer>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Enough for the table, both charts and the course side by side; a smaller screen gets its
// share of it (screen_share) and scrolls.
constexpr QSize kStartSize(1320, 720);
constexpr int kChartHeight = 150; // the least a chart is given before the window scrolls
// With every channel's column the split table takes 400 px: on a laptop at 200 % (683 px) the
// chart gives way down to this, so that no column of the table is cut off.
constexpr int kNarrowestChart = 160;

QLabel* label(const QString& name, const QString& text)
{
    auto* shown = new QLabel(text);
    shown->setObjectName(name);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return shown;
}

QGroupBox* frame(QStringView title, QWidget* content)
{
    auto* box = new QGroupBox(title.toString());
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QTableWidget* splitTable(const RaceDetailView& view)
{
    QTableWidget* table = textTable(u"SplitTable"_s, view.headers, view.rows);
    // The chart gives way first: a lap cut off is worse than a narrower chart.
    table->setMinimumWidth(table->horizontalHeader()->length() +
                           table->verticalScrollBar()->sizeHint().width() +
                           2 * table->frameWidth());
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// The split table with the button that saves it below.
QWidget* splitPart(const RaceDetailView& view, QPushButton* saveCsv)
{
    auto* part = new QWidget;
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins({});
    layout->addWidget(splitTable(view));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveCsv);
    layout->addLayout(buttons);
    return part;
}

// The race's name and date from the heading's first line, as a file name can hold it.
QString csvName(const QString& heading)
{
    QString name = heading.section(u'\n', 0, 0).simplified();
    for (const QChar c : u"/\\:*?\"<>|"_s)
        name.replace(c, u'_');
    name.replace(u"　"_s, u"_"_s);
    return name.isEmpty() ? kSplitCsvName.toString() : name + u'_' + kSplitCsvName.toString();
}

} // namespace

RaceDetailWindow::RaceDetailWindow(RaceDetailData data, Dialogs& dialogs, Module1* module1,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_data(std::move(data)), m_dialogs(dialogs),
      m_ownModule1(module1 ? nullptr : std::make_unique<Module1>(dialogs, this)),
      m_module1(module1 ? module1 : m_ownModule1.get())
{
    setObjectName(u"RaceDetail"_s);
    setWindowTitle(kRaceDetailTitle.toString());
    closeOnEscape(this);
    const RaceDetailView& view = m_data.view;

    m_paceChart = new ChartView;
    m_paceChart->setObjectName(u"PaceChart"_s);
    m_paceChart->setMinimumHeight(kChartHeight);
    m_paceChart->setMinimumWidth(kNarrowestChart);
    m_paceChart->setData(view.chart);
    m_paceChart->setToolTipText([this](int index) {
        const QStringList& tips = m_data.view.barTips;
        return index >= 0 && index < tips.size() ? tips[index] : QString();
    });

    auto* summary = new QVBoxLayout;
    summary->addWidget(label(u"RaceHeading"_s, m_data.heading));
    summary->addWidget(label(u"RaceSummary"_s, view.summary));
    if (!view.missingChannels.isEmpty())
        summary->addWidget(label(u"MissingChannels"_s, view.missingChannels));
    summary->addWidget(label(u"HalfSplit"_s, view.halfSplit));
    auto* extremes = new QHBoxLayout;
    extremes->addWidget(label(u"FastestKm"_s, view.fastest));
    extremes->addSpacing(24);
    extremes->addWidget(label(u"SlowestKm"_s, view.slowest));
    extremes->addStretch();
    summary->addLayout(extremes);
    summary->addWidget(label(u"EvenPace"_s, view.evenPace));

    m_saveImage = new QPushButton(kSaveImageButton.toString());
    m_saveImage->setObjectName(u"SaveImageButton"_s);
    connect(m_saveImage, &QPushButton::clicked, this, &RaceDetailWindow::savePicture);

    // The race's best efforts, below the course.
    m_bestEfforts = torvanu::bestEffortsFrame(bestEffortsView(bestEfforts(m_data.activity.track)));
    m_bestEfforts->setObjectName(u"BestEffortsFrame"_s);

    // The table runs down the left; the pace and profile share one x axis of km and stand one
    // above the other; the course and the best efforts take the right.
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    // A part the file has no data for is left out, the one beside it takes its room, and one
    // line under the summary says what is missing.
    QWidget* profile = profileFrame(summary);
    QWidget* course = courseFrame(summary);
    grid->addLayout(summary, 0, 0, 1, 2);
    grid->addWidget(m_saveImage, 0, 2, Qt::AlignRight | Qt::AlignTop);
    auto* saveCsvButton = new QPushButton(kSaveCsvButton.toString());
    saveCsvButton->setObjectName(u"SaveCsvButton"_s);
    connect(saveCsvButton, &QPushButton::clicked, this, &RaceDetailWindow::saveCsv);
    grid->addWidget(frame(kSplitFrame, splitPart(view, saveCsvButton)), 1, 0, 2, 1);
    grid->addWidget(frame(kPaceFrame, m_paceChart), 1, 1, profile ? 1 : 2, 1);
    if (profile)
        grid->addWidget(profile, 2, 1);
    if (course)
        grid->addWidget(course, 1, 2);
    grid->addWidget(m_bestEfforts, course ? 2 : 1, 2, course ? 1 : 2, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 3);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);

    // At 150 % or 200 % a laptop's screen holds less than the window's least size: it scrolls
    // there rather than cut off a lap or squeeze a chart flat.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // It scrolls to whatever takes the focus; it takes none itself, a Tab that shows nothing.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    resize(fitToScreen(kStartSize, QGuiApplication::primaryScreen()));
}

RaceDetailWindow::~RaceDetailWindow() = default;

QWidget* RaceDetailWindow::profileFrame(QVBoxLayout* notes)
{
    ProfileChart profile = profileChart(m_data.activity);
    if (profile.chart.series.empty()) {
        notes->addWidget(label(u"ProfileNote"_s, profile.note));
        return nullptr;
    }
    auto* box = new QGroupBox(kProfileFrame.toString());
    auto* layout = new QVBoxLayout(box);
    m_profileChart = new ChartView;
    m_profileChart->setObjectName(u"ProfileChart"_s);
    m_profileChart->setMinimumHeight(kChartHeight);
    m_profileChart->setData(std::move(profile.chart));
    layout->addWidget(m_profileChart, 1);
    // The channel the file lacks, under the chart that would have shown it.
    if (!profile.note.isEmpty())
        layout->addWidget(label(u"ProfileNote"_s, profile.note));
    return box;
}

QWidget* RaceDetailWindow::courseFrame(QVBoxLayout* notes)
{
    std::optional<CourseMap> course = courseMap(m_data.activity);
    if (!course) {
        notes->addWidget(label(u"CourseNote"_s, kNoCourse.toString()));
        return nullptr;
    }
    m_route = new RouteView(std::move(*course));
    m_route->setObjectName(u"RouteView"_s);
    return frame(kCourseFrame, m_route);
}

std::optional<QByteArray> RaceDetailWindow::picturePng() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) ||
        !detailPicture(*m_paceChart, m_profileChart, m_route).save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

void RaceDetailWindow::saveCsv()
{
    showSaveFailure(m_dialogs, this, kCsvWriteFailed,
                    m_module1->SaveAsCSV(tableCsvText(m_data.view.headers, m_data.view.rows),
                                         csvName(m_data.heading)));
}

void RaceDetailWindow::savePicture()
{
    SaveFolders& folders = m_module1->saveFolders();
    showSaveFailure(m_dialogs, this, kImageWriteError,
                    saveThroughChooser(m_dialogs, this, folders,
                                       {kSaveImageTitle.toString(),
                                        {kImageFilter.toString()},
                                        kImageSuffix,
                                        SaveFolders::Kind::Image,
                                        folders.startFolder(SaveFolders::Kind::Image),
                                        kRaceDetailTitle.toString() + kImageSuffix.toString()},
                                       [this] { return picturePng(); }));
}

} // namespace torvanu
