#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <optional>

// The fields of one statement line (without its terminator), as raw text. Commas separate
// fields, except inside a quoted stretch: one that opens with a quotation mark at the start of a
// field and closes with one followed by a comma, the end of the line, or spaces and a comma. So
// an empty field keeps its position, "AMAZON, INC" stays one field, and a stray quotation mark
// is an ordinary character. White space before a field is skipped. The quotation marks are still in the
// raw text: they are removed when a field is used. A line of nothing but white space has no
// fields. A quoted stretch that never closes tells that the line was cut inside a field:
// *openQuote is then set, and the field ends at its first comma.
using StatementFields = QVarLengthArray<QStringView, 16>;
StatementFields splitStatementFields(QStringView line, bool *openQuote = nullptr);

// The text with every double quotation mark removed.
QString withoutQuotationMarks(QStringView text);
// True when the field holds nothing but quotation marks.
bool isEmptyAfterQuotationRemoval(QStringView text);
// The decimal integer at the start of the text, read as if its quotation marks were removed:
// leading white space skipped, an optional sign, digits up to the first other character; 0 when
// there are none; clamped to the 32-bit range.
int intValue(QStringView text);
// A numeric field as a whole number: its quotation marks removed and surrounding white space
// ignored, an optional sign, then digits, bare or with "," between groups of three. An empty
// field reads as 0. Anything else is no number; a whole number beyond the 32-bit range is none
// either, and sets *outOfRange.
std::optional<int> wholeNumber(QStringView text, bool *outOfRange = nullptr);
// Whether the text, its quotation marks removed, equals the other.
bool equalsAfterQuotationRemoval(QStringView text, QStringView other);

// What a rejection reason quotes of a line or a field: at most kQuotedCharacters of it, an
// ellipsis after a cut, and a control character as U+FFFD, so that a reason stays one short
// line whatever the statement holds.
QString quotedExcerpt(QStringView text);
constexpr qsizetype kQuotedCharacters = 60;
// Whether the character may be stored: tab, or no control character (C0, DEL, C1).
inline bool isStorableCharacter(char16_t c)
{
    return c == u'\t' || (c >= 0x20 && (c < 0x7f || c > 0x9f));
}
