#include "StatementFields.h"

#include <QVarLengthArray>

#include <algorithm>
#include <limits>

namespace {

qsizetype nextComma(QStringView line, qsizetype from)
{
    const qsizetype at = line.indexOf(u',', from);
    return at < 0 ? line.size() : at;
}

// Where the field that starts at `start` ends (its comma, or the end of the line). A quotation
// mark opens a quoted stretch only at the start of a field, and closes it only where a comma,
// the end of the line, or spaces and then a comma follow; any other quotation mark is an
// ordinary character. A stretch that never closes was cut short: the field ends at its first
// comma, so that the mark cannot swallow the rest of the line, and *open is set.
qsizetype fieldEnd(QStringView line, qsizetype start, bool *open)
{
    const qsizetype n = line.size();
    if (line[start] != u'"')
        return nextComma(line, start);
    for (qsizetype q = line.indexOf(u'"', start + 1); q >= 0; q = line.indexOf(u'"', q + 1)) {
        qsizetype k = q + 1;
        while (k < n && line[k] != u',' && line[k].isSpace())
            ++k;
        if (k == n || line[k] == u',')
            return k;
    }
    *open = true;
    return nextComma(line, start);
}

} // namespace

StatementFields splitStatementFields(QStringView line, bool *openQuote)
{
    StatementFields fields;
    bool open = false;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        qsizetype rest = i;
        while (rest < n && line[rest].isSpace())
            ++rest;
        if (rest == n)
            break; // only white space remains: the line is finished
        const qsizetype start = rest;
        const qsizetype j = fieldEnd(line, start, &open);
        fields.append(line.sliced(start, j - start));
        i = j + 1; // past the comma
        if (j < n && i == n)
            fields.append(QStringView()); // a trailing comma ends with an empty field
    }
    if (openQuote)
        *openQuote = open;
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

// The usual field: up to nine digits, bare or in quotation marks. Answers false for anything
// else, which the general readings below handle.
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
    const bool ended = i == n || (quoted && i == n - 1 && text[i] == u'"');
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

std::optional<int> wholeNumber(QStringView text, bool *outOfRange)
{
    int fast;
    if (plainDigits(text, &fast))
        return fast;
    // Quotation marks count for nothing, as everywhere in a field.
    QVarLengthArray<char16_t, 32> chars;
    for (QChar c : text) {
        if (c != u'"')
            chars.append(c.unicode());
    }
    QStringView rest = QStringView(chars.constData(), chars.size()).trimmed();
    if (rest.isEmpty())
        return 0;
    bool negative = false;
    if (rest.front() == u'+' || rest.front() == u'-') {
        negative = rest.front() == u'-';
        rest = rest.sliced(1);
    }
    // Digits, with "," between groups of three or none at all. Past the 32-bit range the digits
    // are still read, to tell a number too large from no number.
    const bool grouped = rest.contains(u',');
    constexpr qint64 beyond = qint64(std::numeric_limits<int>::max()) + 2;
    qint64 value = 0;
    qsizetype digitsInGroup = 0;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const char16_t c = rest[i].unicode();
        if (c == u',') {
            if (digitsInGroup == 0 || (i != digitsInGroup && digitsInGroup != 3)
                || (i == digitsInGroup && digitsInGroup > 3))
                return std::nullopt;
            digitsInGroup = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ++digitsInGroup;
        value = qMin(beyond, value * 10 + (c - u'0'));
    }
    if (digitsInGroup == 0 || (grouped && digitsInGroup != 3))
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        if (outOfRange)
            *outOfRange = true;
        return std::nullopt;
    }
    return int(value);
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

QString quotedExcerpt(QStringView text)
{
    const bool cut = text.size() > kQuotedCharacters;
    QString out = text.first(qMin(text.size(), kQuotedCharacters)).toString();
    for (QChar &c : out) {
        if (!isStorableCharacter(c.unicode()) || c == u'\t')
            c = QChar::ReplacementCharacter;
    }
    // A cut between the halves of a surrogate pair would leave half a character.
    if (cut && out.back().isHighSurrogate())
        out.chop(1);
    if (cut)
        out.append(u'…');
    return out;
}
