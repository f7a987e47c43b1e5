#include "pace_band_dialog.h"

#include "views/pace_band/band_texts.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "calc/validation.h"
#include "shell/shared_captions.h"
#include "shell/dialogs.h"
#include "shell/module1.h"
#include "shell/save_failure.h"
#include "shell/picker_entry.h"
#include "shell/program_font.h"
#include "shell/screen_share.h"
#include "storage/text_bridge.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <span>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr qreal kDialogPoints = 10.0;
constexpr int kColumns = 4;
constexpr QSize kStartSize{600, 620};
constexpr QColor kMessageColour{200, 0, 0};

QLabel* messageLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kMessageColour);
    label->setPalette(palette);
    return label;
}

QPushButton* button(QStringView caption, const QString& name, QWidget* parent)
{
    auto* made = new QPushButton(caption.toString(), parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

// An empty message takes no room in the layout.
void showMessage(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

QString planMessage(PlanStatus status)
{
    switch (status) {
    case PlanStatus::Ok:
    case PlanStatus::PercentOutOfRange: // shown beside its field
        return {};
    case PlanStatus::ZeroDistance:
        return kBandZeroDistance.toString();
    case PlanStatus::DistanceTooLong:
        return kBandTooLong.toString();
    case PlanStatus::NoTime:
        return kBandNoTime.toString();
    case PlanStatus::OutOfRange:
        return kBandOutOfRange.toString();
    case PlanStatus::TooManyRows:
        return kBandTooManyRows.toString();
    }
    return {};
}

} // namespace

PaceBandDialog::PaceBandDialog(Dialogs& dialogs, Module1& module1, const PaceBandSource& source,
                               QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_module1(module1)
{
    setObjectName(u"PaceBandDialog"_s);
    setWindowTitle(kBandTitle.toString());
    setFont(programFont(kDialogPoints));

    buildControls();
    buildLayout();
    connectControls();
    readSource(source);
    updatePlan();
}

void PaceBandDialog::buildControls()
{
    m_sourceLabel = new QLabel(this);
    m_sourceLabel->setObjectName(u"SourceLabel"_s);
    m_sourceLabel->setFont(programFont(kDialogPoints + 2, true));
    m_message = messageLabel(u"MessageLabel"_s, this);

    m_every = new QComboBox(this);
    m_every->setObjectName(u"SplitEvery"_s);
    m_every->addItem(kBandEveryKm.toString(), int(SplitEvery::Km1));
    m_every->addItem(kBandEveryMile.toString(), int(SplitEvery::Mile1));
    m_every->addItem(kBandEvery5Km.toString(), int(SplitEvery::Km5));

    m_strategy = new QComboBox(this);
    m_strategy->setObjectName(u"Strategy"_s);
    m_strategy->addItem(kBandEven.toString(), int(Strategy::Even));
    m_strategy->addItem(kBandSplit.toString(), int(Strategy::Split));
    m_strategy->addItem(kBandDrift.toString(), int(Strategy::Drift));

    m_percent = new QLineEdit(u"0"_s, this);
    m_percent->setObjectName(u"Percent"_s);
    m_percent->setMaximumWidth(m_percent->fontMetrics().horizontalAdvance(u"－00.00"_s) * 2);
    m_percentMessage = messageLabel(u"PercentMessage"_s, this);
    m_percentHint = new QLabel(this);
    m_percentHint->setObjectName(u"PercentHint"_s);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName(u"PlanTable"_s);
    m_table->setHorizontalHeaderLabels({kBandPlace.toString(), kBandSegment.toString(),
                                        kBandPassing.toString(), kBandPace.toString()});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() * 3 / 2);

    m_layout = new QComboBox(this);
    m_layout->setObjectName(u"Layout"_s);
    m_layout->addItem(kBandWristband.toString(), int(BandLayout::Wristband));
    m_layout->addItem(kBandTablePage.toString(), int(BandLayout::TablePage));
    for (QComboBox* picker : {m_every, m_strategy, m_layout})
        pickByTypedDigits(picker);

    m_print = button(kBandPrintButton, u"PrintButton"_s, this);
    m_pdf = button(kBandPdfButton, u"PdfButton"_s, this);
    m_csv = button(kBandCsvButton, u"CsvButton"_s, this);
    m_close = button(kBandCloseButton, u"CloseButton"_s, this);
}

// The split, the strategy and its percentage, with their labels.
QLayout* PaceBandDialog::optionsLayout()
{
    auto* options = new QGridLayout;
    auto* splitLabel = new QLabel(kBandSplitLabel.toString(), this);
    auto* strategyLabel = new QLabel(kBandStrategyLabel.toString(), this);
    splitLabel->setBuddy(m_every);
    strategyLabel->setBuddy(m_strategy);
    options->addWidget(splitLabel, 0, 0);
    options->addWidget(m_every, 0, 1);
    options->addWidget(strategyLabel, 1, 0);
    options->addWidget(m_strategy, 1, 1);
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(m_percent);
    percentRow->addWidget(new QLabel(kBandPercentUnit.toString(), this));
    percentRow->addWidget(m_percentHint, 1);
    options->addLayout(percentRow, 1, 2);
    options->addWidget(m_percentMessage, 2, 1, 1, 2);
    options->setColumnStretch(2, 1);
    return options;
}

// The sheet's layout and the buttons that print and save it.
QLayout* PaceBandDialog::outputsLayout()
{
    auto* outputs = new QHBoxLayout;
    auto* layoutLabel = new QLabel(kBandLayoutLabel.toString(), this);
    layoutLabel->setBuddy(m_layout);
    outputs->addWidget(layoutLabel);
    outputs->addWidget(m_layout);
    outputs->addStretch(1);
    outputs->addWidget(m_print);
    outputs->addWidget(m_pdf);
    outputs->addWidget(m_csv);
    outputs->addWidget(m_close);
    return outputs;
}

void PaceBandDialog::buildLayout()
{
    QLayout* options = optionsLayout();
    QLayout* outputs = outputsLayout();
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_sourceLabel);
    column->addWidget(m_message);
    column->addLayout(options);
    column->addWidget(m_table, 1);
    column->addLayout(outputs);
    resize(fitToScreen(kStartSize, screen()));
}

void PaceBandDialog::connectControls()
{
    connect(m_every, &QComboBox::currentIndexChanged, this, [this] { updatePlan(); });
    connect(m_strategy, &QComboBox::currentIndexChanged, this, [this] { updatePlan(); });
    connect(m_percent, &QLineEdit::textChanged, this, [this] { updatePlan(); });
    connect(m_print, &QPushButton::clicked, this, [this] { printWithPreview(); });
    connect(m_pdf, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(m_csv, &QPushButton::clicked, this, [this] { saveCsv(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void PaceBandDialog::readSource(const PaceBandSource& source)
{
    const int count = source.mode == Mode::GoalTime ? 3 : 4;
    std::array<std::u16string_view, 4> views;
    for (int i = 0; i < count; ++i)
        views[static_cast<std::size_t>(i)] = toU16(source.pickers[static_cast<std::size_t>(i)]);
    const CheckOutcome outcome =
        checkInputs(source.mode, std::span(views.data(), count), toU16(source.unit));
    if (!outcome.accepted() || outcome.fill >= 0) {
        m_refusal = kBandRefusedPrefix.toString() + toQString(outcome.message);
        return;
    }

    const auto& p = source.pickers;
    const CalcInputs inputs =
        source.mode == Mode::GoalTime
            ? CalcInputs{toU16(p[0]), toU16(source.unit), {}, toU16(p[1]), toU16(p[2])}
            : CalcInputs{toU16(p[0]), toU16(source.unit), toU16(p[1]), toU16(p[2]), toU16(p[3])};
    if (calc(inputs, source.mode).status == CalcStatus::OutOfRange) {
        m_refusal = kBandOutOfRange.toString();
        return;
    }
    m_request = planRequest(inputs, source.mode);
    if (!m_request) {
        m_refusal = kBandOutOfRange.toString();
        return;
    }
    m_sourceDistance =
        toQString(numberText(readNumber(toU16(p[0])).value_or(0.0))) + u' ' + source.unit;
    m_sourceUnit = unitFromText(toU16(source.unit)).value_or(Unit::Km);
    m_sheet.distance = m_sourceDistance;
}

void PaceBandDialog::updatePlan()
{
    const auto strategy = static_cast<Strategy>(m_strategy->currentData().toInt());
    m_percent->setEnabled(strategy != Strategy::Even);
    m_percentHint->setText(strategy == Strategy::Split   ? kBandSplitHint.toString()
                           : strategy == Strategy::Drift ? kBandDriftHint.toString()
                                                         : QString());
    showMessage(m_percentMessage, {});
    showMessage(m_message, {});
    m_sheet.rows.clear();

    if (!m_request) {
        showMessage(m_message, m_refusal);
        m_sourceLabel->setText(kBandTitle.toString());
        showRows();
        return;
    }
    PlanRequest request = *m_request;
    request.every = static_cast<SplitEvery>(m_every->currentData().toInt());
    request.strategy = strategy;
    m_sheet.distance =
        m_sourceDistance + markDistanceText(request.distanceKm, m_sourceUnit, request.every);
    // The goal does not hang on the strategy: every plan ends where the even one does, so a
    // percentage being typed leaves it in view.
    PlanRequest even = request;
    even.strategy = Strategy::Even;
    even.percent = 0.0;
    const PacePlan evenPlan = pacePlan(even);
    m_sheet.goal = evenPlan.rows.empty() ? QString() : toQString(evenPlan.rows.back().passing);
    if (strategy != Strategy::Even) {
        const std::optional<double> percent = readNumber(toU16(m_percent->text()));
        if (!percent) {
            showMessage(m_percentMessage, kBandPercentMessage.toString());
            showSource();
            showRows();
            return;
        }
        request.percent = *percent;
    }

    PacePlan plan = pacePlan(request);
    if (plan.status == PlanStatus::PercentOutOfRange)
        showMessage(m_percentMessage, kBandPercentMessage.toString());
    showMessage(m_message, planMessage(plan.status));
    m_sheet.rows = std::move(plan.rows);
    m_sheet.strategy = strategyText(strategy, request.percent);
    if (!m_sheet.rows.empty())
        m_sheet.goal = toQString(m_sheet.rows.back().passing);
    showSource();
    showRows();
}

void PaceBandDialog::showSource()
{
    m_sourceLabel->setText(kBandDistance.toString() + u' ' + m_sheet.distance + u"　"_s +
                           kBandGoal.toString() + u' ' +
                           (m_sheet.goal.isEmpty() ? u"---"_s : m_sheet.goal));
}

void PaceBandDialog::showRows()
{
    m_table->setRowCount(static_cast<int>(m_sheet.rows.size()));
    QFont markFont = font();
    markFont.setBold(true);
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const PlanRow& row = m_sheet.rows[static_cast<std::size_t>(r)];
        const std::array<QString, kColumns> texts{toQString(row.place), toQString(row.segment),
                                                  toQString(row.passing), toQString(row.pace)};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(texts[static_cast<std::size_t>(c)]);
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (row.mark != PlanMark::Split)
                item->setFont(markFont);
            m_table->setItem(r, c, item);
        }
    }
    setPrintable(!m_sheet.rows.empty());
}

void PaceBandDialog::setPrintable(bool printable)
{
    for (QWidget* output : {static_cast<QWidget*>(m_print), static_cast<QWidget*>(m_pdf),
                            static_cast<QWidget*>(m_csv), static_cast<QWidget*>(m_layout)})
        output->setEnabled(printable);
}

BandLayout PaceBandDialog::layout() const
{
    return static_cast<BandLayout>(m_layout->currentData().toInt());
}

void PaceBandDialog::savePdf()
{
    if (m_sheet.rows.empty())
        return;
    const std::optional<QByteArray> bytes = bandPdf(m_sheet, layout());
    if (!bytes) {
        m_dialogs.message(this, kBandPdfWriteError.toString(), Dialogs::Icon::Stop,
                          Dialogs::Buttons::Ok);
        return;
    }
    showSaveFailure(m_dialogs, this, kBandPdfWriteError,
                    m_module1.SaveAsPDF(*bytes, bandFileName(m_sourceDistance, m_sheet.goal)));
}

void PaceBandDialog::saveCsv()
{
    if (m_sheet.rows.empty())
        return;
    showSaveFailure(
        m_dialogs, this, kCsvWriteError,
        m_module1.SaveAsCSV(bandCsvText(m_sheet), bandFileName(m_sourceDistance, m_sheet.goal)));
}

void PaceBandDialog::printWithPreview()
{
    if (m_sheet.rows.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(bandPageLayout(layout()));
    // The sheet is laid out from the paper's corner; measured from the printer's margins
    // instead, every strip would land a few millimetres away from where its lengths say.
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(kBandTitle.toString());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { paintBand(*target, m_sheet, layout()); });
    preview.exec();
}

} // namespace torvanu
