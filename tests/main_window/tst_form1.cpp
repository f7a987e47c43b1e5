#include "support/main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace torvanu;

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsCompact();
    void detailModeSizes();
    void menuAndCheckBoxStayInStep();
    void dragBar_data();
    void dragBar();
    void draggedHeightReturnsAfterSwitch();
    void switchRecalculatesVisibleTab();
    void growingKeepsTheWindowOnScreen_data();
    void growingKeepsTheWindowOnScreen();

private:
    int clientHeightPixels() const { return m_main->form->centralWidget()->height(); }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestForm1::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QVERIFY(m_main->start({}));
}

void TestForm1::cleanup()
{
    m_main.reset();
}

void TestForm1::startsCompact()
{
    QVERIFY(!m_main->form->detailMode());
    QCOMPARE(m_main->form->windowWidthTwips(), 5085);
    QCOMPARE(m_main->form->windowHeightTwips(), 5800);
    QCOMPARE(m_main->form->detailHeightTwips(), 10000);
    QCOMPARE(m_main->form->frameGeometry().size(), QSize(339, 387));
    QVERIFY(m_main->find<QWidget>(u"Picture3"_s)->isHidden());
    QCOMPARE(m_main->find<QTabWidget>(u"TabStrip1"_s)->width(), 297);
}

void TestForm1::detailModeSizes()
{
    m_main->find<QCheckBox>(u"Check1"_s)->setChecked(true);
    QCOMPARE(m_main->form->windowWidthTwips(), 12165);
    QCOMPARE(m_main->form->windowHeightTwips(), 10000);
    QCOMPARE(m_main->form->frameGeometry().size(), QSize(811, 667));
    QVERIFY(!m_main->find<QWidget>(u"Picture3"_s)->isHidden());
    QCOMPARE(m_main->find<QTabWidget>(u"TabStrip1"_s)->width(), 769);

    // The record list reaches down to the bar, and the bar sits at the bottom of the client.
    QWidget* bar = m_main->find<QWidget>(u"Picture4"_s);
    QWidget* list = m_main->find<QWidget>(u"ListView1"_s);
    QCOMPARE(bar->geometry().bottom() + 1, clientHeightPixels());
    QVERIFY(qAbs(list->geometry().bottom() + 1 - bar->y()) <= 1);
    QCOMPARE(list->y(), 336);
}

void TestForm1::menuAndCheckBoxStayInStep()
{
    auto* check = m_main->find<QCheckBox>(u"Check1"_s);
    auto* menu = m_main->find<QAction>(u"mnInfo"_s);
    menu->trigger();
    QVERIFY(check->isChecked());
    QVERIFY(menu->isChecked());
    QVERIFY(m_main->form->detailMode());
    menu->trigger();
    QVERIFY(!check->isChecked());
    QVERIFY(!menu->isChecked());
    check->setChecked(true);
    QVERIFY(menu->isChecked());
    check->setChecked(false);
    QVERIFY(!menu->isChecked());
    QCOMPARE(m_main->form->windowHeightTwips(), 5800);
}

void TestForm1::dragBar_data()
{
    QTest::addColumn<bool>("detail");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<int>("yTwips");
    QTest::addColumn<int>("height");

    QTest::newRow("down by 600 grows the window")
        << true << Qt::MouseButtons(Qt::LeftButton) << 600 << 10600;
    QTest::newRow("up by 900 shrinks it")
        << true << Qt::MouseButtons(Qt::LeftButton) << -900 << 9100;
    QTest::newRow("not above the top of the list")
        << true << Qt::MouseButtons(Qt::LeftButton) << -5000 << 10000;
    QTest::newRow("right button does nothing")
        << true << Qt::MouseButtons(Qt::RightButton) << 600 << 10000;
    QTest::newRow("left with right held does nothing")
        << true << (Qt::LeftButton | Qt::RightButton) << 600 << 10000;
    QTest::newRow("compact window does nothing")
        << false << Qt::MouseButtons(Qt::LeftButton) << 600 << 5800;
}

void TestForm1::dragBar()
{
    QFETCH(bool, detail);
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(int, yTwips);
    QFETCH(int, height);

    m_main->find<QCheckBox>(u"Check1"_s)->setChecked(detail);
    const QRect listBefore = m_main->find<QWidget>(u"ListView1"_s)->geometry();
    m_main->form->Picture4_MouseMove(buttons, yTwips);
    QCOMPARE(m_main->form->windowHeightTwips(), height);
    if (detail && height != 10000) {
        QWidget* bar = m_main->find<QWidget>(u"Picture4"_s);
        QCOMPARE(bar->geometry().bottom() + 1, clientHeightPixels());
        QVERIFY(qAbs(m_main->find<QWidget>(u"ListView1"_s)->geometry().bottom() + 1 - bar->y()) <=
                1);
    } else {
        QCOMPARE(m_main->find<QWidget>(u"ListView1"_s)->geometry(), listBefore);
    }
}

void TestForm1::draggedHeightReturnsAfterSwitch()
{
    auto* check = m_main->find<QCheckBox>(u"Check1"_s);
    check->setChecked(true);
    QWidget* bar = m_main->find<QWidget>(u"Picture4"_s);
    // A real drag: the pointer moves 40 pixels below the bar's top with the left button held.
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 40), bar->mapToGlobal(QPointF(10, 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QCOMPARE(m_main->form->windowHeightTwips(), 10600);
    check->setChecked(false);
    QCOMPARE(m_main->form->detailHeightTwips(), 10600);
    check->setChecked(true);
    QCOMPARE(m_main->form->windowHeightTwips(), 10600);
    QCOMPARE(m_main->form->frameGeometry().height(), 707);
}

void TestForm1::switchRecalculatesVisibleTab()
{
    auto* result = m_main->find<QLineEdit>(u"GoalTimeLabel(1)"_s);
    result->setText(u"stale"_s);
    m_main->find<QCheckBox>(u"Check1"_s)->setChecked(true);
    QCOMPARE(result->text(), u"3時間 30分 58秒 .5"_s);
}

// Run on several screens (tests/CMakeLists.txt): where the window fits it keeps its sizes
// exactly; where it does not, it stays within the free area and the bar stays in reach.
void TestForm1::growingKeepsTheWindowOnScreen_data()
{
    QTest::addColumn<int>("dragTwips"); // after switching to detail
    QTest::addColumn<int>("askedHeight");

    QTest::newRow("detail switch from low on the screen") << 0 << 10000;
    QTest::newRow("dragged by 20000 twips, taller than any screen") << 20000 << 30000;
}

void TestForm1::growingKeepsTheWindowOnScreen()
{
    QFETCH(int, dragTwips);
    QFETCH(int, askedHeight);

    Form1& form = *m_main->form;
    const QRect area = form.screen()->availableGeometry();
    // The compact window stands near the bottom of the screen.
    form.move(area.left() + 20, area.bottom() - form.frameGeometry().height() - 20);
    auto* check = m_main->find<QCheckBox>(u"Check1"_s);
    check->setChecked(true);
    if (dragTwips != 0)
        form.Picture4_MouseMove(Qt::LeftButton, dragTwips);

    const auto checkShown = [&] {
        QCOMPARE(form.windowHeightTwips(), askedHeight);
        const int asked = (askedHeight + 7) / 15;
        QCOMPARE(form.frameGeometry().height(), std::min(asked, area.height()));
        QVERIFY2(area.contains(form.frameGeometry()),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(form.frameGeometry().x())
                                .arg(form.frameGeometry().y())
                                .arg(form.frameGeometry().width())
                                .arg(form.frameGeometry().height())));
        QWidget* bar = m_main->find<QWidget>(u"Picture4"_s);
        QCOMPARE(bar->geometry().bottom() + 1, clientHeightPixels());
        QVERIFY(qAbs(m_main->find<QWidget>(u"ListView1"_s)->geometry().bottom() + 1 - bar->y()) <=
                1);
    };
    checkShown();

    // The height asked for returns with the detail window, wherever it can.
    check->setChecked(false);
    QCOMPARE(form.detailHeightTwips(), askedHeight);
    check->setChecked(true);
    checkShown();
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
