#pragma once

#include "LedgerEntry.h"

#include <QList>
#include <QString>

// The shown list as CSV: one line per entry, no header, each line ended by a single "\r":
// date, time, summary, payment, deposit, balance (plain integers), details. A text holding a
// comma, a double quotation mark, CR or LF is written in double quotation marks with inner
// quotation marks doubled, so that every export reads back; every other field is written as is.
namespace LedgerExport {

// The encodings an export can be written in ("MVExportEncoding").
enum class Encoding : int {
    Utf8 = 0,    // UTF-8 without a byte-order mark, the default
    Utf8Bom = 1, // UTF-8 with a byte-order mark, for spreadsheets that expect one
    ShiftJis = 2 // CP932, for spreadsheets on systems that expect Shift_JIS
};
Encoding encodingFromInt(int value);

// Appends the entry's line.
void appendCsvLine(QString &out, const LedgerEntry &entry, QChar lineEnd = u'\r');
// The lines end with "\r", as exported files always have; a terminal or a pipe wants "\n".
QString csvText(const QList<LedgerEntry> &items, QChar lineEnd = u'\r');
// The text in the encoding; an empty result and false with the reason when the encoding
// cannot hold a character of the text (nothing is silently replaced).
bool encode(const QString &text, Encoding encoding, QByteArray *bytes, QString *error);
// Writes the export, replacing the file only once the new content is complete. False with the
// reason when it cannot be encoded or written.
bool save(const QString &path, const QList<LedgerEntry> &items, QString *error,
                     Encoding encoding = Encoding::Utf8);

// The same list for a spreadsheet: a header row naming the columns in the user's language, the
// same fields, lines ended by CR LF.
QString spreadsheetText(const QList<LedgerEntry> &items);
// Writes it as UTF-8 with a byte-order mark, which spreadsheets take for UTF-8; like save().
bool saveSpreadsheet(const QString &path, const QList<LedgerEntry> &items, QString *error);

} // namespace LedgerExport
