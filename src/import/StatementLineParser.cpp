#include "StatementLineParser.h"

#include "StatementFields.h"
#include "ledger/DataTexts.h"
#include "ledger/EntryTextCache.h"

#include <QVarLengthArray>

#include <array>
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
void complete(LedgerEntry &e, const QString &summary, int kind)
{
    e.setSummary(summary);
    e.setImportedSummary(summary);
    e.setSummaryKind(kind);
    e.setStatus(0);
    e.setMarked(0);
}

// The field without its quotation marks, shared through the cache; no string is built when the
// cache holds the text already (the case of almost every line).
QString sharedWithoutQuotation(QStringView field, EntryTextCache &texts)
{
    if (!field.contains(u'"'))
        return texts.shared(field);
    QVarLengthArray<QChar, 128> buffer;
    for (QChar c : field) {
        if (c != u'"')
            buffer.append(c);
    }
    // Never a null view: the field was there, so its text is empty at worst, not absent.
    static const QChar none = u'\0';
    return texts.shared(buffer.isEmpty() ? QStringView(&none, 0)
                                         : QStringView(buffer.constData(), buffer.size()));
}

} // namespace

namespace {

// The kinds of the summaries met lately, by text buffer: the shared summaries of a statement
// are a few hundred texts, so the kind words are searched once per text rather than once per
// line. Each slot holds its text, which keeps the buffer alive: while it is held, no other text
// can take its address.
class SummaryKindMemo
{
public:
    template<typename Classify>
    int kindOf(const QString &summary, Classify classify)
    {
        if (summary.isEmpty())
            return classify(summary);
        Slot &slot = m_slots[(quintptr(summary.constData()) >> 4) % kSlots];
        if (slot.text.constData() != summary.constData() || slot.text.size() != summary.size()
            || slot.text.data_ptr().d_ptr() == nullptr) {
            slot.kind = classify(summary);
            slot.text = summary;
        }
        return slot.kind;
    }

private:
    struct Slot {
        QString text;
        int kind = 0;
    };
    static constexpr size_t kSlots = 1021;
    std::array<Slot, kSlots> m_slots;
};

} // namespace

int summaryKindOf(Bank bank, QStringView summary)
{
    static const SummaryWords jnbWords{{DataTexts::text(u"Summary_ATM_1"), AtmKind},
                                       {DataTexts::text(u"Summary_Commission"), CommissionKind},
                                       {DataTexts::text(u"Summary_Interest_1"), InterestKind},
                                       {DataTexts::text(u"Summary_Yahoo"), YahooKind}};
    static const SummaryWords ebankWords{{DataTexts::text(u"Summary_ATM_2"), AtmKind},
                                         {DataTexts::text(u"Summary_Commission"), CommissionKind},
                                         {DataTexts::text(u"Summary_Interest_2"), InterestKind}};
    return summaryKind(summary, bank == Bank::Jnb ? jnbWords : ebankWords);
}

ParsedLine parseStatementLine(Bank bank, QStringView line, EntryTextCache &texts)
{
    return bank == Bank::Jnb ? parseJnbLine(line, texts) : parseEbankLine(line, texts);
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
            summary = sharedWithoutQuotation(fields[p], texts);
        else
            numbers[p] = intValue(fields[p]);
    }
    LedgerEntryPtr entry = LedgerEntry::create();
    LedgerEntry &e = *entry;
    e.setYear(numbers[0]);
    e.setMonth(numbers[1]);
    e.setDay(numbers[2]);
    e.setHour(numbers[3]);
    e.setMinute(numbers[4]);
    e.setSecond(numbers[5]);
    e.setOrderNumber(numbers[6]);
    e.setPayment(numbers[8]);
    e.setDeposit(numbers[9]);
    e.setBalance(numbers[10]);
    e.setDate(texts.dateText(numbers[0], numbers[1], numbers[2]));
    e.setTime(texts.timeText(numbers[3], numbers[4], numbers[5]));
    static SummaryKindMemo kinds;
    complete(e, summary, kinds.kindOf(summary, [](QStringView text) {
                 return summaryKindOf(Bank::Jnb, text);
             }));
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
    const QString date = withoutQuotationMarks(fields[0]);
    if (date.size() < 8)
        return {LineOutcome::Rejected, {}};
    const int year = intValue(QStringView(date).sliced(0, 4));
    if (year == 0)
        return {LineOutcome::Rejected, {}};
    const int month = intValue(QStringView(date).sliced(4, 2));
    const int day = intValue(QStringView(date).sliced(6, 2));

    LedgerEntryPtr entry = LedgerEntry::create();
    LedgerEntry &e = *entry;
    e.setYear(year);
    e.setMonth(month);
    e.setDay(day);
    if (fields.size() > 1 && !isEmptyAfterQuotationRemoval(fields[1])) {
        // A leading minus sign pays out; anything else is paid in.
        const QString amount = withoutQuotationMarks(fields[1]);
        if (amount.startsWith(u'-'))
            e.setPayment(intValue(QStringView(amount).sliced(1)));
        else
            e.setDeposit(intValue(amount));
    }
    if (fields.size() > 2)
        e.setBalance(intValue(fields[2]));
    QString summary;
    if (fields.size() > 3)
        summary = sharedWithoutQuotation(fields[3], texts);
    e.setDate(texts.dateText(year, month, day));
    static SummaryKindMemo kinds;
    complete(e, summary, kinds.kindOf(summary, [](QStringView text) {
                 return summaryKindOf(Bank::Ebank, text);
             }));
    return {LineOutcome::Entry, entry};
}
