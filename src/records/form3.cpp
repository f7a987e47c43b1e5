#include "records/form3.h"

#include "calc/units.h"
#include "calc/validation.h"
#include "import/record_import.h"
#include "records/record_cells.h"
#include "shell/dialogs.h"
#include "shell/program_font.h"
#include "shell/text_bridge.h"

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

    m_frame1 = new QGroupBox(this);
    m_frame1->setObjectName(u"Frame1"_s);

    m_combo1 = {makePicker(u"Combo1(0)"_s, yearEntries(), m_frame1),
                makePicker(u"Combo1(1)"_s, monthEntries(), m_frame1),
                makePicker(u"Combo1(2)"_s, dayEntries(), m_frame1)};

    m_text1 =
        makeTextField(u"Text1"_s, new CleaningValidator(&cleanEnteredText, nullptr), m_frame1);
    m_text1->setMaxLength(kRaceNameLength);

    m_combo3 = new QComboBox(m_frame1);
    m_combo3->setObjectName(u"Combo3"_s);
    m_combo3->setEditable(true);
    // A typed text is a distance, never a new preset, and no preset is completed into it.
    m_combo3->setInsertPolicy(QComboBox::NoInsert);
    m_combo3->setCompleter(nullptr);
    m_combo3->addItems(distancePresets());
    m_combo3->setValidator(new CleaningValidator(&cleanEnteredText, m_combo3));
    m_combo3->setMinimumContentsLength(kDistanceWidthInCharacters);
    m_combo3->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    m_kmButton = makeButton(u"kmButton"_s, toQString(kKmText), m_frame1);

    m_combo2 = {makePicker(u"Combo2(0)"_s, hourEntries(), m_frame1),
                makePicker(u"Combo2(1)"_s, minuteEntries(), m_frame1),
                makePicker(u"Combo2(2)"_s, minuteEntries(), m_frame1)};

    m_text2 =
        makeTextField(u"Text2"_s, new CleaningValidator(&cleanEnteredText, nullptr), m_frame1);
    m_text2->setMaxLength(kRemarksLength);

    // A path names a real file: it loses only what log.dat cannot carry at all.
    m_fileText = makeTextField(u"FileText"_s,
                               new CleaningValidator(&removeControlCharacters, nullptr), m_frame1);
    m_command1 = makeButton(u"Command1"_s, u"参照"_s, m_frame1);
    m_importButton = makeButton(u"ImportButton"_s, u"ファイルから読込"_s, m_frame1);
    m_importButton->setToolTip(
        u"日時・距離と、記録としてスタートからゴールまでの経過時間を、データファイルから読み込みます"_s);

    const int freeTextWidth =
        fontMetrics().horizontalAdvance(QChar(0x3042)) * kFreeTextWidthInCharacters;
    for (QLineEdit* field : {m_text1, m_text2, m_fileText})
        field->setMinimumWidth(freeTextWidth);

    const auto label = [this](const QString& caption) { return new QLabel(caption, m_frame1); };

    auto* grid = new QGridLayout(m_frame1);
    grid->addWidget(label(u"日時"_s), 0, 0);
    grid->addLayout(row({m_combo1[0], label(u"年"_s), m_combo1[1], label(u"月"_s), m_combo1[2],
                         label(u"日"_s)}),
                    0, 1);
    grid->addWidget(label(u"大会名"_s), 1, 0);
    grid->addWidget(m_text1, 1, 1);
    grid->addWidget(label(u"距離"_s), 2, 0);
    grid->addLayout(row({m_combo3, m_kmButton}), 2, 1);
    grid->addWidget(label(u"記録"_s), 3, 0);
    grid->addLayout(row({m_combo2[0], label(u"時間"_s), m_combo2[1], label(u"分"_s), m_combo2[2],
                         label(u"秒"_s)}),
                    3, 1);
    grid->addWidget(label(u"備考"_s), 4, 0);
    grid->addWidget(m_text2, 4, 1);
    grid->addWidget(label(u"データ"_s), 5, 0);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileText, 1);
    fileRow->addWidget(m_command1);
    fileRow->addWidget(m_importButton);
    grid->addLayout(fileRow, 5, 1);
    grid->setColumnStretch(1, 1);

    m_okButton = makeButton(u"OkButton"_s, u"OK"_s, this);
    m_cancelButton = makeButton(u"CancelButton"_s, u"ｷｬﾝｾﾙ"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frame1);
    layout->addLayout(buttons);
    // The dialog takes the size its texts need in whatever font stands in for the family.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const std::array<QWidget*, 15> tabOrder = {
        m_combo1[0], m_combo1[1],    m_combo1[2], m_text1,     m_combo3,
        m_kmButton,  m_combo2[0],    m_combo2[1], m_combo2[2], m_text2,
        m_okButton,  m_cancelButton, m_fileText,  m_command1,  m_importButton};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_okButton, &QPushButton::clicked, this, &Form3::OkButton_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(m_kmButton, &QPushButton::clicked, this, &Form3::kmButton_Click);
    auto* import =
        new RecordImport(this, dialogs, {m_combo1, m_combo3, m_kmButton, m_combo2, m_fileText});
    connect(m_importButton, &QPushButton::clicked, import, &RecordImport::ImportButton_Click);
    // Only the user's own changes are checked, each once: a pick from the list also sets the
    // text, but that setting is no edit, and texts set while the dialog fills raise neither.
    connect(m_combo3->lineEdit(), &QLineEdit::textEdited, this, &Form3::Combo3_Change);
    connect(m_combo3, &QComboBox::textActivated, this, &Form3::Combo3_Click);

    setRecordNumber(1);
}

void Form3::prepareNew(int rowCount, const QDate& today)
{
    setRecordNumber(rowCount + 1);
    m_combo1[0]->setCurrentIndex(std::clamp(today.year(), kFirstYear, kLastYear) - kFirstYear);
    m_combo1[1]->setCurrentIndex(std::clamp(today.month(), 1, m_combo1[1]->count()) - 1);
    m_combo1[2]->setCurrentIndex(std::clamp(today.day(), 1, m_combo1[2]->count()) - 1);
    m_text1->clear();
    m_fileText->clear();
    setDistance(kNewDistance.toString());
    m_kmButton->setText(toQString(kKmText));
    m_combo2[0]->setCurrentIndex(m_combo2[0]->findText(kNewHours.toString()));
    m_combo2[1]->setCurrentIndex(0);
    m_combo2[2]->setCurrentIndex(0);
    m_text2->clear();
    m_combo1[0]->setFocus();
}

bool Form3::prepareEdit(int position, const RaceRecord& record)
{
    const std::optional<DateParts> date = parseDateCell(record.raceDate);
    const std::optional<TimeParts> time = parseTimeCell(record.raceTime);
    if (!date || !time)
        return false;

    const std::pair<QComboBox*, QString> picks[] = {
        {m_combo1[0], date->year},  {m_combo1[1], date->month},   {m_combo1[2], date->day},
        {m_combo2[0], time->hours}, {m_combo2[1], time->minutes}, {m_combo2[2], time->seconds}};
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
    m_text1->setText(record.raceName);
    setDistance(distance.distance);
    m_kmButton->setText(distance.unit);
    m_text2->setText(record.remarks);
    m_fileText->setText(record.dataPath);
    m_combo1[0]->setFocus();
    return true;
}

int Form3::recordNumber() const
{
    return recordNumberText().toInt();
}

RaceRecord Form3::record() const
{
    RaceRecord record;
    record.no = recordNumberText();
    record.raceDate = composeDateCell(
        {m_combo1[0]->currentText(), m_combo1[1]->currentText(), m_combo1[2]->currentText()});
    record.raceName = cleanFreeTextCell(m_text1->text());
    record.distance = composeDistanceCell({m_combo3->currentText(), m_kmButton->text()});
    record.raceTime = composeTimeCell(
        {m_combo2[0]->currentText(), m_combo2[1]->currentText(), m_combo2[2]->currentText()});
    record.remarks = cleanFreeTextCell(m_text2->text());
    record.dataPath = m_fileText->text();
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
    const QString path = m_browseDataFile(this, m_fileText->text());
    if (!path.isEmpty())
        m_fileText->setText(path);
}

void Form3::kmButton_Click()
{
    m_kmButton->setText(toQString(nextUnitText(toU16(m_kmButton->text()))));
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
    const QString distance = m_combo3->currentText();
    const QString unit = m_kmButton->text();
    const CheckOutcome outcome = checkRecordDistance(toU16(distance), toU16(unit));
    if (outcome.fill == kDistancePicker)
        setDistance(kZeroDistance.toString());
    if (outcome.focus == kDistancePicker)
        m_combo3->setFocus();
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
    const std::pair<QLineEdit*, QString> fields[] = {{m_text1, u"大会名"_s},
                                                     {m_combo3->lineEdit(), u"距離"_s},
                                                     {m_text2, u"備考"_s},
                                                     {m_fileText, u"データ"_s}};
    for (const auto& [field, caption] : fields) {
        const QString text = field->text();
        const std::optional<qsizetype> index = firstUnstorableIndex(text);
        if (!index)
            continue;
        const QString character = characterAt(text, *index);
        m_dialogs.message(this,
                          caption + u"に保存できない文字「"_s + character + u"」("_s +
                              codePointText(character) + u")が含まれています。"_s,
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        field->setFocus();
        field->setSelection(static_cast<int>(*index), static_cast<int>(character.size()));
        return false;
    }
    return true;
}

QString Form3::recordNumberText() const
{
    return m_frame1->title().sliced(kNumberPrefix.size());
}

void Form3::setRecordNumber(int number)
{
    m_frame1->setTitle(kNumberPrefix.toString() + QString::number(number));
}

void Form3::setDistance(const QString& distance)
{
    // The current index follows the text, so the arrow keys step on from the preset shown.
    m_combo3->setCurrentIndex(m_combo3->findText(distance));
    m_combo3->setEditText(distance);
}

} // namespace torvanu
