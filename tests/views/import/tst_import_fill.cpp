#include "views/import/import_fill.h"

#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::Activity;
using torvanu::Sport;

namespace {

using Parts = QList<int>; // empty: nothing to fill

Activity activity(const QString& startUtc, double elapsed, double distance, bool timed = true)
{
    Activity made;
    made.sport = Sport::Running;
    made.start.utc = QDateTime::fromString(startUtc, Qt::ISODateWithMs);
    made.timed = timed;
    made.elapsed = elapsed;
    made.distance = distance;
    return made;
}

Parts parts(const std::optional<std::array<int, 3>>& values)
{
    return values ? Parts{(*values)[0], (*values)[1], (*values)[2]} : Parts{};
}

} // namespace

class TestImportFill : public QObject
{
    Q_OBJECT

private slots:
    void fill_data();
    void fill();
};

void TestImportFill::fill_data()
{
    QTest::addColumn<Activity>("activity");
    QTest::addColumn<Parts>("date"); // picker indexes: year from 1980, month and day from 1
    QTest::addColumn<QString>("distance");
    QTest::addColumn<Parts>("time");
    QTest::addColumn<bool>("tooLong");

    QTest::newRow("marathon: distance to the metre, time rounded up to the second")
        << activity(u"2024-11-08T00:30:00Z"_s, 3 * 3600 + 5 * 60 + 30.001, 42195.4)
        << Parts{44, 10, 7} << u"42.195"_s << Parts{3, 5, 31} << false;
    QTest::newRow("date in local time: past midnight in Japan")
        << activity(u"2024-11-08T15:30:00Z"_s, 3600, 10000) << Parts{44, 10, 8} << u"10"_s
        << Parts{1, 0, 0} << false;
    QTest::newRow("milliseconds' noise is not a second more")
        << activity(u"2024-11-08T00:00:00Z"_s, 3883.0000000001, 10248.67) << Parts{44, 10, 7}
        << u"10.249"_s << Parts{1, 4, 43} << false;
    QTest::newRow("24:59:59 is the longest time the pickers hold")
        << activity(u"2024-11-08T00:00:00Z"_s, 25 * 3600 - 1, 100000) << Parts{44, 10, 7}
        << u"100"_s << Parts{24, 59, 59} << false;
    QTest::newRow("a second more does not fit")
        << activity(u"2024-11-08T00:00:00Z"_s, 25 * 3600, 100000) << Parts{44, 10, 7} << u"100"_s
        << Parts{} << true;
    QTest::newRow("a time no race lasts does not overflow")
        << activity(u"2024-11-08T00:00:00Z"_s, 1e300, 100000) << Parts{44, 10, 7} << u"100"_s
        << Parts{} << true;
    QTest::newRow("a year the pickers lack leaves the date")
        << activity(u"1979-12-31T00:00:00Z"_s, 60, 250) << Parts{} << u"0.25"_s << Parts{0, 1, 0}
        << false;
    QTest::newRow("a planned route: distance alone")
        << activity(QString(), 0, 21097.5, false) << Parts{} << u"21.098"_s << Parts{} << false;
}

void TestImportFill::fill()
{
    QFETCH(Activity, activity);
    QFETCH(Parts, date);
    QFETCH(QString, distance);
    QFETCH(Parts, time);
    QFETCH(bool, tooLong);

    const auto fill = torvanu::importFill(activity, QTimeZone(9 * 3600));
    QCOMPARE(parts(fill.date), date);
    QCOMPARE(fill.distance, distance);
    QCOMPARE(parts(fill.time), time);
    QCOMPARE(fill.timeTooLong, tooLong);
}

QTEST_APPLESS_MAIN(TestImportFill)
#include "tst_import_fill.moc"
