#include "LedgerView.h"

#include "StringTable.h"
#include "import/StatementFields.h"
#include "ledger/LedgerDatabase.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>

namespace {
// Rows kept for the next paint; a screenful is a few dozen.
constexpr qsizetype kCachedRows = 1024;
} // namespace

LedgerView::LedgerView(const LedgerDatabase &database)
    : m_database(database)
{
    const QDate today = QDate::currentDate();
    setMonth(today.year(), today.month());
}

void LedgerView::setBank(Bank bank)
{
    if (bank != m_bank)
        forgetSearch();
    m_bank = bank;
}

void LedgerView::setMode(ListMode mode)
{
    m_mode = mode == ListMode::Search && m_searchHits.isEmpty() ? ListMode::Activity : mode;
}

void LedgerView::setMonth(int year, int month)
{
    m_year = year;
    m_month = month;
}

void LedgerView::reload()
{
    m_cache.clear();
    m_rowOfId.clear();
    m_ids.clear();
    m_loaded = false;
}

const QList<qint64> &LedgerView::ids() const
{
    if (!m_loaded)
        load();
    return m_ids;
}

void LedgerView::load() const
{
    m_loaded = true;
    switch (m_mode) {
    case ListMode::Monthly:
        m_ids = m_database.entryIds(m_bank, EntryFilter::ofMonth(m_year, m_month), m_order);
        break;
    case ListMode::Search:
        m_ids.clear();
        for (qint64 id : std::as_const(m_searchHits)) {
            if (!m_removedHits.contains(id))
                m_ids.append(id);
        }
        break;
    default:
        m_ids = m_database.entryIds(m_bank, EntryFilter::all(), m_order);
        break;
    }
    if (!m_sortField)
        return;
    const QHash<qint64, QVariant> keys = m_database.fieldValues(
        m_bank, m_mode == ListMode::Monthly ? EntryFilter::ofMonth(m_year, m_month) : EntryFilter::all(),
        *m_sortField);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_ids.begin(), m_ids.end(), [&keys, descending](qint64 a, qint64 b) {
        const QPartialOrdering c = QVariant::compare(keys.value(a), keys.value(b));
        return descending ? c == QPartialOrdering::Greater : c == QPartialOrdering::Less;
    });
}

void LedgerView::sortBy(std::optional<EntryField> field, Qt::SortOrder order)
{
    m_sortField = field;
    m_sortOrder = order;
    reload();
}

qint64 LedgerView::idAt(qsizetype row) const
{
    const QList<qint64> &shown = ids();
    return row >= 0 && row < shown.size() ? shown.at(row) : 0;
}

LedgerEntry LedgerView::entryAt(qsizetype row) const
{
    const qint64 id = idAt(row);
    if (id == 0)
        return {};
    if (const auto it = m_cache.constFind(id); it != m_cache.cend())
        return *it;
    std::optional<LedgerEntry> e = m_database.entry(id);
    if (!e)
        return {};
    if (m_cache.size() >= kCachedRows)
        m_cache.clear();
    m_cache.insert(id, *e);
    return *e;
}

qsizetype LedgerView::rowOf(qint64 id) const
{
    if (m_rowOfId.isEmpty()) {
        const QList<qint64> &shown = ids();
        m_rowOfId.reserve(shown.size());
        for (qsizetype row = 0; row < shown.size(); ++row)
            m_rowOfId.insert(shown.at(row), row);
    }
    return m_rowOfId.value(id, -1);
}

QList<LedgerEntry> LedgerView::entries() const
{
    return m_database.entries(ids());
}

ListTotals LedgerView::totals() const
{
    if (m_mode == ListMode::Search)
        return totalsOf(entries());
    const LedgerDatabase::Sums sums = m_database.sums(
        m_bank, m_mode == ListMode::Monthly ? EntryFilter::ofMonth(m_year, m_month) : EntryFilter::all());
    return {sums.count, sums.paidOut, sums.paidIn};
}

void LedgerView::switchList()
{
    switch (m_mode) {
    case ListMode::Activity:
        showMonthlyList();
        return;
    case ListMode::Monthly:
        m_mode = m_searchHits.isEmpty() ? ListMode::Activity : ListMode::Search;
        break;
    default:
        m_mode = ListMode::Activity;
        break;
    }
    reload();
}

void LedgerView::reverseOrder()
{
    m_sortField.reset();
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (!m_searchHits.isEmpty()) {
        // The same hits, in the new order. A hit deleted meanwhile keeps its place in the list
        // turned round, so that an undone deletion brings it back there.
        const QSet<qint64> hits(m_searchHits.cbegin(), m_searchHits.cend());
        QList<qint64> present;
        for (qint64 id : m_database.entryIds(m_bank, EntryFilter::all(), m_order)) {
            if (hits.contains(id))
                present.append(id);
        }
        std::reverse(m_searchHits.begin(), m_searchHits.end());
        qsizetype next = 0;
        for (qint64 &id : m_searchHits) {
            if (!m_removedHits.contains(id) && next < present.size())
                id = present.at(next++);
        }
    }
    reload();
}

void LedgerView::showMonthlyList()
{
    m_mode = ListMode::Monthly;
    reload();
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

bool LedgerView::hasPreviousMonth() const
{
    const QList<int> months = m_database.months(m_bank);
    return !months.isEmpty() && m_year * 100 + m_month > months.constFirst();
}

bool LedgerView::hasNextMonth() const
{
    const QList<int> months = m_database.months(m_bank);
    const QDate today = QDate::currentDate();
    return !months.isEmpty()
        && m_year * 100 + m_month < qMax(months.constLast(), today.year() * 100 + today.month());
}

QList<int> LedgerView::monthsWithEntries() const
{
    QList<int> months = m_database.months(m_bank);
    std::reverse(months.begin(), months.end());
    return months;
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

int LedgerView::search(const QString &keyword)
{
    QList<qint64> hits = m_database.entryIds(m_bank, EntryFilter::matching(keyword), m_order);
    if (!hits.isEmpty()) {
        m_searchHits = std::move(hits);
        m_removedHits.clear();
        m_keyword = keyword;
        m_mode = ListMode::Search;
        reload();
        return int(m_searchHits.size());
    }
    m_searchHits.clear();
    m_removedHits.clear();
    if (m_mode == ListMode::Search) {
        m_mode = ListMode::Activity; // the former hits are gone: no stale rows
        reload();
    }
    return 0;
}

void LedgerView::entriesRemoved(const QList<qint64> &ids)
{
    if (!m_searchHits.isEmpty())
        m_removedHits.unite(QSet<qint64>(ids.cbegin(), ids.cend()));
}

void LedgerView::entriesReturned(const QList<qint64> &ids)
{
    for (qint64 id : ids)
        m_removedHits.remove(id);
}

void LedgerView::forgetSearch()
{
    m_searchHits.clear();
    m_removedHits.clear();
    if (m_mode == ListMode::Search)
        m_mode = ListMode::Activity;
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
