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

// Whether the bytes are UTF-8 text: their multibyte sequences are valid UTF-8 but for rare
// errors (a stray byte in a long file). CP932 text read as UTF-8 fails on most of its Japanese
// characters, so the two are told apart by the share of valid sequences.
bool isMostlyUtf8(QByteArrayView bytes)
{
    qsizetype valid = 0, invalid = 0;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const uchar b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        const int length = b >= 0xc2 && b <= 0xdf ? 2 : b >= 0xe0 && b <= 0xef ? 3
                         : b >= 0xf0 && b <= 0xf4 ? 4 : 0;
        bool ok = length > 0 && end - p >= length;
        for (int i = 1; ok && i < length; ++i)
            ok = (p[i] & 0xc0) == 0x80;
        if (ok) {
            ++valid;
            p += length;
        } else {
            ++invalid;
            ++p;
        }
    }
    return invalid == 0 || invalid * 20 <= valid;
}

} // namespace

QString decodeStatementText(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        return decoder.decode(bytes); // the decoder drops the byte-order mark
    }
    // Old tools end a text file with SUB (Ctrl-Z), which is no part of the text.
    QByteArrayView data(bytes);
    while (data.endsWith('\x1a'))
        data.chop(1);
    // A stateless decoder also flags a sequence cut off at the end of the file.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (isMostlyUtf8(data))
        return utf8.decode(data);
    QStringDecoder decoder = cp932Decoder();
    if (!decoder.isValid())
        return utf8.decode(data); // replacement characters rather than a wrong 8-bit reading
    // ICU stands SUB (U+001A) for a byte sequence it cannot map.
    return decoder.decode(data);
}

bool isUnreadableText(QStringView line)
{
    for (QChar c : line) {
        if (c == QChar::ReplacementCharacter || c == QChar(0x1a))
            return true;
    }
    return false;
}

QList<QStringView> splitStatementLines(QStringView text)
{
    QList<QStringView> lines;
    forEachStatementLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}
