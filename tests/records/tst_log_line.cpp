#include "records/log_line.h"

#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::LogLine;
using torvanu::RaceRecord;

namespace {

QStringList fieldsOf(const RaceRecord& record)
{
    return {record.no,       record.raceDate, record.raceName, record.distance,
            record.raceTime, record.remarks,  record.dataPath};
}

} // namespace

class TestLogLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestLogLine::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields"); // empty: no record

    QTest::newRow("worked example, data path kept")
        << u"3,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,C:\\Data\\race3.csv"_s
        << QStringList{u"3"_s,
                       u"2006年11月19日"_s,
                       u"市民マラソン"_s,
                       u"42.195km"_s,
                       u" 3時間45分10秒"_s,
                       u"自己ベスト"_s,
                       u"C:\\Data\\race3.csv"_s};
    QTest::newRow("one trailing comma: no data path")
        << u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,"_s
        << QStringList{u"1"_s,        u"2006年11月19日"_s, u"市民マラソン"_s,
                       u"42.195km"_s, u" 3時間45分10秒"_s, u"自己ベスト"_s,
                       QString()};
    QTest::newRow("two trailing commas: data path is one comma")
        << u"1,a,b,c,d,e,,"_s
        << QStringList{u"1"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u","_s};
    QTest::newRow("commas in the data path are joined again")
        << u"2,a,b,c,d,e,C:\\a,b\\x.csv"_s
        << QStringList{u"2"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"C:\\a,b\\x.csv"_s};
    QTest::newRow("field 0 kept as read, not renumbered")
        << u"5,a,b,c,d,e,"_s
        << QStringList{u"5"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, QString()};
    QTest::newRow("blanks kept, nothing trimmed")
        << u" 1 ,  a, b ,c , d,e ,  "_s
        << QStringList{u" 1 "_s, u"  a"_s, u" b "_s, u"c "_s, u" d"_s, u"e "_s, u"  "_s};
    QTest::newRow("comma in the distance shifts later fields into the path")
        << u"1,a,b,4,2km,t,r,"_s
        << QStringList{u"1"_s, u"a"_s, u"b"_s, u"4"_s, u"2km"_s, u"t"_s, u"r,"_s};
    QTest::newRow("six fields are no record") << u"1,a,b,c,d,e"_s << QStringList{};
    QTest::newRow("empty line is no record") << QString() << QStringList{};
    QTest::newRow("six empty fields are no record") << u",,,,,"_s << QStringList{};
    QTest::newRow("seven empty fields are a record")
        << u",,,,,,"_s
        << QStringList{QString(), QString(), QString(), QString(), QString(), QString(), QString()};
}

void TestLogLine::parse()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);

    const std::optional<RaceRecord> record = torvanu::parseLogLine(line);
    QCOMPARE(record.has_value(), !fields.isEmpty());
    if (!record)
        return;
    QCOMPARE(fieldsOf(*record), fields);
    QCOMPARE(record->hasData(), !fields.back().isEmpty());
    // What was read is what is written back, whether kept as read or composed from the cells.
    QCOMPARE(LogLine::parse(line)->text(), line);
    QCOMPARE(torvanu::composeLogLine(*record), line);
    QCOMPARE(LogLine::fromRecord(*record).toRecord(), *record);
}

QTEST_GUILESS_MAIN(TestLogLine)
#include "tst_log_line.moc"
