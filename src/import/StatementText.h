#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Turns the bytes of a statement file into text, choosing one encoding for the whole file: a
// byte-order mark (UTF-8, UTF-16, UTF-32) decides; otherwise UTF-8 when the file's multibyte
// sequences are UTF-8 but for rare errors, else CP932 (windows-31j), the Shift_JIS in which the
// banks deliver their files. Bytes the encoding cannot read become U+FFFD or U+001A.
QString decodeStatementText(const QByteArray &bytes);
// Whether a decoded line holds bytes its encoding could not read; such a line is never stored.
bool isUnreadableText(QStringView line);

// The lines of the text without their terminators (LF, CR, CR LF, NEL, LS, PS).
QList<QStringView> splitStatementLines(QStringView text);

// Calls visit(QStringView line) for each line splitStatementLines() gives, in order, without
// building the list.
template<typename Visit>
void forEachStatementLine(QStringView text, Visit visit)
{
    const char16_t *const begin = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = begin[i];
        // Most characters are printable ASCII or well above the terminators.
        if ((c > u'\r' && c < 0x85) || (c > 0x85 && c < 0x2028) || c > 0x2029)
            continue;
        if (c != u'\n' && c != u'\r' && c != 0x85 && c != 0x2028 && c != 0x2029)
            continue;
        visit(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && begin[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(text.sliced(start));
}
