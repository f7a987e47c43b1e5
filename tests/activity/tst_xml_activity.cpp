#include "activity/xml_activity.h"

#include <QTest>

#include <limits>

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
}

QTEST_APPLESS_MAIN(TestXmlActivity)
#include "tst_xml_activity.moc"
