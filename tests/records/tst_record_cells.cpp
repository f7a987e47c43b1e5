#include "records/record_cells.h"
#include "storage/text_bridge.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace torvanu {

class TestRecordCells : public QObject
{
    Q_OBJECT

private slots:
    void everyTimeEntryReadsBack();
    void everyDateEntryReadsBack();
    void everyPresetAndUnitReadsBack();
    void timeCell_data();
    void timeCell();
    void readDistanceCell_data();
    void readDistanceCell();
    void cleaning_data();
    void cleaning();
    void firstUnstorable_data();
    void firstUnstorable();
};

// The cells are the stored form: whatever the pickers can compose must find its way back,
// into the same entries for the editor and to the same value for the analysis.
void TestRecordCells::everyTimeEntryReadsBack()
{
    const QStringList hours = hourEntries();
    const QStringList minutes = minuteEntries();
    QCOMPARE(hours.size(), 25);
    QCOMPARE(minutes.size(), 60);
    for (const QString& h : hours) {
        for (const QString& m : minutes) {
            for (const QString& s : minutes) {
                const TimeParts parts{h, m, s};
                const QString cell = composeTimeCell(parts);
                const std::optional<TimeParts> back = parseTimeCell(cell);
                const double seconds = h.toInt() * 3600 + m.toInt() * 60 + s.toInt();
                const CellReading<double> value = readTimeCell(toU16(cell));
                const bool sameValue = value.ok() ? value.value == seconds
                                                  : value.problem == RowProblem::TimeZero &&
                                                        seconds == 0;
                if (!back || *back != parts || !sameValue)
                    QFAIL(qPrintable(u"cell «"_s + cell + u"» does not read back"_s));
            }
        }
    }
}

void TestRecordCells::everyDateEntryReadsBack()
{
    const QStringList years = yearEntries();
    QCOMPARE(years.size(), 121);
    QCOMPARE(monthEntries().size(), 12);
    QCOMPARE(dayEntries().size(), 31);
    for (const QString& y : years) {
        for (const QString& m : monthEntries()) {
            for (const QString& d : dayEntries()) {
                const DateParts parts{y, m, d};
                const QString cell = composeDateCell(parts);
                const std::optional<DateParts> back = parseDateCell(cell);
                const CellReading<RaceDate> value = readDateCell(toU16(cell));
                const RaceDate date{y.toInt(), m.toInt(), d.toInt()};
                if (!back || *back != parts || !value.ok() || value.value != date)
                    QFAIL(qPrintable(u"cell «"_s + cell + u"» does not read back"_s));
            }
        }
    }
}

void TestRecordCells::everyPresetAndUnitReadsBack()
{
    for (const QString& preset : distancePresets()) {
        for (const QString& unit : {u"km"_s, u"m"_s, u"ﾏｲﾙ"_s}) {
            const DistanceParts parts{preset, unit};
            const QString cell = composeDistanceCell(parts);
            QCOMPARE(parseDistanceCell(cell), parts);
            const CellReading<double> value = torvanu::readDistanceCell(toU16(cell));
            QVERIFY(value.ok());
            QCOMPARE(value.value, metres(preset.toDouble(), *unitFromText(toU16(unit))));
        }
    }
}

void TestRecordCells::timeCell_data()
{
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("cell");

    QTest::newRow("one-digit hours keep their blank, prefix goes")
        << u" 3"_s << u" 5"_s << u"30"_s << u" 3時間 5分30秒"_s;
    QTest::newRow("zero hours: two blanks, then one-digit minutes")
        << u" 0"_s << u" 5"_s << u"30"_s << u"   5分30秒"_s;
    QTest::newRow("zero hours: two blanks, then two-digit minutes")
        << u" 0"_s << u"45"_s << u" 9"_s << u"  45分 9秒"_s;
    QTest::newRow("two-digit hours, zero minutes and seconds")
        << u"10"_s << u" 0"_s << u" 0"_s << u"10時間 0分 0秒"_s;
}

void TestRecordCells::timeCell()
{
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, cell);

    QCOMPARE(composeTimeCell({hours, minutes, seconds}), cell);
    QCOMPARE(parseTimeCell(cell), std::optional<TimeParts>(TimeParts{hours, minutes, seconds}));
}

void TestRecordCells::readDistanceCell_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("unit");

    QTest::newRow("kilometres") << u"42.195km"_s << u"42.195"_s << u"km"_s;
    QTest::newRow("preset with trailing blank") << u"5 km"_s << u"5 "_s << u"km"_s;
    QTest::newRow("metres") << u"800m"_s << u"800"_s << u"m"_s;
    QTest::newRow("miles") << u"26.2ﾏｲﾙ"_s << u"26.2"_s << u"ﾏｲﾙ"_s;
    QTest::newRow("no unit reads as metres") << u"42"_s << u"42"_s << u"m"_s;
    QTest::newRow("empty distance keeps its unit") << u"km"_s << QString() << u"km"_s;
}

void TestRecordCells::readDistanceCell()
{
    QFETCH(QString, cell);
    QFETCH(QString, distance);
    QFETCH(QString, unit);

    QCOMPARE(parseDistanceCell(cell), (DistanceParts{distance, unit}));
}

void TestRecordCells::cleaning_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("entered"); // race name, remarks and distance fields
    QTest::addColumn<QString>("cell");    // race name and remarks cells
    QTest::addColumn<QString>("path");    // data file field and cell

    QTest::newRow("comma only changes in the free-text cells")
        << u"a,b"_s << u"a,b"_s << u"a，b"_s << u"a,b"_s;
    QTest::newRow("CR LF from a paste") << u"a\r\nb"_s << u"ab"_s << u"ab"_s << u"ab"_s;
    QTest::newRow("tab") << u"a\tb"_s << u"ab"_s << u"ab"_s << u"ab"_s;
    QTest::newRow("DEL and C1 controls") << u"a\u007f\u0085b"_s << u"ab"_s << u"ab"_s << u"ab"_s;
    QTest::newRow("line and paragraph separators")
        << u"a\u2028\u2029b"_s << u"ab"_s << u"ab"_s << u"ab"_s;
    QTest::newRow("wave dash") << u"\u301C"_s << u"\uFF5E"_s << u"\uFF5E"_s << u"\u301C"_s;
    QTest::newRow("minus sign") << u"\u2212"_s << u"\uFF0D"_s << u"\uFF0D"_s << u"\u2212"_s;
    QTest::newRow("em dash") << u"\u2014"_s << u"\u2015"_s << u"\u2015"_s << u"\u2014"_s;
    QTest::newRow("double vertical line")
        << u"\u2016"_s << u"\u2225"_s << u"\u2225"_s << u"\u2016"_s;
    QTest::newRow("cent sign") << u"\u00A2"_s << u"\uFFE0"_s << u"\uFFE0"_s << u"\u00A2"_s;
    QTest::newRow("pound sign") << u"\u00A3"_s << u"\uFFE1"_s << u"\uFFE1"_s << u"\u00A3"_s;
    QTest::newRow("not sign") << u"\u00AC"_s << u"\uFFE2"_s << u"\uFFE2"_s << u"\u00AC"_s;
    QTest::newRow("blanks stay, full-width blank too")
        << u" a\u3000 "_s << u" a\u3000 "_s << u" a\u3000 "_s << u" a\u3000 "_s;
    QTest::newRow("emoji stays, to be refused rather than lost")
        << u"\U0001F600"_s << u"\U0001F600"_s << u"\U0001F600"_s << u"\U0001F600"_s;
}

void TestRecordCells::cleaning()
{
    QFETCH(QString, input);
    QFETCH(QString, entered);
    QFETCH(QString, cell);
    QFETCH(QString, path);

    QCOMPARE(cleanEnteredText(input), entered);
    QCOMPARE(cleanFreeTextCell(input), cell);
    QCOMPARE(removeControlCharacters(input), path);
}

void TestRecordCells::firstUnstorable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("index"); // -1: all of it can be stored
    QTest::addColumn<QString>("character");

    QTest::newRow("ASCII with path characters")
        << u"Run 2007, C:\\x~"_s << qsizetype(-1) << QString();
    QTest::newRow("kanji and kana") << u"市民マラソン，第3回"_s << qsizetype(-1) << QString();
    QTest::newRow("half-width katakana") << u"ﾏｲﾙ"_s << qsizetype(-1) << QString();
    QTest::newRow("mapped forms") << u"\uFF5E\uFF0D\u2015\u2225\uFFE0\uFFE1\uFFE2"_s
                                  << qsizetype(-1) << QString();
    QTest::newRow("circled digit of the vendor rows") << u"\u2460"_s << qsizetype(-1) << QString();
    QTest::newRow("emoji after text") << u"ab\U0001F600c"_s << qsizetype(2) << u"\U0001F600"_s;
    QTest::newRow("kanji outside the code page")
        << u"\U00020BB7野家"_s << qsizetype(0) << u"\U00020BB7"_s;
    QTest::newRow("wave dash before mapping") << u"a\u301C"_s << qsizetype(1) << u"\u301C"_s;
    QTest::newRow("accented Latin") << u"caf\u00E9"_s << qsizetype(3) << u"\u00E9"_s;
    QTest::newRow("byte order mark the codec drops") << u"x\uFEFF"_s << qsizetype(1) << u"\uFEFF"_s;
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) << qsizetype(0) << QString(QChar(0xD800));
}

void TestRecordCells::firstUnstorable()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, index);
    QFETCH(QString, character);

    const std::optional<qsizetype> found = firstUnstorableIndex(text);
    QCOMPARE(found.value_or(-1), index);
    if (found)
        QCOMPARE(characterAt(text, *found), character);
}

} // namespace torvanu

QTEST_GUILESS_MAIN(torvanu::TestRecordCells)
#include "tst_record_cells.moc"
