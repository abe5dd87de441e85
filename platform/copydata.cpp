#include "copydata.h"

#include <QStringDecoder>

std::optional<QString> copyDataText(const CopyDataRecord& record)
{
    if (record.tag != kCopyDataTextTag)
        return std::nullopt;
    // Never read past what arrived or past what the sender claimed.
    QByteArray text = record.bytes.left(
        qsizetype(qMin<uint64_t>(record.byteCount, uint64_t(record.bytes.size()))));
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    // A leading byte-order mark stays a character of the text, like every other character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return std::nullopt;
    if (uint64_t(decoded.toUtf8().size()) != record.byteCount)
        return std::nullopt;
    return decoded;
}
