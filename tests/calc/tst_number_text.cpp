#include "calc/number_text.h"

#include <QtTest>

#include <limits>

using namespace torvanu;

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void readNumber_data();
    void readNumber();
    void numberText_data();
    void numberText();
};

void TestNumberText::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("picker entry with trailing blank") << QStringLiteral("5 ") << true << 5.0;
    QTest::newRow("blanks both sides") << QStringLiteral("  42.195  ") << true << 42.195;
    QTest::newRow("ideographic blanks") << QStringLiteral("\u30005\u3000") << true << 5.0;
    QTest::newRow("leading point") << QStringLiteral(".5") << true << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << true << 5.0;
    QTest::newRow("negative") << QStringLiteral("-3") << true << -3.0;
    QTest::newRow("exponent") << QStringLiteral("1.5e3") << true << 1500.0;
    QTest::newRow("full-width digits and point")
        << QStringLiteral("\uFF14\uFF12\uFF0E\uFF11\uFF19\uFF15") << true << 42.195;
    QTest::newRow("full-width signs mixed with ascii")
        << QStringLiteral("\uFF0D3e\uFF0B\uFF11") << true << -30.0;
    QTest::newRow("underflow reads as zero") << QStringLiteral("1e-400") << true << 0.0;
    QTest::newRow("subnormal kept") << QStringLiteral("1e-310") << true << 1e-310;
    QTest::newRow("long text beyond the local buffer")
        << QStringLiteral(
               "0.00000000000000000000000000000000000000000000000000000000000000000000001")
        << true << 1e-71;
    QTest::newRow("many zeros then overflow exponent")
        << QStringLiteral("0.0000001e315") << true << 1e308;

    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("blank only") << QStringLiteral(" ") << false << 0.0;
    QTest::newRow("ideographic blank only") << QStringLiteral("\u3000") << false << 0.0;
    QTest::newRow("inner blank") << QStringLiteral("1 0") << false << 0.0;
    QTest::newRow("digit grouping") << QStringLiteral("1,000") << false << 0.0;
    QTest::newRow("lone point") << QStringLiteral(".") << false << 0.0;
    QTest::newRow("two signs") << QStringLiteral("+-1") << false << 0.0;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << false << 0.0;
    QTest::newRow("infinity word") << QStringLiteral("inf") << false << 0.0;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << false << 0.0;
    QTest::newRow("overflow") << QStringLiteral("1e400") << false << 0.0;
    QTest::newRow("overflow by digits before a negative exponent")
        << QStringLiteral("1") + QString(400, u'0') + QStringLiteral("e-5") << false << 0.0;
    QTest::newRow("tab is not a blank") << QStringLiteral("\t5") << false << 0.0;
}

void TestNumberText::readNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);

    const std::optional<double> read = torvanu::readNumber(text.toStdU16String());
    QCOMPARE(read.has_value(), numeric);
    if (numeric)
        QCOMPARE(*read, value);
}

void TestNumberText::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole number shows no point") << 300.0 << QStringLiteral("300");
    QTest::newRow("one decimal") << 320.5 << QStringLiteral("320.5");
    QTest::newRow("rounded to 15 digits") << 20.5 / 60 << QStringLiteral("0.341666666666667");
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << QStringLiteral("0.3");
    QTest::newRow("no exponent for small values") << 1e-7 << QStringLiteral("0.0000001");
    QTest::newRow("no exponent for large values")
        << 1e20 << QStringLiteral("100000000000000000000");
    QTest::newRow("negative") << -123.456 << QStringLiteral("-123.456");
    QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
    QTest::newRow("rounds up across the point") << 125.99999999999999 << QStringLiteral("126");
    QTest::newRow("infinity has no text") << std::numeric_limits<double>::infinity() << QString();
}

void TestNumberText::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);

    const std::u16string result = torvanu::numberText(value);
    QCOMPARE(QString::fromStdU16String(result), text);
    if (!text.isEmpty())
        QCOMPARE(torvanu::readNumber(result).has_value(), true);
}

QTEST_APPLESS_MAIN(TestNumberText)

#include "tst_number_text.moc"
