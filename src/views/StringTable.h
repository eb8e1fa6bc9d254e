#pragma once

#include <QString>
#include <QStringView>

// The user-visible texts of Moriva, looked up by key ("Window_Title_Activity", "Delete", ...)
// and translated through Qt's translation system (context "StringTable"). A key the table lacks
// gives the key itself. Texts matched against statements are not here: see DataTexts.
namespace StringTable {

QString localizedString(QStringView key);

// The formats among them, with their arguments. A month is written one way in each language
// ("2026/02", "2026年2月"), in titles, the Summary and its boxes alike.
QString monthName(int year, int month);
QString windowTitleMonthly(int year, int month);
QString balanceFileNameMonthly(int year, int month);

// Every key of the table, for checks that each has a text and a translation.
QList<QString> keys();

} // namespace StringTable
