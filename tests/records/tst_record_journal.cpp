#include "records/record_change.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "support/file_helpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvanu;
using test::readFile;
using test::writeFile;

Q_DECLARE_METATYPE(torvanu::RecordChange)

namespace {

RaceRecord race(const QString& name)
{
    return RaceRecord{u"1"_s,        u"2006年11月19日"_s, name,
                      u"42.195km"_s, u" 3時間45分10秒"_s, QString(),
                      QString()};
}

// One change of every kind, the texts as odd as a list may hold them.
QList<RecordChange> everyKind()
{
    RaceRecord odd = race(u"湘南,第3回"_s);
    odd.remarks = u"雨"_s + QChar(0xD800) + QChar(0xFFFD); // a lone surrogate too
    odd.dataPath = u"C:\\a,b\\x.csv"_s;
    return {
        RecordChange::added(race(u"a"_s)),
        RecordChange::added(race(u"b"_s)),
        RecordChange::changed(1, odd),
        RecordChange::swapped(0, 1),
        RecordChange::sorted(RecordModel::NameColumn, true, {1, 0}),
        RecordChange::removed(0),
    };
}

} // namespace

class TestRecordJournal : public QObject
{
    Q_OBJECT

private slots:
    void everyChangeReadsBack();
    void damagedJournal_data();
    void damagedJournal();
    void misfitChangesAreRefused_data();
    void misfitChangesAreRefused();
};

void TestRecordJournal::everyChangeReadsBack()
{
    QTemporaryDir dir;
    RecordJournal journal(dir.path());
    const BookFingerprint base{1234, 5678, 42};
    journal.setBase(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!journal.exists());
    const QList<RecordChange> changes = everyKind();
    for (const RecordChange& change : changes)
        QVERIFY(!journal.append(change));

    const JournalReadResult read = RecordJournal::read(journal.filePath());
    QVERIFY(!read.error);
    QVERIFY(!read.cut);
    QVERIFY(read.base == base);
    QCOMPARE(read.changes, changes);
    QCOMPARE(read.wholeBytes, QFile(journal.filePath()).size());

    // Applied in order they give one list, as the buttons did.
    RecordModel model;
    for (const RecordChange& change : read.changes)
        QVERIFY(applyRecordChange(model, change));
    QCOMPARE(model.rowCount(), 1);
    RaceRecord last = read.changes[2].record;
    last.no = u"1"_s;
    QCOMPARE(model.record(0), last);
}

void TestRecordJournal::damagedJournal_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("changes");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("notJournal");

    const int all = int(everyKind().size());
    QTest::newRow("torn last entry: every whole one before it")
        << u"tear"_s << all - 1 << true << false;
    QTest::newRow("a length beyond the file is not believed")
        << u"length"_s << all - 1 << true << false;
    QTest::newRow("a changed byte fails the entry's checksum")
        << u"flip"_s << all - 1 << true << false;
    QTest::newRow("no journal header: nothing read") << u"header"_s << 0 << false << true;
    QTest::newRow("garbage after the last entry") << u"append"_s << all << true << false;
}

void TestRecordJournal::damagedJournal()
{
    QFETCH(QString, damage);
    QFETCH(int, changes);
    QFETCH(bool, cut);
    QFETCH(bool, notJournal);

    QTemporaryDir dir;
    RecordJournal journal(dir.path());
    const QList<RecordChange> written = everyKind();
    for (const RecordChange& change : written)
        QVERIFY(!journal.append(change));
    QByteArray bytes = readFile(journal.filePath());
    const qsizetype lastEntry = bytes.size() - RecordJournal::encodeEntry(written.last()).size();
    if (damage == u"tear")
        bytes.chop(3);
    else if (damage == u"length")
        bytes.replace(lastEntry, 4, QByteArray("\xff\xff\xff\x7f", 4));
    else if (damage == u"flip")
        bytes[bytes.size() - 1] = char(bytes.back() ^ 0x01);
    else if (damage == u"header")
        bytes[0] = 'X';
    else if (damage == u"append")
        bytes.append(QByteArray(5, '\xff'));
    QVERIFY(writeFile(journal.filePath(), bytes));

    const JournalReadResult read = RecordJournal::read(journal.filePath());
    QCOMPARE(read.error.has_value(), notJournal);
    QCOMPARE(read.changes, written.first(changes));
    QCOMPARE(read.cut, cut);

    // Going on after a restore cuts the torn tail, so a new entry is read again.
    if (notJournal)
        return;
    QVERIFY(!journal.continueAfter(read));
    QVERIFY(!journal.append(written.first()));
    const JournalReadResult again = RecordJournal::read(journal.filePath());
    QCOMPARE(again.changes.size(), changes + 1);
    QVERIFY(!again.cut);
}

void TestRecordJournal::misfitChangesAreRefused_data()
{
    QTest::addColumn<RecordChange>("change");

    QTest::newRow("change beyond the list") << RecordChange::changed(2, race(u"x"_s));
    QTest::newRow("remove before the list") << RecordChange::removed(-1);
    QTest::newRow("swap with a row beyond the list") << RecordChange::swapped(0, 2);
    QTest::newRow("sort of another size") << RecordChange::sorted(1, false, {0});
    QTest::newRow("sort naming a row twice") << RecordChange::sorted(1, false, {0, 0});
    QTest::newRow("sort by a column that does not exist") << RecordChange::sorted(9, false, {1, 0});
}

void TestRecordJournal::misfitChangesAreRefused()
{
    QFETCH(RecordChange, change);

    RecordModel model;
    model.setRecords(QList<RaceRecord>{race(u"a"_s), race(u"b"_s)});
    const QList<LogLine> before = model.lines();
    QVERIFY(!applyRecordChange(model, change));
    QCOMPARE(model.lines(), before);
}

QTEST_GUILESS_MAIN(TestRecordJournal)
#include "tst_record_journal.moc"
