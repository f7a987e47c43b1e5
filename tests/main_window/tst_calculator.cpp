#include "main_window/calculator_panel.h"
#include "main_window/lap_table_panel.h"
#include "program_version.h"
#include "support/main_window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QWheelEvent>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace torvanu;

class TestCalculator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithGoalTimeAndFilledTable();
    void lapCellsAreSelectableWithTheMouse();
    void typingRecalculatesEveryKeystroke_data();
    void typingRecalculatesEveryKeystroke();
    void emptyPickersAreFilledWithZero_data();
    void emptyPickersAreFilledWithZero();
    void onePickIsOneRecalculation_data();
    void onePickIsOneRecalculation();
    void listFollowsText_data();
    void listFollowsText();
    void unitButtonCyclesAndRecalculates();
    void tabChangeRecalculatesOnlyTheShownTab();
    void refusedInputKeepsThePreviousResult();

private:
    QString result(int mode) const
    {
        return m_main->find<QLineEdit>(u"GoalTimeLabel(%1)"_s.arg(mode))->text();
    }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestCalculator::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QVERIFY(m_main->start({.show = test::MainWindowFixture::Show::Active}));
}

void TestCalculator::cleanup()
{
    m_main.reset();
}

void TestCalculator::startsWithGoalTimeAndFilledTable()
{
    QCOMPARE(m_main->form->windowTitle(), u"Torvanu ver"_s + kProgramVersion.toString());
    QCOMPARE(result(1), u"3時間 30分 58秒 .5"_s);
    QCOMPARE(result(2), u"00時間 00分 00秒"_s);
    // The splits, half, full and speed shown at start are read back line by line by the CSV
    // export test; the pace line is the one text that the file does not carry.
    QCOMPARE(m_main->form->lapTable().paceText(), u" 1km =5分0秒"_s);
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestCalculator::lapCellsAreSelectableWithTheMouse()
{
    m_main->find<QCheckBox>(u"Check1"_s)->setChecked(true);
    for (const QString& name : {u"SpeedList(1)"_s, u"SpeedList(42)"_s, u"FullTime"_s}) {
        auto* cell = m_main->find<QLabel>(name);
        QVERIFY(cell->isVisible());
        // As a user does: the pointer comes onto the cell, then a double click selects.
        const QPoint centre = cell->mapTo(m_main->form.get(), cell->rect().center());
        QTest::mouseMove(m_main->form->windowHandle(), centre);
        QTest::mouseDClick(m_main->form->windowHandle(), Qt::LeftButton, {}, centre);
        QTRY_VERIFY2(cell->hasSelectedText(), qPrintable(name));
    }
}

void TestCalculator::typingRecalculatesEveryKeystroke_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("result");

    QTest::newRow("distance typed digit by digit")
        << u"Combo1"_s << u"10"_s << QStringList{} << u"50分 0秒 "_s;
    QTest::newRow("a letter complains at once, each keystroke")
        << u"Combo1"_s << u"1x"_s << QStringList{u"目標距離に数値を入力してください。"_s}
        << u"5分 0秒 "_s;
    QTest::newRow("pace seconds above 59")
        << u"Combo2(1)"_s << u"60"_s
        << QStringList{u"１ｋｍペースの「秒」に59以下の数値を入力してください。"_s}
        << u"3時間 35分 11秒 .67"_s;
    QTest::newRow("full-width digits read as numbers")
        << u"Combo2(0)"_s << u"４"_s << QStringList{} << u"2時間 48分 46秒 .8"_s;
}

void TestCalculator::typingRecalculatesEveryKeystroke()
{
    QFETCH(QString, picker);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QString, result);

    auto* combo = m_main->find<QComboBox>(picker);
    combo->setFocus();
    // Typing over the selection changes the text once per keystroke, never to empty.
    combo->lineEdit()->selectAll();
    for (const QChar c : typed) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(combo->lineEdit(), QString(c));
        } else {
            // What an input method hands over when the user confirms a character.
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(combo->lineEdit(), &commit);
        }
    }
    QCOMPARE(m_main->dialogs.messageTexts(), messages);
    for (const auto& shown : m_main->dialogs.messages)
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
    QCOMPARE(this->result(1), result);
}

void TestCalculator::emptyPickersAreFilledWithZero_data()
{
    QTest::addColumn<QString>("cleared");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("result");

    QTest::newRow("pace minutes") << u"Combo2(0)"_s << u"0"_s << QStringList{} << u"0分 0秒 "_s;
    QTest::newRow("distance shows ---") << u"Combo1"_s << u"0"_s << QStringList{} << u"---"_s;
    // The complaint about the seconds comes once, and no result is written over it.
    QTest::newRow("pace minutes while the seconds are wrong")
        << u"Combo2(0)"_s << u"x"_s
        << QStringList{u"１ｋｍペースの「秒」に数値を入力してください。"_s}
        << u"3時間 30分 58秒 .5"_s;
}

void TestCalculator::emptyPickersAreFilledWithZero()
{
    QFETCH(QString, cleared);
    QFETCH(QString, seconds);
    QFETCH(QStringList, messages);
    QFETCH(QString, result);

    m_main->find<QComboBox>(u"Combo2(1)"_s)->setEditText(seconds);
    m_main->dialogs.clear();
    auto* picker = m_main->find<QComboBox>(cleared);
    picker->setEditText(QString());
    QCOMPARE(picker->currentText(), u"0"_s);
    QCOMPARE(m_main->dialogs.messageTexts(), messages);
    QVERIFY(picker->hasFocus() || picker->lineEdit()->hasFocus());
    QCOMPARE(this->result(1), result);
}

// The seconds are wrong, so every recalculation shows its message: one per user action.
void TestCalculator::onePickIsOneRecalculation_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("text");

    QTest::newRow("another entry from the list") << u"list"_s << 4 << u"4 "_s;
    QTest::newRow("the entry already shown, from the list") << u"list"_s << 5 << u"5 "_s;
    QTest::newRow("the next entry by the arrow key") << u"down"_s << 6 << u"6 "_s;
    QTest::newRow("the entry before by the wheel") << u"wheel"_s << 4 << u"4 "_s;
}

void TestCalculator::onePickIsOneRecalculation()
{
    QFETCH(QString, how);
    QFETCH(int, entry);
    QFETCH(QString, text);

    auto* minutes = m_main->find<QComboBox>(u"Combo2(0)"_s);
    auto* seconds = m_main->find<QComboBox>(u"Combo2(1)"_s);
    seconds->setEditText(u"x"_s);
    QCOMPARE(m_main->dialogs.messages.size(), 1);
    m_main->dialogs.clear();

    if (how == u"list"_s) {
        minutes->showPopup();
        QAbstractItemView* list = minutes->view();
        list->setCurrentIndex(minutes->model()->index(entry, 0));
        QTest::keyClick(list, Qt::Key_Return);
    } else if (how == u"down"_s) {
        QTest::keyClick(minutes, Qt::Key_Down);
    } else {
        const QPointF at(minutes->rect().center());
        QWheelEvent wheel(at, minutes->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(minutes, &wheel);
    }
    QCOMPARE(minutes->currentText(), text);
    QCOMPARE(minutes->currentIndex(), entry);
    QCOMPARE(m_main->dialogs.messageTexts(),
             QStringList{u"１ｋｍペースの「秒」に数値を入力してください。"_s});
}

// Whatever put the text there, the list and the arrow keys go on from the entry shown.
void TestCalculator::listFollowsText_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("typed"); // null: the text shown at start
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("afterDown");

    QTest::newRow("pace minutes at start") << u"Combo2(0)"_s << QString() << 5 << u"6 "_s;
    QTest::newRow("pace seconds at start: 0 is no entry")
        << u"Combo2(1)"_s << QString() << -1 << u"0 "_s;
    QTest::newRow("distance at start") << u"Combo1"_s << QString() << 0 << u"30"_s;
    QTest::newRow("typed entry") << u"Combo2(1)"_s << u"10"_s << 10 << u"11"_s;
    QTest::newRow("typed text of no entry: Down starts at the first")
        << u"Combo1"_s << u"7"_s << -1 << u"42.195"_s;
    QTest::newRow("goal hours on the pace tab") << u"Combo4(0)"_s << QString() << 3 << u"4 "_s;
}

void TestCalculator::listFollowsText()
{
    QFETCH(QString, picker);
    QFETCH(QString, typed);
    QFETCH(int, entry);
    QFETCH(QString, afterDown);

    if (picker.startsWith(u"Combo4"_s))
        m_main->find<QTabWidget>(u"TabStrip1"_s)->setCurrentIndex(1);
    auto* combo = m_main->find<QComboBox>(picker);
    if (!typed.isNull()) {
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), typed);
    }
    QCOMPARE(combo->currentIndex(), entry);
    if (entry >= 0) {
        combo->showPopup();
        QCOMPARE(combo->view()->currentIndex().row(), entry);
        combo->hidePopup();
    }

    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), afterDown);
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestCalculator::unitButtonCyclesAndRecalculates()
{
    auto* unit = m_main->find<QPushButton>(u"Command1"_s);
    const QStringList captions{u"m"_s, u"ﾏｲﾙ"_s, u"km"_s};
    const QStringList results{u"0分 12秒 .65"_s, u"5時間 39分 31秒 .88"_s, u"3時間 30分 58秒 .5"_s};
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(unit, Qt::LeftButton);
        QCOMPARE(unit->text(), captions[i]);
        QCOMPARE(m_main->find<QComboBox>(u"Combo1"_s)->currentText(), u"42.195"_s);
        QCOMPARE(result(1), results[i]);
    }
}

void TestCalculator::tabChangeRecalculatesOnlyTheShownTab()
{
    auto* tabs = m_main->find<QTabWidget>(u"TabStrip1"_s);
    m_main->find<QComboBox>(u"Combo1"_s)->setEditText(u"10"_s);
    const QString goalResult = result(1);
    tabs->setCurrentIndex(1);
    QVERIFY(m_main->find<QWidget>(u"Picture1"_s)->isHidden());
    QVERIFY(!m_main->find<QWidget>(u"Picture2"_s)->isHidden());
    QCOMPARE(result(2), u"4分 58秒 .61"_s);
    QCOMPARE(m_main->form->lapTable().paceText(), u" 1km =4分58秒.61"_s);
    QCOMPARE(m_main->form->lapTable().full(), u"3:29:59"_s);
    QCOMPARE(result(1), goalResult);
}

void TestCalculator::refusedInputKeepsThePreviousResult()
{
    m_main->find<QComboBox>(u"Combo2(0)"_s)->setEditText(u"1001"_s);
    QCOMPARE(m_main->dialogs.messageTexts(),
             QStringList{u"１ｋｍペースの「分」に1000以下の数値を入力してください。"_s});
    QCOMPARE(result(1), u"3時間 30分 58秒 .5"_s);
    QCOMPARE(m_main->form->lapTable().full(), u"3:30:58"_s);
}

QTEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
