#include "LedgerView.h"

#include "EntrySearcher.h"
#include "StringTable.h"
#include "import/StatementFields.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerOrdering.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>

LedgerView::LedgerView(Ledger &ledger)
    : m_ledger(ledger)
{
    const QDate today = QDate::currentDate();
    setMonth(today.year(), today.month());
}

void LedgerView::setMonth(int year, int month)
{
    m_year = year;
    m_month = month;
}

const QList<LedgerEntryPtr> &LedgerView::rows() const
{
    switch (m_mode) {
    case ListMode::Monthly:
        return m_monthly;
    case ListMode::Search:
        return m_searchHits;
    default:
        return m_ledger.entries();
    }
}

const LedgerEntry *LedgerView::entryAt(qsizetype row) const
{
    const QList<LedgerEntryPtr> &list = rows();
    return row >= 0 && row < list.size() ? list.at(row).data() : nullptr;
}

qsizetype LedgerView::ledgerIndexAt(qsizetype row) const
{
    if (m_mode == ListMode::Activity)
        return row >= 0 && row < m_ledger.size() ? row : -1;
    return m_ledger.indexOf(entryAt(row));
}

void LedgerView::switchList()
{
    switch (m_mode) {
    case ListMode::Activity:
        showMonthlyList();
        break;
    case ListMode::Monthly:
        m_mode = m_searchHits.isEmpty() ? ListMode::Activity : ListMode::Search;
        break;
    default:
        m_mode = ListMode::Activity;
        break;
    }
}

void LedgerView::reverseOrder()
{
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_ledger.sort(m_order);
    sortEntries(m_monthly, m_order);
    sortEntries(m_searchHits, m_order);
}

void LedgerView::showMonthlyList()
{
    m_mode = ListMode::Monthly;
    rebuildMonthlyList();
}

void LedgerView::showThisMonth()
{
    const QDate today = QDate::currentDate();
    setMonth(today.year(), today.month());
    showMonthlyList();
}

void LedgerView::showPreviousMonth()
{
    if (--m_month <= 0) {
        m_month = 12;
        --m_year;
    }
    showMonthlyList();
}

void LedgerView::showNextMonth()
{
    if (++m_month > 12) {
        m_month = 1;
        ++m_year;
    }
    showMonthlyList();
}

void LedgerView::showMonth(const QString &yearText, const QString &monthText)
{
    int year = intValue(yearText);
    int month = intValue(monthText);
    if (month > 12) {
        month = 1;
        ++year;
    }
    setMonth(year, month);
    showMonthlyList();
}

QString LedgerView::monthInputError(const QString &yearText, const QString &monthText)
{
    static const QRegularExpression year(QStringLiteral("^\\d{1,4}$"));
    static const QRegularExpression month(QStringLiteral("^(0?[1-9]|1[0-2])$"));
    if (!year.match(yearText.trimmed()).hasMatch() || yearText.trimmed().toInt() == 0)
        return QCoreApplication::translate("LedgerView", "The year must be a number, such as %1.")
            .arg(QDate::currentDate().year());
    if (!month.match(monthText.trimmed()).hasMatch())
        return QCoreApplication::translate("LedgerView", "The month must be a number from 1 to 12.");
    return {};
}

bool LedgerView::rebuildMonthlyList()
{
    m_monthly.clear();
    for (const LedgerEntryPtr &entry : m_ledger.entries()) {
        if (entry->year() == m_year && entry->month() == m_month)
            m_monthly.append(entry);
    }
    // The ledger may still be in the order it was read in.
    sortEntries(m_monthly, m_order);
    return !m_monthly.isEmpty();
}

int LedgerView::search(const QString &keyword)
{
    ++m_searchRun;
    m_searchHits = EntrySearcher::search(m_ledger.entries(), keyword);
    sortEntries(m_searchHits, m_order);
    if (!m_searchHits.isEmpty()) {
        m_keyword = keyword;
        m_mode = ListMode::Search;
    }
    else if (m_mode == ListMode::Search)
        m_mode = ListMode::Activity; // the former hits are gone: no stale rows
    return int(m_searchHits.size());
}

void LedgerView::replaceRow(qsizetype row, const LedgerEntryPtr &replacement)
{
    if (m_mode == ListMode::Monthly)
        m_monthly[row] = replacement;
    else if (m_mode == ListMode::Search)
        m_searchHits[row] = replacement;
}

void LedgerView::removeRow(qsizetype row)
{
    const LedgerEntry *entry = entryAt(row);
    if (!entry)
        return;
    // A list not shown may still hold an entry the row's has replaced since.
    const LedgerEntry *gone = entry->latest();
    const auto isGone = [gone](const LedgerEntryPtr &e) { return e->latest() == gone; };
    if (m_mode == ListMode::Monthly)
        m_monthly.removeAt(row);
    else if (m_mode == ListMode::Search)
        m_searchHits.removeAt(row);
    m_monthly.removeIf(isGone);
    m_searchHits.removeIf(isGone);
}

void LedgerView::forgetEntries()
{
    ++m_searchRun;
    m_searchHits.clear();
    if (m_mode == ListMode::Search)
        m_mode = ListMode::Activity;
    if (m_mode == ListMode::Monthly)
        rebuildMonthlyList();
}

LedgerView::Places LedgerView::placesOf(const LedgerEntry *entry) const
{
    const LedgerEntry *target = entry ? entry->latest() : nullptr;
    for (qsizetype i = 0; i < m_searchHits.size(); ++i) {
        if (m_searchHits.at(i)->latest() == target)
            return {i, m_searchRun};
    }
    return {-1, m_searchRun};
}

void LedgerView::putBack(const LedgerEntryPtr &entry, const Places &places)
{
    // Entries of the same moment keep the ledger's order among them, as when the list was made:
    // a place remembered in a list may be another month's, or of the order before a reversal.
    if (entry->year() == m_year && entry->month() == m_month)
        rebuildMonthlyList();
    if (places.search >= 0)
        putBackHits({entry.data()}, places.searchRun);
}

QSet<const LedgerEntry *> LedgerView::hitsAmong(const QList<LedgerEntryPtr> &entries) const
{
    QSet<const LedgerEntry *> hits;
    for (const LedgerEntryPtr &e : m_searchHits)
        hits.insert(e->latest());
    QSet<const LedgerEntry *> among;
    for (const LedgerEntryPtr &e : entries) {
        if (hits.contains(e.data()))
            among.insert(e.data());
    }
    return among;
}

void LedgerView::putBackHits(const QSet<const LedgerEntry *> &entries, quint64 searchRun)
{
    if (entries.isEmpty() || searchRun != m_searchRun)
        return;
    QSet<const LedgerEntry *> hits = entries;
    for (const LedgerEntryPtr &e : std::as_const(m_searchHits))
        hits.insert(e->latest());
    m_searchHits.clear();
    for (const LedgerEntryPtr &e : m_ledger.entries()) {
        if (hits.contains(e.data()))
            m_searchHits.append(e);
    }
    sortEntries(m_searchHits, m_order);
}

void LedgerView::removeEntries(const QSet<const LedgerEntry *> &entries)
{
    const auto isGone = [&entries](const LedgerEntryPtr &e) { return entries.contains(e->latest()); };
    m_monthly.removeIf(isGone);
    m_searchHits.removeIf(isGone);
}

void LedgerView::followReplacement(const LedgerEntryPtr &current)
{
    for (QList<LedgerEntryPtr> *list : {&m_monthly, &m_searchHits}) {
        for (LedgerEntryPtr &e : *list) {
            if (e != current && e->latest() == current.data())
                e = current;
        }
    }
}

QString LedgerView::title() const
{
    switch (m_mode) {
    case ListMode::Monthly:
        return StringTable::windowTitleMonthly(m_year, m_month);
    case ListMode::Search:
        return QCoreApplication::translate("LedgerView", "Search Results: “%1”").arg(m_keyword);
    default:
        return StringTable::localizedString(u"Window_Title_Activity");
    }
}

QString LedgerView::proposedExportFileName() const
{
    if (m_mode == ListMode::Monthly)
        return StringTable::balanceFileNameMonthly(m_year, m_month);
    return StringTable::localizedString(u"BalanceFileName_Activity");
}

QString LedgerView::proposedPrintName() const
{
    QString name = title();
    return name.replace(u'/', u'-').replace(u'\\', u'-');
}
