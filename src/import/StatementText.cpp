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
    return decoder.decode(bytes);
}

QList<QStringView> splitStatementLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r' && c != 0x85 && c != 0x2028 && c != 0x2029)
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}
