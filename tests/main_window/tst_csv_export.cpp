#include "main_window/lap_table_panel.h"
#include "support/access_keys.h"
#include "support/file_helpers.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace torvanu;

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpStateReadsBackLineForLine();
    void refusals_data();
    void refusals();
    void accessKeysInCaptionsChangeNothing_data();
    void accessKeysInCaptionsChangeNothing();

private:
    void clickCsv() { QTest::mouseClick(m_main->form->lapTable().csvButton(), Qt::LeftButton); }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestCsvExport::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QVERIFY(m_main->start({.show = test::MainWindowFixture::Show::Hidden}));
}

void TestCsvExport::cleanup()
{
    m_main.reset();
}

void TestCsvExport::startUpStateReadsBackLineForLine()
{
    const QString chosen = m_main->environment.filePath(u"result"_s);
    m_main->dialogs.chooseSaveFile(chosen);
    clickCsv();
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QCOMPARE(m_main->dialogs.saveRequests.size(), 1);

    QVERIFY(QFile::exists(chosen + u".csv"_s));
    QStringDecoder decoder("windows-31j");
    const QString text = decoder.decode(test::readFile(chosen + u".csv"_s));
    QVERIFY(!decoder.hasError());

    QStringList expected{u"[ゴール時間算出結果]"_s,
                         u"目標距離,42.195km"_s,
                         u"1kmのﾍﾟｰｽ,05:00"_s,
                         u"ゴール時間,3時間 30分 58秒 .5"_s,
                         u"時速,12km"_s,
                         QString(),
                         u"[フルマラソン換算] "_s};
    for (int km = 1; km <= 42; ++km) {
        const int seconds = km * 300;
        expected.append(u"%1km,%2:%3:%4"_s.arg(km)
                            .arg(seconds / 3600)
                            .arg(seconds % 3600 / 60, 2, 10, QChar(u'0'))
                            .arg(seconds % 60, 2, 10, QChar(u'0')));
        if (km == 21)
            expected.append(u"ハーフ,1:45:29"_s);
    }
    expected.append(u"フル,3:30:58"_s);
    // Line 51 ends with its own CR LF, and the save adds the empty line 52 after it.
    expected.append(QString());
    expected.append(QString());
    QCOMPARE(text.split(u"\r\n"_s), expected);

    // The window keeps one exporter: the next export offers the last file's full name.
    m_main->dialogs.chooseSaveFile(QString());
    clickCsv();
    QCOMPARE(m_main->dialogs.saveRequests.last().fileName, chosen + u".csv"_s);
}

void TestCsvExport::refusals_data()
{
    QTest::addColumn<QString>("pickerName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("dialogOpens");
    QTest::addColumn<QString>("chosenName");
    QTest::addColumn<QString>("detail"); // %1: the chosen file

    QTest::newRow("pace tab hours not a number: no dialog")
        << u"Combo4(0)"_s << u"x"_s << false << u"refused.csv"_s << QString();
    QTest::newRow("a character the code page cannot hold: nothing written")
        << u"Combo1"_s << u"😀"_s << false << u"refused.csv"_s
        << u"保存できない文字「😀」が含まれているため、保存しませんでした。"_s;
    QTest::newRow("a folder that is not there: the file and the system's reason")
        << u"Combo1"_s << u"10"_s << true << u"gone/refused.csv"_s
        << u"書き込めなかったファイル：\r\n%1\r\n理由："_s;
}

void TestCsvExport::refusals()
{
    QFETCH(QString, pickerName);
    QFETCH(QString, typed);
    QFETCH(bool, dialogOpens);
    QFETCH(QString, chosenName);
    QFETCH(QString, detail);

    if (pickerName.startsWith(u"Combo4"_s))
        m_main->find<QTabWidget>(u"TabStrip1"_s)->setCurrentIndex(1);
    m_main->find<QComboBox>(pickerName)->setEditText(typed);
    m_main->dialogs.clear();
    const QString chosen = m_main->environment.filePath(chosenName);
    if (dialogOpens)
        m_main->dialogs.chooseSaveFile(chosen);
    clickCsv();
    // The message is the window's own; what went wrong, and where, is the line beneath it.
    QCOMPARE(m_main->dialogs.messageTexts(), QStringList{u"CSVファイル書込みエラー"_s});
    QCOMPARE(m_main->dialogs.messages.first().icon, Dialogs::Icon::Stop);
    const QString shownDetail = m_main->dialogs.messages.first().detail;
    const QString expected = detail.contains(u"%1"_s) ? detail.arg(chosen) : detail;
    QVERIFY2(shownDetail.startsWith(expected), qPrintable(shownDetail));
    QVERIFY2(!shownDetail.endsWith(u"理由："_s), "the cause is named");
    QVERIFY(!QFile::exists(chosen));
}

// Two windows take the same steps; a desktop puts access keys into the captions of one. The
// results, the bounds and the exported files must not tell them apart.
void TestCsvExport::accessKeysInCaptionsChangeNothing_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("unitPresses");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("goal-time tab in km") << 0 << 0 << u"10"_s << QStringList();
    QTest::newRow("goal-time tab above the m bound")
        << 0 << 1 << u"1000001"_s
        << QStringList{u"目標距離は1000000m以下の数値を入力してください。"_s};
    QTest::newRow("pace tab in miles") << 1 << 2 << u"26.2"_s << QStringList();
    QTest::newRow("pace tab above the km bound after a full cycle")
        << 1 << 3 << u"10001"_s
        << QStringList{u"目標距離は10000km以下の数値を入力してください。"_s};
}

void TestCsvExport::accessKeysInCaptionsChangeNothing()
{
    QFETCH(int, tab);
    QFETCH(int, unitPresses);
    QFETCH(QString, distance);
    QFETCH(QStringList, messages);

    test::MainWindowFixture decorated;
    QVERIFY(decorated.start({.show = test::MainWindowFixture::Show::Hidden}));
    QList<QByteArray> files;
    for (test::MainWindowFixture* window : {m_main.get(), &decorated}) {
        const bool keys = window == &decorated;
        const auto step = [window, keys] {
            if (keys)
                test::addAccessKeys(window->form.get());
        };
        step();
        window->find<QTabWidget>(u"TabStrip1"_s)->setCurrentIndex(tab);
        step();
        auto* unit = window->find<QPushButton>(tab == 0 ? u"Command1"_s : u"Command2"_s);
        for (int press = 0; press < unitPresses; ++press) {
            unit->click();
            step();
        }
        window->find<QComboBox>(tab == 0 ? u"Combo1"_s : u"Combo3"_s)->setEditText(distance);
        QCOMPARE(window->dialogs.messageTexts(), messages);

        const QString chosen = window->environment.filePath(u"result.csv"_s);
        window->dialogs.chooseSaveFile(chosen);
        QTest::mouseClick(window->form->lapTable().csvButton(), Qt::LeftButton);
        QCOMPARE(window->dialogs.messageTexts(), messages);
        files.append(test::readFile(chosen));
    }
    QVERIFY(files[0].endsWith("\r\n\r\n"));
    QCOMPARE(files[1], files[0]);
}

QTEST_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
