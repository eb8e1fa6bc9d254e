#include "StatementText.h"

#include <QStringDecoder>

namespace {

// The banks' Shift_JIS is Microsoft's CP932: it has NEC and IBM extensions (①, ㈱, 髙) and maps
// 0x8160 to the full-width tilde. Qt reaches it through ICU under these names.
QStringDecoder cp932Decoder()
{
    for (const char *name : {"windows-31j", "cp932", "Shift_JIS"}) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder;
    }
    return QStringDecoder(); // invalid: a Qt built without ICU
}

} // namespace

QString decodeStatementText(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        return decoder.decode(bytes); // the decoder drops the byte-order mark
    }
    // A stateless decoder also flags a sequence cut off at the end of the file.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder decoder = cp932Decoder();
    if (!decoder.isValid())
        return text; // UTF-8 with replacement characters rather than a wrong 8-bit reading
    QString decoded = decoder.decode(bytes);
    // ICU marks a byte sequence it cannot map with SUB (U+001A); show it as the usual
    // replacement character unless the file really holds SUB bytes.
    if (!bytes.contains('\x1a'))
        decoded.replace(QChar(0x1a), QChar::ReplacementCharacter);
    return decoded;
}

QList<QStringView> splitStatementLines(QStringView text)
{
    QList<QStringView> lines;
    forEachStatementLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}
