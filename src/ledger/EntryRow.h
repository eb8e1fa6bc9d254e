#pragma once

#include "LedgerEntry.h"

#include <QString>
#include <QStringView>

class SqlStatement;

// How an entry lies in a row of the "entries" table: the numbers and texts that lists read and
// compare in SQL in columns of their own, and what is rare (texts that differ from what the
// numbers give, reserved fields of older archives) as JSON in "extra".
namespace EntryRow {

// The columns an entry is read from, in this order, for SELECT statements.
inline constexpr const char *kColumns =
    "id, day, time, order_number, summary, bank_summary, paid_out, paid_in, balance, note, "
    "marked, kind, extra, account";
// Binds an entry to the parameters ?1 (id, NULL for a new one) through ?15, in the order of
// INSERT INTO entries(id, account, day, time, order_number, summary, bank_summary, paid_out,
// paid_in, balance, note, marked, kind, search_text, extra).
void bind(SqlStatement &statement, int account, const LedgerEntry &entry, bool keepId);
// The entry of the row the statement stands on, read from kColumns.
LedgerEntry read(const SqlStatement &statement);

// 20260305 for 2026/03/05: sorts and compares as the date does.
inline qint64 dayNumber(int year, int month, int day)
{
    return qint64(year) * 10000 + month * 100 + day;
}
// 93005 for 09:30:05.
inline qint64 timeNumber(int hour, int minute, int second)
{
    return qint64(hour) * 10000 + minute * 100 + second;
}

// The text a search compares: NFKC normalised and case folded, so that ﾛｰｿﾝ finds ローソン and
// netflix finds NETFLIX.COM.
QString folded(QStringView text);
// What a search looks into: the summary and the note, folded.
QString searchTextOf(const LedgerEntry &entry);

} // namespace EntryRow
