#include "activity/xml_activity.h"

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
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace torvanu
