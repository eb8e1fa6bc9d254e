#include "ReportFormats.h"

#include "TextWidth.h"
#include "views/StatusTexts.h"

using namespace Qt::StringLiterals;
using namespace PeriodReport;

namespace {

// One line of the report: texts first, then the amounts.
struct Line {
    QStringList texts;      // period, and the kind in a report by kind
    QList<qint64> numbers;  // entries, paid out, paid in, net, and the closing balance
};

QString periodName(const Period &p)
{
    return !p.wholeYear ? u"%1-%2"_s.arg(p.year, 4, 10, QChar(u'0')).arg(p.month, 2, 10, QChar(u'0'))
                   : QString::number(p.year);
}

QList<Line> linesOf(const QList<Period> &periods, bool byKind)
{
    QList<Line> lines;
    for (const Period &p : periods) {
        if (!byKind) {
            lines.append({{periodName(p)},
                          {p.sums.entries, p.sums.paidOut, p.sums.paidIn, p.sums.net(),
                           p.closingBalance}});
            continue;
        }
        for (Kind kind : kKindOrder) {
            const Sums &s = p.byKind[size_t(kind)];
            if (s.entries > 0)
                lines.append({{periodName(p), QString::fromLatin1(kindName(kind))},
                              {s.entries, s.paidOut, s.paidIn, s.net()}});
        }
    }
    return lines;
}

QStringList keysOf(bool byKind)
{
    return byKind ? QStringList{u"period"_s, u"kind"_s, u"entries"_s, u"paid_out"_s,
                                u"paid_in"_s, u"net"_s}
                  : QStringList{u"period"_s, u"entries"_s, u"paid_out"_s, u"paid_in"_s, u"net"_s,
                                u"closing_balance"_s};
}

// Written by hand to keep the keys in this order; indented as `gaps --format json` is.
QByteArray jsonReport(const QList<Line> &lines, bool byKind)
{
    const QStringList keys = keysOf(byKind);
    QString out = u"[\n"_s;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const Line &line = lines.at(l);
        QStringList fields;
        for (const QString &text : line.texts)
            fields << u"\"%1\": \"%2\""_s.arg(keys.at(fields.size()), text);
        for (qint64 number : line.numbers)
            fields << u"\"%1\": %2"_s.arg(keys.at(fields.size())).arg(number);
        out += u"    {\n        "_s + fields.join(u",\n        "_s)
            + (l + 1 < lines.size() ? u"\n    },\n"_s : u"\n    }\n"_s);
    }
    out += u"]\n"_s;
    return out.toUtf8();
}

QByteArray csvReport(const QList<Line> &lines, bool byKind)
{
    QString out = keysOf(byKind).join(u',') + u'\n';
    for (const Line &line : lines) {
        QStringList fields = line.texts;
        for (qint64 number : line.numbers)
            fields << QString::number(number);
        out += fields.join(u',') + u'\n';
    }
    return out.toUtf8();
}

QByteArray tableReport(const QList<Line> &lines, bool byKind)
{
    if (lines.isEmpty())
        return {};
    QList<QStringList> rows{byKind ? QStringList{u"Period"_s, u"Kind"_s}
                                   : QStringList{u"Period"_s}};
    rows[0] << u"Entries"_s << u"Paid out"_s << u"Paid in"_s << u"Net"_s;
    if (!byKind)
        rows[0] << u"Closing balance"_s;
    for (const Line &line : lines) {
        QStringList row = line.texts;
        row << QString::number(line.numbers.at(0));
        for (qsizetype i = 1; i < line.numbers.size(); ++i)
            row << StatusTexts::yen(line.numbers.at(i));
        rows.append(row);
    }
    QList<bool> right(rows[0].size(), true);
    for (qsizetype i = 0; i < lines.first().texts.size(); ++i)
        right[i] = false;
    return alignedTable(rows, right).toUtf8();
}

} // namespace

QByteArray formatReport(const QList<Period> &periods, bool byKind, ListFormat format)
{
    const QList<Line> lines = linesOf(periods, byKind);
    switch (format) {
    case ListFormat::Csv:
        return csvReport(lines, byKind);
    case ListFormat::Json:
        return jsonReport(lines, byKind);
    case ListFormat::Table:
        return tableReport(lines, byKind);
    }
    return {};
}
