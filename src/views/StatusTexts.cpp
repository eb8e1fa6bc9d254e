#include "StatusTexts.h"

#include "StringTable.h"
#include "ledger/BalanceChain.h"
#include "ledger/DataTexts.h"

#include <QCoreApplication>

namespace {
// Like QObject::tr, so that lupdate sees the counted texts as such.
QString tr(const char *text, const char *disambiguation = nullptr, int n = -1)
{
    return QCoreApplication::translate("StatusTexts", text, disambiguation, n);
}
} // namespace

ListTotals totalsOf(const QList<LedgerEntry> &list)
{
    ListTotals t;
    t.count = list.size();
    for (const LedgerEntry &e : list) {
        t.payments += e.payment();
        t.deposits += e.deposit();
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

QString balancesBrief(const BalanceChain &chain)
{
    if (chain.isContinuous() && !chain.isEmpty())
        return tr("Balances continuous");
    return balances(chain);
}

QString totals(const ListTotals &t)
{
    return tr("%n entries · Payment %1 · Deposit %2", nullptr, int(t.count))
        .arg(yen(t.payments), yen(t.deposits));
}

QString deleteAllQuestion(Bank bank, qsizetype entries)
{
    return tr("Delete all %n entries of the %1 ledger? Edit › Undo puts them back.", nullptr,
              int(entries))
        .arg(bankName(bank));
}

QString bankName(Bank bank)
{
    if (bank == Bank::Jnb)
        return StringTable::localizedString(u"BankName_JNB");
    if (bank == Bank::Ebank)
        return StringTable::localizedString(u"BankName_eBANK");
    return QString();
}

QString importCounts(qsizetype added, qsizetype duplicates, qsizetype rejected)
{
    QString text = QCoreApplication::translate("StatusTexts", "%1, %2")
                       .arg(tr("%n entries added", nullptr, int(added)),
                            tr("%n duplicates skipped", nullptr, int(duplicates)));
    if (rejected > 0)
        text = QCoreApplication::translate("StatusTexts", "%1, %2")
                   .arg(text, tr("%n lines rejected", nullptr, int(rejected)));
    return text;
}

namespace {
QString withGapsClosed(int gapsClosed, const QString &text)
{
    // First, so that a narrow status bar does not cut it off.
    if (gapsClosed <= 0)
        return text;
    return QCoreApplication::translate("StatusTexts", "Closed %n gaps in the balances.", nullptr,
                                       gapsClosed)
        + u' ' + text;
}
} // namespace

QString importSummary(const QString &fileName, const ImportReport &r)
{
    if (r.status != ImportReport::Imported)
        return tr("%1: nothing imported. %2")
            .arg(fileName, r.status == ImportReport::NotStatement
                               ? StringTable::localizedString(u"InvalBankbookFile")
                               : r.error);
    return withGapsClosed(r.gapsClosed,
                          tr("%1 (%2): %3")
                              .arg(fileName, bankName(r.bank),
                                   importCounts(r.added, r.duplicates, r.rejected)));
}

QString importSummary(const QList<FileImport> &imports)
{
    if (imports.size() == 1)
        return importSummary(imports.constFirst().fileName, imports.constFirst().report);
    qsizetype imported = 0, added = 0, duplicates = 0, rejected = 0;
    int gapsClosed = 0;
    for (const FileImport &i : imports) {
        if (i.report.status != ImportReport::Imported)
            continue;
        ++imported;
        added += i.report.added;
        duplicates += i.report.duplicates;
        rejected += i.report.rejected;
        gapsClosed += i.report.gapsClosed;
    }
    const QString counts = importCounts(added, duplicates, rejected);
    const int files = int(imports.size());
    if (imported == files)
        return withGapsClosed(gapsClosed, tr("Imported %n files: %1", nullptr, files).arg(counts));
    return withGapsClosed(gapsClosed,
                          tr("Imported %1 of %n files: %2", nullptr, files).arg(imported).arg(counts));
}

QString importDetails(const QList<FileImport> &imports)
{
    if (imports.size() < 2)
        return QString();
    QStringList lines;
    for (const FileImport &i : imports)
        lines << importSummary(i.fileName, i.report);
    return lines.join(u'\n');
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
        lines << tr("and %n more", nullptr, int(report.rejected - lines.size()));
    return lines.join(u'\n');
}

} // namespace StatusTexts

namespace StatusTexts {

QString importFailures(const QList<FileImport> &imports)
{
    QStringList failures;
    for (const FileImport &i : imports) {
        if (i.report.status == ImportReport::Imported)
            continue;
        if (imports.size() > 1)
            failures << importSummary(i.fileName, i.report);
        else if (i.report.status == ImportReport::NotStatement)
            failures << StringTable::localizedString(u"InvalBankbookFile");
        else
            failures << i.report.error;
    }
    return failures.join(u'\n');
}

QList<RejectedRow> rejectedRows(const QList<FileImport> &imports)
{
    QList<RejectedRow> rows;
    qsizetype unlisted = 0;
    for (const FileImport &i : imports) {
        for (const RejectedLine &line : i.report.rejectedLines) {
            const QString where = tr("line %1").arg(line.number);
            rows.append({imports.size() > 1 ? tr("%1, %2").arg(i.fileName, where) : where,
                         line.text, line.reason});
        }
        unlisted += qMax(0, i.report.rejected - int(i.report.rejectedLines.size()));
    }
    if (unlisted > 0)
        rows.append({QString(), QString(), tr("and %n more", nullptr, int(unlisted))});
    return rows;
}

QString rejectedLines(const QList<FileImport> &imports, qsizetype shown)
{
    if (imports.size() == 1)
        return rejectedLines(imports.constFirst().report, shown);
    QStringList blocks;
    for (const FileImport &i : imports) {
        if (i.report.rejected > 0)
            blocks << i.fileName + u'\n' + rejectedLines(i.report, shown);
    }
    return blocks.join(u"\n\n");
}

} // namespace StatusTexts
