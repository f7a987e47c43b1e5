#include "main_window/form1.h"
#include "main_window/lap_table_panel.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QComboBox>
#include <QDir>
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

private:
    void clickCsv() { QTest::mouseClick(m_form->lapTable().csvButton(), Qt::LeftButton); }
    QComboBox* picker(const QString& name) const { return m_form->findChild<QComboBox*>(name); }

    std::unique_ptr<test::TestEnvironment> m_environment;
    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
    std::unique_ptr<Form1> m_form;
};

void TestCsvExport::init()
{
    m_environment = std::make_unique<test::TestEnvironment>();
    m_dialogs = std::make_unique<test::ScriptedDialogs>();
    const QString folder = m_environment->path();
    m_form = std::make_unique<Form1>(*m_dialogs, Form1Folders{folder, folder, folder, folder});
    m_form->Form_Load();
}

void TestCsvExport::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_environment.reset();
}

void TestCsvExport::startUpStateReadsBackLineForLine()
{
    const QString chosen = m_environment->filePath(u"result"_s);
    m_dialogs->chooseSaveFile(chosen);
    clickCsv();
    QVERIFY(m_dialogs->messages.isEmpty());
    QCOMPARE(m_dialogs->saveRequests.size(), 1);

    QFile file(chosen + u".csv"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringDecoder decoder("windows-31j");
    const QString text = decoder.decode(file.readAll());
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
    expected.append(QString());
    QCOMPARE(text.split(u"\r\n"_s), expected);

    // The window keeps one exporter: the next export offers the last file's full name.
    m_dialogs->chooseSaveFile(QString());
    clickCsv();
    QCOMPARE(m_dialogs->saveRequests.last().fileName, chosen + u".csv"_s);
}

void TestCsvExport::refusals_data()
{
    QTest::addColumn<QString>("pickerName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("dialogOpens");
    QTest::addColumn<QString>("message");

    QTest::newRow("pace tab hours not a number: no dialog")
        << u"Combo4(0)"_s << u"x"_s << false << u"CSVファイル書込みエラー"_s;
    QTest::newRow("a character the code page cannot hold: nothing written")
        << u"Combo1"_s << u"😀"_s << true
        << u"CSVファイルに保存できない文字「😀」が含まれているため、保存しませんでした。"_s;
}

void TestCsvExport::refusals()
{
    QFETCH(QString, pickerName);
    QFETCH(QString, typed);
    QFETCH(bool, dialogOpens);
    QFETCH(QString, message);

    if (pickerName.startsWith(u"Combo4"_s))
        m_form->findChild<QTabWidget*>(u"TabStrip1"_s)->setCurrentIndex(1);
    picker(pickerName)->setEditText(typed);
    m_dialogs->clear();
    const QString chosen = m_environment->filePath(u"refused.csv"_s);
    if (dialogOpens)
        m_dialogs->chooseSaveFile(chosen);
    clickCsv();
    QCOMPARE(m_dialogs->messageTexts(), QStringList{message});
    QCOMPARE(m_dialogs->messages.first().icon, Dialogs::Icon::Stop);
    QVERIFY(!QFile::exists(chosen));
}

QTEST_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
