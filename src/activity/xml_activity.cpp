#include "activity/xml_activity.h"

#include "activity/track_math.h"

#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace torvanu {

namespace {

// Two numbers and a time in every track point: plain short ASCII texts take a quick road
// without QString.
constexpr std::size_t kShortText = 40;

std::string_view trimmedAscii(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
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
