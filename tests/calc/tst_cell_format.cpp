#include "calc/cell_format.h"
#include "qt_text.h"

#include <QtTest>

using namespace torvanu;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<torvanu::RowProblem>)

class TestCellFormat : public QObject
{
    Q_OBJECT

private slots:
    void distance_data();
    void distance();
    void time_data();
    void time();
    void date_data();
    void date();
};

namespace {

std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

const std::optional<RowProblem> kReadable;

} // namespace

void TestCellFormat::distance_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("metres");
    QTest::addColumn<std::optional<RowProblem>>("problem");

    const std::optional<RowProblem> unreadable = RowProblem::DistanceUnreadable;
    const std::optional<RowProblem> notPositive = RowProblem::DistanceNotPositive;
    const std::optional<RowProblem> tooLong = RowProblem::DistanceTooLong;

    QTest::newRow("marathon in km") << u"42.195km"_s << 42195.0 << kReadable;
    QTest::newRow("half in km, four decimals") << u"21.0975km"_s << 21097.5 << kReadable;
    QTest::newRow("metres") << u"5000m"_s << 5000.0 << kReadable;
    QTest::newRow("miles, old marathon") << u"26.2ﾏｲﾙ"_s << 42164.8128 << kReadable;
    QTest::newRow("preset with its blank") << u"5 km"_s << 5000.0 << kReadable;
    QTest::newRow("full-width digits typed by an input method")
        << u"４２．１９５km"_s << 42195.0 << kReadable;
    QTest::newRow("longest the editor takes") << u"10000ﾏｲﾙ"_s << 16093440.0 << kReadable;
    QTest::newRow("no unit is metres, as the editor reads it") << u"42"_s << 42.0 << kReadable;
    QTest::newRow("no unit, hand-kept with blanks") << u" 5000 "_s << 5000.0 << kReadable;
    QTest::newRow("text that is no number") << u"42ｷﾛ"_s << 0.0 << unreadable;
    QTest::newRow("unit alone") << u"km"_s << 0.0 << unreadable;
    QTest::newRow("unit before the number") << u"km42"_s << 0.0 << unreadable;
    QTest::newRow("empty cell") << QString() << 0.0 << unreadable;
    QTest::newRow("number too large for a double") << u"1e400km"_s << 0.0 << unreadable;
    QTest::newRow("emptied field stored as zero") << u"0km"_s << 0.0 << notPositive;
    QTest::newRow("negative, which the editor lets through") << u"-3km"_s << 0.0 << notPositive;
    QTest::newRow("underflow reads as zero") << u"1e-400m"_s << 0.0 << notPositive;
    QTest::newRow("beyond the editor's limit") << u"10001ﾏｲﾙ"_s << 0.0 << tooLong;
}

void TestCellFormat::distance()
{
    QFETCH(QString, cell);
    QFETCH(double, metres);
    QFETCH(std::optional<RowProblem>, problem);

    const CellReading<double> read = readDistanceCell(view(cell));
    QCOMPARE(read.problem, problem);
    if (read.ok())
        QCOMPARE(read.value, metres);
}

void TestCellFormat::time_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<std::optional<RowProblem>>("problem");

    const std::optional<RowProblem> unreadable = RowProblem::TimeUnreadable;

    QTest::newRow("one-digit hours with their blank")
        << u" 3時間45分10秒"_s << 13510.0 << kReadable;
    QTest::newRow("under an hour, two-blank prefix") << u"  45分 9秒"_s << 2709.0 << kReadable;
    QTest::newRow("one-digit minutes keep their blank")
        << u" 3時間 5分30秒"_s << 11130.0 << kReadable;
    QTest::newRow("three blanks before one-digit minutes") << u"   5分30秒"_s << 330.0 << kReadable;
    QTest::newRow("two-digit hours") << u"10時間 0分 0秒"_s << 36000.0 << kReadable;
    QTest::newRow("old book without blanks") << u"3時間5分0秒"_s << 11100.0 << kReadable;
    QTest::newRow("hours beyond the picker, ultra race")
        << u"30時間 0分 0秒"_s << 108000.0 << kReadable;
    QTest::newRow("zero") << u"  0分 0秒"_s << 0.0 << std::optional(RowProblem::TimeZero);
    QTest::newRow("zero with hours")
        << u" 0時間 0分 0秒"_s << 0.0 << std::optional(RowProblem::TimeZero);
    QTest::newRow("sixty minutes") << u" 3時間60分 0秒"_s << 0.0 << unreadable;
    QTest::newRow("sixty seconds") << u"  45分60秒"_s << 0.0 << unreadable;
    QTest::newRow("seconds marker missing") << u"  45分 9"_s << 0.0 << unreadable;
    QTest::newRow("minutes marker missing") << u" 3時間45秒"_s << 0.0 << unreadable;
    QTest::newRow("clock form") << u"3:45:10"_s << 0.0 << unreadable;
    QTest::newRow("negative hours") << u"-1時間 0分 0秒"_s << 0.0 << unreadable;
    QTest::newRow("fraction of a second") << u"  45分 9.5秒"_s << 0.0 << unreadable;
    QTest::newRow("markers out of order") << u" 5分 3時間 0秒"_s << 0.0 << unreadable;
    QTest::newRow("absurd hour count") << u"9999999時間 0分 0秒"_s << 0.0 << unreadable;
    QTest::newRow("empty cell") << QString() << 0.0 << unreadable;
}

void TestCellFormat::time()
{
    QFETCH(QString, cell);
    QFETCH(double, seconds);
    QFETCH(std::optional<RowProblem>, problem);

    const CellReading<double> read = readTimeCell(view(cell));
    QCOMPARE(read.problem, problem);
    if (read.ok())
        QCOMPARE(read.value, seconds);
}

void TestCellFormat::date_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QList<int>>("ymd");
    QTest::addColumn<int>("dayNumber");
    QTest::addColumn<std::optional<RowProblem>>("problem");

    const std::optional<RowProblem> unreadable = RowProblem::DateUnreadable;

    QTest::newRow("editor's form")
        << u"2006年11月19日"_s << QList{2006, 11, 19} << 13471 << kReadable;
    QTest::newRow("hand-kept one-digit month and day")
        << u"2007年2月7日"_s << QList{2007, 2, 7} << 13551 << kReadable;
    QTest::newRow("leap day") << u"2024年02月29日"_s << QList{2024, 2, 29} << 19782 << kReadable;
    QTest::newRow("31 February counts on into March")
        << u"2007年02月31日"_s << QList{2007, 2, 31} << 13575 << kReadable;
    QTest::newRow("first day counted")
        << u"1970年01月01日"_s << QList{1970, 1, 1} << 0 << kReadable;
    QTest::newRow("year 9999") << u"9999年01月01日"_s << QList<int>() << 0
                               << std::optional(RowProblem::YearOutOfRange);
    QTest::newRow("month 13") << u"2007年13月01日"_s << QList<int>() << 0 << unreadable;
    QTest::newRow("day 0") << u"2007年01月00日"_s << QList<int>() << 0 << unreadable;
    QTest::newRow("slashes") << u"2007/02/07"_s << QList<int>() << 0 << unreadable;
    QTest::newRow("day marker missing") << u"2007年02月07"_s << QList<int>() << 0 << unreadable;
    QTest::newRow("month before year") << u"02月2007年07日"_s << QList<int>() << 0 << unreadable;
}

void TestCellFormat::date()
{
    QFETCH(QString, cell);
    QFETCH(QList<int>, ymd);
    QFETCH(int, dayNumber);
    QFETCH(std::optional<RowProblem>, problem);

    const CellReading<RaceDate> read = readDateCell(view(cell));
    QCOMPARE(read.problem, problem);
    if (read.ok()) {
        QCOMPARE((QList{read.value.year, read.value.month, read.value.day}), ymd);
        QCOMPARE(read.value.dayNumber(), dayNumber);
    }
}

QTEST_APPLESS_MAIN(TestCellFormat)
#include "tst_cell_format.moc"
