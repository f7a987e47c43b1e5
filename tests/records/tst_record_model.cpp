#include "records/record_model.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::RaceRecord;
using torvanu::RecordModel;

namespace {

// Rows told apart by their name; the tests look at where each one ends up.
RaceRecord makeRecord(const QString& name, int column = 0, const QString& value = {})
{
    RaceRecord record{QString(),       u"2006年01月01日"_s, name,     u"5km"_s,
                      u"  20分 0秒"_s, QString(),           QString()};
    switch (column) {
    case RecordModel::DateColumn:
        record.raceDate = value;
        break;
    case RecordModel::NameColumn:
        record.raceName = value;
        break;
    case RecordModel::DistanceColumn:
        record.distance = value;
        break;
    case RecordModel::TimeColumn:
        record.raceTime = value;
        break;
    case RecordModel::RemarksColumn:
        record.remarks = value;
        break;
    case RecordModel::DataColumn:
        record.dataPath = value;
        break;
    default:
        break;
    }
    return record;
}

QStringList names(const RecordModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.record(row).raceName);
    return result;
}

QStringList numbers(const RecordModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.data(model.index(row, RecordModel::NoColumn)).toString());
    return result;
}

} // namespace

class TestRecordModel : public QObject
{
    Q_OBJECT

private slots:
    void cells();
    void longCellsShowTheirStart_data();
    void longCellsShowTheirStart();
    void sort_data();
    void sort();
    void sortKeepsSelection();
    void moves_data();
    void moves();
    void removeAndRenumber();
};

void TestRecordModel::cells()
{
    RecordModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendRecord(makeRecord(u"a"_s, RecordModel::DataColumn, u"C:\\a,b\\x.csv"_s));
    model.appendRecord(makeRecord(u"b"_s));

    const QModelIndex marked = model.index(0, RecordModel::DataColumn);
    const QModelIndex unmarked = model.index(1, RecordModel::DataColumn);
    QVERIFY(!model.data(marked).toString().isEmpty());
    QCOMPARE(model.data(unmarked).toString(), QString());
    QCOMPARE(model.data(marked, RecordModel::kDataPathRole).toString(), u"C:\\a,b\\x.csv"_s);
    QCOMPARE(model.data(unmarked, RecordModel::kDataPathRole).toString(), QString());
    QVERIFY(!(model.flags(marked) & Qt::ItemIsEditable));

    const auto alignment = [&model](int column) {
        return model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    QVERIFY(alignment(RecordModel::TimeColumn) & Qt::AlignRight);
    QVERIFY(alignment(RecordModel::NameColumn) & Qt::AlignLeft);
}

void TestRecordModel::longCellsShowTheirStart_data()
{
    QTest::addColumn<QString>("remarks");
    QTest::addColumn<QString>("shown");

    const QString full(1000, u'走');
    QTest::newRow("1,000 characters shown whole") << full << full;
    QTest::newRow("1,001 characters cut to 1,000 and the mark") << full + u"x"_s << full + u"…"_s;
    // U+20B9F (𠮟) is two UTF-16 units; half of it would show as a broken character.
    const QString pair = u"𠮟"_s;
    QTest::newRow("a character of two units is not split at the cut")
        << QString(999, u'a') + pair + u"b"_s << QString(999, u'a') + u"…"_s;
}

void TestRecordModel::longCellsShowTheirStart()
{
    QFETCH(QString, remarks);
    QFETCH(QString, shown);

    RecordModel model;
    model.appendRecord(makeRecord(u"a"_s, RecordModel::RemarksColumn, remarks));
    QCOMPARE(model.data(model.index(0, RecordModel::RemarksColumn)).toString(), shown);
    // What is kept, edited and saved is the whole text.
    QCOMPARE(model.record(0).remarks, remarks);
    QCOMPARE(model.cellText(0, RecordModel::RemarksColumn), remarks);
}

void TestRecordModel::sort_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("values"); // the sort column of rows "0", "1", ...
    QTest::addColumn<QStringList>("sorted"); // row names in the expected order

    for (const QString& locale : {u"ja_JP"_s, u"C"_s}) {
        const auto row = [&locale](const char* what) -> QTestData& {
            return QTest::addRow("%s, %s", what, qPrintable(locale)) << locale;
        };
        row("dates in calendar order")
            << int(RecordModel::DateColumn) << Qt::AscendingOrder
            << QStringList{u"2006年11月19日"_s, u"2006年02月01日"_s, u"1999年12月31日"_s}
            << QStringList{u"2"_s, u"1"_s, u"0"_s};
        row("distances by characters, 10km before 5km")
            << int(RecordModel::DistanceColumn) << Qt::AscendingOrder
            << QStringList{u"5km"_s, u"10km"_s, u"42.195km"_s}
            << QStringList{u"1"_s, u"2"_s, u"0"_s};
        row("times under an hour first, then by hours")
            << int(RecordModel::TimeColumn) << Qt::AscendingOrder
            << QStringList{u"10時間 1分 1秒"_s, u" 3時間45分10秒"_s, u"  45分 9秒"_s,
                           u" 1時間 0分 0秒"_s}
            << QStringList{u"2"_s, u"3"_s, u"1"_s, u"0"_s};
        row("data mark forms two groups, each in list order")
            << int(RecordModel::DataColumn) << Qt::AscendingOrder
            << QStringList{u"C:\\b.csv"_s, QString(), u"C:\\a.csv"_s, QString()}
            << QStringList{u"1"_s, u"3"_s, u"0"_s, u"2"_s};
        row("descending keeps equal texts in list order")
            << int(RecordModel::DataColumn) << Qt::DescendingOrder
            << QStringList{u"C:\\b.csv"_s, QString(), u"C:\\a.csv"_s, QString()}
            << QStringList{u"0"_s, u"2"_s, u"1"_s, u"3"_s};
        // Upper and lower case never tie; which comes first is the locale's choice.
        row("case matters, equal texts stay in list order")
            << int(RecordModel::RemarksColumn) << Qt::AscendingOrder
            << QStringList{u"b"_s, u"B"_s, u"a"_s, u"b"_s}
            << (locale == u"C"_s ? QStringList{u"1"_s, u"2"_s, u"0"_s, u"3"_s}
                                 : QStringList{u"2"_s, u"0"_s, u"3"_s, u"1"_s});
    }
}

void TestRecordModel::sort()
{
    QFETCH(QString, locale);
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, values);
    QFETCH(QStringList, sorted);

    RecordModel model;
    model.setCollationLocale(QLocale(locale));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<RaceRecord> records;
    for (int i = 0; i < values.size(); ++i)
        records.append(makeRecord(QString::number(i), column, values[i]));
    model.setRecords(records);
    model.renumber();

    model.sortByColumn(column, order);
    QCOMPARE(names(model), sorted);
    model.renumber();
    QStringList expectedNumbers;
    for (int i = 1; i <= values.size(); ++i)
        expectedNumbers.append(QString::number(i));
    QCOMPARE(numbers(model), expectedNumbers);
}

void TestRecordModel::sortKeepsSelection()
{
    RecordModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords({makeRecord(u"c"_s), makeRecord(u"a"_s), makeRecord(u"b"_s)});
    const QPersistentModelIndex selected = model.index(0, RecordModel::NameColumn);
    model.sortByColumn(RecordModel::NameColumn, Qt::AscendingOrder);
    QCOMPARE(selected.row(), 2);
    QCOMPARE(selected.data().toString(), u"c"_s);
}

void TestRecordModel::moves_data()
{
    QTest::addColumn<int>("rowA");
    QTest::addColumn<int>("rowB");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("second moved up") << 1 << 0 << QStringList{u"b"_s, u"a"_s, u"c"_s};
    QTest::newRow("first moved down") << 0 << 1 << QStringList{u"b"_s, u"a"_s, u"c"_s};
    QTest::newRow("last and first exchanged") << 2 << 0 << QStringList{u"c"_s, u"b"_s, u"a"_s};
    QTest::newRow("a row with itself: nothing") << 1 << 1 << QStringList{u"a"_s, u"b"_s, u"c"_s};
}

void TestRecordModel::moves()
{
    QFETCH(int, rowA);
    QFETCH(int, rowB);
    QFETCH(QStringList, names);

    RecordModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The distance holds a comma: field bounds must travel with the contents.
    model.setRecords({makeRecord(u"a"_s, RecordModel::DataColumn, u"C:\\a,1.csv"_s),
                      makeRecord(u"b"_s, RecordModel::DistanceColumn, u"4,2km"_s),
                      makeRecord(u"c"_s)});
    model.renumber();
    const QList<RaceRecord> before{model.record(0), model.record(1), model.record(2)};

    model.swapContents(rowA, rowB);
    QCOMPARE(::names(model), names);
    QCOMPARE(numbers(model), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    for (int row = 0; row < 3; ++row) {
        RaceRecord expected = before[names[row].front().unicode() - u'a'];
        expected.no = QString::number(row + 1);
        QCOMPARE(model.record(row), expected);
    }
}

void TestRecordModel::removeAndRenumber()
{
    RecordModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s})
        model.appendRecord(makeRecord(name));
    model.renumber();

    model.removeRecord(1);
    QCOMPARE(numbers(model), (QStringList{u"1"_s, u"3"_s}));
    model.renumber();
    QCOMPARE(numbers(model), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(names(model), (QStringList{u"a"_s, u"c"_s}));

    RaceRecord edited = makeRecord(u"z"_s, RecordModel::DataColumn, u"C:\\z.csv"_s);
    edited.no = u"99"_s;
    model.setRecord(1, edited);
    edited.no = u"2"_s; // No stays with the position
    QCOMPARE(model.record(1), edited);
}

QTEST_GUILESS_MAIN(TestRecordModel)
#include "tst_record_model.moc"
