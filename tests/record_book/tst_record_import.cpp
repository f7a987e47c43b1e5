#include "record_book/form3.h"

#include "support/file_helpers.h"
#include "support/gpx_track.h"
#include "support/scripted_dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

using test::gpxFile;
using test::gpxTrack;

struct Editor
{
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    Form3 form{dialogs, [](QWidget*, const QString&) { return QString(); }};

    QComboBox* picker(const QString& name) const { return form.findChild<QComboBox*>(name); }
    QStringList shown() const
    {
        QStringList texts;
        for (const QString& name : {u"Combo1(0)"_s, u"Combo1(1)"_s, u"Combo1(2)"_s, u"Combo3"_s,
                                    u"Combo2(0)"_s, u"Combo2(1)"_s, u"Combo2(2)"_s})
            texts.append(picker(name)->currentText());
        texts.append(form.findChild<QPushButton*>(u"kmButton"_s)->text());
        return texts;
    }

    // A new record, the file named in its data field, and the button pressed.
    void import(const QByteArray& bytes, const std::function<void()>& userEdits = {})
    {
        form.prepareNew(0, QDate(2007, 2, 7));
        form.show();
        const QString path = dir.filePath(u"race.dat"_s);
        QVERIFY(test::writeFile(path, bytes));
        form.findChild<QLineEdit*>(u"FileText"_s)->setText(path);
        if (userEdits)
            userEdits();
        form.findChild<QPushButton*>(u"ImportButton"_s)->click();
    }
};

const QStringList kNewRecord = {u"2007"_s, u"02"_s, u"07"_s, u"42.195"_s,
                                u" 4"_s,   u" 0"_s, u" 0"_s, u"km"_s};
// 51 points: 5 km in 25 minutes.
const QStringList kFiveKm = {u"2024"_s, u"11"_s, u"08"_s, u"5"_s,
                             u" 0"_s,   u"25"_s, u" 0"_s, u"km"_s};

const QString kAllTracks = u"全トラック（1つの記録として）"_s;

} // namespace

class TestRecordImport : public QObject
{
    Q_OBJECT

private slots:
    void userChanges_data();
    void userChanges();
    void severalActivities_data();
    void severalActivities();
    void refused_data();
    void refused();
    void plannedRouteFillsDistance();
};

void TestRecordImport::userChanges_data()
{
    QTest::addColumn<QStringList>("edits"); // picker name, entry, picker name, entry ...
    QTest::addColumn<int>("answer");        // -1: no question expected
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("shown");

    const QStringList distance{u"Combo3"_s, u"10"_s};
    const QString distanceQuestion = u"入力済みの距離を、ファイルの値で置き換えますか？"_s;
    QStringList keptDistance = kFiveKm;
    keptDistance[3] = u"10"_s;
    QTest::newRow("untouched fields are filled without a question")
        << QStringList() << -1 << QString() << kFiveKm;
    QTest::newRow("Yes replaces the user's distance")
        << distance << static_cast<int>(Dialogs::Answer::Yes) << distanceQuestion << kFiveKm;
    QTest::newRow("No keeps the user's distance and fills the rest")
        << distance << static_cast<int>(Dialogs::Answer::No) << distanceQuestion << keptDistance;
    QTest::newRow("the question names only the fields typed, and No keeps them")
        << QStringList{u"Combo1(1)"_s, u"05"_s, u"Combo2(0)"_s, u" 3"_s}
        << static_cast<int>(Dialogs::Answer::No)
        << u"入力済みの日時・記録を、ファイルの値で置き換えますか？"_s
        << QStringList{u"2007"_s, u"05"_s, u"07"_s, u"5"_s, u" 3"_s, u" 0"_s, u" 0"_s, u"km"_s};
}

void TestRecordImport::userChanges()
{
    QFETCH(QStringList, edits);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, shown);

    Editor editor;
    if (answer >= 0)
        editor.dialogs.answerNext(static_cast<Dialogs::Answer>(answer));
    editor.import(gpxFile(gpxTrack(51, "running")), [&] {
        for (qsizetype i = 0; i + 1 < edits.size(); i += 2) {
            QComboBox* picker = editor.picker(edits[i]);
            picker->setCurrentIndex(picker->findText(edits[i + 1]));
        }
    });
    QCOMPARE(editor.shown(), shown);
    QCOMPARE(editor.dialogs.messages.size(), answer >= 0 ? 1 : 0);
    if (answer >= 0)
        QCOMPARE(editor.dialogs.messages[0].text, question);
}

void TestRecordImport::severalActivities_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("labels"); // what each entry of the chooser begins with
    QTest::addColumn<int>("preselected");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("shown");

    const QByteArray rideAndRun = gpxFile(gpxTrack(101, "cycling") + gpxTrack(51, "running", 4000));
    const QStringList rideAndRunLabels{u"サイクリング"_s, u"ランニング"_s, kAllTracks};
    QStringList ride = kFiveKm;
    ride[3] = u"10"_s;
    ride[5] = u"50"_s;
    QTest::newRow("the run, preselected") << rideAndRun << rideAndRunLabels << 1 << 1 << kFiveKm;
    QTest::newRow("the ride") << rideAndRun << rideAndRunLabels << 1 << 0 << ride;
    QTest::newRow("cancel fills nothing")
        << rideAndRun << rideAndRunLabels << 1 << -1 << kNewRecord;

    // 10 km from noon to 1500 s after 4000 s: the pause between the tracks counts.
    QStringList both = kFiveKm;
    both[3] = u"10"_s;
    both[4] = u" 1"_s;
    both[5] = u"31"_s;
    both[6] = u"40"_s;
    QTest::newRow("all the tracks as one record")
        << gpxFile(gpxTrack(51, "running") + gpxTrack(51, "running", 4000))
        << QStringList{u"ランニング"_s, u"ランニング"_s, kAllTracks} << 0 << 2 << both;

    QByteArray named = gpxTrack(51, "running", 4000);
    named.insert(named.indexOf("<trkseg>"), "<name>朝ラン</name>");
    QTest::newRow("a track by its name; the timed one over a planned route")
        << gpxFile(gpxTrack(51, "running", 0, false) + named)
        << QStringList{u"ランニング"_s, u"朝ラン"_s} << 1 << 1 << kFiveKm;

    QStringList transition = kFiveKm;
    transition[3] = u"0.1"_s;
    transition[5] = u" 0"_s;
    transition[6] = u"30"_s;
    QTest::newRow("a transition is called one")
        << gpxFile(gpxTrack(51, "running") + gpxTrack(2, "transition", 1500))
        << QStringList{u"ランニング"_s, u"トランジション"_s, kAllTracks} << 0 << 1 << transition;
}

void TestRecordImport::severalActivities()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, labels);
    QFETCH(int, preselected);
    QFETCH(int, choice);
    QFETCH(QStringList, shown);

    Editor editor;
    editor.dialogs.chooseItemNext(choice);
    editor.import(file);
    QCOMPARE(editor.dialogs.choices.size(), 1);
    QStringList begins;
    for (const QString& item : editor.dialogs.choices.front().items)
        begins.append(item.section(u"　"_s, 0, 0));
    QCOMPARE(begins, labels);
    QCOMPARE(editor.dialogs.choices.front().preselected, preselected);
    QCOMPARE(editor.shown(), shown);
}

void TestRecordImport::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");

    QTest::newRow("cut short") << gpxFile(gpxTrack(51, "running")).chopped(30)
                               << u"GPXファイルが壊れています（1行目）"_s;
    QTest::newRow("a text file") << QByteArray("date,distance\n")
                                 << u"GPX、TCX、FITのどのファイルでもありません"_s;
}

// One stop message naming the file and what is wrong; nothing filled.
void TestRecordImport::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    Editor editor;
    editor.import(bytes);
    QCOMPARE(editor.shown(), kNewRecord);
    QCOMPARE(editor.dialogs.messages.size(), 1);
    QCOMPARE(editor.dialogs.messages.front().icon, Dialogs::Icon::Stop);
    QVERIFY(editor.dialogs.messages.front().text.contains(editor.dir.filePath(u"race.dat"_s)));
    QVERIFY2(editor.dialogs.messages.front().text.contains(problem),
             qPrintable(editor.dialogs.messages.front().text));
}

void TestRecordImport::plannedRouteFillsDistance()
{
    Editor editor;
    QByteArray route = gpxFile(gpxTrack(11, "running"));
    route.replace("<trk>", "<rte>").replace("</trk>", "</rte>").replace("trkpt", "rtept");
    route.replace("<trkseg>", "").replace("</trkseg>", "");
    editor.import(route);
    QStringList shown = kNewRecord;
    shown[3] = u"1"_s;
    QCOMPARE(editor.shown(), shown);
    // Two lines, so that the box never wraps the second sentence inside a word.
    QCOMPARE(editor.dialogs.messageTexts(),
             QStringList{u"このファイルには時刻がありません（計画したコースなど）。\n"
                         u"距離だけを読み込みました。"_s});
}

} // namespace torvanu

QTEST_MAIN(torvanu::TestRecordImport)
#include "tst_record_import.moc"
