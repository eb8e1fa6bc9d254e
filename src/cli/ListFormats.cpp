#include "ListFormats.h"

#include "TextWidth.h"
#include "ledger/LedgerExport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>


using namespace Qt::StringLiterals;

namespace {

QByteArray jsonList(const QList<LedgerEntryPtr> &items)
{
    QJsonArray array;
    for (const LedgerEntryPtr &entry : items)
        array.append(entryToJson(*entry));
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

// A table cell keeps to one line.
bool breaksLine(QChar c)
{
    // The control characters (Unicode's Cc) and the line and paragraph separators.
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029;
}

QString cellText(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text; // shared, not copied
    QString cell = text;
    for (QChar &c : cell) {
        if (breaksLine(c))
            c = u' ';
    }
    return cell;
}

QByteArray tableList(const QList<LedgerEntryPtr> &items)
{
    if (items.isEmpty())
        return {};
    QList<QStringList> rows;
    rows.reserve(items.size() + 1);
    rows.append({u"Date"_s, u"Time"_s, u"Summary"_s, u"Payment"_s, u"Deposit"_s, u"Balance"_s,
                 u"Details"_s, u"*"_s});
    for (const LedgerEntryPtr &ptr : items) {
        const LedgerEntry &e = *ptr;
        rows.append({cellText(e.date()), cellText(e.time()), cellText(e.summary()),
                     e.paymentPrice(), e.depositPrice(), e.balancePrice(), cellText(e.details()),
                     e.marked() != 0 ? u"*"_s : QString()});
    }
    // Amounts line up on the right, texts on the left.
    return alignedTable(rows, {false, false, false, true, true, true, false, false}).toUtf8();
}

} // namespace

std::optional<ListFormat> listFormatFromName(const QString &name)
{
    if (name == u"csv")
        return ListFormat::Csv;
    if (name == u"json")
        return ListFormat::Json;
    if (name == u"table")
        return ListFormat::Table;
    return std::nullopt;
}

QJsonObject entryToJson(const LedgerEntry &e)
{
    return QJsonObject{
        {u"operation_year"_s, e.year()},
        {u"operation_month"_s, e.month()},
        {u"operation_day"_s, e.day()},
        {u"operation_hour"_s, e.hour()},
        {u"operation_minute"_s, e.minute()},
        {u"operation_second"_s, e.second()},
        {u"operation_order"_s, e.orderNumber()},
        {u"payment"_s, e.payment()},
        {u"deposit"_s, e.deposit()},
        {u"balance"_s, e.balance()},
        {u"summary_kind"_s, e.summaryKind()},
        {u"status"_s, e.status()},
        {u"marked"_s, e.marked()},
        {u"operation_date"_s, e.date()},
        {u"operation_time"_s, e.time()},
        {u"payment_price"_s, e.paymentPrice()},
        {u"deposit_price"_s, e.depositPrice()},
        {u"balance_price"_s, e.balancePrice()},
        {u"summary"_s, e.summary()},
        {u"details"_s, e.details()},
    };
}

QByteArray formatList(const QList<LedgerEntryPtr> &items, ListFormat format)
{
    switch (format) {
    case ListFormat::Csv:
        return LedgerExport::csvText(items, u'\n').toUtf8();
    case ListFormat::Json:
        return jsonList(items);
    case ListFormat::Table:
        return tableList(items);
    }
    return {};
}
