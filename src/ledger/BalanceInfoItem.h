#pragma once

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

#include <array>
#include <memory>

class BalanceInfoItem;
using BalanceInfoItemPtr = QExplicitlySharedDataPointer<BalanceInfoItem>;

// One operation of a bank account as a statement reports it, plus the user's mark and note.
//
// Entries are shared by reference between the ledger and the monthly and search lists, and are
// not changed once they are in the ledger: a mark or an edit builds a replacement entry. The old
// entry then points at its replacement (successor), so that a list still holding the old object
// can find the entry that stands in the ledger now.
//
// Memory matters (a ledger may hold a million entries): the price strings are a function of
// their amounts and are computed when asked for; only a price text that differs from that
// function, and the reserved fields that are almost always empty, are stored, out of line.
class BalanceInfoItem : public QSharedData
{
public:
    BalanceInfoItem() = default;
    BalanceInfoItem(const BalanceInfoItem &) = delete;
    BalanceInfoItem &operator=(const BalanceInfoItem &) = delete;
    ~BalanceInfoItem();

    static BalanceInfoItemPtr create() { return BalanceInfoItemPtr(new BalanceInfoItem); }

    int operationYear() const { return operation_year; }
    void setOperationYear(int v) { operation_year = v; }
    int operationMonth() const { return operation_month; }
    void setOperationMonth(int v) { operation_month = v; }
    int operationDay() const { return operation_day; }
    void setOperationDay(int v) { operation_day = v; }
    int operationHour() const { return operation_hour; }
    void setOperationHour(int v) { operation_hour = v; }
    int operationMinute() const { return operation_minute; }
    void setOperationMinute(int v) { operation_minute = v; }
    int operationSecond() const { return operation_second; }
    void setOperationSecond(int v) { operation_second = v; }
    int operationOrder() const { return operation_order; }
    void setOperationOrder(int v) { operation_order = v; }
    int payment() const { return m_payment; }
    void setPayment(int v) { m_payment = v; }
    int deposit() const { return m_deposit; }
    void setDeposit(int v) { m_deposit = v; }
    int balance() const { return m_balance; }
    void setBalance(int v) { m_balance = v; }
    int summaryKind() const { return summary_kind; }
    void setSummaryKind(int v) { summary_kind = v; }
    int status() const { return m_status; }
    void setStatus(int v) { m_status = v; }
    int marked() const { return m_marked; }
    void setMarked(int v) { m_marked = v; }

    const QString &operationDate() const { return operation_date; }
    void setOperationDate(const QString &v) { operation_date = v; }
    const QString &operationTime() const { return operation_time; }
    void setOperationTime(const QString &v) { operation_time = v; }
    const QString &summary() const { return m_summary; }
    void setSummary(const QString &v) { m_summary = v; }
    const QString &details() const { return m_details; }
    void setDetails(const QString &v) { m_details = v; }

    QString paymentPrice() const;
    void setPaymentPrice(const QString &v);
    QString depositPrice() const;
    void setDepositPrice(const QString &v);
    QString balancePrice() const;
    void setBalancePrice(const QString &v);

    // The summary as the statement gave it; the duplicate test compares this one, so that
    // editing a summary does not make a later import of the same line add it again.
    // Kept in the archive's first reserved text field.
    const QString &importedSummary() const { return imported_summary; }
    void setImportedSummary(const QString &v) { imported_summary = v; }

    // Reserved fields: never used by Moriva, carried through the archive unchanged.
    // dummyString(0) is the imported summary; 1..4 are free. Pictures are absent (null) by default.
    QString dummyString(int index) const;
    void setDummyString(int index, const QString &v);
    QByteArray picture(int index) const;
    void setPicture(int index, const QByteArray &v);
    bool hasOutOfLineFields() const { return bool(m_extra); }

    // A new entry carrying every record field of this one (reserved fields stay at their
    // defaults), ready to take a changed mark, summary or details.
    BalanceInfoItemPtr makeReplacement() const;

    // The entry that replaced this one by a mark or an edit, if any.
    BalanceInfoItem *successor() const { return m_successor.data(); }
    void setSuccessor(const BalanceInfoItemPtr &next) const { m_successor = next; }
    // Follows successors to the newest replacement (this entry when it was never replaced).
    const BalanceInfoItem *latest() const;

    // Field-by-field equality of the record (not of the successor link).
    bool sameRecord(const BalanceInfoItem &other) const;

private:
    struct OutOfLine {
        // Price texts that differ from the text made from the amount; null when they agree.
        QString paymentPrice, depositPrice, balancePrice;
        std::array<QString, 4> dummyStrings; // dummy_string_2 … dummy_string_5
        std::array<QByteArray, 3> pictures;  // picture_1 … picture_3; null means absent
        bool isDefault() const;
    };
    OutOfLine &extra();
    void dropExtraIfDefault();

    qint32 operation_year = 0;
    qint32 operation_month = 0;
    qint32 operation_day = 0;
    qint32 operation_hour = 0;
    qint32 operation_minute = 0;
    qint32 operation_second = 0;
    qint32 operation_order = 0;
    qint32 m_payment = 0;
    qint32 m_deposit = 0;
    qint32 m_balance = 0;
    qint32 summary_kind = 0;
    qint32 m_status = 0;
    qint32 m_marked = 0;

    QString operation_date;
    QString operation_time;
    QString m_summary;
    QString m_details;
    QString imported_summary;

    std::unique_ptr<OutOfLine> m_extra;
    mutable BalanceInfoItemPtr m_successor;
};
