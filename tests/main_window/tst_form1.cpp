#include "main_window/form1.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
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

private:
    template <typename T> T* find(const QString& name) const
    {
        auto* widget = m_form->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    int clientHeightPixels() const { return m_form->centralWidget()->height(); }

    std::unique_ptr<test::TestEnvironment> m_environment;
    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
    std::unique_ptr<Form1> m_form;
};

void TestForm1::init()
{
    m_environment = std::make_unique<test::TestEnvironment>();
    m_dialogs = std::make_unique<test::ScriptedDialogs>();
    const QString folder = m_environment->path();
    m_form = std::make_unique<Form1>(*m_dialogs, Form1Folders{folder, folder, folder, folder});
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestForm1::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_environment.reset();
}

void TestForm1::startsCompact()
{
    QVERIFY(!m_form->detailMode());
    QCOMPARE(m_form->windowWidthTwips(), 5085);
    QCOMPARE(m_form->windowHeightTwips(), 5800);
    QCOMPARE(m_form->detailHeightTwips(), 10000);
    QCOMPARE(m_form->frameGeometry().size(), QSize(339, 387));
    QVERIFY(find<QWidget>(u"Picture3"_s)->isHidden());
    QCOMPARE(find<QTabWidget>(u"TabStrip1"_s)->width(), 297);
}

void TestForm1::detailModeSizes()
{
    find<QCheckBox>(u"Check1"_s)->setChecked(true);
    QCOMPARE(m_form->windowWidthTwips(), 12165);
    QCOMPARE(m_form->windowHeightTwips(), 10000);
    QCOMPARE(m_form->frameGeometry().size(), QSize(811, 667));
    QVERIFY(!find<QWidget>(u"Picture3"_s)->isHidden());
    QCOMPARE(find<QTabWidget>(u"TabStrip1"_s)->width(), 769);

    // The record list reaches down to the bar, and the bar sits at the bottom of the client.
    QWidget* bar = find<QWidget>(u"Picture4"_s);
    QWidget* list = find<QWidget>(u"ListView1"_s);
    QCOMPARE(bar->geometry().bottom() + 1, clientHeightPixels());
    QVERIFY(qAbs(list->geometry().bottom() + 1 - bar->y()) <= 1);
    QCOMPARE(list->y(), 336);
}

void TestForm1::menuAndCheckBoxStayInStep()
{
    auto* check = find<QCheckBox>(u"Check1"_s);
    auto* menu = find<QAction>(u"mnInfo"_s);
    menu->trigger();
    QVERIFY(check->isChecked());
    QVERIFY(menu->isChecked());
    QVERIFY(m_form->detailMode());
    menu->trigger();
    QVERIFY(!check->isChecked());
    QVERIFY(!menu->isChecked());
    check->setChecked(true);
    QVERIFY(menu->isChecked());
    check->setChecked(false);
    QVERIFY(!menu->isChecked());
    QCOMPARE(m_form->windowHeightTwips(), 5800);
}

void TestForm1::dragBar_data()
{
    QTest::addColumn<bool>("detail");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<int>("yTwips");
    QTest::addColumn<int>("height");

    QTest::newRow("down by 600 grows the window") << true << Qt::MouseButtons(Qt::LeftButton) << 600
                                                  << 10600;
    QTest::newRow("up by 900 shrinks it") << true << Qt::MouseButtons(Qt::LeftButton) << -900 << 9100;
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

    find<QCheckBox>(u"Check1"_s)->setChecked(detail);
    const QRect listBefore = find<QWidget>(u"ListView1"_s)->geometry();
    m_form->Picture4_MouseMove(buttons, yTwips);
    QCOMPARE(m_form->windowHeightTwips(), height);
    if (detail && height != 10000) {
        QWidget* bar = find<QWidget>(u"Picture4"_s);
        QCOMPARE(bar->geometry().bottom() + 1, clientHeightPixels());
        QVERIFY(qAbs(find<QWidget>(u"ListView1"_s)->geometry().bottom() + 1 - bar->y()) <= 1);
    } else {
        QCOMPARE(find<QWidget>(u"ListView1"_s)->geometry(), listBefore);
    }
}

void TestForm1::draggedHeightReturnsAfterSwitch()
{
    auto* check = find<QCheckBox>(u"Check1"_s);
    check->setChecked(true);
    QWidget* bar = find<QWidget>(u"Picture4"_s);
    // A real drag: the pointer moves 40 pixels below the bar's top with the left button held.
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 40), bar->mapToGlobal(QPointF(10, 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QCOMPARE(m_form->windowHeightTwips(), 10600);
    check->setChecked(false);
    QCOMPARE(m_form->detailHeightTwips(), 10600);
    check->setChecked(true);
    QCOMPARE(m_form->windowHeightTwips(), 10600);
    QCOMPARE(m_form->frameGeometry().height(), 707);
}

void TestForm1::switchRecalculatesVisibleTab()
{
    auto* result = find<QLineEdit>(u"GoalTimeLabel(1)"_s);
    result->setText(u"stale"_s);
    find<QCheckBox>(u"Check1"_s)->setChecked(true);
    QCOMPARE(result->text(), u"3時間 30分 58秒 .5"_s);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
