#include "TextWidth.h"

#include <QList>

#include <algorithm>

namespace {

bool isWide(char32_t c)
{
    // The East Asian Wide (W) and Fullwidth (F) ranges of Unicode's EastAsianWidth.txt.
    return (c >= 0x1100 && c <= 0x115F)   // Hangul Jamo initial consonants
           || (c >= 0x2E80 && c <= 0x303E) // CJK radicals .. CJK symbols and punctuation
           || (c >= 0x3041 && c <= 0x33FF) // hiragana, katakana, bopomofo, CJK compatibility
           || (c >= 0x3400 && c <= 0x4DBF) // CJK unified ideographs extension A
           || (c >= 0x4E00 && c <= 0x9FFF) // CJK unified ideographs
           || (c >= 0xA000 && c <= 0xA4CF) // Yi
           || (c >= 0xAC00 && c <= 0xD7A3) // Hangul syllables
           || (c >= 0xF900 && c <= 0xFAFF) // CJK compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F) // CJK compatibility forms
           || (c >= 0xFF00 && c <= 0xFF60) // fullwidth forms
           || (c >= 0xFFE0 && c <= 0xFFE6) // fullwidth signs
           || (c >= 0x1F300 && c <= 0x1F64F) // pictographs and emoticons
           || (c >= 0x1F900 && c <= 0x1F9FF) // supplemental symbols and pictographs
           || (c >= 0x20000 && c <= 0x3FFFD); // CJK ideographs, planes 2 and 3
}

bool isZeroWidth(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        return c == 0x200B;
    }
}

} // namespace

int displayWidth(QStringView text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        if (isZeroWidth(c))
            continue;
        width += isWide(c) ? 2 : 1;
    }
    return width;
}

QString padToWidth(const QString &text, int width, bool padLeft)
{
    const int missing = width - displayWidth(text);
    if (missing <= 0)
        return text;
    const QString spaces(missing, u' ');
    return padLeft ? spaces + text : text + spaces;
}

QString alignedTable(const QList<QStringList> &rows, const QList<bool> &rightAligned)
{
    QList<int> widths(rightAligned.size(), 0);
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    QString out;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i) {
            if (i > 0)
                line += QStringLiteral("  ");
            line += padToWidth(row[i], widths[i], rightAligned[i]);
        }
        while (line.endsWith(u' '))
            line.chop(1);
        out += line + u'\n';
    }
    return out;
}
