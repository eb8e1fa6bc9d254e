#include "ListFormats.h"

#include "TextWidth.h"
#include "ledger/LedgerExport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <array>


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

constexpr int kColumns = 8;
using Cells = std::array<QString, kColumns>;
// Amounts line up on the right, texts on the left.
constexpr std::array<bool, kColumns> kRightAligned{false, false, false, true, true, true, false, false};

void cellsOf(const LedgerEntry &e, Cells &cells)
{
    cells = {cellText(e.date()), cellText(e.time()), cellText(e.summary()), e.paymentPrice(),
             e.depositPrice(), e.balancePrice(), cellText(e.details()),
             e.marked() != 0 ? u"*"_s : QString()};
}

// The table as alignedTable() makes it, written a piece at a time: the cells are made twice,
// once to measure the columns and once to write them, so that a long list holds no rows.
bool writeTable(const QList<LedgerEntryPtr> &items, const std::function<bool(const QByteArray &)> &write)
{
    if (items.isEmpty())
        return true;
    const Cells header{u"Date"_s, u"Time"_s, u"Summary"_s, u"Payment"_s, u"Deposit"_s,
                       u"Balance"_s, u"Details"_s, u"*"_s};
    std::array<int, kColumns> widths{};
    const auto measure = [&widths](const Cells &cells) {
        for (int i = 0; i < kColumns; ++i)
            widths[size_t(i)] = std::max(widths[size_t(i)], displayWidth(cells[size_t(i)]));
    };
    measure(header);
    Cells cells;
    for (const LedgerEntryPtr &e : items) {
        cellsOf(*e, cells);
        measure(cells);
    }
    QString line;
    QByteArray out;
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    out.reserve(kPiece + 4096);
    const auto writeLine = [&](const Cells &row) {
        line.clear();
        for (int i = 0; i < kColumns; ++i) {
            if (i > 0)
                line.append(u"  ");
            const QString &cell = row[size_t(i)];
            const qsizetype missing = widths[size_t(i)] - displayWidth(cell);
            if (kRightAligned[size_t(i)] && missing > 0)
                line.resize(line.size() + missing, u' ');
            line.append(cell);
            if (!kRightAligned[size_t(i)] && missing > 0)
                line.resize(line.size() + missing, u' ');
        }
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1) == u' ')
            --end;
        line.truncate(end);
        line.append(u'\n');
        out.append(line.toUtf8());
        if (out.size() < kPiece)
            return true;
        const bool written = write(out);
        out.clear();
        return written;
    };
    if (!writeLine(header))
        return false;
    for (const LedgerEntryPtr &e : items) {
        cellsOf(*e, cells);
        if (!writeLine(cells))
            return false;
    }
    return out.isEmpty() || write(out);
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

bool writeList(const QList<LedgerEntryPtr> &items, ListFormat format,
               const std::function<bool(const QByteArray &)> &write)
{
    switch (format) {
    case ListFormat::Csv:
        return write(LedgerExport::csvText(items, u'\n').toUtf8());
    case ListFormat::Json:
        return write(jsonList(items));
    case ListFormat::Table:
        return writeTable(items, write);
    }
    return true;
}
