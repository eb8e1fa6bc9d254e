#pragma once

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

#include <array>
#include <cstddef>
#include <memory>

class LedgerEntry;
using LedgerEntryPtr = QExplicitlySharedDataPointer<LedgerEntry>;

// One operation of a bank account as a statement reports it, plus the user's mark and note.
//
// Entries are shared by reference between the ledger and the monthly and search lists, and are
// not changed once they are in the ledger: a mark or an edit builds a replacement entry. The old
// entry then points at its replacement (successor), so that a list still holding the old object
// can find the entry that stands in the ledger now.
//
// Memory matters (a ledger may hold a million entries): the date and time texts and the price
// strings are a function of their numbers and are computed when asked for, and the imported
// summary is most often the summary itself; only a text that differs from what the numbers or
// the summary give, the details and the reserved fields, which are almost always empty, are
// stored, out of line.
class LedgerEntry : public QSharedData
{
public:
    LedgerEntry() = default;
    LedgerEntry(const LedgerEntry &) = delete;
    LedgerEntry &operator=(const LedgerEntry &) = delete;
    ~LedgerEntry();

    static LedgerEntryPtr create() { return LedgerEntryPtr(new LedgerEntry); }
    // Entries come from a pool of their own (see LedgerEntry.cpp).
    static void *operator new(std::size_t size);
    static void operator delete(void *entry, std::size_t size);

    int year() const { return m_year; }
    void setYear(int v)
    {
        if (m_date == TextState::FromNumbers)
            storeDate(); // the text stays as it was
        m_year = v;
    }
    int month() const { return m_month; }
    void setMonth(int v)
    {
        if (m_date == TextState::FromNumbers)
            storeDate(); // the text stays as it was
        m_month = v;
    }
    int day() const { return m_day; }
    void setDay(int v)
    {
        if (m_date == TextState::FromNumbers)
            storeDate(); // the text stays as it was
        m_day = v;
    }
    int hour() const { return m_hour; }
    void setHour(int v)
    {
        if (m_time == TextState::FromNumbers)
            storeTime(); // the text stays as it was
        m_hour = v;
    }
    int minute() const { return m_minute; }
    void setMinute(int v)
    {
        if (m_time == TextState::FromNumbers)
            storeTime(); // the text stays as it was
        m_minute = v;
    }
    int second() const { return m_second; }
    void setSecond(int v)
    {
        if (m_time == TextState::FromNumbers)
            storeTime(); // the text stays as it was
        m_second = v;
    }
    int orderNumber() const { return m_orderNumber; }
    void setOrderNumber(int v) { m_orderNumber = v; }
    int payment() const { return m_payment; }
    void setPayment(int v) { m_payment = v; }
    int deposit() const { return m_deposit; }
    void setDeposit(int v) { m_deposit = v; }
    int balance() const { return m_balance; }
    void setBalance(int v) { m_balance = v; }
    int summaryKind() const { return m_summaryKind; }
    void setSummaryKind(int v) { m_summaryKind = v; }
    int status() const { return m_status; }
    void setStatus(int v) { m_status = v; }
    int marked() const { return m_marked; }
    void setMarked(int v) { m_marked = v; }

    QString date() const;
    void setDate(const QString &v);
    QString time() const;
    void setTime(const QString &v);
    const QString &summary() const { return m_summary; }
    void setSummary(const QString &v);
    QString details() const { return m_extra ? m_extra->details : QString(); }
    void setDetails(const QString &v);

    QString paymentPrice() const;
    void setPaymentPrice(const QString &v);
    QString depositPrice() const;
    void setDepositPrice(const QString &v);
    QString balancePrice() const;
    void setBalancePrice(const QString &v);

    // The summary as the statement gave it; the duplicate test compares this one, so that
    // editing a summary does not make a later import of the same line add it again.
    // Kept in the archive's first reserved text field.
    QString importedSummary() const;
    void setImportedSummary(const QString &v);
    // Whether the date text is the one made of the year, month and day (so are the texts of
    // almost every entry).
    bool hasDateFromNumbers() const { return m_date == TextState::FromNumbers; }
    bool hasTimeFromNumbers() const { return m_time == TextState::FromNumbers; }

    // Reserved fields: never used by Moriva, carried through the archive unchanged.
    // reservedText(0) is the imported summary; 1..4 are free. Pictures are absent (null) by default.
    QString reservedText(int index) const;
    void setReservedText(int index, const QString &v);
    QByteArray picture(int index) const;
    void setPicture(int index, const QByteArray &v);
    bool hasOutOfLineFields() const { return bool(m_extra); }

    // A new entry carrying every record field of this one (reserved fields stay at their
    // defaults), ready to take a changed mark, summary or details.
    LedgerEntryPtr makeReplacement() const;

    // The entry that replaced this one by a mark or an edit, if any.
    LedgerEntry *successor() const { return m_successor.data(); }
    void setSuccessor(const LedgerEntryPtr &next) const { m_successor = next; }
    // Follows successors to the newest replacement (this entry when it was never replaced).
    const LedgerEntry *latest() const;

    // Field-by-field equality of the record (not of the successor link).
    bool sameRecord(const LedgerEntry &other) const;

private:
    // Where a date or time text is: none (null), the text the numbers give, or out of line.
    enum class TextState : quint8 { Null, FromNumbers, Stored };
    // The numbers' date or time text, held in blocks that live as long as the process; null
    // for numbers beyond those blocks.
    QString dateFromNumbers() const;
    QString timeFromNumbers() const;
    void storeDate();
    void storeTime();

    struct OutOfLine {
        QString date, time;         // when stored (TextState::Stored)
        QString details;
        QString importedSummary;    // when it is not the summary and not null
        // Price texts that differ from the text made from the amount; null when they agree.
        QString paymentPrice, depositPrice, balancePrice;
        std::array<QString, 4> reservedTexts; // the free reserved texts 1 … 4
        std::array<QByteArray, 3> pictures;  // null means absent
        bool isDefault() const;
    };
    OutOfLine &extra();
    void dropExtraIfDefault();
    // Sets a date or time text: kept as "from the numbers" when it is the text they give
    // (`made`), otherwise stored out of line.
    void setNumbersText(TextState &state, QString OutOfLine::*stored, const QString &v,
                        const QString &made);

    qint32 m_year = 0;
    qint32 m_month = 0;
    qint32 m_day = 0;
    qint32 m_hour = 0;
    qint32 m_minute = 0;
    qint32 m_second = 0;
    qint32 m_orderNumber = 0;
    qint32 m_payment = 0;
    qint32 m_deposit = 0;
    qint32 m_balance = 0;
    qint32 m_summaryKind = 0;
    qint32 m_status = 0;
    qint32 m_marked = 0;

    TextState m_date = TextState::Null;
    TextState m_time = TextState::Null;
    bool m_importedIsSummary = false; // else the imported summary is out of line, or null

    QString m_summary;
    std::unique_ptr<OutOfLine> m_extra;
    mutable LedgerEntryPtr m_successor;
};
