#include "StringTable.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>

namespace StringTable {
namespace {

struct Entry {
    const char16_t *key;
    const char *source; // English, the source language of the translations
};

// clang-format off
const Entry kTable[] = {
    {u"InvalBankbookFile", QT_TRANSLATE_NOOP("StringTable", "This file is not a bank statement that Moriva knows. JNB statement files have \"NBG\" in their path, eBANK statement files \"eBANK\".")},
    {u"BankbookFileOpen", QT_TRANSLATE_NOOP("StringTable", "Import Statement")},
    {u"Warning", QT_TRANSLATE_NOOP("StringTable", "Warning")},
    {u"SureDeleteSelectedInfo", QT_TRANSLATE_NOOP("StringTable", "Delete the selected entry from the ledger? Edit › Undo puts it back.")},
    {u"Delete", QT_TRANSLATE_NOOP("StringTable", "Delete")},
    {u"DeleteAll", QT_TRANSLATE_NOOP("StringTable", "Delete All")},
    {u"DontDelete", QT_TRANSLATE_NOOP("StringTable", "Don't Delete")},
    {u"BalanceFileSave", QT_TRANSLATE_NOOP("StringTable", "Save List")},
    {u"BalanceFileName_Manthly", QT_TRANSLATE_NOOP("StringTable", "Bankbook %1-%2")},
    {u"BalanceFileName_Activity", QT_TRANSLATE_NOOP("StringTable", "Bankbook")},
    {u"BankName_JNB", QT_TRANSLATE_NOOP("StringTable", "JNB")},
    {u"BankName_eBANK", QT_TRANSLATE_NOOP("StringTable", "eBANK")},
    {u"Window_Title_Activity", QT_TRANSLATE_NOOP("StringTable", "All Activity")},
    {u"Window_Title_Monthly", QT_TRANSLATE_NOOP("StringTable", "Monthly Statement %1")},
    //: How every place writes a month, as a QDate format: yyyy the year, MM the month with two
    //: digits, M without.
    {u"MonthFormat", QT_TRANSLATE_NOOP("StringTable", "yyyy/MM")},
    {u"Window_Title_Search", QT_TRANSLATE_NOOP("StringTable", "Search Results")},
    {u"CantDownloadLatestVersion", QT_TRANSLATE_NOOP("StringTable", "Moriva could not find out which version is the latest.")},
    {u"YouUseLatestVersion", QT_TRANSLATE_NOOP("StringTable", "You are using the latest version of Moriva (%1).")},
    {u"LatestVersionRelease", QT_TRANSLATE_NOOP("StringTable", "Moriva %1 is available.")},
    {u"PublishedVersionOlder", QT_TRANSLATE_NOOP("StringTable", "The published version %1 is older than the version you use (%2).")},
    {u"Bank", QT_TRANSLATE_NOOP("StringTable", "Bank")},
    {u"SelectBank", QT_TRANSLATE_NOOP("StringTable", "Choose Bank")},
    {u"Import", QT_TRANSLATE_NOOP("StringTable", "Import")},
    {u"ImportBalance", QT_TRANSLATE_NOOP("StringTable", "Import Statement File")},
    {u"SaveInfo", QT_TRANSLATE_NOOP("StringTable", "Save")},
    {u"SaveBalance", QT_TRANSLATE_NOOP("StringTable", "Save List as CSV")},
    {u"DeleteBalance", QT_TRANSLATE_NOOP("StringTable", "Delete Entry")},
    {u"DeleteAllBalance", QT_TRANSLATE_NOOP("StringTable", "Delete All Entries")},
    {u"List", QT_TRANSLATE_NOOP("StringTable", "List")},
    {u"SwitchList", QT_TRANSLATE_NOOP("StringTable", "Switch List")},
    {u"ListOrder", QT_TRANSLATE_NOOP("StringTable", "Order")},
    {u"ChangeListOrder", QT_TRANSLATE_NOOP("StringTable", "Reverse Order")},
    {u"ChangeMonth", QT_TRANSLATE_NOOP("StringTable", "Month")},
    {u"ChangeMonthList", QT_TRANSLATE_NOOP("StringTable", "Show a Month")},
    {u"PrevMonth", QT_TRANSLATE_NOOP("StringTable", "Previous")},
    {u"MovePrevMonth", QT_TRANSLATE_NOOP("StringTable", "Previous Month")},
    {u"NextMonth", QT_TRANSLATE_NOOP("StringTable", "Next")},
    {u"MoveNextMonth", QT_TRANSLATE_NOOP("StringTable", "Next Month")},
    {u"Mark", QT_TRANSLATE_NOOP("StringTable", "Mark")},
    {u"MarkBalance", QT_TRANSLATE_NOOP("StringTable", "Mark Entry")},
    {u"Search", QT_TRANSLATE_NOOP("StringTable", "Search")},
    {u"SearchBalance", QT_TRANSLATE_NOOP("StringTable", "Search Entries")},
    {u"Preferences", QT_TRANSLATE_NOOP("StringTable", "Preferences")},
    {u"ShowPreferences", QT_TRANSLATE_NOOP("StringTable", "Show Preferences")},
};
// clang-format on

} // namespace

QString localizedString(QStringView key)
{
    for (const Entry &entry : kTable) {
        if (key == QStringView(entry.key))
            return QCoreApplication::translate("StringTable", entry.source);
    }
    return key.toString();
}

QString monthName(int year, int month)
{
    return QDate(year, month, 1).toString(localizedString(u"MonthFormat"));
}

QString windowTitleMonthly(int year, int month)
{
    return localizedString(u"Window_Title_Monthly").arg(monthName(year, month));
}

QString balanceFileNameMonthly(int year, int month)
{
    return localizedString(u"BalanceFileName_Manthly").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

QList<QString> keys()
{
    QList<QString> all;
    for (const Entry &entry : kTable)
        all.append(QString::fromUtf16(entry.key));
    return all;
}

} // namespace StringTable
