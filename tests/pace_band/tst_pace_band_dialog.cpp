#include "calc/pace_plan.h"
#include "calc/validation.h"
#include "views/pace_band/band_texts.h"
#include "pace_band/pace_band_dialog.h"
#include "storage/text_bridge.h"
#include "support/file_helpers.h"
#include "support/main_window_fixture.h"
#include "support/table_texts.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace torvanu;

class TestPaceBandDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensFromToolsMenu();
    void filledFromTheActiveTab_data();
    void filledFromTheActiveTab();
    void percentRefusedBesideItsField_data();
    void percentRefusedBesideItsField();
    void pdfReadsBackAsThePlan_data();
    void pdfReadsBackAsThePlan();
    void stripMeasuresWhatItSays();
    void csvBytes();
    void marksCarryTheirUnit_data();
    void marksCarryTheirUnit();
    void choosersOfferNameAndFolder();
    void everyControlShowsWhole();

private:
    // Sets the tab's pickers (distance first) and unit, then opens the band from the menu.
    PaceBandDialog* open(int tab, const QStringList& pickers, const QString& unit);
    QStringList tableRow(PaceBandDialog* dialog, int row) const;
    // The program's output, or nothing when it failed.
    static std::optional<QString> run(const QString& program, const QStringList& arguments);

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestPaceBandDialog::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QVERIFY(m_main->start({.show = test::MainWindowFixture::Show::Hidden}));
}

void TestPaceBandDialog::cleanup()
{
    m_main.reset();
}

PaceBandDialog* TestPaceBandDialog::open(int tab, const QStringList& pickers, const QString& unit)
{
    m_main->find<QTabWidget>(u"TabStrip1"_s)->setCurrentIndex(tab);
    const QStringList names =
        tab == 0 ? QStringList{u"Combo1"_s, u"Combo2(0)"_s, u"Combo2(1)"_s}
                 : QStringList{u"Combo3"_s, u"Combo4(0)"_s, u"Combo4(1)"_s, u"Combo4(2)"_s};
    auto* button = m_main->find<QPushButton>(tab == 0 ? u"Command1"_s : u"Command2"_s);
    while (button->text() != unit)
        button->click();
    for (int i = 0; i < names.size(); ++i)
        m_main->find<QComboBox>(names[i])->setEditText(pickers.value(i));
    m_main->dialogs.clear();
    m_main->find<QAction>(u"mnPaceBand"_s)->trigger();
    const QList<PaceBandDialog*> open = m_main->form->findChildren<PaceBandDialog*>();
    return open.isEmpty() ? nullptr : open.last();
}

QStringList TestPaceBandDialog::tableRow(PaceBandDialog* dialog, int row) const
{
    return test::rowTexts(dialog->findChild<QTableWidget*>(u"PlanTable"_s), row);
}

std::optional<QString> TestPaceBandDialog::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Where the menu sits among the others is checked with the record analysis.
void TestPaceBandDialog::opensFromToolsMenu()
{
    auto* dialog = open(0, {u"42.195"_s, u"5 "_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), u"PaceBandDialog"_s);
    QCOMPARE(dialog->windowTitle(), kBandTitle.toString());
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestPaceBandDialog::filledFromTheActiveTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("pickers");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("last"); // the finish row, or nothing

    const QString km = u"km"_s;
    QTest::newRow("goal-time tab: the time the calculator computed")
        << 0 << QStringList{u"42.195"_s, u"5 "_s, u"0"_s} << km << u"距離 42.195 km　目標 3:30:58"_s
        << QString() << 44
        << QStringList{u"ゴール 42.195 km"_s, u"0:00:58"_s, u"3:30:58"_s, u"5:00"_s};
    QTest::newRow("pace tab: the time typed, not the lap table's a second short")
        << 1 << QStringList{u"42.195"_s, u"3"_s, u"30"_s, u"0"_s} << km
        << u"距離 42.195 km　目標 3:30:00"_s << QString() << 44
        << QStringList{u"ゴール 42.195 km"_s, u"0:00:59"_s, u"3:30:00"_s, u"4:58"_s};
    QTest::newRow("pace tab in metres")
        << 1 << QStringList{u"10000"_s, u"0"_s, u"45"_s, u"0"_s} << u"m"_s
        << u"距離 10000 m　目標 0:45:00"_s << QString() << 10
        << QStringList{u"ゴール 10 km"_s, u"0:04:30"_s, u"0:45:00"_s, u"4:30"_s};
    QTest::newRow("a refused input says why and offers nothing")
        << 0 << QStringList{u"abc"_s, u"5 "_s, u"0"_s} << km << kBandTitle.toString()
        << kBandRefusedPrefix.toString() + u"目標距離に数値を入力してください。"_s << 0
        << QStringList();
    QTest::newRow("a distance the calculator refuses as too long")
        << 1 << QStringList{u"10001"_s, u"900"_s, u"0"_s, u"0"_s} << km << kBandTitle.toString()
        << kBandRefusedPrefix.toString() + u"目標距離は10000km以下の数値を入力してください。"_s << 0
        << QStringList();
    QTest::newRow("a distance with too many marks for a band")
        << 1 << QStringList{u"10000"_s, u"900"_s, u"0"_s, u"0"_s} << km
        << u"距離 10000 km　目標 ---"_s << kBandTooManyRows.toString() << 0 << QStringList();
    QTest::newRow("out of range") << 1 << QStringList{u"0.001"_s, u"1000"_s, u"0"_s, u"0"_s} << km
                                  << kBandTitle.toString() << kBandOutOfRange.toString() << 0
                                  << QStringList();
    QTest::newRow("zero distance")
        << 1 << QStringList{u"0"_s, u"3"_s, u"0"_s, u"0"_s} << km << u"距離 0 km　目標 ---"_s
        << kBandZeroDistance.toString() << 0 << QStringList();
    QTest::newRow("zero pace") << 0 << QStringList{u"10"_s, u"0"_s, u"0"_s} << km
                               << u"距離 10 km　目標 ---"_s << kBandNoTime.toString() << 0
                               << QStringList();
}

void TestPaceBandDialog::filledFromTheActiveTab()
{
    QFETCH(int, tab);
    QFETCH(QStringList, pickers);
    QFETCH(QString, unit);
    QFETCH(QString, heading);
    QFETCH(QString, message);
    QFETCH(int, rows);
    QFETCH(QStringList, last);

    PaceBandDialog* dialog = open(tab, pickers, unit);
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLabel*>(u"SourceLabel"_s)->text(), heading);
    QCOMPARE(dialog->findChild<QLabel*>(u"MessageLabel"_s)->text(), message);
    QCOMPARE(dialog->findChild<QTableWidget*>(u"PlanTable"_s)->rowCount(), rows);
    for (const char* name : {"PrintButton", "PdfButton", "CsvButton"})
        QCOMPARE(dialog->findChild<QPushButton*>(QLatin1StringView(name))->isEnabled(), rows > 0);
    if (rows > 0)
        QCOMPARE(tableRow(dialog, rows - 1), last);
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestPaceBandDialog::percentRefusedBesideItsField_data()
{
    QTest::addColumn<int>("strategy");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("half"); // the half's passing time when a plan is shown

    QTest::newRow("negative split of 2 %") << 1 << u"-2"_s << false << u"1:46:03"_s;
    QTest::newRow("full-width minus") << 1 << u"－２"_s << false << u"1:46:03"_s;
    QTest::newRow("positive split of 20 %") << 1 << u"20"_s << false << u"1:35:27"_s;
    QTest::newRow("split over 20 %") << 1 << u"20.5"_s << true << QString();
    QTest::newRow("drift under -20 %") << 2 << u"-21"_s << true << QString();
    QTest::newRow("not a number") << 2 << u"x"_s << true << QString();
    QTest::newRow("empty") << 1 << QString() << true << QString();
    QTest::newRow("even ignores what the field holds") << 0 << u"x"_s << false << u"1:45:00"_s;
}

void TestPaceBandDialog::percentRefusedBesideItsField()
{
    QFETCH(int, strategy);
    QFETCH(QString, percent);
    QFETCH(bool, refused);
    QFETCH(QString, half);

    PaceBandDialog* dialog = open(1, {u"42.195"_s, u"3"_s, u"30"_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(u"Strategy"_s)->setCurrentIndex(strategy);
    dialog->findChild<QLineEdit*>(u"Percent"_s)->setText(percent);
    QCOMPARE(dialog->findChild<QLabel*>(u"PercentMessage"_s)->text(),
             refused ? kBandPercentMessage.toString() : QString());
    QCOMPARE(dialog->sheet().rows.empty(), refused);
    QCOMPARE(dialog->findChild<QPushButton*>(u"PdfButton"_s)->isEnabled(), !refused);
    // Every strategy ends at the goal, so a percentage being typed leaves it in view.
    QCOMPARE(dialog->findChild<QLabel*>(u"SourceLabel"_s)->text(),
             u"距離 42.195 km　目標 3:30:00"_s);
    if (!refused)
        QCOMPARE(tableRow(dialog, 21).at(2), half);
}

void TestPaceBandDialog::pdfReadsBackAsThePlan_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("every");
    QTest::addColumn<QStringList>("pickers");
    QTest::addColumn<QString>("pageSize");

    const QStringList marathon{u"42.195"_s, u"3"_s, u"30"_s, u"0"_s};
    const QStringList hundred{u"100"_s, u"10"_s, u"0"_s, u"0"_s};
    QTest::newRow("wristband, marathon every km") << 0 << 0 << marathon << u"842 x 595"_s;
    QTest::newRow("wristband, 100 km on two pages") << 0 << 0 << hundred << u"842 x 595"_s;
    QTest::newRow("table, marathon every mile") << 1 << 1 << marathon << u"595 x 842"_s;
    QTest::newRow("table, 100 km in two blocks") << 1 << 0 << hundred << u"595 x 842"_s;
}

// What a reader of the PDF sees must be the plan in the dialog, row for row.
void TestPaceBandDialog::pdfReadsBackAsThePlan()
{
    QFETCH(int, layout);
    QFETCH(int, every);
    QFETCH(QStringList, pickers);
    QFETCH(QString, pageSize);

    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
    QVERIFY2(!pdftotext.isEmpty() && !pdfinfo.isEmpty(), "poppler-utils: scripts/install-deps");

    PaceBandDialog* dialog = open(1, pickers, u"km"_s);
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(u"SplitEvery"_s)->setCurrentIndex(every);
    dialog->findChild<QComboBox*>(u"Strategy"_s)->setCurrentIndex(1);
    dialog->findChild<QLineEdit*>(u"Percent"_s)->setText(u"-2"_s);
    dialog->findChild<QComboBox*>(u"Layout"_s)->setCurrentIndex(layout);
    const QString path = m_main->environment.filePath(u"band"_s);
    m_main->dialogs.chooseSaveFile(path);
    dialog->findChild<QPushButton*>(u"PdfButton"_s)->click();
    QVERIFY(m_main->dialogs.messages.isEmpty());

    const QString info = run(pdfinfo, {path + u".pdf"_s}).value_or(QString());
    QVERIFY2(info.contains(u"Page size:       "_s + pageSize), qPrintable(info));
    const QString text =
        run(pdftotext, {u"-layout"_s, path + u".pdf"_s, u"-"_s}).value_or(QString());
    for (const QString& word : dialog->sheet().strategy.split(u' '))
        QVERIFY2(text.contains(word), qPrintable(text));

    // Each row's texts on one line, in order.
    auto* table = dialog->findChild<QTableWidget*>(u"PlanTable"_s);
    QVERIFY(table->rowCount() > 20);
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row = tableRow(dialog, r);
        if (layout == 0) // the wristband keeps the place's number and the passing time
            row = QStringList{toQString(dialog->sheet().rows[std::size_t(r)].shortPlace), row[2]};
        QStringList parts;
        for (const QString& cell : row)
            parts << QRegularExpression::escape(cell);
        const QRegularExpression line(u"(^|\\s)"_s + parts.join(u" +"_s) + u"(\\s|$)"_s);
        QVERIFY2(line.match(text).hasMatch(), qPrintable(row.join(u' ')));
    }
}

// Rendered at 254 dots per inch, ten dots are a millimetre: the strip must be 200 x 28 mm.
void TestPaceBandDialog::stripMeasuresWhatItSays()
{
    const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
    QVERIFY2(!pdftoppm.isEmpty(), "poppler-utils: scripts/install-deps");
    PaceBandDialog* dialog = open(1, {u"42.195"_s, u"3"_s, u"30"_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    const QString path = m_main->environment.filePath(u"band"_s);
    m_main->dialogs.chooseSaveFile(path);
    dialog->findChild<QPushButton*>(u"PdfButton"_s)->click();
    QVERIFY(run(pdftoppm, {u"-r"_s, u"254"_s, u"-gray"_s, u"-png"_s, u"-singlefile"_s,
                           path + u".pdf"_s, path}));
    const QImage page(path + u".png"_s);
    QVERIFY(std::abs(page.width() - 2970) <= 1 && std::abs(page.height() - 2100) <= 1);

    const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 200; };
    // Across the middle of the first strip only its two ends are drawn outside the text;
    // down a line just inside its left end only its top and bottom.
    const int middle = 150 + 140;
    int left = 0;
    while (left < page.width() && !dark(left, middle))
        ++left;
    int right = page.width() - 1;
    while (right > 0 && !dark(right, middle))
        --right;
    QVERIFY2(std::abs((right - left) - 2000) <= 3, qPrintable(QString::number(right - left)));
    const int inside = left + 5;
    int top = 0;
    while (top < page.height() && !dark(inside, top))
        ++top;
    int bottom = top + 10;
    while (bottom < page.height() && dark(inside, bottom) == false)
        ++bottom;
    QVERIFY2(std::abs((bottom - top) - 280) <= 3, qPrintable(QString::number(bottom - top)));
}

void TestPaceBandDialog::csvBytes()
{
    PaceBandDialog* dialog = open(1, {u"10"_s, u"0"_s, u"40"_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(u"SplitEvery"_s)->setCurrentIndex(2);
    dialog->findChild<QComboBox*>(u"Strategy"_s)->setCurrentIndex(1);
    dialog->findChild<QLineEdit*>(u"Percent"_s)->setText(u"-5"_s);
    const QString path = m_main->environment.filePath(u"plan"_s);
    m_main->dialogs.chooseSaveFile(path);
    dialog->findChild<QPushButton*>(u"CsvButton"_s)->click();
    QVERIFY(m_main->dialogs.messages.isEmpty());

    const QByteArray expected = test::cp932(u"ペースバンド\r\n"
                                            u"距離,10 km\r\n"
                                            u"目標,0:40:00\r\n"
                                            u"作戦,ネガティブスプリット 5％\r\n"
                                            u"地点,区間,通過,ペース(/km)\r\n"
                                            u"中間 5 km,0:20:30,0:20:30,4:06\r\n"
                                            u"ゴール 10 km,0:19:30,0:40:00,3:53\r\n"_s);
    QCOMPARE(test::readFile(path + u".csv"_s), expected);
    QVERIFY(expected.startsWith("\x83\x79\x81\x5b\x83\x58")); // ペース in Shift_JIS
}

void TestPaceBandDialog::marksCarryTheirUnit_data()
{
    QTest::addColumn<QStringList>("pickers");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("every");
    QTest::addColumn<QString>("distance");

    const QString mile = u"ﾏｲﾙ"_s;
    QTest::newRow("mile marks on a race in km") << QStringList{u"42.195"_s, u"3"_s, u"30"_s, u"0"_s}
                                                << u"km"_s << 1 << u"42.195 km（26.22 ﾏｲﾙ）"_s;
    QTest::newRow("km marks on a race in miles") << QStringList{u"26.2"_s, u"4"_s, u"0"_s, u"0"_s}
                                                 << mile << 0 << u"26.2 ﾏｲﾙ（42.165 km）"_s;
    QTest::newRow("mile marks on a race in miles say it once")
        << QStringList{u"26.2"_s, u"4"_s, u"0"_s, u"0"_s} << mile << 1 << u"26.2 ﾏｲﾙ"_s;
    QTest::newRow("km marks on a race in metres")
        << QStringList{u"5000"_s, u"0"_s, u"20"_s, u"0"_s} << u"m"_s << 0 << u"5000 m"_s;
}

// Marks 1 to 26 under a head of 42.195 km alone read as kilometres: the head, the CSV and the
// PDF also give the distance in the marks' unit.
void TestPaceBandDialog::marksCarryTheirUnit()
{
    QFETCH(QStringList, pickers);
    QFETCH(QString, unit);
    QFETCH(int, every);
    QFETCH(QString, distance);

    PaceBandDialog* dialog = open(1, pickers, unit);
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(u"SplitEvery"_s)->setCurrentIndex(every);
    QVERIFY(dialog->findChild<QLabel*>(u"SourceLabel"_s)
                ->text()
                .startsWith(u"距離 "_s + distance + u"　目標 "_s));
    const QString path = m_main->environment.filePath(u"plan"_s);
    m_main->dialogs.chooseSaveFile(path);
    dialog->findChild<QPushButton*>(u"CsvButton"_s)->click();
    QVERIFY(test::readFile(path + u".csv"_s)
                .contains(test::cp932(u"\r\n距離,"_s + distance + u"\r\n"_s)));

    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    QVERIFY2(!pdftotext.isEmpty(), "poppler-utils: scripts/install-deps");
    m_main->dialogs.chooseSaveFile(path);
    dialog->findChild<QPushButton*>(u"PdfButton"_s)->click();
    const QString text =
        run(pdftotext, {u"-layout"_s, path + u".pdf"_s, u"-"_s}).value_or(QString());
    QVERIFY2(text.simplified().remove(u' ').contains(QString(distance).remove(u' ')),
             qPrintable(text.left(400)));
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

// The choosers start where that kind of file last went, else in the Documents folder, and
// offer the race and the goal as the name.
void TestPaceBandDialog::choosersOfferNameAndFolder()
{
    PaceBandDialog* dialog = open(1, {u"42.195"_s, u"3"_s, u"30"_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        documents = QDir::homePath();
    QVERIFY(documents.startsWith(m_main->environment.path()));
    const QString runs = m_main->environment.filePath(u"runs"_s);
    QVERIFY(QDir().mkpath(runs));

    m_main->dialogs.chooseSaveFile(runs + u"/plan"_s);
    dialog->findChild<QPushButton*>(u"CsvButton"_s)->click();
    m_main->dialogs.chooseSaveFile(QString());
    dialog->findChild<QPushButton*>(u"PdfButton"_s)->click();
    m_main->dialogs.chooseSaveFile(QString());
    dialog->findChild<QPushButton*>(u"CsvButton"_s)->click();

    const QList<Dialogs::FileRequest>& asked = m_main->dialogs.saveRequests;
    QCOMPARE(asked.size(), 3);
    const QString name = u"ペースバンド_42.195km_3時間30分00秒"_s;
    QCOMPARE(asked[0].folder, documents);
    QCOMPARE(asked[0].fileName, name);
    QCOMPARE(asked[1].folder, documents); // no PDF saved yet
    QCOMPARE(asked[1].fileName, name);
    QCOMPARE(asked[2].folder, runs);
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

// Run at 100 %, 150 % and 200 % (see tests/CMakeLists.txt): nothing is cut or pushed out.
void TestPaceBandDialog::everyControlShowsWhole()
{
    PaceBandDialog* dialog = open(1, {u"42.195"_s, u"3"_s, u"30"_s, u"0"_s}, u"km"_s);
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(u"Strategy"_s)->setCurrentIndex(1);
    dialog->findChild<QLineEdit*>(u"Percent"_s)->setText(u"25"_s); // shows the message too
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        const bool checked = qobject_cast<QLabel*>(widget) || qobject_cast<QPushButton*>(widget) ||
                             qobject_cast<QComboBox*>(widget);
        if (!checked || !widget->isVisible() || widget->objectName().isEmpty())
            continue;
        const QRect inDialog(widget->mapTo(dialog, QPoint()), widget->size());
        QVERIFY2(dialog->rect().contains(inDialog), qPrintable(widget->objectName()));
        const auto* label = qobject_cast<QLabel*>(widget);
        if (label && label->wordWrap())
            continue;
        QVERIFY2(widget->width() >= widget->minimumSizeHint().width(),
                 qPrintable(widget->objectName()));
    }
}

QTEST_MAIN(TestPaceBandDialog)

#include "tst_pace_band_dialog.moc"
