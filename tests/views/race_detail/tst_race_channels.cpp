#include "activity/activity_reader.h"
#include "views/race_detail/race_channels.h"
#include "views/race_detail/race_detail_view.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace torvanu;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Which channels a generated run carries.
enum Channel
{
    HeartRate = 1,
    Altitude = 2,
    Cadence = 4,
};

// 3.5 km at 5:00/km, a point every 5 m: flat, then a km up a steady 6 %, then flat again.
Activity run(int channels)
{
    Activity made;
    for (int i = 0; i <= 700; ++i) {
        const double x = i * 5.0;
        made.track.push_back({x * 0.3, x});
        if (channels & HeartRate)
            made.channels.heartRate.push_back(i % 100 == 0 ? kNaN : 140.0F + i / 100);
        if (channels & Altitude)
            made.channels.altitude.push_back(
                static_cast<float>(100 + 0.06 * std::clamp(x - 1000, 0.0, 1000.0)));
        if (channels & Cadence)
            made.channels.cadence.push_back(i % 2 == 0 ? 178.0F : 182.0F);
    }
    return made;
}

int seconds(const QString& pace)
{
    const QStringList parts = pace.split(u':'); // "3:39"
    return parts[0].toInt() * 60 + parts[1].toInt();
}

} // namespace

class TestRaceChannels : public QObject
{
    Q_OBJECT

private slots:
    void climbAgainstTheFile_data();
    void climbAgainstTheFile();
    void columnsOfTheChannels_data();
    void columnsOfTheChannels();
};

void TestRaceChannels::climbAgainstTheFile_data()
{
    QTest::addColumn<QString>("file");

    // The real files whose session gives its total ascent and descent.
    QTest::newRow("a 92 km ride, barometric altitude") << u"garmin-edge-500-activity.fit"_s;
    QTest::newRow("a walk of 68 m") << u"garmin-fenix-5-walk.fit"_s;
}

// Within 10 % of what the watch itself summed, or within the 2 m a climb must turn back by
// before it counts, which no smoothing can see below.
void TestRaceChannels::climbAgainstTheFile()
{
    QFETCH(QString, file);

    const ActivityReadResult read =
        readActivityFile(QStringLiteral(TORVANU_ACTIVITY_DATA "/fit/") + file);
    QVERIFY(!read.error);
    const Activity& activity = read.activities.front();
    QVERIFY(activity.fileAscent && activity.fileDescent);
    const RaceAnalysis analysis = analyseRace(activity.track);
    const RaceChannels channels = raceChannels(activity, analysis);
    QVERIFY(channels.altitude);
    const auto near = [](double counted, double stated) {
        return std::abs(counted - stated) <= std::max(0.1 * stated, 2.0);
    };
    QVERIFY2(near(*channels.ascent, *activity.fileAscent),
             qPrintable(QString::number(*channels.ascent)));
    QVERIFY2(near(*channels.descent, *activity.fileDescent),
             qPrintable(QString::number(*channels.descent)));
    double rows = 0;
    for (const KmChannels& row : channels.rows)
        rows += *row.ascent;
    QVERIFY(std::abs(rows - *channels.ascent) < 1e-6);
}

void TestRaceChannels::columnsOfTheChannels_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("extraHeaders");
    QTest::addColumn<QString>("summaryLine"); // the summary's second line
    QTest::addColumn<QString>("missing");

    QTest::newRow("everything")
        << (HeartRate | Altitude | Cadence)
        << QStringList{u"心拍"_s, u"上り"_s, u"下り"_s, u"調整ペース"_s}
        << u"平均心拍 143拍/分　最大心拍 146拍/分　上り 60m　下り 0m　平均ピッチ 180歩/分"_s
        << QString();
    QTest::newRow("heart rate alone") << static_cast<int>(HeartRate) << QStringList{u"心拍"_s}
                                      << u"平均心拍 143拍/分　最大心拍 146拍/分"_s
                                      << u"このファイルには高度・ピッチの記録がありません。"_s;
    QTest::newRow("nothing but time and distance")
        << 0 << QStringList{} << QString()
        << u"このファイルには心拍・高度・ピッチの記録がありません。"_s;
}

// A column only for a channel the file has, and one line naming those it lacks.
void TestRaceChannels::columnsOfTheChannels()
{
    QFETCH(int, channels);
    QFETCH(QStringList, extraHeaders);
    QFETCH(QString, summaryLine);
    QFETCH(QString, missing);

    const Activity activity = run(channels);
    const RaceAnalysis analysis = analyseRace(activity.track);
    const RaceDetailView view =
        raceDetailView(analysis, {300, true}, raceChannels(activity, analysis));
    QCOMPARE(view.headers.mid(4), extraHeaders);
    QCOMPARE(view.rows.size(), std::size_t{4});
    for (const QStringList& row : view.rows)
        QCOMPARE(row.size(), view.headers.size());
    const QStringList lines = view.summary.split(u'\n');
    QCOMPARE(lines[0], u"距離 3.5km　タイム 17:30　平均ペース 5:00/km"_s);
    QCOMPARE(lines.value(1), summaryLine);
    QCOMPARE(view.missingChannels, missing);
    if (channels & Altitude) {
        // A km up 6 % at 5:00 is worth C(0.06) / 3.6 = 1.37 km of flat: about 3:39 there.
        const int adjusted = seconds(view.rows[1][7]);
        QVERIFY2(adjusted >= 217 && adjusted <= 222, qPrintable(view.rows[1][7]));
        // The flat km before it gets a second at most from the smoothing of the slope's foot.
        QVERIFY(seconds(view.rows[0][7]) >= 299);
        QVERIFY(view.rows[1][5].chopped(1).toInt() >= 58); // and the slope's 60 m
    }
}

QTEST_GUILESS_MAIN(TestRaceChannels)
#include "tst_race_channels.moc"
