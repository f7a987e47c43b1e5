#include "activity/xml_activity.h"

#include <charconv>
#include <cmath>

namespace torvanu {

ActivityError xmlError(const QXmlStreamReader& reader, ActivityFormat format)
{
    ActivityError error;
    error.kind = ActivityError::Kind::XmlDamaged;
    error.format = format;
    error.line = reader.lineNumber();
    error.offset = reader.characterOffset();
    return error;
}

QString rootElementName(QByteArrayView bytes)
{
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (reader.readNextStartElement())
        return reader.name().toString();
    return {};
}

std::optional<double> xmlNumber(QStringView text)
{
    text = text.trimmed();
    // Two numbers in every track point: the plain ones skip QString's conversion.
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

} // namespace torvanu
