#include "code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace torvanu {

namespace {

qsizetype characterLength(QStringView text, qsizetype index)
{
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

bool survivesRoundTrip(QStringView text, QStringEncoder& encoder, QStringDecoder& decoder)
{
    encoder.resetState();
    decoder.resetState();
    const QByteArray bytes = encoder.encode(text);
    const QString back = decoder.decode(bytes);
    return !encoder.hasError() && !decoder.hasError() && back == text;
}

} // namespace

std::optional<qsizetype> firstUnstorableIndex(QStringView text)
{
    QStringEncoder encoder(kCodePage932);
    QStringDecoder decoder(kCodePage932);
    if (!encoder.isValid() || !decoder.isValid())
        return std::nullopt; // without the codec there is nothing to measure against

    // Nearly every text is whole; only a refused one is searched character by character,
    // with a fresh pair of converters: the ICU ones do not recover from an error.
    if (survivesRoundTrip(text, encoder, decoder))
        return std::nullopt;
    QStringEncoder searchEncoder(kCodePage932);
    QStringDecoder searchDecoder(kCodePage932);
    for (qsizetype index = 0; index < text.size();) {
        const qsizetype length = characterLength(text, index);
        if (!survivesRoundTrip(text.sliced(index, length), searchEncoder, searchDecoder))
            return index;
        index += length;
    }
    return std::nullopt;
}

QString characterAt(QStringView text, qsizetype index)
{
    return text.sliced(index, characterLength(text, index)).toString();
}

} // namespace torvanu
