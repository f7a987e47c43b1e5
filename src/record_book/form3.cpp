#include "record_book/form3.h"

#include "calc/units.h"
#include "calc/validation.h"
#include "record_book/record_import.h"
#include "records/record_cells.h"
#include "records/record_columns.h"
#include "shell/dialogs.h"
#include "shell/picker_entry.h"
#include "shell/program_font.h"
#include "storage/text_bridge.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kFontPoints = 9;
constexpr int kRaceNameLength = 100;
constexpr int kRemarksLength = 1000;
constexpr int kFreeTextWidthInCharacters = 32;
constexpr int kDistanceWidthInCharacters = 10;
constexpr int kDistancePicker = 0; // the record check has the distance field only

constexpr QStringView kNumberPrefix = u"No.";
constexpr QStringView kNewDistance = u"42.195";
constexpr QStringView kNewHours = u" 4";
constexpr QStringView kZeroDistance = u"0";

// The cells the editor's controls compose; the number is the row's position, never stored.
constexpr QString RaceRecord::*kEditedCells[] = {&RaceRecord::raceDate, &RaceRecord::raceName,
                                                 &RaceRecord::distance, &RaceRecord::raceTime,
                                                 &RaceRecord::remarks,  &RaceRecord::dataPath};

// Cleans every edit as it happens (typing, paste, input-method commits, texts set by the
// program), so the field shows what will be stored; the cursor stays behind the character it
// followed.
class CleaningValidator : public QValidator
{
public:
    using Cleaner = QString (*)(QStringView);

    CleaningValidator(Cleaner cleaner, QObject* parent) : QValidator(parent), m_cleaner(cleaner) {}

    State validate(QString& input, int& pos) const override
    {
        QString cleaned = m_cleaner(input);
        if (cleaned != input) {
            pos = static_cast<int>(m_cleaner(QStringView(input).left(pos)).size());
            input = std::move(cleaned);
        }
        return Acceptable;
    }

private:
    Cleaner m_cleaner;
};

QComboBox* makePicker(const QString& name, const QStringList& entries, QWidget* parent)
{
    auto* picker = new QComboBox(parent);
    picker->setObjectName(name);
    picker->addItems(entries);
    pickByTypedDigits(picker);
    return picker;
}

QLineEdit* makeTextField(const QString& name, QValidator* validator, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    validator->setParent(field);
    field->setValidator(validator);
    return field;
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // A dialog's buttons are auto-default, so the last one focused would take Enter: Enter in
    // the race name would then advance the unit. Only OK is ever the default.
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return layout;
}

QString codePointText(QStringView character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : character[0].unicode();
    return u"U+"_s + QString::number(code, 16).toUpper().rightJustified(4, u'0');
}

} // namespace

Form3::Form3(Dialogs& dialogs, BrowseDataFile browseDataFile, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_browseDataFile(std::move(browseDataFile))
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"大会記録一覧　設定画面"_s);
    setFont(programFont(kFontPoints));

    buildFields();
    buildLayout();
    connectFields();
    setRecordNumber(1);
}

void Form3::buildFields()
{
    m_recordFrame = new QGroupBox(this);
    m_recordFrame->setObjectName(u"Frame1"_s);

    m_datePickers = {makePicker(u"Combo1(0)"_s, yearEntries(), m_recordFrame),
                     makePicker(u"Combo1(1)"_s, monthEntries(), m_recordFrame),
                     makePicker(u"Combo1(2)"_s, dayEntries(), m_recordFrame)};

    m_raceName =
        makeTextField(u"Text1"_s, new CleaningValidator(&cleanEnteredText, nullptr), m_recordFrame);
    m_raceName->setMaxLength(kRaceNameLength);

    m_distance = new QComboBox(m_recordFrame);
    m_distance->setObjectName(u"Combo3"_s);
    // A typed text is a distance, never a new preset, and no preset is completed into it.
    makeTypedTextPicker(m_distance);
    m_distance->addItems(distancePresets());
    m_distance->setValidator(new CleaningValidator(&cleanEnteredText, m_distance));
    m_distance->setMinimumContentsLength(kDistanceWidthInCharacters);
    m_distance->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    m_unitButton = makeButton(u"kmButton"_s, toQString(unitText(m_unit)), m_recordFrame);

    m_timePickers = {makePicker(u"Combo2(0)"_s, hourEntries(), m_recordFrame),
                     makePicker(u"Combo2(1)"_s, minuteEntries(), m_recordFrame),
                     makePicker(u"Combo2(2)"_s, minuteEntries(), m_recordFrame)};

    m_remarks =
        makeTextField(u"Text2"_s, new CleaningValidator(&cleanEnteredText, nullptr), m_recordFrame);
    m_remarks->setMaxLength(kRemarksLength);

    // A path names a real file: it loses only what log.dat cannot carry at all.
    m_dataPath = makeTextField(
        u"FileText"_s, new CleaningValidator(&removeControlCharacters, nullptr), m_recordFrame);
    m_browseButton = makeButton(u"Command1"_s, u"参照"_s, m_recordFrame);
    m_importButton = makeButton(u"ImportButton"_s, u"ファイルから読込"_s, m_recordFrame);
    m_importButton->setToolTip(
        u"日時・距離と、記録としてスタートからゴールまでの経過時間を、データファイルから読み込みます"_s);

    const int freeTextWidth =
        fontMetrics().horizontalAdvance(QChar(0x3042)) * kFreeTextWidthInCharacters;
    for (QLineEdit* field : {m_raceName, m_remarks, m_dataPath})
        field->setMinimumWidth(freeTextWidth);

    m_okButton = makeButton(u"OkButton"_s, u"OK"_s, this);
    m_okButton->setDefault(true);
    m_cancelButton = makeButton(u"CancelButton"_s, u"ｷｬﾝｾﾙ"_s, this);
}

void Form3::buildLayout()
{
    const auto label = [this](const QString& caption) {
        return new QLabel(caption, m_recordFrame);
    };
    const auto fieldLabel = [&label](RecordColumn column) {
        return label(kRecordColumns[column].editorLabel.toString());
    };

    auto* grid = new QGridLayout(m_recordFrame);
    grid->addWidget(fieldLabel(DateColumn), 0, 0);
    grid->addLayout(row({m_datePickers[0], label(u"年"_s), m_datePickers[1], label(u"月"_s),
                         m_datePickers[2], label(u"日"_s)}),
                    0, 1);
    grid->addWidget(fieldLabel(NameColumn), 1, 0);
    grid->addWidget(m_raceName, 1, 1);
    grid->addWidget(fieldLabel(DistanceColumn), 2, 0);
    grid->addLayout(row({m_distance, m_unitButton}), 2, 1);
    grid->addWidget(fieldLabel(TimeColumn), 3, 0);
    grid->addLayout(row({m_timePickers[0], label(u"時間"_s), m_timePickers[1], label(u"分"_s),
                         m_timePickers[2], label(u"秒"_s)}),
                    3, 1);
    grid->addWidget(fieldLabel(RemarksColumn), 4, 0);
    grid->addWidget(m_remarks, 4, 1);
    grid->addWidget(fieldLabel(DataColumn), 5, 0);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_dataPath, 1);
    fileRow->addWidget(m_browseButton);
    fileRow->addWidget(m_importButton);
    grid->addLayout(fileRow, 5, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_recordFrame);
    layout->addLayout(buttons);
    // The dialog takes the size its texts need in whatever font stands in for the family.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const std::array<QWidget*, 15> tabOrder = {
        m_datePickers[0], m_datePickers[1], m_datePickers[2], m_raceName,       m_distance,
        m_unitButton,     m_timePickers[0], m_timePickers[1], m_timePickers[2], m_remarks,
        m_okButton,       m_cancelButton,   m_dataPath,       m_browseButton,   m_importButton};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void Form3::connectFields()
{
    connect(m_okButton, &QPushButton::clicked, this, &Form3::OkButton_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_browseButton, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(m_unitButton, &QPushButton::clicked, this, &Form3::kmButton_Click);
    auto* import =
        new RecordImport(this, m_dialogs,
                         {m_datePickers, m_distance, [this] { return m_unit; },
                          [this](Unit unit) { setUnit(unit); }, m_timePickers, m_dataPath});
    connect(m_importButton, &QPushButton::clicked, import, &RecordImport::ImportButton_Click);
    // Only the user's own changes are checked, each once: a pick from the list also sets the
    // text, but that setting is no edit, and texts set while the dialog fills raise neither.
    connect(m_distance->lineEdit(), &QLineEdit::textEdited, this, &Form3::Combo3_Change);
    followTextWithEntry(m_distance);
    connect(m_distance, &QComboBox::textActivated, this, &Form3::Combo3_Click);
}

void Form3::prepareNew(int rowCount, const QDate& today)
{
    m_shownRow.reset();
    setRecordNumber(rowCount + 1);
    m_datePickers[0]->setCurrentIndex(std::clamp(today.year(), kFirstYear, kLastYear) - kFirstYear);
    m_datePickers[1]->setCurrentIndex(std::clamp(today.month(), 1, m_datePickers[1]->count()) - 1);
    m_datePickers[2]->setCurrentIndex(std::clamp(today.day(), 1, m_datePickers[2]->count()) - 1);
    m_raceName->clear();
    m_dataPath->clear();
    setDistance(kNewDistance.toString());
    setUnit(Unit::Km);
    m_timePickers[0]->setCurrentIndex(m_timePickers[0]->findText(kNewHours.toString()));
    m_timePickers[1]->setCurrentIndex(0);
    m_timePickers[2]->setCurrentIndex(0);
    m_remarks->clear();
    m_datePickers[0]->setFocus();
}

bool Form3::prepareEdit(int position, const RaceRecord& record)
{
    const std::optional<DateParts> date = parseDateCell(record.raceDate);
    const std::optional<TimeParts> time = parseTimeCell(record.raceTime);
    if (!date || !time)
        return false;

    const std::pair<QComboBox*, QString> picks[] = {
        {m_datePickers[0], date->year},    {m_datePickers[1], date->month},
        {m_datePickers[2], date->day},     {m_timePickers[0], time->hours},
        {m_timePickers[1], time->minutes}, {m_timePickers[2], time->seconds}};
    std::array<int, std::size(picks)> indexes{};
    for (std::size_t i = 0; i < std::size(picks); ++i) {
        indexes[i] = picks[i].first->findText(picks[i].second);
        if (indexes[i] < 0)
            return false;
    }

    const DistanceParts distance = parseDistanceCell(record.distance);
    setRecordNumber(position);
    for (std::size_t i = 0; i < std::size(picks); ++i)
        picks[i].first->setCurrentIndex(indexes[i]);
    m_raceName->setText(record.raceName);
    setDistance(distance.distance);
    // The parse names one of the three units; a stranger text would be kilometres.
    setUnit(unitFromText(toU16(distance.unit)).value_or(Unit::Km));
    m_remarks->setText(record.remarks);
    m_dataPath->setText(record.dataPath);
    m_datePickers[0]->setFocus();
    m_shownRow = ShownRow{record, composedRecord()};
    return true;
}

int Form3::recordNumber() const
{
    return m_recordNumber;
}

RaceRecord Form3::record() const
{
    RaceRecord record = composedRecord();
    if (!m_shownRow)
        return record;
    const auto keepStored = [this](QString RaceRecord::*cell, RaceRecord& into) {
        if (into.*cell == m_shownRow->composed.*cell)
            into.*cell = m_shownRow->stored.*cell;
    };
    for (QString RaceRecord::*cell : kEditedCells)
        keepStored(cell, record);
    return record;
}

RaceRecord Form3::composedRecord() const
{
    RaceRecord record;
    record.no = QString::number(m_recordNumber);
    record.raceDate =
        composeDateCell({m_datePickers[0]->currentText(), m_datePickers[1]->currentText(),
                         m_datePickers[2]->currentText()});
    record.raceName = cleanFreeTextCell(m_raceName->text());
    record.distance = composeDistanceCell({m_distance->currentText(), toQString(unitText(m_unit))});
    record.raceTime =
        composeTimeCell({m_timePickers[0]->currentText(), m_timePickers[1]->currentText(),
                         m_timePickers[2]->currentText()});
    record.remarks = cleanFreeTextCell(m_remarks->text());
    record.dataPath = m_dataPath->text();
    return record;
}

void Form3::OkButton_Click()
{
    if (CheckRecordInputs() && checkStorable())
        accept();
}

void Form3::Command1_Click()
{
    if (!m_browseDataFile)
        return;
    const QString path = m_browseDataFile(this, m_dataPath->text());
    if (!path.isEmpty())
        m_dataPath->setText(path);
}

void Form3::kmButton_Click()
{
    setUnit(nextUnit(m_unit));
}

void Form3::Combo3_Change()
{
    CheckRecordInputs();
}

void Form3::Combo3_Click()
{
    CheckRecordInputs();
}

bool Form3::CheckRecordInputs()
{
    const QString distance = m_distance->currentText();
    const CheckOutcome outcome = checkRecordDistance(toU16(distance), unitText(m_unit));
    if (outcome.fill == kDistancePicker)
        setDistance(kZeroDistance.toString());
    if (outcome.focus == kDistancePicker)
        m_distance->setFocus();
    if (!outcome.accepted()) {
        m_dialogs.message(this, toQString(outcome.message), Dialogs::Icon::Information,
                          Dialogs::Buttons::Ok);
    }
    return outcome.accepted();
}

// log.dat is written in code page 932: a character it cannot hold would be lost or replaced
// on saving, so the record is refused while the user can still change it.
bool Form3::checkStorable()
{
    struct Field
    {
        QLineEdit* field;
        RecordColumn column;
        QString RaceRecord::*cell;
    };
    const Field fields[] = {{m_raceName, NameColumn, &RaceRecord::raceName},
                            {m_distance->lineEdit(), DistanceColumn, &RaceRecord::distance},
                            {m_remarks, RemarksColumn, &RaceRecord::remarks},
                            {m_dataPath, DataColumn, &RaceRecord::dataPath}};
    const RaceRecord composed = composedRecord();
    for (const auto& [field, column, cell] : fields) {
        // A cell the user left alone goes back with the bytes it was read from.
        if (m_shownRow && composed.*cell == m_shownRow->composed.*cell)
            continue;
        const QString text = field->text();
        const std::optional<qsizetype> index = firstUnstorableIndex(text);
        if (!index)
            continue;
        const QString character = characterAt(text, *index);
        m_dialogs.message(this,
                          kRecordColumns[column].editorLabel.toString() +
                              u"に保存できない文字「"_s + character + u"」("_s +
                              codePointText(character) + u")が含まれています。"_s,
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        field->setFocus();
        field->setSelection(static_cast<int>(*index), static_cast<int>(character.size()));
        return false;
    }
    return true;
}

void Form3::setRecordNumber(int number)
{
    m_recordNumber = number;
    m_recordFrame->setTitle(kNumberPrefix.toString() + QString::number(number));
}

void Form3::setUnit(Unit unit)
{
    m_unit = unit;
    m_unitButton->setText(toQString(unitText(unit)));
}

void Form3::setDistance(const QString& distance)
{
    m_distance->setEditText(distance);
}

} // namespace torvanu
