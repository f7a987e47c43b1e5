#include "activity/activity_reader.h"
#include "fit_encoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using torvanu::ActivityError;
using torvanu::ActivityFormat;

Q_DECLARE_METATYPE(ActivityError::Kind)

namespace {

const QByteArray kGpx = "<?xml version=\"1.0\"?><gpx xmlns=\"http://www.topografix.com/GPX/1/1\">"
                        "<trk><trkseg><trkpt lat=\"0\" lon=\"0\"><time>2024-11-08T09:00:00Z</time>"
                        "</trkpt></trkseg></trk></gpx>";
const QByteArray kTcx = "<TrainingCenterDatabase><Activities><Activity Sport=\"Running\">"
                        "<Id>2024-11-08T09:00:00Z</Id></Activity></Activities>"
                        "</TrainingCenterDatabase>";

// What the path names on disk when the reader opens it.
enum class Made
{
    Nothing,
    File,
    Pipe,
    Folder,
};

QByteArray fit()
{
    torvanu::test::FitActivityContent run;
    run.start = 1'100'000'000;
    run.records = {{run.start, 0}, {run.start + 60, 25'000}};
    return torvanu::test::encodeFitActivity(run, {});
}

} // namespace

Q_DECLARE_METATYPE(Made)

class TestActivityReader : public QObject
{
    Q_OBJECT

private slots:
    void toldApartByContent_data();
    void toldApartByContent();
    void files_data();
    void files();
    void atTheLimitIsRead();
};

void TestActivityReader::toldApartByContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format"); // -1: none of them

    QTest::newRow("FIT") << fit() << static_cast<int>(ActivityFormat::Fit);
    QTest::newRow("GPX after a byte-order mark")
        << "\xEF\xBB\xBF" + kGpx << static_cast<int>(ActivityFormat::Gpx);
    QTest::newRow("TCX after blank lines, without a declaration")
        << "\n\n" + kTcx << static_cast<int>(ActivityFormat::Tcx);
    QTest::newRow("GPX in UTF-16")
        << QByteArray("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char*>(u"<gpx><trk/></gpx>"), 34)
        << static_cast<int>(ActivityFormat::Gpx);
    QTest::newRow("KML") << QByteArray("<kml><Document/></kml>") << -1;
    QTest::newRow("text") << QByteArray("time,distance\n0,0\n") << -1;
    QTest::newRow("FIT signature one byte late") << "\x0c" + fit() << -1;
}

void TestActivityReader::toldApartByContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);

    const auto detected = torvanu::detectActivityFormat(bytes);
    QCOMPARE(detected ? static_cast<int>(*detected) : -1, format);
}

void TestActivityReader::files_data()
{
    QTest::addColumn<Made>("made");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size"); // a larger file, of zeros, when not 0
    QTest::addColumn<int>("error");   // an ActivityError::Kind, or -1 for none
    using Kind = ActivityError::Kind;

    QTest::newRow("GPX named .fit") << Made::File << kGpx << qint64(0) << -1;
    QTest::newRow("FIT named .fit") << Made::File << fit() << qint64(0) << -1;
    QTest::newRow("missing") << Made::Nothing << QByteArray() << qint64(0)
                             << static_cast<int>(Kind::Unreadable);
    QTest::newRow("empty") << Made::File << QByteArray() << qint64(0)
                           << static_cast<int>(Kind::Empty);
    QTest::newRow("a byte over 64 MiB") << Made::File << fit() << torvanu::kMaxActivityFileBytes + 1
                                        << static_cast<int>(Kind::TooLarge);
    // Opening a pipe waits for a writer that may never come, with the window frozen.
    QTest::newRow("a named pipe nothing writes to")
        << Made::Pipe << QByteArray() << qint64(0) << static_cast<int>(Kind::Unreadable);
    QTest::newRow("a folder") << Made::Folder << QByteArray() << qint64(0)
                              << static_cast<int>(Kind::Unreadable);
}

void TestActivityReader::files()
{
    QFETCH(Made, made);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(int, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"race.fit"_s);
    if (made == Made::File) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        // Sparse: the test writes 64 MiB without using them.
        if (size > 0)
            QVERIFY(file.resize(size));
    } else if (made == Made::Pipe) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (made == Made::Folder) {
        QVERIFY(QDir(dir.path()).mkdir(u"race.fit"_s));
    }
    const auto result = torvanu::readActivityFile(path);
    QCOMPARE(result.error ? static_cast<int>(result.error->kind) : -1, error);
    QCOMPARE(result.activities.isEmpty(), error >= 0);
}

void TestActivityReader::atTheLimitIsRead()
{
    QByteArray bytes = kGpx;
    bytes.append(QByteArray(torvanu::kMaxActivityFileBytes - bytes.size(), ' '));
    const auto result = torvanu::readActivity(bytes);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
}

QTEST_APPLESS_MAIN(TestActivityReader)
#include "tst_activity_reader.moc"
