#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// The fields of one statement line (without its terminator), as raw text. Every comma outside
// quotation marks separates two fields, so an empty field keeps its position and "AMAZON, INC"
// stays one field; white space before a field is skipped. The quotation marks are still in the
// raw text: they are removed when a field is used. A line of nothing but white space has no
// fields.
using StatementFields = QVarLengthArray<QStringView, 16>;
StatementFields splitStatementFields(QStringView line);

// The text with every double quotation mark removed.
QString withoutQuotationMarks(QStringView text);
// True when the field holds nothing but quotation marks.
bool isEmptyAfterQuotationRemoval(QStringView text);
// The decimal integer at the start of the text, read as if its quotation marks were removed:
// leading white space skipped, an optional sign, digits up to the first other character; 0 when
// there are none; clamped to the 32-bit range.
int intValue(QStringView text);
// Whether the text, its quotation marks removed, equals the other.
bool equalsAfterQuotationRemoval(QStringView text, QStringView other);
