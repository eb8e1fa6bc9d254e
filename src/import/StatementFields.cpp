#include "StatementFields.h"

#include <algorithm>
#include <limits>

StatementFields splitStatementFields(QStringView line)
{
    StatementFields fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        qsizetype rest = i;
        while (rest < n && line[rest].isSpace())
            ++rest;
        if (rest == n)
            break; // only white space remains: the line is finished
        const qsizetype start = rest;
        bool quoted = false;
        qsizetype j = start;
        for (; j < n; ++j) {
            const QChar c = line[j];
            if (c == u'"')
                quoted = !quoted;
            else if (c == u',' && !quoted)
                break;
        }
        fields.append(line.sliced(start, j - start));
        i = j + 1; // past the comma
        if (j < n && i == n)
            fields.append(QStringView()); // a trailing comma ends with an empty field
    }
    return fields;
}

QString withoutQuotationMarks(QStringView text)
{
    if (!text.contains(u'"'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c != u'"')
            out.append(c);
    }
    return out;
}

bool isEmptyAfterQuotationRemoval(QStringView text)
{
    for (QChar c : text) {
        if (c != u'"')
            return false;
    }
    return true;
}

// The usual field: digits, bare or in quotation marks. Answers false for anything else, which
// the general reading below handles.
static bool plainDigits(QStringView text, int *value)
{
    const qsizetype n = text.size();
    const bool quoted = n > 0 && text[0] == u'"';
    qsizetype i = quoted ? 1 : 0;
    const qsizetype start = i;
    int v = 0;
    for (; i < n && i - start < 9; ++i) {
        const unsigned digit = unsigned(text[i].unicode()) - u'0';
        if (digit > 9)
            break;
        v = v * 10 + int(digit);
    }
    if (i == start)
        return false;
    const bool ended = i == n || (quoted && i == n - 1 && text[i] == u'"')
                       || (text[i] != u'"' && (unsigned(text[i].unicode()) - u'0') > 9);
    if (!ended)
        return false;
    *value = v;
    return true;
}

int intValue(QStringView text)
{
    int fast;
    if (plainDigits(text, &fast))
        return fast;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipQuotes = [&] {
        while (i < n && text[i] == u'"')
            ++i;
    };
    skipQuotes();
    while (i < n && (text[i].isSpace() || text[i] == u'"'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (skipQuotes(); i < n; ++i, skipQuotes()) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            break;
        if (value <= limit)
            value = value * 10 + (c - u'0');
    }
    if (negative)
        value = -value;
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

bool equalsAfterQuotationRemoval(QStringView text, QStringView other)
{
    qsizetype j = 0;
    for (QChar c : text) {
        if (c == u'"')
            continue;
        if (j >= other.size() || other[j] != c)
            return false;
        ++j;
    }
    return j == other.size();
}
