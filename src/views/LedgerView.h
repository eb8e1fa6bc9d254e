#pragma once

#include "ListMode.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <QSet>
#include <QString>
#include <Qt>

class Ledger;

// What the ledger table shows of a ledger: the list mode, the order, the month of the monthly
// list, the hits of the last search, and which ledger entry stands behind each row.
//
// The monthly and search lists hold the very entries of the ledger, never copies. A list that
// is not shown keeps an entry that was replaced meanwhile; the row lookup follows the
// replacement to the entry that stands in the ledger now.
class LedgerView
{
public:
    explicit LedgerView(Ledger &ledger);

    ListMode mode() const { return m_mode; }
    void setMode(ListMode mode) { m_mode = mode; }
    Qt::SortOrder order() const { return m_order; }
    void setOrder(Qt::SortOrder order) { m_order = order; }
    int year() const { return m_year; }
    int month() const { return m_month; }
    void setMonth(int year, int month);

    // The rows of the shown list.
    const QList<LedgerEntryPtr> &rows() const;
    qsizetype rowCount() const { return rows().size(); }
    const LedgerEntry *entryAt(qsizetype row) const;
    // The ledger index of the entry behind a row of the shown list; -1 when there is none.
    qsizetype ledgerIndexAt(qsizetype row) const;
    const QList<LedgerEntryPtr> &monthlyList() const { return m_monthly; }
    const QList<LedgerEntryPtr> &searchList() const { return m_searchHits; }

    // Activity → monthly → search (when a search has hits) → activity.
    void switchList();
    // Turns the order around and sorts every list by it: the ledger, the monthly list and the
    // search hits follow one order, which the next month's list keeps.
    void reverseOrder();
    // Shows the monthly list of the month: today's, the one before or after the one shown, or
    // the one typed in the change-month sheet (a month past 12 means January of the next year).
    void showThisMonth();
    void showPreviousMonth();
    void showNextMonth();
    void showMonth(const QString &yearText, const QString &monthText);
    // Why the texts typed in the change-month sheet name no month (a year of one to four digits,
    // a month from 1 to 12); empty when they name one.
    static QString monthInputError(const QString &yearText, const QString &monthText);
    // Builds the monthly list from the ledger, in the chosen order; false when the month has no
    // entry.
    bool rebuildMonthlyList();
    // The hits become the search list and are shown; with no hit the search list is emptied
    // and, if it was shown, the activity list takes its place. Answers the number of hits.
    int search(const QString &keyword);
    // The keyword of the last search that had hits.
    QString keyword() const { return m_keyword; }

    // A row's entry was replaced in the ledger: the shown subset list takes the replacement too.
    void replaceRow(qsizetype row, const LedgerEntryPtr &replacement);
    // A row's entry is being deleted: the monthly list and the search hits let go of it,
    // whichever list shows the row.
    void removeRow(qsizetype row);
    // The ledger was emptied or another took its place: the search hits go with it, and a
    // shown search list gives way to the activity list.
    void forgetEntries();

    // Whether an entry is among the search hits (-1: not there), kept when it is deleted so that
    // an undo can put it back there.
    struct Places {
        qsizetype search = -1;
        quint64 searchRun = 0; // the search whose hits held it
    };
    Places placesOf(const LedgerEntry *entry) const;
    // Those of the entries that the search hits hold, and the search that found them.
    QSet<const LedgerEntry *> hitsAmong(const QList<LedgerEntryPtr> &entries) const;
    quint64 searchRun() const { return m_searchRun; }
    // Entries came back into the ledger (which holds them again): the search hits take back
    // those they held, when they are still that search's, where the ledger's order puts them.
    void putBackHits(const QSet<const LedgerEntry *> &entries, quint64 searchRun);
    // An entry came back into the ledger (which holds it again): the monthly list of its month
    // takes it, and so do the search hits that held it, each where the ledger's order puts it.
    void putBack(const LedgerEntryPtr &entry, const Places &places);
    // The entries left the ledger: every list lets go of them (and of what they replaced).
    void removeEntries(const QSet<const LedgerEntry *> &entries);
    // The entry now stands in the ledger in place of one the lists may still hold (an undone
    // or redone mark or edit): the lists take it too.
    void followReplacement(const LedgerEntryPtr &current);

    // "Activity", "Monthly Statement 2026/11", "Search Results: “ATM”".
    QString title() const;
    QString proposedExportFileName() const;
    // The title without path separators, for the file a print to PDF proposes.
    QString proposedPrintName() const;

private:
    void showMonthlyList();

    Ledger &m_ledger;
    ListMode m_mode = ListMode::Activity;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    int m_year = 0;
    int m_month = 0;
    QList<LedgerEntryPtr> m_monthly;
    QList<LedgerEntryPtr> m_searchHits;
    QString m_keyword;
    quint64 m_searchRun = 0; // counts the searches, and the forgetting of their hits
};
