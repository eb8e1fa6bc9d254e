#include "EntryRow.h"

#include "Sqlite.h"

#include <unicode/unorm2.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *const kPriceKeys[] = {"paid_out_text", "paid_in_text", "balance_text"};

bool hasRareFields(const LedgerEntry &e)
{
    if (e.dateState() != LedgerEntry::TextState::FromNumbers
        || e.timeState() == LedgerEntry::TextState::Stored || e.status() != 0
        || (e.importedSummary().isNull() && !e.summary().isEmpty()))
        return true;
    for (int i = 0; i < 3; ++i) {
        if (!e.storedPrice(i).isNull())
            return true;
    }
    for (int i = 1; i <= LedgerEntry::kReservedTexts; ++i) {
        if (!e.reservedText(i).isEmpty())
            return true;
    }
    for (int i = 0; i < LedgerEntry::kPictures; ++i) {
        if (!e.picture(i).isNull())
            return true;
    }
    return false;
}

// The rare fields, or a null text when the entry has none.
QString extraOf(const LedgerEntry &e)
{
    if (!hasRareFields(e))
        return QString();
    QJsonObject extra;
    if (e.dateState() != LedgerEntry::TextState::FromNumbers)
        extra.insert(u"date", e.dateState() == LedgerEntry::TextState::Null ? QJsonValue()
                                                                           : QJsonValue(e.date()));
    if (e.timeState() == LedgerEntry::TextState::Stored)
        extra.insert(u"time", e.time());
    for (int i = 0; i < 3; ++i) {
        if (const QString price = e.storedPrice(i); !price.isNull())
            extra.insert(QLatin1StringView(kPriceKeys[i]), price);
    }
    if (e.status() != 0)
        extra.insert(u"status", e.status());
    if (e.importedSummary().isNull() && !e.summary().isEmpty())
        extra.insert(u"bank_summary", QJsonValue());
    QJsonArray reserved;
    bool anyReserved = false;
    for (int i = 1; i <= LedgerEntry::kReservedTexts; ++i) {
        const QString text = e.reservedText(i);
        anyReserved |= !text.isEmpty();
        reserved.append(text);
    }
    if (anyReserved)
        extra.insert(u"reserved", reserved);
    QJsonArray pictures;
    bool anyPicture = false;
    for (int i = 0; i < LedgerEntry::kPictures; ++i) {
        const QByteArray picture = e.picture(i);
        anyPicture |= !picture.isNull();
        pictures.append(picture.isNull() ? QJsonValue()
                                         : QJsonValue(QString::fromLatin1(picture.toBase64())));
    }
    if (anyPicture)
        extra.insert(u"pictures", pictures);
    if (extra.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(extra).toJson(QJsonDocument::Compact));
}

void readExtra(LedgerEntry &e, const QString &text)
{
    const QJsonObject extra = QJsonDocument::fromJson(text.toUtf8()).object();
    if (const auto date = extra.constFind(u"date"); date != extra.constEnd())
        e.setDate(date->isNull() ? QString() : date->toString());
    if (const auto time = extra.constFind(u"time"); time != extra.constEnd())
        e.setTime(time->toString());
    for (int i = 0; i < 3; ++i) {
        if (const auto price = extra.constFind(QLatin1StringView(kPriceKeys[i]));
            price != extra.constEnd()) {
            const QString v = price->toString();
            // Stored as given, even when it reads like the amount's own text.
            if (i == 0) e.setPaymentPrice(v.isNull() ? QStringLiteral("") : v);
            if (i == 1) e.setDepositPrice(v.isNull() ? QStringLiteral("") : v);
            if (i == 2) e.setBalancePrice(v.isNull() ? QStringLiteral("") : v);
        }
    }
    e.setStatus(extra.value(u"status").toInt());
    if (extra.contains(u"bank_summary"))
        e.setImportedSummary(QString());
    const QJsonArray reserved = extra.value(u"reserved").toArray();
    for (int i = 0; i < reserved.size() && i < LedgerEntry::kReservedTexts; ++i)
        e.setReservedText(i + 1, reserved.at(i).toString());
    const QJsonArray pictures = extra.value(u"pictures").toArray();
    for (int i = 0; i < pictures.size() && i < LedgerEntry::kPictures; ++i) {
        if (!pictures.at(i).isNull())
            e.setPicture(i, QByteArray::fromBase64(pictures.at(i).toString().toLatin1()));
    }
}

} // namespace

namespace EntryRow {

void bind(SqlStatement &statement, int row, int account, const LedgerEntry &e, bool keepId)
{
    // Parameters count from 1, each row's after the rows before it.
    struct Row {
        SqlStatement &s;
        int offset;
        void bind(int index, qint64 v) { s.bind(offset + index, v); }
        void bind(int index, QStringView v) { s.bind(offset + index, v); }
        void bind(int index, const QString &v) { s.bind(offset + index, v); }
        void bindNull(int index) { s.bindNull(offset + index); }
    } s{statement, row * kInsertedColumns};
    if (keepId)
        s.bind(1, e.id());
    else
        s.bindNull(1);
    s.bind(2, qint64(account));
    s.bind(3, dayNumber(e.year(), e.month(), e.day()));
    if (e.timeState() == LedgerEntry::TextState::Null)
        s.bindNull(4);
    else
        s.bind(4, timeNumber(e.hour(), e.minute(), e.second()));
    s.bind(5, qint64(e.orderNumber()));
    s.bind(6, QStringView(e.summary()));
    if (e.importedSummary() == e.summary())
        s.bindNull(7);
    else
        s.bind(7, QStringView(e.importedSummary()));
    s.bind(8, qint64(e.payment()));
    s.bind(9, qint64(e.deposit()));
    s.bind(10, qint64(e.balance()));
    s.bind(11, e.details().isEmpty() ? QString() : e.details());
    s.bind(12, qint64(e.marked()));
    s.bind(13, qint64(e.summaryKind()));
    s.bind(14, QStringView(searchTextOf(e)));
    s.bind(15, extraOf(e));
}

LedgerEntry read(const SqlStatement &s)
{
    LedgerEntry e;
    e.setId(s.integer(0));
    const qint64 day = s.integer(1);
    // Floor division keeps the month and day right for years before 0.
    const qint64 year = day >= 0 ? day / 10000 : -((-day + 9999) / 10000);
    const qint64 rest = day - year * 10000;
    e.setYear(int(year));
    e.setMonth(int(rest / 100));
    e.setDay(int(rest % 100));
    e.setDateFromNumbers();
    if (!s.isNull(2)) {
        const qint64 time = s.integer(2);
        e.setHour(int(time / 10000));
        e.setMinute(int(time / 100 % 100));
        e.setSecond(int(time % 100));
        e.setTimeFromNumbers();
    }
    e.setOrderNumber(int(s.integer(3)));
    e.setSummary(s.text(4));
    e.setImportedSummary(s.isNull(5) ? e.summary() : s.text(5));
    e.setPayment(int(s.integer(6)));
    e.setDeposit(int(s.integer(7)));
    e.setBalance(int(s.integer(8)));
    e.setDetails(s.isNull(9) ? QStringLiteral("") : s.text(9));
    e.setMarked(int(s.integer(10)));
    e.setSummaryKind(int(s.integer(11)));
    if (!s.isNull(12))
        readExtra(e, s.text(12));
    e.setAccount(Bank(s.integer(13)));
    return e;
}

QString folded(QStringView text)
{
    // ICU's NFKC_Casefold does both in one pass, and answers at once for the texts it leaves
    // as they are.
    UErrorCode status = U_ZERO_ERROR;
    static const UNormalizer2 *const nfkcCasefold = unorm2_getNFKCCasefoldInstance(&status);
    const auto *source = reinterpret_cast<const UChar *>(text.utf16());
    const auto length = int32_t(text.size());
    if (!nfkcCasefold || length == 0)
        return text.toString().toCaseFolded();
    status = U_ZERO_ERROR;
    if (unorm2_spanQuickCheckYes(nfkcCasefold, source, length, &status) == length
        && U_SUCCESS(status))
        return text.toString();
    QString out(text.size() + 16, Qt::Uninitialized);
    for (;;) {
        status = U_ZERO_ERROR;
        const int32_t made = unorm2_normalize(nfkcCasefold, source, length,
                                              reinterpret_cast<UChar *>(out.data()),
                                              int32_t(out.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(made);
            continue;
        }
        if (U_FAILURE(status))
            return text.toString().toCaseFolded();
        out.truncate(made);
        return out;
    }
}

QString searchTextOf(const LedgerEntry &e)
{
    if (e.details().isEmpty())
        return folded(e.summary());
    return folded(QString(e.summary() + u'\n' + e.details()));
}

} // namespace EntryRow
