#include "calculator_panel.h"

#include "calc/lap_table.h"
#include "calc/validation.h"
#include "captions.h"
#include "lap_table_panel.h"
#include "records/record_cells.h"
#include "shell/dialogs.h"
#include "shell/picker_entry.h"
#include "storage/text_bridge.h"
#include "ui_style.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// The tab strip's tabs in the order they are added.
constexpr int kGoalTimeTabIndex = 0;
constexpr int kPaceTabIndex = 1;

// "0 " to "9 " carry a trailing blank, as the list shows them; then "10" and up.
QString countEntry(int value)
{
    return value >= 0 && value < 10 ? u"%1 "_s.arg(value) : QString::number(value);
}

QStringList countEntries(int last)
{
    QStringList entries;
    for (int i = 0; i <= last; ++i)
        entries.append(countEntry(i));
    return entries;
}

QComboBox* makePicker(QWidget* parent, const QString& name, const QStringList& entries,
                      const QString& text, QRect geometry)
{
    auto* picker = new QComboBox(parent);
    picker->setObjectName(name);
    // Completion would rewrite the text while the user types it; every keystroke must be
    // calculated as typed.
    makeTypedTextPicker(picker);
    picker->setFont(msGothic(kPickerPoints));
    picker->addItems(entries);
    picker->setEditText(text);
    followTextWithEntry(picker);
    picker->setGeometry(geometry);
    return picker;
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, QStringView caption, QRect geometry)
{
    auto* frame = new QGroupBox(caption.toString(), parent);
    frame->setObjectName(name);
    frame->setFont(msGothic(kCaptionPoints));
    frame->setGeometry(geometry);
    return frame;
}

QLabel* makeLabel(QWidget* parent, const QString& name, QStringView caption, QPoint at,
                  QSize size = {})
{
    auto* label = new QLabel(caption.toString(), parent);
    label->setObjectName(name);
    label->setFont(msGothic(kCaptionPoints));
    if (size.isValid())
        label->setGeometry(QRect(at, size));
    else {
        label->adjustSize();
        label->move(at);
    }
    return label;
}

QPushButton* makeUnitButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(toQString(torvanu::unitText(Unit::Km)), parent);
    button->setObjectName(name);
    button->setFont(msGothic(kCaptionPoints));
    button->setGeometry(216, 24, 33, 25);
    return button;
}

QLineEdit* makeResultBox(QWidget* parent, const QString& name, QRect geometry, const QColor& colour)
{
    auto* box = new QLineEdit(kInitialResult.toString(), parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFont(msGothic(kResultPoints, true));
    box->setGeometry(geometry);
    setTextColour(box, colour);
    return box;
}

void colourPicker(QComboBox* picker, const QColor& text)
{
    setTextColour(picker, text);
    setTextColour(picker->lineEdit(), text);
}

} // namespace

CalculatorPanel::CalculatorPanel(QWidget* client, Dialogs& dialogs, LapTablePanel& lapTable)
    : QObject(client), m_dialogs(dialogs), m_lapTable(lapTable)
{
    m_tabStrip = new QTabWidget(client);
    m_tabStrip->setObjectName(u"TabStrip1"_s);
    m_tabStrip->setFont(msGothic(kCaptionPoints));
    // The pages stay empty: the panels lie on top of the strip and are shown and hidden by
    // the tab change itself.
    m_tabStrip->addTab(new QWidget, kTabGoalTime.toString());
    m_tabStrip->addTab(new QWidget, kTabPace.toString());
    m_tabStrip->setGeometry(16, 16, 769, 297);

    buildGoalTimePanel(client);
    buildPacePanel(client);

    connectTab(Mode::GoalTime);
    connectTab(Mode::Pace);
    connect(m_tabStrip, &QTabWidget::currentChanged, this, [this] { TabStrip1_Click(); });
}

void CalculatorPanel::buildGoalTimePanel(QWidget* client)
{
    Tab& goal = tab(Mode::GoalTime);
    goal.panel = new QWidget(client);
    goal.panel->setObjectName(u"Picture1"_s);
    goal.panel->setGeometry(24, 48, 281, 233);

    QGroupBox* distance = makeFrame(goal.panel, u"Frame2"_s, kFrameDistance, {8, 8, 265, 65});
    goal.pickers[0] = makePicker(distance, u"Combo1"_s, distancePresets(),
                                 kInitialDistance.toString(), {16, 24, 185, 24});
    goal.unitButton = makeUnitButton(distance, u"Command1"_s);

    QGroupBox* pace = makeFrame(goal.panel, u"Frame3"_s, kFramePace, {8, 88, 265, 65});
    goal.pickers[1] = makePicker(pace, u"Combo2(0)"_s, countEntries(10), u"5 "_s, {48, 24, 57, 24});
    makeLabel(pace, u"Label1"_s, kMinuteLabel, {112, 32});
    goal.pickers[2] = makePicker(pace, u"Combo2(1)"_s, countEntries(59), u"0"_s, {136, 24, 57, 24});
    makeLabel(pace, u"Label2"_s, kSecondLabel, {200, 32});
    colourPicker(goal.pickers[1], kPaceColour);
    colourPicker(goal.pickers[2], kPaceColour);
    goal.pickerCount = 3;

    makeLabel(goal.panel, u"Label3"_s, kGoalTimeHeading, {8, 176}, {89, 17});
    goal.result = makeResultBox(goal.panel, u"GoalTimeLabel(1)"_s, {8, 208, 265, 25}, kTimeColour);
}

void CalculatorPanel::buildPacePanel(QWidget* client)
{
    Tab& pace = tab(Mode::Pace);
    pace.panel = new QWidget(client);
    pace.panel->setObjectName(u"Picture2"_s);
    pace.panel->setGeometry(32, 56, 273, 225);

    QGroupBox* distance = makeFrame(pace.panel, u"Frame1"_s, kFrameDistance, {0, 0, 265, 65});
    pace.pickers[0] = makePicker(distance, u"Combo3"_s, distancePresets(),
                                 kInitialDistance.toString(), {16, 24, 185, 24});
    pace.unitButton = makeUnitButton(distance, u"Command2"_s);

    QGroupBox* goal = makeFrame(pace.panel, u"Frame4"_s, kFrameGoalTime, {0, 80, 265, 65});
    pace.pickers[1] = makePicker(goal, u"Combo4(0)"_s, countEntries(10), u"3 "_s, {16, 24, 49, 24});
    makeLabel(goal, u"Label4"_s, kHourLabel, {72, 32});
    pace.pickers[2] =
        makePicker(goal, u"Combo4(1)"_s, countEntries(59), u"30"_s, {104, 24, 57, 24});
    makeLabel(goal, u"Label5"_s, kMinuteLabel, {168, 32});
    pace.pickers[3] = makePicker(goal, u"Combo4(2)"_s, countEntries(59), u"0"_s, {184, 24, 57, 24});
    makeLabel(goal, u"Label6"_s, kSecondLabel, {248, 32});
    for (int i = 1; i <= 3; ++i) {
        colourPicker(pace.pickers[i], kTimeColour);
        setBackground(pace.pickers[i]->lineEdit(), kWhite);
    }
    pace.pickerCount = 4;

    makeLabel(pace.panel, u"Label7"_s, kPaceHeading, {0, 168}, {105, 17});
    pace.result = makeResultBox(pace.panel, u"GoalTimeLabel(2)"_s, {0, 200, 265, 25}, kPaceColour);
    pace.panel->hide();
}

void CalculatorPanel::connectTab(Mode mode)
{
    Tab& t = tab(mode);
    // The edit text changes once for every keystroke, every pick from the list and every
    // text the program sets, which is exactly when the tab is recalculated; listening to
    // the pick as well would calculate (and complain) twice.
    // A pick of the entry already shown changes no text, so it is recalculated on its own.
    for (int i = 0; i < t.pickerCount; ++i) {
        QComboBox* picker = t.pickers[i];
        connect(picker, &QComboBox::editTextChanged, this, [this, mode] {
            tab(mode).pickingUnchanged = nullptr;
            UpdateResults(mode);
        });
        connect(picker, &QComboBox::activated, this,
                [this, mode, picker] { pickerActivated(mode, picker); });
        picker->view()->window()->installEventFilter(this);
    }
    connect(t.unitButton, &QPushButton::clicked, this, [this, mode] { advanceUnit(mode); });
}

bool CalculatorPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        for (const Mode mode : {Mode::GoalTime, Mode::Pace}) {
            Tab& t = tab(mode);
            for (int i = 0; i < t.pickerCount; ++i) {
                if (t.pickers[i]->view()->window() == watched)
                    t.pickingUnchanged = t.pickers[i];
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void CalculatorPanel::pickerActivated(Mode mode, QComboBox* picker)
{
    // The arrow keys and the wheel activate only a different entry, whose new text has
    // already recalculated; so has a pick from the list that changed the text.
    Tab& t = tab(mode);
    const bool unchanged = t.pickingUnchanged == picker;
    t.pickingUnchanged = nullptr;
    if (unchanged)
        UpdateResults(mode);
}

void CalculatorPanel::advanceUnit(Mode mode)
{
    Tab& t = tab(mode);
    t.unit = nextUnit(t.unit);
    t.unitButton->setText(toQString(torvanu::unitText(t.unit)));
    UpdateResults(mode);
}

void CalculatorPanel::TabStrip1_Click()
{
    // The tabs are told apart by their place, not their caption, which a desktop may
    // decorate with an access key.
    const bool goalTime = m_tabStrip->currentIndex() == kGoalTimeTabIndex;
    tab(Mode::GoalTime).panel->setVisible(goalTime);
    tab(Mode::Pace).panel->setVisible(!goalTime);
    UpdateResults(goalTime ? Mode::GoalTime : Mode::Pace);
}

void CalculatorPanel::showGoalTimePanel()
{
    tab(Mode::GoalTime).panel->show();
    tab(Mode::Pace).panel->hide();
}

void CalculatorPanel::takeGoal(const QString& distanceKm, int hours, int minutes, int seconds)
{
    Tab& pace = tab(Mode::Pace);
    {
        const QSignalBlocker tabs(m_tabStrip);
        std::array<QSignalBlocker, 4> pickers{
            QSignalBlocker(pace.pickers[0]), QSignalBlocker(pace.pickers[1]),
            QSignalBlocker(pace.pickers[2]), QSignalBlocker(pace.pickers[3])};
        pace.pickers[0]->setEditText(distanceKm);
        pace.pickers[1]->setEditText(countEntry(hours));
        pace.pickers[2]->setEditText(countEntry(minutes));
        pace.pickers[3]->setEditText(countEntry(seconds));
        pace.unit = Unit::Km;
        pace.unitButton->setText(toQString(torvanu::unitText(Unit::Km)));
        m_tabStrip->setCurrentIndex(kPaceTabIndex);
    }
    tab(Mode::GoalTime).panel->hide();
    pace.panel->show();
    UpdateResults(Mode::Pace);
}

std::optional<Mode> CalculatorPanel::visibleMode() const
{
    if (!tab(Mode::GoalTime).panel->isHidden())
        return Mode::GoalTime;
    if (!tab(Mode::Pace).panel->isHidden())
        return Mode::Pace;
    return std::nullopt;
}

CalcInputs CalculatorPanel::inputs(Mode mode, std::array<QString, 5>& storage) const
{
    const Tab& t = tab(mode);
    storage[0] = t.pickers[0]->currentText();
    storage[1] = toQString(torvanu::unitText(t.unit));
    if (mode == Mode::GoalTime) {
        storage[3] = t.pickers[1]->currentText();
        storage[4] = t.pickers[2]->currentText();
    } else {
        storage[2] = t.pickers[1]->currentText();
        storage[3] = t.pickers[2]->currentText();
        storage[4] = t.pickers[3]->currentText();
    }
    return {toU16(storage[0]), toU16(storage[1]), toU16(storage[2]), toU16(storage[3]),
            toU16(storage[4])};
}

void CalculatorPanel::UpdateResults(Mode mode)
{
    Tab& t = tab(mode);
    std::array<QString, 4> texts;
    std::array<std::u16string_view, 4> views;
    for (int i = 0; i < t.pickerCount; ++i) {
        texts[i] = t.pickers[i]->currentText();
        views[i] = toU16(texts[i]);
    }
    const CheckOutcome outcome =
        checkInputs(mode, std::span(views.data(), t.pickerCount), torvanu::unitText(t.unit));

    // Filling an empty picker is a change of its text like any other: the run it starts
    // validates and calculates with the "0" in place, and complains if another picker is
    // wrong. This run only moves the focus afterwards, so the first empty picker ends up with
    // it; calculating here as well would put a result over that complaint.
    if (outcome.fill >= 0) {
        t.pickers[outcome.fill]->setEditText(u"0"_s);
        if (outcome.focus >= 0)
            t.pickers[outcome.focus]->setFocus();
        return;
    }
    if (outcome.focus >= 0)
        t.pickers[outcome.focus]->setFocus();
    if (!outcome.accepted()) {
        m_dialogs.message(t.panel->window(), toQString(outcome.message), Dialogs::Icon::Information,
                          Dialogs::Buttons::Ok);
        return;
    }

    std::array<QString, 5> storage;
    const CalcResult result = calc(inputs(mode, storage), mode);
    t.result->setText(toQString(result.display));
    FullMarathonMatrix(mode);
}

void CalculatorPanel::FullMarathonMatrix(Mode mode)
{
    std::array<QString, 5> storage;
    m_lapTable.showTable(fullMarathonMatrix(inputs(mode, storage), mode));
}

QString CalculatorPanel::pickerText(Mode mode, int index) const
{
    return tab(mode).pickers.at(index)->currentText();
}

QString CalculatorPanel::unitText(Mode mode) const
{
    return toQString(torvanu::unitText(tab(mode).unit));
}

QString CalculatorPanel::resultText(Mode mode) const
{
    return tab(mode).result->text();
}

} // namespace torvanu
