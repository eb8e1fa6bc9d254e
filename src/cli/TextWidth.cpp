#include "TextWidth.h"

#include <QList>

#include <algorithm>
#include <vector>

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
        // What ledgers hold most: Latin below the combining marks (of which only the soft hyphen
        // takes no room), kana and kanji, fullwidth forms; the rest is looked up.
        if (c < 0x300) {
            width += c == 0xad ? 0 : 1;
            continue;
        }
        if ((c >= 0x3041 && c <= 0x3096) || (c >= 0x30a0 && c <= 0x30ff)
            || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xff01 && c <= 0xff60)) {
            width += 2;
            continue;
        }
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

QString alignedTable(const QList<QStringList> &rows, const QList<bool> &rightAligned)
{
    // Each cell's width is measured once; the lines are written into one text made big enough
    // at the start, without a string per padded cell.
    const qsizetype columns = rightAligned.size();
    std::vector<int> cellWidths;
    cellWidths.reserve(size_t(rows.size() * columns));
    QList<int> widths(columns, 0);
    qsizetype characters = 0;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < columns; ++i) {
            const int w = i < row.size() ? displayWidth(row[i]) : 0;
            cellWidths.push_back(w);
            widths[i] = std::max(widths[i], w);
            characters += i < row.size() ? row[i].size() : 0;
        }
    }
    qsizetype lineWidth = 0;
    for (const int w : widths)
        lineWidth += w + 2;
    QString out;
    out.reserve(characters + rows.size() * (lineWidth + 1));
    const int *cellWidth = cellWidths.data();
    for (const QStringList &row : rows) {
        const qsizetype lineStart = out.size();
        for (qsizetype i = 0; i < columns; ++i, ++cellWidth) {
            if (i >= row.size())
                continue;
            if (i > 0)
                out.append(u"  ");
            const qsizetype missing = widths[i] - *cellWidth;
            if (rightAligned[i] && missing > 0)
                out.resize(out.size() + missing, u' ');
            out.append(row[i]);
            if (!rightAligned[i] && missing > 0)
                out.resize(out.size() + missing, u' ');
        }
        qsizetype end = out.size();
        while (end > lineStart && out.at(end - 1) == u' ')
            --end;
        out.truncate(end);
        out.append(u'\n');
    }
    return out;
}
