#include "PrintTexts.h"

#include "LedgerView.h"

#include <QCoreApplication>

namespace PrintTexts {

QString heading(Bank bank, const LedgerView &view)
{
    // The window's title says "Search Results: “…”"; on paper the keyword alone is clearer.
    const QString list = view.mode() == ListMode::Search
                             ? QCoreApplication::translate("PrintTexts", "Search: %1").arg(view.keyword())
                             : view.title();
    const QString bankName = StatusTexts::bankName(bank);
    return bankName.isEmpty() ? list : bankName + QStringLiteral(" — ") + list;
}

QString closingLine(const ListTotals &totals)
{
    return QCoreApplication::translate("PrintTexts", "%n entries — Payment %1, Deposit %2",
                                       nullptr, int(totals.count))
        .arg(StatusTexts::yen(totals.payments), StatusTexts::yen(totals.deposits));
}

} // namespace PrintTexts
