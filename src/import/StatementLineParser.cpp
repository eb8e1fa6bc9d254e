#include "StatementLineParser.h"

#include "StatementFields.h"
#include "ledger/DataTexts.h"
#include "ledger/EntryTextCache.h"

#include <QCoreApplication>
#include <QDate>
#include <QTime>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

struct SummaryWord {
    QString text;
    int kind;
};
using SummaryWords = std::vector<SummaryWord>;

// One pass over the summary for all the words (they start with distinct characters); the first
// word in the list that was found decides.
int summaryKind(QStringView summary, const SummaryWords &words)
{
    std::array<bool, 8> found{};
    std::array<char16_t, 8> firsts{};
    Q_ASSERT(words.size() <= found.size());
    const size_t count = qMin(words.size(), found.size());
    for (size_t w = 0; w < count; ++w)
        firsts[w] = words[w].text.front().unicode();
    const char16_t *const text = summary.utf16();
    const qsizetype n = summary.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (size_t w = 0; w < count; ++w) {
            if (text[i] == firsts[w] && !found[w] && summary.sliced(i).startsWith(words[w].text))
                found[w] = true;
        }
    }
    for (size_t w = 0; w < count; ++w) {
        if (found[w])
            return words[w].kind;
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

ParsedLine rejected(const QString &reason)
{
    return {LineOutcome::Rejected, {}, reason};
}

ParsedLine notANumber(QStringView field, bool outOfRange)
{
    const QString text = withoutQuotationMarks(field.first(qMin(field.size(), qsizetype(200))))
                             .trimmed();
    if (!outOfRange)
        return rejected(QCoreApplication::translate("StatementLineParser",
                                                    "“%1” is not a whole number")
                            .arg(quotedExcerpt(text)));
    const QString reason = text.startsWith(u'-')
        ? QCoreApplication::translate("StatementLineParser", "%1 is too small")
        : QCoreApplication::translate("StatementLineParser", "%1 is too large");
    return rejected(reason.arg(quotedExcerpt(text)));
}

// The numeric field at a position, or the reason the line is rejected.
std::optional<int> numberOf(QStringView field, ParsedLine *why)
{
    bool outOfRange = false;
    const std::optional<int> number = wholeNumber(field, &outOfRange);
    if (!number)
        *why = notANumber(field, outOfRange);
    return number;
}

// A line whose fields are not all there, or not whole: the statement was cut inside it. An
// entry is made only of every field its bank writes, so nothing is made up from a part of one.
std::optional<ParsedLine> cutShort(QStringView line, const StatementFields &fields, bool openQuote,
                                   int needed)
{
    if (openQuote) {
        for (QStringView field : fields) {
            if (field.startsWith(u'"') && (field.size() == 1 || !field.endsWith(u'"'))) {
                // Quoted from the quotation mark to the end of the line.
                const QStringView rest = line.sliced(field.data() - line.data());
                return rejected(QCoreApplication::translate("StatementLineParser",
                                                            "the line is cut short: “%1” opens a "
                                                            "quotation that is never closed")
                                    .arg(quotedExcerpt(rest)));
            }
        }
        return rejected(QCoreApplication::translate(
            "StatementLineParser", "the line is cut short: a quotation is never closed"));
    }
    if (fields.size() < needed)
        return rejected(QCoreApplication::translate(
                            "StatementLineParser",
                            "the line is cut short: it ends after field %1 of the %2 it needs")
                            .arg(fields.size())
                            .arg(needed));
    for (qsizetype p = 0; p < fields.size(); ++p) {
        if (fields[p].size() > kMaxFieldCharacters)
            return rejected(QCoreApplication::translate(
                                "StatementLineParser",
                                "field %1 is longer than 1,000 characters (“%2”)")
                                .arg(p + 1)
                                .arg(quotedExcerpt(fields[p])));
    }
    return std::nullopt;
}

// A date is a day of the calendar, in the years 1 to 9999.
bool isCalendarDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && QDate::isValid(year, month, day);
}

ParsedLine notACalendarDate(int year, int month, int day)
{
    return rejected(
        QCoreApplication::translate("StatementLineParser", "%1 is not a calendar date")
            .arg(DataTexts::formatOperationDate(year, month, day)));
}

// An eBANK date: eight digits (year, month, day), or the year, month and day separated by "/"
// or "-" ("2026/03/05", "2026-3-5"). False when the text is neither.
bool readEbankDate(QStringView text, int *year, int *month, int *day)
{
    const auto digitsOnly = [](QStringView part) {
        return !part.isEmpty()
            && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    const auto value = [](QStringView digits) {
        int v = 0;
        for (QChar c : digits)
            v = v * 10 + (c.unicode() - u'0');
        return v;
    };
    if (text.size() == 8 && digitsOnly(text)) {
        *year = value(text.sliced(0, 4));
        *month = value(text.sliced(4, 2));
        *day = value(text.sliced(6, 2));
        return true;
    }
    for (const char16_t separator : {u'/', u'-'}) {
        // Exactly three parts.
        const qsizetype first = text.indexOf(separator);
        const qsizetype second = first < 0 ? -1 : text.indexOf(separator, first + 1);
        if (second < 0 || text.indexOf(separator, second + 1) >= 0)
            continue;
        const QStringView parts[3] = {text.first(first), text.sliced(first + 1, second - first - 1),
                                      text.sliced(second + 1)};
        if (parts[0].size() == 4 && parts[1].size() <= 2 && parts[2].size() <= 2
            && digitsOnly(parts[0]) && digitsOnly(parts[1]) && digitsOnly(parts[2])) {
            *year = value(parts[0]);
            *month = value(parts[1]);
            *day = value(parts[2]);
            return true;
        }
    }
    return false;
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

namespace {

// The usual JNB line, read in one pass: eleven fields, every one but the summary nothing or up
// to nine digits, bare or in quotation marks, and the summary bare or in quotation marks, with
// no other quotation mark, commas only between fields and no white space before a field. What
// such a line gives is what splitStatementFields() and wholeNumber() give; false for any other
// line, which they read.
bool readPlainJnbLine(QStringView line, int *numbers, QStringView *summary)
{
    const char16_t *p = line.utf16();
    const char16_t *const end = p + line.size();
    for (int f = 0; f < 11; ++f) {
        if (f > 0) {
            if (p == end || *p != u',')
                return false;
            ++p;
        }
        const bool quoted = p != end && *p == u'"';
        if (quoted)
            ++p;
        if (f == 7) {
            const char16_t *const start = p;
            while (p != end && *p != u'"' && (quoted || *p != u','))
                ++p;
            if (!quoted && p != start && QChar::isSpace(*start))
                return false;
            *summary = QStringView(start, p);
        } else {
            // A tenth digit only tells that the field is not the usual one: ten digits would
            // not fit an int.
            qint64 value = 0;
            const char16_t *const start = p;
            for (; p != end && p - start < 10; ++p) {
                const unsigned digit = unsigned(*p) - u'0';
                if (digit > 9)
                    break;
                value = value * 10 + digit;
            }
            if (p - start > 9)
                return false;
            numbers[f] = int(value);
        }
        if (quoted) {
            if (p == end || *p != u'"')
                return false;
            ++p;
        }
    }
    return p == end;
}

} // namespace

ParsedLine parseJnbLine(QStringView line, EntryTextCache &texts)
{
    // Every column but the summary is a number; a line with a column that is not, or whose
    // date or time does not exist, is no operation.
    int numbers[11] = {};
    QStringView plainSummary;
    const bool plain = readPlainJnbLine(line, numbers, &plainSummary);
    StatementFields fields;
    if (plain && plainSummary.size() > kMaxFieldCharacters)
        return rejected(QCoreApplication::translate(
                                "StatementLineParser",
                                "field %1 is longer than 1,000 characters (“%2”)")
                            .arg(8)
                            .arg(quotedExcerpt(plainSummary)));
    if (!plain) {
        bool openQuote = false;
        fields = splitStatementFields(line, &openQuote);
        if (fields.isEmpty())
            return {LineOutcome::Blank, {}, {}};
        if (equalsAfterQuotationRemoval(fields[0], DataTexts::jnbHeader()))
            return {LineOutcome::Header, {}, {}};
        if (std::optional<ParsedLine> cut = cutShort(line, fields, openQuote, kJnbFields))
            return *cut;
        for (qsizetype p = 0; p < kJnbFields; ++p) {
            if (p == 7)
                continue;
            ParsedLine why;
            const std::optional<int> number = numberOf(fields[p], &why);
            if (!number)
                return why;
            numbers[p] = *number;
        }
    }
    if (numbers[0] == 0 && numbers[1] == 0 && numbers[2] == 0)
        return rejected(QCoreApplication::translate("StatementLineParser", "the line has no date"));
    if (!isCalendarDate(numbers[0], numbers[1], numbers[2]))
        return notACalendarDate(numbers[0], numbers[1], numbers[2]);
    if (!QTime::isValid(numbers[3], numbers[4], numbers[5]))
        return rejected(QCoreApplication::translate("StatementLineParser",
                                                    "%1 is not a time of day")
                            .arg(DataTexts::formatOperationTime(numbers[3], numbers[4],
                                                                numbers[5])));
    const QString summary = plain ? texts.shared(plainSummary)
                                  : sharedWithoutQuotation(fields[7], texts);
    LedgerEntry entry;
    LedgerEntry &e = entry;
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
    return {LineOutcome::Entry, entry, {}};
}

ParsedLine parseEbankLine(QStringView line, EntryTextCache &texts)
{
    bool openQuote = false;
    const StatementFields fields = splitStatementFields(line, &openQuote);
    if (fields.isEmpty())
        return {LineOutcome::Blank, {}, {}};
    if (equalsAfterQuotationRemoval(fields[0], DataTexts::ebankHeader()))
        return {LineOutcome::Header, {}, {}};
    if (std::optional<ParsedLine> cut = cutShort(line, fields, openQuote, kEbankFields))
        return *cut;

    // The date field without its quotation marks and surrounding white space, on the stack.
    QVarLengthArray<char16_t, 32> dateChars;
    for (QChar c : fields[0]) {
        if (c != u'"')
            dateChars.append(c.unicode());
    }
    const QStringView date = QStringView(dateChars.constData(), dateChars.size()).trimmed();
    int year = 0, month = 0, day = 0;
    if (!readEbankDate(date, &year, &month, &day))
        return rejected(QCoreApplication::translate("StatementLineParser", "“%1” is not a date")
                            .arg(quotedExcerpt(date)));
    if (!isCalendarDate(year, month, day))
        return notACalendarDate(year, month, day);
    // One signed amount: a minus sign pays out, anything else is paid in. A minus sign alone is
    // how the bank writes a line without an amount: nothing paid out.
    ParsedLine why;
    const bool noAmount = withoutQuotationMarks(fields[1]).trimmed() == u"-";
    const std::optional<int> amount = noAmount ? 0 : numberOf(fields[1], &why);
    if (!amount)
        return why;
    if (*amount == std::numeric_limits<int>::min())
        return notANumber(fields[1], true);
    const std::optional<int> balance = numberOf(fields[2], &why);
    if (!balance)
        return why;

    LedgerEntry entry;
    LedgerEntry &e = entry;
    e.setYear(year);
    e.setMonth(month);
    e.setDay(day);
    if (*amount < 0)
        e.setPayment(-*amount);
    else
        e.setDeposit(*amount);
    e.setBalance(*balance);
    const QString summary = sharedWithoutQuotation(fields[3], texts);
    e.setDate(texts.dateText(year, month, day));
    static SummaryKindMemo kinds;
    complete(e, summary, kinds.kindOf(summary, [](QStringView text) {
                 return summaryKindOf(Bank::Ebank, text);
             }));
    return {LineOutcome::Entry, entry, {}};
}
