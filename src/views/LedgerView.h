#pragma once

#include "ListMode.h"
#include "StatusTexts.h"
#include "ledger/Bank.h"
#include "ledger/LedgerEntry.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <Qt>

#include "ledger/LedgerDatabase.h"

#include <optional>

// What the ledger table shows of one account: the list mode, the order, the month of the
// monthly list, the hits of the last search, and which entry (by id) stands behind each row.
//
// The view holds the ids of the shown list, not the entries: a row's entry is read from the
// database when the table asks for it, and a few hundred of them are kept for the next paint.
// The activity and monthly lists are asked for afresh at each reload; the search list is the
// hits of the search as it was made, less the entries deleted since (an undone deletion brings
// its hit back), so that an edit never makes a row vanish from under the user.
class LedgerView
{
public:
    explicit LedgerView(const LedgerDatabase &database);

    void setBank(Bank bank);
    Bank bank() const { return m_bank; }
    ListMode mode() const { return m_mode; }
    void setMode(ListMode mode);
    Qt::SortOrder order() const { return m_order; }
    void setOrder(Qt::SortOrder order) { m_order = order; }
    // A list can be sorted by a field instead of its own order; entries alike in the field keep
    // the list's order among them. None: the list's own order (Reverse Order gives it back too).
    std::optional<EntryField> sortField() const { return m_sortField; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void sortBy(std::optional<EntryField> field, Qt::SortOrder order = Qt::AscendingOrder);
    int year() const { return m_year; }
    int month() const { return m_month; }
    void setMonth(int year, int month);

    // The shown list is asked of the database again (after a change or a switch) when next
    // read: a command-line import, which shows nothing, never asks.
    void reload();
    // An entry changed in place (an edit or a mark): its row is read again when next asked for.
    void forget(qint64 id) { m_cache.remove(id); }

    qsizetype rowCount() const { return ids().size(); }
    const QList<qint64> &ids() const;
    qint64 idAt(qsizetype row) const;
    // The entry of a row; an entry with id 0 for a row that is not there.
    LedgerEntry entryAt(qsizetype row) const;
    // The row of the entry in the shown list; -1 when it is not shown.
    qsizetype rowOf(qint64 id) const;
    // The shown list's entries, for a printout or an export.
    QList<LedgerEntry> entries() const;
    // The count of the shown list and the sums of its amounts.
    ListTotals totals() const;

    // Activity → monthly → search (when a search has hits) → activity.
    void switchList();
    void reverseOrder();
    // Shows the monthly list of the month: today's, the one before or after the one shown, or
    // the one typed in the change-month sheet (a month past 12 means January of the next year).
    void showThisMonth();
    void showPreviousMonth();
    void showNextMonth();
    void showMonth(const QString &yearText, const QString &monthText);
    // Where Previous and Next stop: at the first month that holds entries, and at the last one
    // or this month, whichever is later. False when the account has no entries.
    bool hasPreviousMonth() const;
    bool hasNextMonth() const;
    // The months that hold entries, newest first (year * 100 + month), for the change-month
    // sheet.
    QList<int> monthsWithEntries() const;
    // Why the texts typed in the change-month sheet name no month; empty when they name one.
    static QString monthInputError(const QString &yearText, const QString &monthText);
    // The hits become the search list and are shown; with no hit the search list is emptied
    // and, if it was shown, the activity list takes its place. Answers the number of hits.
    int search(const QString &keyword);
    QString keyword() const { return m_keyword; }
    // The entries left the ledger, or came back into it.
    void entriesRemoved(const QList<qint64> &ids);
    void entriesReturned(const QList<qint64> &ids);
    // The account's entries all went or another ledger took their place: the search goes too.
    void forgetSearch();

    // "Activity", "Monthly Statement 2026/11", "Search Results: “ATM”".
    QString title() const;
    QString proposedExportFileName() const;
    QString proposedPrintName() const;

private:
    void showMonthlyList();
    void load() const;

    const LedgerDatabase &m_database;
    Bank m_bank = Bank::None;
    ListMode m_mode = ListMode::Activity;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    std::optional<EntryField> m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_year = 0;
    int m_month = 0;
    mutable QList<qint64> m_ids; // the shown list, when loaded
    mutable bool m_loaded = false;
    QList<qint64> m_searchHits; // as the search found them, in the order
    QSet<qint64> m_removedHits; // hits deleted since
    QString m_keyword;
    mutable QHash<qint64, LedgerEntry> m_cache; // rows read lately
    mutable QHash<qint64, qsizetype> m_rowOfId; // made when first asked for
};
