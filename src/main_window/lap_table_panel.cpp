#include "lap_table_panel.h"

#include "captions.h"
#include "storage/text_bridge.h"
#include "ui_style.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kFirstRowY = 48;
constexpr int kRowStep = 16;
constexpr int kLabelWidth = 41;
constexpr int kCellWidth = 65;
constexpr int kRowHeight = 18;
constexpr int kLabelX[] = {0, 104, 208, 312};
constexpr int kCellX[] = {40, 144, 248, 352};
// The last kilometre of each of the four columns.
constexpr int kColumnEnds[] = {10, 21, 31, 42};

// The cells' text can be selected with the mouse. Qt gives a selectable label a text
// document of its own, and lays every new text out in it; 44 of them cost a fifth of the
// window's start. So a cell becomes selectable when the pointer first comes onto it, which
// is always before it can be pressed.
class SelectableWhenPointed : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Enter || type == QEvent::MouseButtonPress ||
            type == QEvent::ContextMenu) {
            if (auto* cell = qobject_cast<QLabel*>(watched)) {
                cell->removeEventFilter(this);
                cell->setTextInteractionFlags(Qt::TextSelectableByMouse);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(msGothic(kCaptionPoints));
    return label;
}

QLabel* makeCell(QWidget* parent, const QString& name, QObject* selectable)
{
    auto* cell = makeLabel(parent, name, {});
    cell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    cell->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cell->setIndent(2);
    cell->installEventFilter(selectable);
    setColours(cell, kPaceColour, cell->palette().color(QPalette::Base));
    return cell;
}

QString rowCaption(int kilometre)
{
    return u"%1 km"_s.arg(kilometre, 3);
}

} // namespace

LapTablePanel::LapTablePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"Picture3"_s);

    auto* heading = makeLabel(this, u"Rap"_s, kLapHeading.toString());
    heading->setGeometry(112, 0, 240, 16);
    m_speed = makeLabel(this, u"hLabel"_s, u"---"_s);
    m_speed->setGeometry(0, 16, 240, 16);
    m_pace = makeLabel(this, u"kmLabel"_s, u"---"_s);
    m_pace->setGeometry(0, 32, 240, 16);

    m_csvButton = new QPushButton(kCsvButton.toString(), this);
    m_csvButton->setObjectName(u"Command3"_s);
    m_csvButton->setFont(msGothic(kCaptionPoints));
    m_csvButton->setGeometry(352, 16, 65, 20);

    auto* selectable = new SelectableWhenPointed(this);
    int column = 0;
    int rowInColumn = 0;
    for (int km = 1; km <= kLapRows; ++km) {
        if (km > kColumnEnds[column]) {
            ++column;
            rowInColumn = 0;
        }
        const int y = kFirstRowY + rowInColumn * kRowStep;
        auto* label = makeLabel(this, u"Label8(%1)"_s.arg(km), rowCaption(km));
        label->setGeometry(kLabelX[column], y, kLabelWidth, kRowHeight);
        QLabel* cell = makeCell(this, u"SpeedList(%1)"_s.arg(km), selectable);
        cell->setGeometry(kCellX[column], y, kCellWidth, kRowHeight);
        if (km % 5 == 0) {
            setBackground(label, kFifthLabelColour);
            setBackground(cell, kFifthCellColour);
        }
        m_splits[km - 1] = cell;
        ++rowInColumn;
    }

    constexpr int kTotalsY = 224;
    auto* halfLabel = makeLabel(this, u"Label10"_s, kHalfCaption.toString());
    halfLabel->setGeometry(kLabelX[1], kTotalsY, kLabelWidth, kRowHeight);
    setBackground(halfLabel, kHalfFullLabelColour);
    m_half = makeCell(this, u"HalfTime"_s, selectable);
    m_half->setGeometry(kCellX[1], kTotalsY, kCellWidth, kRowHeight);
    setTextColour(m_half, kTimeColour);

    auto* fullLabel = makeLabel(this, u"Label11"_s, kFullCaption.toString());
    fullLabel->setGeometry(kLabelX[3], kTotalsY, kLabelWidth, kRowHeight);
    setBackground(fullLabel, kHalfFullLabelColour);
    m_full = makeCell(this, u"FullTime"_s, selectable);
    m_full->setGeometry(kCellX[3], kTotalsY, kCellWidth, kRowHeight);
    setColours(m_full, kWhite, kTimeColour);
}

void LapTablePanel::showTable(const LapTable& table)
{
    for (int i = 0; i < kLapRows; ++i)
        m_splits[i]->setText(toQString(table.splits[i]));
    m_pace->setText(toQString(table.paceText));
    m_speed->setText(toQString(table.speedText));
    m_half->setText(toQString(table.half));
    m_full->setText(toQString(table.full));
}

QString LapTablePanel::split(int kilometre) const
{
    return m_splits.at(kilometre - 1)->text();
}

QString LapTablePanel::half() const
{
    return m_half->text();
}

QString LapTablePanel::full() const
{
    return m_full->text();
}

QString LapTablePanel::paceText() const
{
    return m_pace->text();
}

QString LapTablePanel::speedText() const
{
    return m_speed->text();
}

} // namespace torvanu
