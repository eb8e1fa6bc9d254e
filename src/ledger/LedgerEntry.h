#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>

class LedgerEntry;

// A handle on an entry. Entries are never freed while the process runs (see LedgerEntry), so a
// handle is a plain pointer: copying one, or a list of a million, touches no reference count.
class LedgerEntryPtr
{
public:
    LedgerEntryPtr() = default;
    explicit LedgerEntryPtr(LedgerEntry *entry)
        : m_entry(entry)
    {
    }
    LedgerEntry *data() const { return m_entry; }
    LedgerEntry *operator->() const { return m_entry; }
    LedgerEntry &operator*() const { return *m_entry; }
    explicit operator bool() const { return m_entry != nullptr; }
    bool operator!() const { return m_entry == nullptr; }
    friend bool operator==(const LedgerEntryPtr &a, const LedgerEntryPtr &b) = default;
    friend bool operator==(const LedgerEntryPtr &a, const LedgerEntry *b) { return a.m_entry == b; }

private:
    LedgerEntry *m_entry = nullptr;
};

// One operation of a bank account as a statement reports it, plus the user's mark and note.
//
// Entries are shared by reference between the ledger and the monthly and search lists, and are
// not changed once they are in the ledger: a mark or an edit builds a replacement entry. The old
// entry then points at its replacement (successor), so that a list still holding the old object
// can find the entry that stands in the ledger now.
//
// An entry is a record of 32 bytes with no pointer in it, the same in memory as in the archive:
// a loaded archive's entries are read where the file is mapped, without being built one by one,
// and entries made in this process come from blocks of many. Nothing is freed before the process
// ends. The summary is the number of a text in a table (TextPool). What is rare lives beside the
// record, found by its address: texts that differ from what the numbers or the summary give, the
// details, reserved fields, numbers too large for the record's fields, and the successor.
class LedgerEntry
{
public:
    LedgerEntry(const LedgerEntry &) = delete;
    LedgerEntry &operator=(const LedgerEntry &) = delete;

    static LedgerEntryPtr create();

    int year() const { return isWide() ? wide(0) : m_year; }
    void setYear(int v);
    int month() const { return isWide() ? wide(1) : m_month; }
    void setMonth(int v);
    int day() const { return isWide() ? wide(2) : m_day; }
    void setDay(int v);
    int hour() const { return isWide() ? wide(3) : m_hour; }
    void setHour(int v);
    int minute() const { return isWide() ? wide(4) : m_minute; }
    void setMinute(int v);
    int second() const { return isWide() ? wide(5) : m_second; }
    void setSecond(int v);
    int orderNumber() const { return m_orderNumber; }
    void setOrderNumber(int v) { m_orderNumber = v; }
    int payment() const { return m_payment; }
    void setPayment(int v) { m_payment = v; }
    int deposit() const { return m_deposit; }
    void setDeposit(int v) { m_deposit = v; }
    int balance() const { return m_balance; }
    void setBalance(int v) { m_balance = v; }
    int summaryKind() const { return isWide() ? wide(6) : m_kind; }
    void setSummaryKind(int v);
    int status() const { return isWide() ? wide(7) : int((m_bits >> kStatusShift) & 0xff); }
    void setStatus(int v);
    int marked() const { return isWide() ? wide(8) : int((m_bits >> kMarkedShift) & 0xff); }
    void setMarked(int v);

    QString date() const;
    void setDate(const QString &v);
    QString time() const;
    void setTime(const QString &v);
    QString summary() const;
    void setSummary(const QString &v);
    QString details() const;
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
    bool hasDateFromNumbers() const { return dateState() == TextState::FromNumbers; }
    bool hasTimeFromNumbers() const { return timeState() == TextState::FromNumbers; }
    bool hasImportedSummaryAsSummary() const { return m_bits & kImportedIsSummary; }

    // Reserved fields: never used by Moriva, carried through the archive unchanged.
    // reservedText(0) is the imported summary; 1..4 are free. Pictures are absent (null) by default.
    QString reservedText(int index) const;
    void setReservedText(int index, const QString &v);
    QByteArray picture(int index) const;
    void setPicture(int index, const QByteArray &v);
    bool hasOutOfLineFields() const { return m_bits & kHasExtra; }

    // A new entry carrying every record field of this one (reserved fields stay at their
    // defaults), ready to take a changed mark, summary or details.
    LedgerEntryPtr makeReplacement() const;

    // The entry that replaced this one by a mark or an edit, if any.
    LedgerEntry *successor() const;
    void setSuccessor(const LedgerEntryPtr &next) const;
    // Follows successors to the newest replacement (this entry when it was never replaced).
    const LedgerEntry *latest() const;

    // Field-by-field equality of the record (not of the successor link).
    bool sameRecord(const LedgerEntry &other) const;

    // The record's bits as the archive keeps them.
    enum Bits : quint32 {
        kDateState = 0x3,        // TextState of the date text
        kTimeShift = 2,          // TextState of the time text, shifted
        kImportedIsSummary = 1 << 4,
        kHasExtra = 1 << 5,      // fields beside the record (see ExtraFields)
        kWide = 1 << 6,          // the small numbers are beside the record
        kStatusShift = 8,
        kMarkedShift = 16,
        kKnownBits = 0x00ffff7f,
    };
    // Where a date or time text is: none (null), the text the numbers give, or beside the record.
    enum class TextState : quint8 { Null, FromNumbers, Stored };
    quint32 bits() const { return m_bits; }
    quint32 summaryId() const { return m_summary; }
    // The record as the archive keeps it: 32 bytes, little-endian, laid out as in memory, with
    // the summary's number in the archive's text table.
    static constexpr int kRecordBytes = 32;
    void writeRecord(uchar *out, quint32 summaryId) const;
    // Fills an entry made in this process from such bytes; the summary's number is one of this
    // process's table.
    static void readRecord(const uchar *in, LedgerEntry &into, quint32 summaryId);
    // Whether the bytes can be a record of an archive with that many texts: a loaded archive's
    // records are checked before they are used.
    static bool isValidRecord(const uchar *record, quint32 textCount);
    // Where a record keeps its summary's number.
    static constexpr int kSummaryOffset = 28;

private:
    friend class EntryStore;
    LedgerEntry() = default;

    TextState dateState() const { return TextState(m_bits & kDateState); }
    TextState timeState() const { return TextState((m_bits >> kTimeShift) & 0x3); }
    void setDateState(TextState s) { m_bits = (m_bits & ~quint32(kDateState)) | quint32(s); }
    void setTimeState(TextState s)
    {
        m_bits = (m_bits & ~(quint32(0x3) << kTimeShift)) | (quint32(s) << kTimeShift);
    }
    bool isWide() const { return m_bits & kWide; }
    int wide(int index) const;
    // Sets one of the small numbers (index as in wide()); one that does not fit the record's
    // field moves them all beside the record.
    void setSmall(int index, int v);
    void setDateNumber(int index, int v);
    void setTimeNumber(int index, int v);
    QString dateFromNumbers() const;
    QString timeFromNumbers() const;
    void storeDate();
    void storeTime();

    quint32 m_bits = 0;
    quint16 m_year = 0;
    quint8 m_month = 0;
    quint8 m_day = 0;
    quint8 m_hour = 0;
    quint8 m_minute = 0;
    quint8 m_second = 0;
    quint8 m_kind = 0;
    qint32 m_orderNumber = 0;
    qint32 m_payment = 0;
    qint32 m_deposit = 0;
    qint32 m_balance = 0;
    quint32 m_summary = 0; // a TextPool number; 0 is the null text
};

static_assert(sizeof(LedgerEntry) == 32);
