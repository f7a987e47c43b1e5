#include "activity/xml_text.h"

#include <QStringConverter>
#include <QStringDecoder>

#include <algorithm>

namespace torvanu {

namespace {

// The declaration sits at the very top and is short: a file whose first kilobyte holds none
// has none.
constexpr qsizetype kDeclarationReach = 1024;

// The name after encoding= in the declaration; empty when there is none.
QByteArray declaredEncoding(QByteArrayView bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const QByteArrayView top = bytes.first(std::min(bytes.size(), kDeclarationReach));
    const qsizetype end = top.indexOf("?>");
    const QByteArrayView declaration = top.first(end < 0 ? top.size() : end);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    const auto blanks = [&] {
        while (at < declaration.size() && QByteArrayView(" \t\r\n").contains(declaration[at]))
            ++at;
    };
    blanks();
    if (at >= declaration.size() || declaration[at] != '=')
        return {};
    ++at;
    blanks();
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const char quote = declaration[at++];
    const qsizetype close = declaration.indexOf(quote, at);
    if (close < 0)
        return {};
    return declaration.sliced(at, close - at).toByteArray().trimmed();
}

bool isUtf8(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    return lower == "utf-8" || lower == "utf8" || lower == "us-ascii" || lower == "ascii";
}

} // namespace

std::optional<QByteArray> xmlUtf8(QByteArrayView bytes)
{
    const auto asTheyAre = [bytes] { return QByteArray::fromRawData(bytes.data(), bytes.size()); };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return asTheyAre();
    if (const auto wide = QStringConverter::encodingForData(bytes, u'<')) {
        QStringDecoder decoder(*wide);
        const QString text = decoder(bytes);
        return text.toUtf8();
    }
    const QByteArray declared = declaredEncoding(bytes);
    if (declared.isEmpty() || isUtf8(declared))
        return asTheyAre();
    QStringDecoder decoder(declared.constData());
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder(bytes);
    return text.toUtf8();
}

} // namespace torvanu
