#include "activity/xml_activity.h"

#include <QTest>

#include <charconv>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace Qt::StringLiterals;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestXmlActivity : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void plainDecimalsAsFromChars();
};

// Short plain numbers take a quick road, the rest Qt's: both must agree on what a number is.
void TestXmlActivity::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("latitude") << u"35.6812345"_s << 35.6812345;
    QTest::newRow("negative longitude") << u"-122.391386000"_s << -122.391386;
    QTest::newRow("blanks around") << u"  12.5\n"_s << 12.5;
    QTest::newRow("plus sign") << u"+7.25"_s << 7.25;
    QTest::newRow("exponent") << u"1.5e3"_s << 1500.0;
    QTest::newRow("longer than the quick road")
        << u"1609.343994140000000000000000000000001"_s << 1609.34399414;
    QTest::newRow("comma as the point") << u"1,5"_s << kNone;
    QTest::newRow("unit after the number") << u"12m"_s << kNone;
    QTest::newRow("full-width digits") << u"１２"_s << kNone;
    QTest::newRow("infinity") << u"inf"_s << kNone;
    QTest::newRow("not a number") << u"nan"_s << kNone;
    QTest::newRow("too large for a double") << u"1e999"_s << kNone;
    QTest::newRow("empty") << QString() << kNone;
    QTest::newRow("a heart rate") << u"152"_s << 152.0;
    QTest::newRow("fifteen digits") << u"-123456789.012345"_s << -123456789.012345;
    QTest::newRow("sixteen digits") << u"1234567890.123456"_s << 1234567890.123456;
    QTest::newRow("no digit after the point") << u"12."_s << 12.0;
    QTest::newRow("no digit before the point") << u"-.5"_s << -0.5;
    QTest::newRow("a point alone") << u"."_s << kNone;
    QTest::newRow("two points") << u"1.2.3"_s << kNone;
    QTest::newRow("a minus alone") << u"-"_s << kNone;
}

void TestXmlActivity::numbers()
{
    QFETCH(QString, text);
    QFETCH(double, value);

    const auto read = torvanu::xmlNumber(text);
    if (std::isnan(value))
        QVERIFY2(!read, qPrintable(QString::number(read.value_or(0))));
    else
        QCOMPARE(read, value);
    // The bytes of a file, as the readers take them, read the same.
    const QByteArray utf8 = text.toUtf8();
    QCOMPARE(torvanu::xmlNumber(std::string_view(utf8.constData(), utf8.size())), read);
}

// The quick road for plain decimals rounds every one of them exactly as from_chars does.
void TestXmlActivity::plainDecimalsAsFromChars()
{
    std::mt19937_64 random(2024);
    for (int i = 0; i < 200'000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 15);
        std::string text = random() % 2 ? "-" : "";
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const auto read = torvanu::xmlNumber(std::string_view(text));
        QVERIFY2(read && std::memcmp(&*read, &expected, sizeof expected) == 0, text.c_str());
    }
}

QTEST_APPLESS_MAIN(TestXmlActivity)
#include "tst_xml_activity.moc"
