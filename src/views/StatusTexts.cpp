#include "StatusTexts.h"

#include "import/ImportReport.h"
#include "StringTable.h"
#include "ledger/BalanceChain.h"
#include "ledger/DataTexts.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text, int n = -1)
{
    return QCoreApplication::translate("StatusTexts", text, nullptr, n);
}
} // namespace

ListTotals totalsOf(const QList<LedgerEntryPtr> &list)
{
    ListTotals t;
    t.count = list.size();
    for (const LedgerEntryPtr &e : list) {
        t.payments += e->payment();
        t.deposits += e->deposit();
    }
    return t;
}

namespace StatusTexts {

QString noSearchHits(const QString &keyword)
{
    return tr("No entries contain “%1”").arg(keyword);
}

// Sums can pass the 32-bit range; group the digits the way the table does.
QString yen(qint64 amount)
{
    QString digits = QString::number(amount < 0 ? -amount : amount);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return (amount < 0 ? QStringLiteral("-") : QString()) + digits + DataTexts::yenSign();
}

QString balances(const BalanceChain &chain)
{
    if (chain.isEmpty())
        return QString();
    if (chain.isContinuous())
        return QCoreApplication::translate("StatusTexts", "Balances continuous from %1 to %2")
            .arg(chain.stretches().constFirst().firstDate, chain.stretches().constFirst().lastDate);
    return QCoreApplication::translate("StatusTexts", "%n gaps in the balances", nullptr,
                                       int(chain.gaps().size()));
}

QString totals(const ListTotals &t)
{
    return tr("%n entries · paid out %1 · paid in %2", int(t.count))
        .arg(yen(t.payments), yen(t.deposits));
}

QString bankName(Bank bank)
{
    if (bank == Bank::Jnb)
        return StringTable::localizedString(u"BankName_JNB");
    if (bank == Bank::Ebank)
        return StringTable::localizedString(u"BankName_eBANK");
    return QString();
}

QString importSummary(const QString &fileName, const ImportReport &r)
{
    if (r.status != ImportReport::Imported)
        return tr("%1: nothing imported. %2").arg(fileName, r.error);
    QString text = tr("%1 (%2): %3 added, %4 duplicates skipped, %5 lines rejected")
                       .arg(fileName, bankName(r.bank))
                       .arg(r.added)
                       .arg(r.duplicates)
                       .arg(r.rejected);
    // First, so that a narrow status bar does not cut it off.
    if (r.gapsClosed > 0)
        text = QCoreApplication::translate("StatusTexts", "Closed %n gaps in the balances.", nullptr,
                                           r.gapsClosed)
            + u' ' + text;
    return text;
}

QString rejectedLines(const ImportReport &report, qsizetype shown)
{
    QStringList lines;
    for (const RejectedLine &line : report.rejectedLines) {
        if (lines.size() == shown)
            break;
        lines << tr("line %1: %2").arg(line.number).arg(line.reason);
    }
    if (report.rejected > lines.size())
        lines << tr("and %n more", int(report.rejected - lines.size()));
    return lines.join(u'\n');
}

} // namespace StatusTexts
