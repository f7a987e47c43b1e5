#include "analysis/book_analysis.h"
#include "analysis/distance_classes.h"
#include "analysis/predictions.h"
#include "analysis/time_text.h"
#include "../calc/qt_text.h"

#include <QtTest>

#include <vector>

using namespace torvanu;
using namespace Qt::StringLiterals;

class TestBookAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void bests_data();
    void bests();
    void unreadable_data();
    void unreadable();
    void seasons();
    void trend_data();
    void trend();
    void defaultRace_data();
    void defaultRace();
    void ownExponent_data();
    void ownExponent();
    void predictionRows();
    void oneHundredThousandRaces();
    void officialClass_data();
    void officialClass();
};

namespace {

// date, distance, time: the name is the row's 1-based number.
using Book = QList<QStringList>;

// Keeps the texts the views point into alive.
struct BookRows
{
    explicit BookRows(const Book& book)
    {
        for (qsizetype i = 0; i < book.size(); ++i) {
            texts.append(
                {book[i].value(0), QString::number(i + 1), book[i].value(1), book[i].value(2)});
        }
        for (const QStringList& t : std::as_const(texts))
            rows.push_back({view(t[0]), view(t[1]), view(t[2]), view(t[3])});
    }

    static std::u16string_view view(const QString& text)
    {
        return {reinterpret_cast<const char16_t*>(text.utf16()),
                static_cast<std::size_t>(text.size())};
    }

    QList<QStringList> texts;
    std::vector<RaceRow> rows;
};

BookAnalysis analyse(const Book& book)
{
    const BookRows rows(book);
    return analyseBook(rows.rows);
}

// "name best-row count" per class, shortest first; rows 1-based as the list shows them.
QStringList summary(const BookAnalysis& analysis)
{
    QStringList out;
    for (const RaceClass& c : analysis.classes)
        out.append(u"%1 %2 %3"_s.arg(qs(c.name)).arg(analysis.races[c.best].row + 1).arg(c.count));
    return out;
}

QList<int> rowsOf(const BookAnalysis& analysis, const std::vector<int>& races)
{
    QList<int> rows;
    for (const int r : races)
        rows.append(analysis.races[r].row + 1);
    return rows;
}

} // namespace

void TestBookAnalysis::bests_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<QStringList>("classes");

    QTest::newRow("three ways of writing a marathon are one class")
        << Book{{u"2020年03月01日"_s, u"42.195km"_s, u" 3時間45分10秒"_s},
                {u"2021年03月01日"_s, u"26.2ﾏｲﾙ"_s, u" 3時間40分 0秒"_s},
                {u"2022年03月01日"_s, u"42.2km"_s, u" 3時間50分 0秒"_s}}
        << QStringList{u"フル 2 3"_s};
    QTest::newRow("shortest class first, whatever the list order")
        << Book{{u"2020年03月01日"_s, u"42.195km"_s, u" 3時間45分10秒"_s},
                {u"2020年04月01日"_s, u"5km"_s, u"  21分 0秒"_s},
                {u"2020年05月01日"_s, u"1500m"_s, u"   6分 0秒"_s}}
        << QStringList{u"1500m 3 1"_s, u"5km 2 1"_s, u"フル 1 1"_s};
    QTest::newRow("an equal time later in the list but earlier in date holds the best")
        << Book{{u"2021年06月01日"_s, u"10km"_s, u"  45分 0秒"_s},
                {u"2019年06月01日"_s, u"10km"_s, u"  45分 0秒"_s}}
        << QStringList{u"10km 2 2"_s};
    QTest::newRow("equal time on the same day: the upper row holds the best")
        << Book{{u"2021年06月01日"_s, u"10km"_s, u"  45分 0秒"_s},
                {u"2021年06月01日"_s, u"10000m"_s, u"  45分 0秒"_s}}
        << QStringList{u"10km 1 2"_s};
    QTest::newRow("own distance named by its first cell, equal lengths joined")
        << Book{{u"2021年06月01日"_s, u"20 km"_s, u" 1時間40分 0秒"_s},
                {u"2022年06月01日"_s, u"20000m"_s, u" 1時間35分 0秒"_s}}
        << QStringList{u"20 km 2 2"_s};
    QTest::newRow("just outside the marathon class is a class of its own")
        << Book{{u"2021年06月01日"_s, u"42.195km"_s, u" 4時間 0分 0秒"_s},
                {u"2022年06月01日"_s, u"42.5km"_s, u" 3時間 0分 0秒"_s}}
        << QStringList{u"フル 1 1"_s, u"42.5km 2 1"_s};
}

void TestBookAnalysis::bests()
{
    QFETCH(Book, book);
    QFETCH(QStringList, classes);

    QCOMPARE(summary(analyse(book)), classes);
}

void TestBookAnalysis::unreadable_data()
{
    QTest::addColumn<QStringList>("row"); // date, distance, time
    QTest::addColumn<RowProblem>("problem");

    QTest::newRow("distance 0") << QStringList{u"2020年01月05日"_s, u"0km"_s, u"  20分 0秒"_s}
                                << RowProblem::DistanceNotPositive;
    QTest::newRow("negative distance")
        << QStringList{u"2020年01月05日"_s, u"-5km"_s, u"  20分 0秒"_s}
        << RowProblem::DistanceNotPositive;
    QTest::newRow("absurd distance")
        << QStringList{u"2020年01月05日"_s, u"1e9km"_s, u"  20分 0秒"_s}
        << RowProblem::DistanceTooLong;
    QTest::newRow("time 0") << QStringList{u"2020年01月05日"_s, u"5km"_s, u"  0分 0秒"_s}
                            << RowProblem::TimeZero;
    QTest::newRow("year 9999") << QStringList{u"9999年01月05日"_s, u"5km"_s, u"  20分 0秒"_s}
                               << RowProblem::YearOutOfRange;
    QTest::newRow("distance reported before time")
        << QStringList{u"2020年01月05日"_s, u"5ｷﾛ"_s, u"x"_s} << RowProblem::DistanceUnreadable;
}

void TestBookAnalysis::unreadable()
{
    QFETCH(QStringList, row);
    QFETCH(RowProblem, problem);

    const Book book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                    row,
                    {u"2020年01月09日"_s, u"5km"_s, u"  19分 0秒"_s}};
    const BookAnalysis analysis = analyse(book);
    QCOMPARE(analysis.unreadable.size(), 1u);
    QCOMPARE(analysis.unreadable[0].row, 1);
    QCOMPARE(analysis.unreadable[0].problem, problem);
    // The rows around it are read and counted as they are.
    QCOMPARE(summary(analysis), QStringList{u"5km 3 2"_s});
}

void TestBookAnalysis::seasons()
{
    const Book book{{u"2019年04月01日"_s, u"42.195km"_s, u" 3時間50分 0秒"_s},
                    {u"2019年11月01日"_s, u"42.195km"_s, u" 3時間38分47秒"_s},
                    {u"2021年04月01日"_s, u"10km"_s, u"  44分 0秒"_s},
                    {u"2021年11月01日"_s, u"42.195km"_s, u" 3時間35分 0秒"_s},
                    {u"2019年12月01日"_s, u"42.195km"_s, u" 3時間55分 0秒"_s}};
    const BookAnalysis analysis = analyse(book);
    QStringList table;
    for (const Season& season : analysis.seasons) {
        QStringList cells{QString::number(season.year)};
        for (const SeasonCell& cell : season.cells) {
            cells.append(cell.best < 0
                             ? u"-"_s
                             : u"%1 (%2)"_s.arg(qs(timeText(analysis.races[cell.best].seconds)))
                                   .arg(cell.count));
        }
        table.append(cells.join(u" | "_s));
    }
    QCOMPARE(table,
             (QStringList{u"2019 | - | 3:38:47 (3)"_s, u"2021 | 44:00 (1) | 3:35:00 (1)"_s}));
}

void TestBookAnalysis::trend_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<QList<int>>("races");
    QTest::addColumn<QList<int>>("progression");

    QTest::newRow("by date, not by list order")
        << Book{{u"2022年01月01日"_s, u"5km"_s, u"  19分 0秒"_s},
                {u"2020年01月01日"_s, u"5km"_s, u"  21分 0秒"_s},
                {u"2021年01月01日"_s, u"5km"_s, u"  22分 0秒"_s},
                {u"2021年06月01日"_s, u"5km"_s, u"  20分 0秒"_s}}
        << QList{2, 3, 4, 1} << QList{2, 4, 1};
    QTest::newRow("an equal time is no new best")
        << Book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2021年01月01日"_s, u"5km"_s, u"  20分 0秒"_s}}
        << QList{1, 2} << QList{1};
    QTest::newRow("other classes stay out")
        << Book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2021年01月01日"_s, u"10km"_s, u"  41分 0秒"_s}}
        << QList{1} << QList{1};
}

void TestBookAnalysis::trend()
{
    QFETCH(Book, book);
    QFETCH(QList<int>, races);
    QFETCH(QList<int>, progression);

    const BookAnalysis analysis = analyse(book);
    const Trend trend = trendOf(analysis, 0);
    QCOMPARE(rowsOf(analysis, trend.races), races);
    QCOMPARE(rowsOf(analysis, trend.progression), progression);
}

void TestBookAnalysis::defaultRace_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<int>("row"); // 0: none

    QTest::newRow("the newest best of 3 km or more")
        << Book{{u"2020年01月01日"_s, u"10km"_s, u"  45分 0秒"_s},
                {u"2022年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2021年01月01日"_s, u"42.195km"_s, u" 3時間30分 0秒"_s}}
        << 2;
    QTest::newRow("a newer race that is no best does not count")
        << Book{{u"2020年01月01日"_s, u"10km"_s, u"  45分 0秒"_s},
                {u"2023年01月01日"_s, u"10km"_s, u"  50分 0秒"_s},
                {u"2021年01月01日"_s, u"5km"_s, u"  20分 0秒"_s}}
        << 3;
    QTest::newRow("a newer 1500 m best does not count")
        << Book{{u"2020年01月01日"_s, u"3000m"_s, u"  12分 0秒"_s},
                {u"2023年01月01日"_s, u"1500m"_s, u"   5分30秒"_s}}
        << 1;
    QTest::newRow("only short races")
        << Book{{u"2020年01月01日"_s, u"1500m"_s, u"   5分30秒"_s}} << 0;
    QTest::newRow("empty book") << Book{} << 0;
}

void TestBookAnalysis::defaultRace()
{
    QFETCH(Book, book);
    QFETCH(int, row);

    const BookAnalysis analysis = analyse(book);
    const std::optional<int> race = defaultPredictionRace(analysis);
    QCOMPARE(race ? analysis.races[*race].row + 1 : 0, row);
}

void TestBookAnalysis::ownExponent_data()
{
    QTest::addColumn<Book>("book");
    QTest::addColumn<int>("problem");

    const int none = static_cast<int>(ExponentFit::Problem::None);
    QTest::newRow("two classes of 3 km or more")
        << Book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2020年02月01日"_s, u"10km"_s, u"  41分40秒"_s}}
        << none;
    QTest::newRow("a 1500 m best does not make a second class")
        << Book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2020年02月01日"_s, u"1500m"_s, u"   5分 0秒"_s}}
        << static_cast<int>(ExponentFit::Problem::TooFewDistances);
    QTest::newRow("faster over 10 km than 5 km pace")
        << Book{{u"2020年01月01日"_s, u"5km"_s, u"  20分 0秒"_s},
                {u"2020年02月01日"_s, u"10km"_s, u"  39分 0秒"_s}}
        << static_cast<int>(ExponentFit::Problem::OutOfBounds);
}

void TestBookAnalysis::ownExponent()
{
    QFETCH(Book, book);
    QFETCH(int, problem);

    const BookAnalysis analysis = analyse(book);
    const Predictions predictions = predictFrom(analysis, 0);
    QCOMPARE(static_cast<int>(predictions.ownExponent.problem), problem);
    const auto own = static_cast<std::size_t>(PredictionModel::OwnExponent);
    for (const PredictionRow& row : predictions.rows)
        QCOMPARE(row.seconds[own].has_value(), problem == 0);
}

// The standard five, then the runner's own classes in their place; a model without an
// answer leaves its cell empty and the spread is taken over the others.
void TestBookAnalysis::predictionRows()
{
    const Book book{{u"2020年01月01日"_s, u"10km"_s, u"  40分 0秒"_s},
                    {u"2021年01月01日"_s, u"20 km"_s, u" 1時間24分 0秒"_s},
                    {u"2022年01月01日"_s, u"500km"_s, u"60時間 0分 0秒"_s}};
    const BookAnalysis analysis = analyse(book);
    const Predictions predictions = predictFrom(analysis, 0);

    QStringList names;
    for (const PredictionRow& row : predictions.rows)
        names.append(qs(row.name));
    QCOMPARE(names, (QStringList{u"1500m"_s, u"5km"_s, u"10km"_s, u"20 km"_s, u"ハーフ"_s,
                                 u"フル"_s, u"500km"_s}));

    const PredictionRow& far = predictions.rows.back();
    QVERIFY(!far.seconds[static_cast<std::size_t>(PredictionModel::Cameron)]);
    QList<double> present;
    for (const auto& time : far.seconds) {
        if (time)
            present.append(*time);
    }
    QCOMPARE(present.size(), 3);
    QVERIFY(far.spread);
    QCOMPARE(*far.spread, *std::max_element(present.begin(), present.end()) -
                              *std::min_element(present.begin(), present.end()));

    QVERIFY(predictions.vdot);
    QCOMPARE(QString::number(*predictions.vdot, 'f', 1), u"51.9"_s);
}

// A hundred thousand races in one class: one pass, and the trend keeps its order.
void TestBookAnalysis::oneHundredThousandRaces()
{
    Book book;
    for (int i = 0; i < 100'000; ++i) {
        const int year = 1900 + i / 500;
        const int day = 1 + i % 28;
        const int month = 1 + (i / 28) % 12;
        book.append({u"%1年%2月%3日"_s.arg(year)
                         .arg(month, 2, 10, QChar(u'0'))
                         .arg(day, 2, 10, QChar(u'0')),
                     u"5km"_s, u"  %1分%2秒"_s.arg(18 + i % 7).arg(i % 60, 2)});
    }
    const BookAnalysis analysis = analyse(book);
    QCOMPARE(analysis.classes.size(), 1u);
    QCOMPARE(analysis.classes[0].count, 100'000);
    const Trend trend = trendOf(analysis, 0);
    QVERIFY(std::is_sorted(trend.races.begin(), trend.races.end(),
                           [&](int a, int b) { return analysis.runsBefore(a, b); }));
    QCOMPARE(analysis.races[trend.progression.back()].seconds,
             analysis.races[analysis.classes[0].best].seconds);
}

void TestBookAnalysis::officialClass_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("official"); // empty: a class of its own

    QTest::newRow("marathon exact") << u"42.195km"_s << u"フル"_s;
    QTest::newRow("26.2 miles is a marathon") << u"26.2ﾏｲﾙ"_s << u"フル"_s;
    QTest::newRow("rounded marathon") << u"42.2km"_s << u"フル"_s;
    QTest::newRow("exactly 0.5 % over") << u"42.405975km"_s << u"フル"_s;
    QTest::newRow("just over 0.5 %") << u"42.406km"_s << QString();
    QTest::newRow("exactly 0.5 % under") << u"41.984025km"_s << u"フル"_s;
    QTest::newRow("just under 0.5 %") << u"41.984km"_s << QString();
    QTest::newRow("half in metres") << u"21097.5m"_s << u"ハーフ"_s;
    QTest::newRow("the editor's 3 km preset") << u"3 km"_s << u"3000m"_s;
    QTest::newRow("mile in miles") << u"1ﾏｲﾙ"_s << u"1ﾏｲﾙ"_s;
    QTest::newRow("1600 m is no mile") << u"1600m"_s << QString();
    QTest::newRow("1500 m") << u"1.5km"_s << u"1500m"_s;
    QTest::newRow("20 km is a class of its own") << u"20km"_s << QString();
    QTest::newRow("100 km") << u"100km"_s << u"100km"_s;
}

void TestBookAnalysis::officialClass()
{
    QFETCH(QString, cell);
    QFETCH(QString, official);

    const CellReading<double> read = readDistanceCell(cell.toStdU16String());
    QVERIFY(read.ok());
    const std::optional<std::size_t> index = officialDistanceOf(read.value);
    QCOMPARE(index ? qs(kOfficialDistances[*index].name) : QString(), official);
}

QTEST_APPLESS_MAIN(TestBookAnalysis)
#include "tst_book_analysis.moc"
