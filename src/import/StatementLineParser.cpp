#include "StatementLineParser.h"

#include "StatementFields.h"
#include "ledger/DataTexts.h"
#include "ledger/EntryTextCache.h"

#include <vector>

namespace {

struct SummaryWord {
    QString text;
    int kind;
};
using SummaryWords = std::vector<SummaryWord>;

int summaryKind(QStringView summary, const SummaryWords &words)
{
    for (const SummaryWord &word : words) {
        if (summary.contains(word.text))
            return word.kind;
    }
    return 0;
}

// What every entry gets once its columns are read.
void complete(BalanceInfoItem &e, const QString &summary, int kind)
{
    e.setSummary(summary);
    e.setImportedSummary(summary);
    e.setSummaryKind(kind);
    e.setStatus(0);
    e.setMarked(0);
}

} // namespace

int parseSummaryKindString_JNB(QStringView summary)
{
    static const SummaryWords words{{DataTexts::text(u"Summary_ATM_1"), 1},
                                    {DataTexts::text(u"Summary_Commission"), 2},
                                    {DataTexts::text(u"Summary_Interest_1"), 3},
                                    {DataTexts::text(u"Summary_Yahoo"), 4}};
    return summaryKind(summary, words);
}

int parseSummaryKindString_EBANK(QStringView summary)
{
    static const SummaryWords words{{DataTexts::text(u"Summary_ATM_2"), 1},
                                    {DataTexts::text(u"Summary_Commission"), 2},
                                    {DataTexts::text(u"Summary_Interest_2"), 3}};
    return summaryKind(summary, words);
}

ParsedLine parseJnbLine(QStringView line, EntryTextCache &texts)
{
    const StatementFields fields = splitStatementFields(line);
    if (fields.isEmpty())
        return {LineOutcome::Blank, {}};
    if (equalsAfterQuotationRemoval(fields[0], DataTexts::jnbHeader()))
        return {LineOutcome::Header, {}};

    int numbers[11] = {};
    QString summary;
    for (qsizetype p = 0; p < fields.size() && p < 11; ++p) {
        if (p == 7)
            summary = texts.shared(stringByTrimmingQuotation(fields[p]));
        else
            numbers[p] = intValue(fields[p]);
    }
    BalanceInfoItemPtr entry = BalanceInfoItem::create();
    BalanceInfoItem &e = *entry;
    e.setOperationYear(numbers[0]);
    e.setOperationMonth(numbers[1]);
    e.setOperationDay(numbers[2]);
    e.setOperationHour(numbers[3]);
    e.setOperationMinute(numbers[4]);
    e.setOperationSecond(numbers[5]);
    e.setOperationOrder(numbers[6]);
    e.setPayment(numbers[8]);
    e.setDeposit(numbers[9]);
    e.setBalance(numbers[10]);
    e.setOperationDate(texts.operationDate(numbers[0], numbers[1], numbers[2]));
    e.setOperationTime(texts.operationTime(numbers[3], numbers[4], numbers[5]));
    complete(e, summary, parseSummaryKindString_JNB(summary));
    return {LineOutcome::Entry, entry};
}

ParsedLine parseEbankLine(QStringView line, EntryTextCache &texts)
{
    const StatementFields fields = splitStatementFields(line);
    if (fields.isEmpty())
        return {LineOutcome::Blank, {}};
    if (equalsAfterQuotationRemoval(fields[0], DataTexts::ebankHeader()))
        return {LineOutcome::Header, {}};

    // eBANK dates are eight characters: four of year, two of month, two of day.
    const QString date = stringByTrimmingQuotation(fields[0]);
    if (date.size() < 8)
        return {LineOutcome::Rejected, {}};
    const int year = intValue(QStringView(date).sliced(0, 4));
    if (year == 0)
        return {LineOutcome::Rejected, {}};
    const int month = intValue(QStringView(date).sliced(4, 2));
    const int day = intValue(QStringView(date).sliced(6, 2));

    BalanceInfoItemPtr entry = BalanceInfoItem::create();
    BalanceInfoItem &e = *entry;
    e.setOperationYear(year);
    e.setOperationMonth(month);
    e.setOperationDay(day);
    if (fields.size() > 1 && !isEmptyAfterQuotationRemoval(fields[1])) {
        // A leading minus sign pays out; anything else is paid in.
        const QString amount = stringByTrimmingQuotation(fields[1]);
        if (amount.startsWith(u'-'))
            e.setPayment(intValue(QStringView(amount).sliced(1)));
        else
            e.setDeposit(intValue(amount));
    }
    if (fields.size() > 2)
        e.setBalance(intValue(fields[2]));
    QString summary;
    if (fields.size() > 3)
        summary = texts.shared(stringByTrimmingQuotation(fields[3]));
    e.setOperationDate(texts.operationDate(year, month, day));
    complete(e, summary, parseSummaryKindString_EBANK(summary));
    return {LineOutcome::Entry, entry};
}
