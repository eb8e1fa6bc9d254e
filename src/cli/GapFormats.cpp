#include "GapFormats.h"

#include "TextWidth.h"
#include "views/StatusTexts.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr int kColumns = 7;
using Row = std::array<QString, kColumns>;

Row rowOf(const BalanceGap &gap)
{
    return Row{gap.after.date(),
               gap.after.time(),
               gap.before.date(),
               gap.before.time(),
               QString::number(gap.expectedBalance),
               QString::number(gap.balance),
               QString::number(gap.difference)};
}

// A JSON string, quoted and escaped.
QString jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Written by hand to keep the keys in this order; indented as `list --format json` is.
QByteArray jsonGaps(const QList<BalanceGap> &gaps)
{
    static const Row keys{u"after_date"_s,       u"after_time"_s, u"before_date"_s,
                          u"before_time"_s,      u"expected_balance"_s, u"balance"_s,
                          u"difference"_s};
    QString out = u"[\n"_s;
    for (qsizetype g = 0; g < gaps.size(); ++g) {
        const Row row = rowOf(gaps.at(g));
        out += u"    {\n"_s;
        for (int i = 0; i < kColumns; ++i) {
            out += u"        \""_s + keys[i] + u"\": "_s
                + (i < 4 ? jsonString(row[i]) : row[i]) + (i + 1 < kColumns ? u",\n"_s : u"\n"_s);
        }
        out += g + 1 < gaps.size() ? u"    },\n"_s : u"    }\n"_s;
    }
    out += u"]\n"_s;
    return out.toUtf8();
}

QByteArray csvGaps(const QList<BalanceGap> &gaps)
{
    QString out = u"after_date,after_time,before_date,before_time,expected_balance,balance,"
                  u"difference\n"_s;
    for (const BalanceGap &gap : gaps) {
        const Row row = rowOf(gap);
        out += QStringList(row.begin(), row.end()).join(u',') + u'\n';
    }
    return out.toUtf8();
}

QByteArray tableGaps(const BalanceChain &chain)
{
    if (chain.isContinuous())
        return chain.isEmpty() ? QByteArray() : (StatusTexts::balances(chain) + u'\n').toUtf8();
    QList<QStringList> rows{{u"After"_s, u"Time"_s, u"Before"_s, u"Time"_s, u"Expected"_s,
                             u"Balance"_s, u"Difference"_s}};
    for (const BalanceGap &gap : chain.gaps()) {
        Row row = rowOf(gap);
        row[4] = StatusTexts::yen(gap.expectedBalance);
        row[5] = StatusTexts::yen(gap.balance);
        row[6] = StatusTexts::yen(gap.difference);
        rows.append(QStringList(row.begin(), row.end()));
    }
    return alignedTable(rows, {false, false, false, false, true, true, true}).toUtf8();
}

} // namespace

QByteArray formatGaps(const BalanceChain &chain, ListFormat format)
{
    switch (format) {
    case ListFormat::Csv:
        return csvGaps(chain.gaps());
    case ListFormat::Json:
        return jsonGaps(chain.gaps());
    case ListFormat::Table:
        return tableGaps(chain);
    }
    return {};
}
