#pragma once

#include <QString>
#include <QStringView>

// Texts that statements are matched against or that are stored in entries. They are the same in
// every UI language, so that a ledger never depends on the locale and a re-import still finds
// the entries it made before. UI texts are translated; these never are.
namespace DataTexts {

// The text stored under a data key ("Yen_Sign", "Summary_ATM_1", ...); the key itself when the
// table has no such key.
QString text(QStringView key);

// Shortcuts for the texts the parsers use on every line.
const QString &jnbHeader();   // first column title of a JNB statement
const QString &ebankHeader(); // first column title of an eBANK statement
const QString &yenSign();

// "Operation_Date": year, month, day as 2026/03/05 ("%d/%02d/%02d").
QString formatOperationDate(int year, int month, int day);
// "Operation_Time": hour, minute, second as 09:05:00 ("%02d:%02d:%02d").
QString formatOperationTime(int hour, int minute, int second);

// The amount with "," between groups of three digits ("#,##0").
QString groupThousands(int value);
// The text followed by the yen sign; a null text stays null.
QString appendYenSign(const QString &text);
// The price string of an amount: grouped digits and the yen sign for amounts above 0, else empty.
QString priceString(int amount);

} // namespace DataTexts
