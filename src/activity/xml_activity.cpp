#include "activity/xml_activity.h"

#include "activity/track_math.h"

#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace torvanu {

namespace {

// Two numbers and a time in every track point: plain short ASCII texts take a quick road
// without QString.
constexpr std::size_t kShortText = 40;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Called for every number and time of every point: a plain loop, as most texts have no blank.
std::string_view trimmedAscii(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A plain decimal ("35.6812345", "-3", "152") of at most 15 digits, read without from_chars,
// which costs more than the rest of a point. Its digits make an integer below 2^53 and its
// power of ten is exact, so one division rounds it exactly as from_chars does. Anything
// else (an exponent, more digits, no digit on a side of the point) is left to from_chars.
std::optional<double> plainDecimal(std::string_view text)
{
    constexpr std::size_t kMostDigits = 15;
    constexpr std::array<double, kMostDigits + 1> kPowers = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::size_t whole = point == std::string_view::npos ? text.size() : point;
    const std::size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
    if (whole == 0 || (point != std::string_view::npos && decimals == 0) ||
        whole + decimals > kMostDigits)
        return std::nullopt;
    std::uint64_t mantissa = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == whole)
            continue;
        const auto digit = static_cast<unsigned>(text[i] - '0');
        if (digit > 9)
            return std::nullopt;
        mantissa = mantissa * 10 + digit;
    }
    const double value = static_cast<double>(mantissa) / kPowers[decimals];
    return negative ? -value : value;
}

} // namespace

QString rootElementName(QByteArrayView bytes)
{
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (reader.readNextStartElement())
        return reader.name().toString();
    return {};
}

std::string_view localName(const pugi::xml_node& node)
{
    const std::string_view qualified = node.name();
    const std::size_t colon = qualified.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

bool hasLocalName(const pugi::xml_node& node, std::string_view name)
{
    return localName(node) == name;
}

pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && hasLocalName(child, name))
            return child;
    }
    return {};
}

std::optional<double> xmlNumber(QStringView text)
{
    text = text.trimmed();
    constexpr qsizetype shortNumber = 32;
    if (text.size() <= shortNumber) {
        char ascii[shortNumber];
        qsizetype size = 0;
        for (const QChar c : text) {
            if (c.unicode() > 0x7F)
                break;
            ascii[size++] = static_cast<char>(c.unicode());
        }
        double value = 0;
        const auto [end, error] = std::from_chars(ascii, ascii + size, value);
        if (size == text.size() && error == std::errc() && end == ascii + size)
            return std::isfinite(value) ? std::optional(value) : std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> xmlNumber(std::string_view utf8)
{
    const std::string_view text = trimmedAscii(utf8);
    if (const std::optional<double> plain = plainDecimal(text))
        return plain;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!text.empty() && error == std::errc() && end == text.data() + text.size())
        return std::isfinite(value) ? std::optional(value) : std::nullopt;
    // A plus sign, a blank Qt knows and from_chars does not: Qt's reading decides.
    if (utf8.size() > kShortText * 4)
        return std::nullopt;
    return xmlNumber(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::optional<double> xmlTime(std::string_view utf8)
{
    if (const auto time = parseXmlTime(trimmedAscii(utf8)))
        return time;
    // Blanks that are not ASCII, or no time at all: Qt's reading of the text decides.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || utf8.size() > kShortText * 4)
        return std::nullopt;
    return parseXmlTime(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

} // namespace torvanu
