#include "activity/gpx_reader.h"
#include "activity_sample.h"
#include "activity/track_math.h"

#include <QStringEncoder>
#include <QTest>

#include <numbers>

using namespace Qt::StringLiterals;
using torvanu::Activity;
using torvanu::ActivityError;
using torvanu::Sport;

Q_DECLARE_METATYPE(ActivityError::Kind)

namespace {

QByteArray sample(const QString& name)
{
    return torvanu::test::activitySample(u"gpx/"_s + name);
}

QByteArray gpx(const QByteArray& body, const QByteArray& version = "1/1")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\" "
           "xmlns=\"http://www.topografix.com/GPX/" +
           version +
           "\" xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n" + body +
           "\n</gpx>\n";
}

QByteArray point(double latitude, const QByteArray& time, const QByteArray& tag = "trkpt",
                 const QByteArray& inside = {})
{
    QByteArray text =
        "<" + tag + " lat=\"" + QByteArray::number(latitude, 'f', 6) + "\" lon=\"0\"><ele>12</ele>";
    if (!time.isEmpty())
        text += "<time>" + time + "</time>";
    return text + inside + "</" + tag + ">";
}

// Three points 0.01° apart along the prime meridian, five minutes apart.
QByteArray meridianTrack(const QByteArray& type = {})
{
    return "<trk>" + (type.isEmpty() ? QByteArray() : "<type>" + type + "</type>") + "<trkseg>" +
           point(0, "2024-11-08T09:00:00Z") + point(0.01, "2024-11-08T09:05:00Z") +
           "</trkseg><trkseg>" + point(0.02, "2024-11-08T09:10:00Z") + "</trkseg></trk>";
}

// Along a meridian the great circle is the meridian itself: the distance is the radius times
// the angle, whatever the formula.
constexpr double kMetresPerHundredthDegree = 6'371'008.8 * 0.01 * std::numbers::pi / 180;

} // namespace

class TestGpxReader : public QObject
{
    Q_OBJECT

private slots:
    void samples_data();
    void samples();
    void tracks_data();
    void tracks();
    void severalTracks();
    void names_data();
    void names();
    void refused_data();
    void refused();
};

void TestGpxReader::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("activities");
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<int>("points");

    QTest::newRow("GPX 1.0 with waypoints and an empty track")
        << u"cerknicko-jezero.gpx"_s << 7 << u"2010-08-05T14:23:59Z"_s << 2469.0 << 173;
    QTest::newRow("empty segment in a track")
        << u"track-with-empty-segment.gpx"_s << 1 << u"2013-07-06T17:26:26Z"_s << 76.0 << 9;
}

void TestGpxReader::samples()
{
    QFETCH(QString, file);
    QFETCH(int, activities);
    QFETCH(QString, start);
    QFETCH(double, elapsed);
    QFETCH(int, points);

    const auto result = torvanu::readGpx(sample(file));
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), activities);
    const Activity& first = result.activities.front();
    QCOMPARE(first.start.utc, QDateTime::fromString(start, Qt::ISODate));
    QCOMPARE(first.elapsed, elapsed);
    QCOMPARE(static_cast<int>(first.track.size()), points);
    QVERIFY(first.distance > 0);
}

void TestGpxReader::tracks_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("distance");
    QTest::addColumn<Sport>("sport");

    const double twoHundredths = 2 * kMetresPerHundredthDegree;
    QTest::newRow("GPX 1.1: distance on the sphere, across segments")
        << gpx(meridianTrack()) << true << u"2024-11-08T09:00:00Z"_s << 600.0 << twoHundredths
        << Sport::Unknown;
    QTest::newRow("GPX 1.0") << gpx(meridianTrack(), "1/0") << true << u"2024-11-08T09:00:00Z"_s
                             << 600.0 << twoHundredths << Sport::Unknown;
    QTest::newRow("byte-order mark, no namespace")
        << "\xEF\xBB\xBF<gpx>" + meridianTrack("running") + "</gpx>" << true
        << u"2024-11-08T09:00:00Z"_s << 600.0 << twoHundredths << Sport::Running;
    QTest::newRow("Garmin's extensions ignored, even a time inside them")
        << gpx("<trk><trkseg>" +
               point(0, "2024-11-08T09:00:00Z", "trkpt",
                     "<extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>150</gpxtpx:hr>"
                     "<time>2030-01-01T00:00:00Z</time></gpxtpx:TrackPointExtension>"
                     "</extensions>") +
               point(0.01, "2024-11-08T09:05:00Z") + "</trkseg></trk>")
        << true << u"2024-11-08T09:00:00Z"_s << 300.0 << kMetresPerHundredthDegree
        << Sport::Unknown;
    QTest::newRow("local time with an offset and a fraction")
        << gpx("<trk><trkseg>" + point(0, "2024-11-08T18:00:00.250+09:00") +
               point(0.01, "2024-11-08T09:04:59.750Z") + "</trkseg></trk>")
        << true << u"2024-11-08T09:00:00.250Z"_s << 299.5 << kMetresPerHundredthDegree
        << Sport::Unknown;
    QTest::newRow("a clock stepping back holds its time")
        << gpx("<trk><trkseg>" + point(0, "2024-11-08T09:00:00Z") +
               point(0.01, "2024-11-08T09:05:00Z") + point(0.02, "2024-11-08T09:04:00Z") +
               "</trkseg></trk>")
        << true << u"2024-11-08T09:00:00Z"_s << 300.0 << twoHundredths << Sport::Unknown;
    QTest::newRow("a point without a time: distance only")
        << gpx("<trk><trkseg>" + point(0, "2024-11-08T09:00:00Z") + point(0.01, {}) +
               "</trkseg></trk>")
        << false << QString() << 0.0 << kMetresPerHundredthDegree << Sport::Unknown;
    QTest::newRow("a planned route: distance only, even with times")
        << gpx("<rte>" + point(0, "2024-11-08T09:00:00Z", "rtept") +
               point(0.01, "2024-11-08T09:05:00Z", "rtept") + "</rte>")
        << false << QString() << 0.0 << kMetresPerHundredthDegree << Sport::Unknown;
    QTest::newRow("newest point first: timed from the earliest point to the latest")
        << gpx("<trk><trkseg>" + point(0.02, "2024-11-08T09:10:00Z") +
               point(0.01, "2024-11-08T09:05:00Z") + point(0, "2024-11-08T09:00:00Z") +
               "</trkseg></trk>")
        << true << u"2024-11-08T09:00:00Z"_s << 600.0 << twoHundredths << Sport::Unknown;
    // The document element is the first level: 63 more reach the limit, a text and a CDATA
    // below the deepest one included.
    const auto nested = [](int levels) {
        return QByteArray("<a>").repeated(levels) + "x<![CDATA[y]]>" +
               QByteArray("</a>").repeated(levels);
    };
    QTest::newRow("elements 64 levels deep beside the track")
        << gpx(nested(63) + meridianTrack()) << true << u"2024-11-08T09:00:00Z"_s << 600.0
        << twoHundredths << Sport::Unknown;
    QTest::newRow("a point off the globe is left out")
        << gpx("<trk><trkseg>" + point(0, "2024-11-08T09:00:00Z") +
               point(91, "2024-11-08T09:01:00Z") + point(0.01, "2024-11-08T09:05:00Z") +
               "</trkseg></trk>")
        << true << u"2024-11-08T09:00:00Z"_s << 300.0 << kMetresPerHundredthDegree
        << Sport::Unknown;
}

void TestGpxReader::tracks()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, timed);
    QFETCH(QString, start);
    QFETCH(double, elapsed);
    QFETCH(double, distance);
    QFETCH(Sport, sport);

    const auto result = torvanu::readGpx(file);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
    const Activity& activity = result.activities.front();
    QCOMPARE(activity.timed, timed);
    QCOMPARE(activity.start.utc,
             timed ? QDateTime::fromString(start, Qt::ISODateWithMs) : QDateTime());
    QCOMPARE(activity.elapsed, elapsed);
    QCOMPARE(activity.sport, sport);
    QVERIFY2(std::abs(activity.distance - distance) < 1e-6,
             qPrintable(QString::number(activity.distance)));
    QCOMPARE(activity.track.back().distance, activity.distance);
    QCOMPARE(activity.track.back().time, activity.elapsed);
}

void TestGpxReader::severalTracks()
{
    QByteArray named = meridianTrack("Running");
    named.insert(named.indexOf("<trkseg>"), "<name>\n  川沿い  10km\n</name>");
    const auto result =
        torvanu::readGpx(gpx(named + "<trk><trkseg></trkseg></trk>" + meridianTrack("cycling") +
                             meridianTrack("Transition")));
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 3);
    QCOMPARE(result.activities[0].sport, Sport::Running);
    QCOMPARE(result.activities[0].name, u"川沿い 10km"_s);
    QCOMPARE(result.activities[1].sport, Sport::Cycling);
    QCOMPARE(result.activities[1].name, QString());
    QCOMPARE(result.activities[2].sport, Sport::Transition);
}

// A track's name as the file gives it, whatever the encoding the file declares.
void TestGpxReader::names_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");

    const QString japanese = u"皇居ラン"_s;
    const auto named = [](const QByteArray& name) {
        return "<trk><name>" + name + "</name>" + meridianTrack().mid(5);
    };
    QTest::newRow("UTF-8, an escape in it")
        << gpx(named(u"皇居 &amp; 北の丸"_s.toUtf8())) << u"皇居 & 北の丸"_s;
    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray declared = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<gpx>" +
                                named(shiftJis(japanese)) + "</gpx>";
    QTest::newRow("Shift_JIS, as older Japanese devices write") << declared << japanese;
    QStringEncoder utf16("UTF-16LE");
    const QByteArray wide =
        "\xFF\xFE" + utf16(u"<gpx>"_s + QString::fromUtf8(named(japanese.toUtf8())) + u"</gpx>"_s);
    QTest::newRow("UTF-16 with its byte-order mark") << wide << japanese;
    QTest::newRow("CDATA with blanks around")
        << gpx(named(" <![CDATA[" + japanese.toUtf8() + "]]> ")) << japanese;
    QTest::newRow("a prefixed namespace, no name")
        << QByteArray("<g:gpx xmlns:g=\"http://www.topografix.com/GPX/1/1\"><g:trk><g:trkseg>"
                      "<g:trkpt lat=\"0\" lon=\"0\"><g:time>2024-11-08T09:00:00Z</g:time>"
                      "</g:trkpt></g:trkseg></g:trk></g:gpx>")
        << QString();
}

void TestGpxReader::names()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, name);

    const auto result = torvanu::readGpx(file);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
    QCOMPARE(result.activities.front().name, name);
    QVERIFY(result.activities.front().timed);
}

void TestGpxReader::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ActivityError::Kind>("kind");
    QTest::addColumn<int>("line");
    using Kind = ActivityError::Kind;

    const QByteArray whole = gpx(meridianTrack());
    QTest::newRow("cut in the middle")
        << whole.left(whole.indexOf("</trkseg>")) << Kind::XmlDamaged << 3;
    QTest::newRow("a second document after the first")
        << whole + "<gpx></gpx>" << Kind::XmlDamaged << 5;
    QTest::newRow("waypoints alone, byte-order mark")
        << sample(u"unicode_with_bom.gpx"_s) << Kind::NoActivity << 0;
    QTest::newRow("waypoint with Garmin's extension")
        << sample(u"gpx_with_garmin_extension.gpx"_s) << Kind::NoActivity << 0;
    QTest::newRow("elements 65 levels deep")
        << gpx(QByteArray("<a>").repeated(64) + QByteArray("</a>").repeated(64) + meridianTrack())
        << Kind::XmlTooDeep << 0;
    QTest::newRow("an encoding no converter knows")
        << "<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>\n" +
               whole.mid(whole.indexOf('\n') + 1)
        << Kind::XmlDamaged << 1;
    QTest::newRow("another XML document")
        << QByteArray("<kml><Document/></kml>") << Kind::Foreign << 0;
}

void TestGpxReader::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(ActivityError::Kind, kind);
    QFETCH(int, line);

    const auto result = torvanu::readGpx(file);
    QVERIFY(result.error);
    QVERIFY(result.activities.isEmpty());
    QCOMPARE(result.error->kind, kind);
    if (line > 0)
        QCOMPARE(result.error->line, line);
}

QTEST_APPLESS_MAIN(TestGpxReader)
#include "tst_gpx_reader.moc"
