#include "record_book/form3.h"
#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "records/record_model.h"
#include "support/file_helpers.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace torvanu;
using test::cp932;
using test::readFile;

namespace {

// Three races as a Windows copy of the program writes them.
const QString kThreeRaces = u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,\r\n"
                            u"2,2005年04月03日,桜ラン,10km,  48分 2秒,,C:\\a,b\\x.csv\r\n"
                            u"3,2007年02月07日,湖畔ハーフ,21.0975km, 1時間39分59秒,雨,\r\n"_s;

} // namespace

class TestRecordBook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsAndClosesWithoutChangeByteForByte();
    void closeAsksOnlyWhenChanged_data();
    void closeAsksOnlyWhenChanged();
    void endFromTheMenuAsksOnce();
    void readOnlyFileIsRefusedAndKept();
    void deleteRenumbers_data();
    void deleteRenumbers();
    void movesStopAtTheEnds();
    void columnsAsLoaded_data();
    void columnsAsLoaded();
    void headerClicksSortAndMark();
    void rightButtonOpensTheDataFileOnly();
    void newRecordThroughTheEditor();
    void openedAndConfirmedRowKeepsItsBytes_data();
    void openedAndConfirmedRowKeepsItsBytes();
    void editWithoutSelectionIsRefused();
    void bookMovesToTheWriteFolderOnFirstSave();

private:
    // The window over log.dat holding these bytes, or over no log.dat at all.
    bool start(std::optional<QByteArray> log)
    {
        return m_main->start({.log = std::move(log), .recoveryFolder = u"recovery"_s});
    }
    void close() { m_main->form->close(); }
    QString cell(int row, int column) const { return book().model().cellText(row, column); }
    QStringList numbers() const;
    RecordBook& book() const { return m_main->form->recordBook(); }
    QString logPath() const { return m_main->logPath(); }
    QByteArray logBytes() const { return readFile(logPath()); }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestRecordBook::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
}

void TestRecordBook::cleanup()
{
    m_main.reset();
}

QStringList TestRecordBook::numbers() const
{
    QStringList result;
    for (int row = 0; row < book().model().rowCount(); ++row)
        result.append(cell(row, RecordModel::NoColumn));
    return result;
}

void TestRecordBook::loadsAndClosesWithoutChangeByteForByte()
{
    // 0xED 0x40 is one of the characters code page 932 can write in two ways.
    const QByteArray original = cp932(kThreeRaces) + cp932(u"4,2008年01月01日,"_s) +
                                QByteArray("\xed\x40") + cp932(u",5km,  20分 0秒,,\r\n"_s);
    QVERIFY(start(original));
    QCOMPARE(book().model().rowCount(), 4);
    QCOMPARE(cell(1, RecordModel::DataColumn), u"あり"_s);
    QCOMPARE(book().model().record(1).dataPath, u"C:\\a,b\\x.csv"_s);
    close();
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QCOMPARE(logBytes(), original);
    QVERIFY(!QFile::exists(m_main->environment.filePath(u"log.dat.bak"_s)));
}

void TestRecordBook::closeAsksOnlyWhenChanged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("sortByDate");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<bool>("rewritten");

    const QByteArray three = cp932(kThreeRaces);
    QTest::newRow("sorted, Yes writes the new order")
        << three << true << true << Dialogs::Answer::Yes << true;
    QTest::newRow("sorted, No leaves the file")
        << three << true << true << Dialogs::Answer::No << false;
    // Which file contents count as changed is LogFile::compare's table.
    QTest::newRow("an empty file is rewritten without asking")
        << QByteArray() << false << false << Dialogs::Answer::Ok << false;
}

void TestRecordBook::closeAsksOnlyWhenChanged()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, sortByDate);
    QFETCH(bool, asked);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(bool, rewritten);

    QVERIFY(start(file));
    if (sortByDate)
        book().ListView1_ColumnClick(RecordModel::DateColumn);
    if (asked)
        m_main->dialogs.answerNext(answer);
    close();
    QCOMPARE(m_main->dialogs.messages.size(), asked ? 1 : 0);
    if (asked)
        QCOMPARE(m_main->dialogs.messages.first().text,
                 u"大会記録データが変更されています。\r\n変更を保存しますか？"_s);
    QCOMPARE(logBytes() != file, rewritten);
    if (rewritten) {
        // The previous book stays one step back.
        QCOMPARE(readFile(m_main->environment.filePath(u"log.dat.bak"_s)), file);
    }
}

void TestRecordBook::endFromTheMenuAsksOnce()
{
    const QByteArray original = cp932(kThreeRaces);
    QVERIFY(start(original));
    book().ListView1_ColumnClick(RecordModel::DateColumn);
    m_main->dialogs.answerNext(Dialogs::Answer::Yes);
    // 終了 unloads every window, which closes the main window in turn: the book is offered
    // for saving once, not once per path.
    m_main->find<QAction>(u"mnEnd"_s)->trigger();
    QCOMPARE(m_main->dialogs.messages.size(), 1);
    QVERIFY(!m_main->form->isVisible());
    QVERIFY(logBytes() != original);
    m_main->form->close();
    QCOMPARE(m_main->dialogs.messages.size(), 1);
}

void TestRecordBook::readOnlyFileIsRefusedAndKept()
{
    const QByteArray original = cp932(kThreeRaces);
    QVERIFY(start(original));
    QVERIFY(
        QFile::setPermissions(logPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    book().selectRow(2);
    m_main->dialogs.answerNext(Dialogs::Answer::Yes); // delete the third race
    book().DeleteButton_Click();
    m_main->dialogs.answerNext(Dialogs::Answer::Yes); // save the change
    close();
    QCOMPARE(m_main->dialogs.messages.size(), 3);
    const auto& failure = m_main->dialogs.messages.last();
    QCOMPARE(failure.icon, Dialogs::Icon::Stop);
    QVERIFY(failure.text.startsWith(u"大会結果リストのファイル保存中にエラーが発生しました。"_s));
    QCOMPARE(logBytes(), original);

    // The rows the user kept are not lost: the message names the copy that holds them.
    const QStringList copies =
        QDir(m_main->environment.filePath(u"recovery"_s)).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY(failure.text.contains(copies.first()));
    QCOMPARE(readFile(QDir(m_main->environment.filePath(u"recovery"_s)).filePath(copies.first())),
             cp932(kThreeRaces.section(u"\r\n"_s, 0, 1) + u"\r\n"_s));
}

void TestRecordBook::deleteRenumbers_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("message");

    QTest::newRow("second of three, Yes")
        << 1 << Dialogs::Answer::Yes << QStringList{u"市民マラソン"_s, u"湖畔ハーフ"_s}
        << u"選択しているリストを削除しても宜しいですか？"_s;
    QTest::newRow("second of three, No")
        << 1 << Dialogs::Answer::No << QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s}
        << u"選択しているリストを削除しても宜しいですか？"_s;
    QTest::newRow("nothing selected")
        << -1 << Dialogs::Answer::Ok << QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s}
        << u"削除するリストを選択してください。"_s;
}

void TestRecordBook::deleteRenumbers()
{
    QFETCH(int, selected);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QStringList, names);
    QFETCH(QString, message);

    QVERIFY(start(cp932(kThreeRaces)));
    if (selected >= 0) {
        book().selectRow(selected);
        m_main->dialogs.answerNext(answer);
    }
    QTest::mouseClick(book().deleteButton(), Qt::LeftButton);
    QCOMPARE(m_main->dialogs.messageTexts(), QStringList{message});
    QStringList shown;
    QStringList expectedNumbers;
    for (int row = 0; row < book().model().rowCount(); ++row) {
        shown.append(cell(row, RecordModel::NameColumn));
        expectedNumbers.append(QString::number(row + 1));
    }
    QCOMPARE(shown, names);
    QCOMPARE(numbers(), expectedNumbers);
    if (answer == Dialogs::Answer::Yes)
        QVERIFY(!book().selectedRow());
    m_main->dialogs.clear();
    m_main->dialogs.answerNext(Dialogs::Answer::No);
    close();
}

void TestRecordBook::movesStopAtTheEnds()
{
    QVERIFY(start(cp932(kThreeRaces)));
    book().selectRow(1);
    QTest::mouseClick(book().upButton(), Qt::LeftButton);
    QCOMPARE(cell(0, RecordModel::NameColumn), u"桜ラン"_s);
    QCOMPARE(book().model().record(0).dataPath, u"C:\\a,b\\x.csv"_s);
    QCOMPARE(book().model().record(1).dataPath, QString());
    QCOMPARE(book().selectedRow(), 0);
    QCOMPARE(numbers(), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    QTest::mouseClick(book().upButton(), Qt::LeftButton);
    QCOMPARE(cell(0, RecordModel::NameColumn), u"桜ラン"_s);

    book().selectRow(2);
    QTest::mouseClick(book().downButton(), Qt::LeftButton);
    QCOMPARE(cell(2, RecordModel::NameColumn), u"湖畔ハーフ"_s);
    QTest::mouseClick(book().upButton(), Qt::LeftButton);
    QTest::mouseClick(book().downButton(), Qt::LeftButton);
    // Back where the file has it: moving the first race down again restores the file's order.
    book().selectRow(0);
    QTest::mouseClick(book().downButton(), Qt::LeftButton);
    close();
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestRecordBook::columnsAsLoaded_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("right");

    QTest::newRow("No: left, 33 px") << int(RecordModel::NoColumn) << u"No"_s << 33 << false;
    QTest::newRow("date: left, 96 px") << int(RecordModel::DateColumn) << u"日時"_s << 96 << false;
    QTest::newRow("race name: left, 167 px")
        << int(RecordModel::NameColumn) << u"大会名"_s << 167 << false;
    QTest::newRow("distance: right, 67 px")
        << int(RecordModel::DistanceColumn) << u"距離"_s << 67 << true;
    QTest::newRow("time: right, 100 px")
        << int(RecordModel::TimeColumn) << u"タイム"_s << 100 << true;
    QTest::newRow("remarks: left, 167 px")
        << int(RecordModel::RemarksColumn) << u"備考"_s << 167 << false;
    QTest::newRow("data mark: left, 40 px")
        << int(RecordModel::DataColumn) << u"ﾃﾞｰﾀ"_s << 40 << false;
}

// Loading resets the model under the header: the columns must keep their look through it.
void TestRecordBook::columnsAsLoaded()
{
    QFETCH(int, column);
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(bool, right);

    QVERIFY(start(cp932(kThreeRaces)));
    const QHeaderView* header = book().listView()->header();
    const QAbstractItemModel& model = book().model();
    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), caption);
    QCOMPARE(header->sectionSize(column), width);
    const Qt::Alignment side = right ? Qt::AlignRight : Qt::AlignLeft;
    const auto sideOf = [](const QVariant& alignment) {
        return alignment.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(sideOf(model.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)), side);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(sideOf(model.index(row, column).data(Qt::TextAlignmentRole)), side);
    close();
}

void TestRecordBook::headerClicksSortAndMark()
{
    QVERIFY(start(cp932(kThreeRaces)));
    QHeaderView* header = book().listView()->header();
    const auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    const auto caption = [&](int column) {
        return book().model().headerData(column, Qt::Horizontal).toString();
    };

    clickHeader(RecordModel::DistanceColumn);
    QCOMPARE(caption(RecordModel::DistanceColumn), u"距離▲"_s);
    // Compared as text: "10km" comes before "21.0975km" and "42.195km".
    QCOMPARE(cell(0, RecordModel::DistanceColumn), u"10km"_s);
    clickHeader(RecordModel::DistanceColumn);
    QCOMPARE(caption(RecordModel::DistanceColumn), u"距離▼"_s);
    QCOMPARE(cell(0, RecordModel::DistanceColumn), u"42.195km"_s);
    clickHeader(RecordModel::DistanceColumn);
    QCOMPARE(caption(RecordModel::DistanceColumn), u"距離▲"_s);

    clickHeader(RecordModel::DateColumn);
    QCOMPARE(caption(RecordModel::DistanceColumn), u"距離"_s);
    QCOMPARE(caption(RecordModel::DateColumn), u"日時▲"_s);
    QCOMPARE(cell(0, RecordModel::DateColumn), u"2005年04月03日"_s);
    QCOMPARE(numbers(), (QStringList{u"1"_s, u"2"_s, u"3"_s}));

    // The No column does not sort and leaves the last mark in place.
    clickHeader(RecordModel::TimeColumn);
    clickHeader(RecordModel::NoColumn);
    QCOMPARE(caption(RecordModel::NoColumn), u"No"_s);
    QCOMPARE(caption(RecordModel::TimeColumn), u"タイム▲"_s);
    m_main->dialogs.answerNext(Dialogs::Answer::No);
    close();
}

void TestRecordBook::rightButtonOpensTheDataFileOnly()
{
    const QString dataFile = m_main->environment.filePath(u"run; rm -rf ~ $(x).csv"_s);
    QVERIFY(test::writeFile(dataFile, {}));
    QVERIFY(start(cp932(u"1,2006年11月19日,a,5km,  20分 0秒,,"_s + dataFile +
                        u"\r\n2,2006年11月20日,b,5km,  21分 0秒,,\r\n"_s)));

    QWidget* viewport = book().listView()->viewport();
    const QRect first = book().listView()->visualRect(book().model().index(0, 1));
    const QRect second = book().listView()->visualRect(book().model().index(1, 1));
    QTest::mousePress(viewport, Qt::LeftButton, {}, first.center());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, first.center());
    QVERIFY(m_main->dialogs.openedUrls.isEmpty());
    QTest::mousePress(viewport, Qt::RightButton, {}, first.center());
    QCOMPARE(m_main->dialogs.openedUrls, QList<QUrl>{QUrl::fromLocalFile(dataFile)});
    QTest::mousePress(viewport, Qt::RightButton, {}, second.center());
    QCOMPARE(m_main->dialogs.openedUrls.size(), 1);
    close();
}

void TestRecordBook::newRecordThroughTheEditor()
{
    QVERIFY(start(cp932(kThreeRaces)));
    QTimer::singleShot(0, this, [this] {
        Form3* editor = book().editor();
        QVERIFY(editor && editor->isVisible());
        editor->findChild<QLineEdit*>(u"Text1"_s)->setText(u"湘南,第3回"_s);
        editor->findChild<QComboBox*>(u"Combo2(0)"_s)->setCurrentText(u" 0"_s);
        editor->findChild<QComboBox*>(u"Combo2(1)"_s)->setCurrentText(u"45"_s);
        editor->findChild<QComboBox*>(u"Combo2(2)"_s)->setCurrentText(u" 9"_s);
        QTest::mouseClick(editor->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
    });
    QTest::mouseClick(book().newButton(), Qt::LeftButton);
    QCOMPARE(book().model().rowCount(), 4);
    QCOMPARE(book().selectedRow(), 3);
    QCOMPARE(cell(3, RecordModel::NoColumn), u"4"_s);
    QCOMPARE(cell(3, RecordModel::NameColumn), u"湘南，第3回"_s);
    QCOMPARE(cell(3, RecordModel::TimeColumn), u"  45分 9秒"_s);
    QCOMPARE(cell(3, RecordModel::DistanceColumn), u"42.195km"_s);

    // Editing the new row again and confirming unchanged leaves it as it was.
    QTimer::singleShot(0, this, [this] {
        QTest::mouseClick(book().editor()->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
    });
    const QRect rowRect = book().listView()->visualRect(book().model().index(3, 2));
    QTest::mouseDClick(book().listView()->viewport(), Qt::LeftButton, {}, rowRect.center());
    QCOMPARE(book().model().rowCount(), 4);
    QCOMPARE(cell(3, RecordModel::TimeColumn), u"  45分 9秒"_s);
    m_main->dialogs.answerNext(Dialogs::Answer::No);
    close();
}

// Opening a row with 変更 and pressing OK at once changes neither the list nor log.dat, even
// where the editor's fields could not show the row whole.
void TestRecordBook::openedAndConfirmedRowKeepsItsBytes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("remarks");

    QTest::newRow("remark of 2,000 characters") << u"大会"_s << QString(2000, QChar(u'走'));
    QTest::newRow("race name of 150 characters") << QString(150, u'a') << QString();
    QTest::newRow("tab in the remarks") << u"大会"_s << u"雨\t風"_s;
}

void TestRecordBook::openedAndConfirmedRowKeepsItsBytes()
{
    QFETCH(QString, name);
    QFETCH(QString, remarks);

    const QByteArray original =
        cp932(u"1,2007年02月07日,"_s + name + u",42.195km, 3時間 5分30秒,"_s + remarks +
              u",\r\n2,2008年01月01日,b,5km,  20分 0秒,,\r\n"_s);
    QVERIFY(start(original));
    const RaceRecord before = book().model().record(0);
    QTimer::singleShot(0, this, [this] {
        QTest::mouseClick(book().editor()->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
    });
    const QRect rowRect = book().listView()->visualRect(book().model().index(0, 2));
    QTest::mouseDClick(book().listView()->viewport(), Qt::LeftButton, {}, rowRect.center());
    QVERIFY(!book().editor()->isVisible());
    QCOMPARE(book().model().record(0), before);

    close();
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QCOMPARE(logBytes(), original);
}

void TestRecordBook::editWithoutSelectionIsRefused()
{
    QVERIFY(start(std::nullopt));
    QTest::mouseClick(book().editButton(), Qt::LeftButton);
    QCOMPARE(m_main->dialogs.messageTexts(), QStringList{u"変更するリストを選択してください。"_s});
    QCOMPARE(m_main->dialogs.messages.first().icon, Dialogs::Icon::Stop);
    close();
    // A first close without log.dat creates it silently.
    QVERIFY(QFile::exists(logPath()));
    QCOMPARE(logBytes(), QByteArray());
}

void TestRecordBook::bookMovesToTheWriteFolderOnFirstSave()
{
    const QByteArray original = cp932(kThreeRaces);
    const QString userFolder = m_main->environment.filePath(u"user"_s);
    QVERIFY(QDir().mkpath(userFolder));
    QVERIFY(m_main->start({.log = original,
                           .dataWriteFolder = u"user"_s,
                           .show = test::MainWindowFixture::Show::Hidden}));
    QCOMPARE(book().model().rowCount(), 3);
    close();
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QCOMPARE(readFile(QDir(userFolder).filePath(u"log.dat"_s)), original);
    QCOMPARE(logBytes(), original);
}

QTEST_MAIN(TestRecordBook)
#include "tst_record_book.moc"
