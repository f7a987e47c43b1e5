#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

using namespace torvanu;

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void beside_data();
    void beside();
    void inside_data();
    void inside();
    void cascadedWindowStaysOnTheScreen();
};

void TestWindowPlacement::beside_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("placed");

    const QRect fullHd(0, 0, 1920, 1040);
    const QRect laptop(0, 24, 1366, 744);
    QTest::newRow("room on the right")
        << QRect(0, 24, 460, 700) << QSize(1100, 700) << fullHd << QRect(460, 24, 1100, 700);
    QTest::newRow("no room on the right, room on the left")
        << QRect(1300, 100, 460, 600) << QSize(800, 500) << fullHd << QRect(500, 100, 800, 500);
    QTest::newRow("no room on either side: the right covers the least")
        << QRect(0, 24, 460, 700) << QSize(1100, 660) << laptop << QRect(266, 24, 1100, 660);
    QTest::newRow("main window on the right: the left covers the least")
        << QRect(906, 24, 460, 700) << QSize(1100, 660) << laptop << QRect(0, 24, 1100, 660);
    QTest::newRow("taller than the screen keeps its top inside")
        << QRect(0, 24, 400, 300) << QSize(800, 900) << laptop << QRect(400, 24, 800, 900);
}

void TestWindowPlacement::beside()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, placed);

    QCOMPARE(placeBeside(anchor, frame, available), placed);
}

void TestWindowPlacement::inside_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("kept");

    const QRect laptop(0, 0, 1366, 768);
    QTest::newRow("a cascaded window past the bottom moves up")
        << QRect(300, 303, 900, 480) << laptop << QRect(300, 288, 900, 480);
    QTest::newRow("past the right and the top")
        << QRect(700, -20, 900, 480) << laptop << QRect(466, 0, 900, 480);
    QTest::newRow("inside stays where it is")
        << QRect(10, 10, 900, 480) << laptop << QRect(10, 10, 900, 480);
    QTest::newRow("a second screen to the left")
        << QRect(-300, 10, 900, 480) << QRect(-1920, 0, 1920, 1080) << QRect(-900, 10, 900, 480);
}

void TestWindowPlacement::inside()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, kept);

    QCOMPARE(keepInside(frame, available), kept);
}

// A second race detail opens below and right of the first; with the first near the bottom of
// the screen the second moves up instead of falling off it.
void TestWindowPlacement::cascadedWindowStaysOnTheScreen()
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget first;
    first.resize(available.width() / 2, available.height() / 2);
    first.move(available.left() + 10, available.bottom() - first.height());
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));

    QWidget second;
    second.resize(first.size());
    moveCascaded(&second, &first);
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QVERIFY(available.contains(second.frameGeometry()));
    QVERIFY(second.frameGeometry().left() > first.frameGeometry().left());
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
