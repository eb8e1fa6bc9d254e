#include "ListFormats.h"

#include "TextWidth.h"
#include "ledger/LedgerExport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <array>


using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kPiece = qsizetype(1) << 20;

// Collects output and hands it on a piece at a time.
class PieceWriter
{
public:
    explicit PieceWriter(const std::function<bool(const QByteArray &)> &write)
        : m_write(write)
    {
        m_out.reserve(kPiece + 4096);
    }
    bool append(const QByteArray &bytes)
    {
        m_out.append(bytes);
        return m_out.size() < kPiece || flush();
    }
    bool flush()
    {
        const bool written = m_out.isEmpty() || m_write(m_out);
        m_out.clear();
        return written;
    }

private:
    const std::function<bool(const QByteArray &)> &m_write;
    QByteArray m_out;
};

// The bytes QJsonDocument gives for an array of the objects, one object at a time.
bool writeJson(const EntrySource &entries, PieceWriter &out)
{
    bool first = true, written = true;
    const bool read = entries([&](const LedgerEntry &e) {
        // An object inside an array, indented as the array's document indents it.
        const QByteArray one = QJsonDocument(QJsonArray{entryToJson(e)}).toJson(QJsonDocument::Indented);
        written = out.append(QByteArray(first ? "[\n" : ",\n") + one.mid(2, one.size() - 5));
        first = false;
        return written;
    });
    return read && written && out.append(first ? "[\n]\n" : "\n]\n") && out.flush();
}

bool writeCsv(const EntrySource &entries, PieceWriter &out)
{
    QString line;
    bool written = true;
    const bool read = entries([&](const LedgerEntry &e) {
        line.clear();
        LedgerExport::appendCsvLine(line, e, u'\n');
        written = out.append(line.toUtf8());
        return written;
    });
    return read && written && out.flush();
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
bool writeTable(const EntrySource &entries, PieceWriter &out)
{
    const Cells header{u"Date"_s, u"Time"_s, u"Summary"_s, u"Payment"_s, u"Deposit"_s,
                       u"Balance"_s, u"Details"_s, u"*"_s};
    std::array<int, kColumns> widths{};
    const auto measure = [&widths](const Cells &cells) {
        for (int i = 0; i < kColumns; ++i)
            widths[size_t(i)] = std::max(widths[size_t(i)], displayWidth(cells[size_t(i)]));
    };
    measure(header);
    Cells cells;
    qsizetype count = 0;
    if (!entries([&](const LedgerEntry &e) {
            cellsOf(e, cells);
            measure(cells);
            ++count;
            return true;
        }))
        return false;
    if (count == 0)
        return true;
    QString line;
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
        return out.append(line.toUtf8());
    };
    if (!writeLine(header))
        return false;
    bool written = true;
    const bool read = entries([&](const LedgerEntry &e) {
        cellsOf(e, cells);
        written = writeLine(cells);
        return written;
    });
    return read && written && out.flush();
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
        {u"id"_s, e.id()},
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

bool writeList(const EntrySource &entries, ListFormat format,
               const std::function<bool(const QByteArray &)> &write)
{
    PieceWriter out(write);
    switch (format) {
    case ListFormat::Csv:
        return writeCsv(entries, out);
    case ListFormat::Json:
        return writeJson(entries, out);
    case ListFormat::Table:
        return writeTable(entries, out);
    }
    return true;
}
