#include "support/file_helpers.h"
#include "support/main_window_fixture.h"
#include "tools/book_location_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace torvanu {

class TstBookLocation : public QObject
{
    Q_OBJECT

private slots:
    void showsTheFileTheCloseWrites_data();
    void showsTheFileTheCloseWrites();
};

void TstBookLocation::showsTheFileTheCloseWrites_data()
{
    QTest::addColumn<QString>("saveFolder"); // relative to the test's folder; empty: its top
    QTest::addColumn<bool>("bookAtStart");
    QTest::addColumn<bool>("showsReadFrom");

    QTest::newRow("first start: the file does not exist yet") << QString() << false << false;
    QTest::newRow("book saved where it was read") << QString() << true << false;
    QTest::newRow("book carried over from the program's folder") << u"user"_s << true << true;
}

void TstBookLocation::showsTheFileTheCloseWrites()
{
    QFETCH(QString, saveFolder);
    QFETCH(bool, bookAtStart);
    QFETCH(bool, showsReadFrom);

    test::MainWindowFixture main;
    if (!saveFolder.isEmpty())
        QVERIFY(QDir().mkpath(main.environment.filePath(saveFolder)));
    test::MainWindowFixture::Options options;
    options.dataWriteFolder = saveFolder;
    if (bookAtStart)
        options.log = test::cp932(u"1,2026年01月11日,新春ロード,10km,  45分12秒,,\r\n"_s);
    QVERIFY(main.start(options));

    main.form->findChild<QAction*>(u"mnBookLocation"_s)->trigger();
    auto* window = main.form->findChild<BookLocationWindow*>();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QString shown = QDir::fromNativeSeparators(main.find<QLineEdit>(u"saveToPath"_s)->text());
    auto* readFrom = window->findChild<QLineEdit*>(u"readFromPath"_s);
    QCOMPARE(readFrom != nullptr, showsReadFrom);
    if (readFrom)
        QCOMPARE(QDir::fromNativeSeparators(readFrom->text()), main.logPath());

    QTest::mouseClick(main.find<QPushButton>(u"openFolder"_s), Qt::LeftButton);
    QCOMPARE(main.dialogs.openedUrls,
             QList<QUrl>{QUrl::fromLocalFile(QFileInfo(shown).absolutePath())});

    window->close();
    main.form->close();
    // The path shown is the one the book went to, with the records of the start.
    QVERIFY(QFileInfo(shown).isFile());
    QCOMPARE(test::readFile(shown), bookAtStart ? options.log : QByteArray(""));
    QVERIFY(main.dialogs.messages.isEmpty());
}

} // namespace torvanu

QTEST_MAIN(torvanu::TstBookLocation)
#include "tst_book_location.moc"
