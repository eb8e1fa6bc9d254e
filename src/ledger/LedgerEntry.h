#pragma once

#include "Bank.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

// One operation of a bank account as a statement reports it, plus the user's mark and note: a
// plain value. The ledger database names each stored entry by its id; the read side hands out
// copies, and only the import path and the database build entries.
//
// The date and time texts are the ones the numbers give (2026/03/05, 09:30:05) unless a statement
// or an older archive gave other texts, which are then kept as they were. A price text is the
// one its amount gives (1,500円) unless another was stored.
class LedgerEntry
{
public:
    // Where a date or time text comes from: none (null), the numbers, or a text of its own.
    enum class TextState : quint8 { Null, FromNumbers, Stored };

    qint64 id() const { return m_id; } // 0 until the entry is stored
    void setId(qint64 id) { m_id = id; }
    // The account it is stored in; None until it is stored.
    Bank account() const { return m_account; }
    void setAccount(Bank account) { m_account = account; }

    int year() const { return m_numbers[Year]; }
    void setYear(int v) { setDateNumber(Year, v); }
    int month() const { return m_numbers[Month]; }
    void setMonth(int v) { setDateNumber(Month, v); }
    int day() const { return m_numbers[Day]; }
    void setDay(int v) { setDateNumber(Day, v); }
    int hour() const { return m_numbers[Hour]; }
    void setHour(int v) { setTimeNumber(Hour, v); }
    int minute() const { return m_numbers[Minute]; }
    void setMinute(int v) { setTimeNumber(Minute, v); }
    int second() const { return m_numbers[Second]; }
    void setSecond(int v) { setTimeNumber(Second, v); }
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
    TextState dateState() const { return m_dateState; }
    TextState timeState() const { return m_timeState; }
    bool hasDateFromNumbers() const { return m_dateState == TextState::FromNumbers; }
    bool hasTimeFromNumbers() const { return m_timeState == TextState::FromNumbers; }
    // The texts become the ones the numbers give, without making them (the database's reads).
    void setDateFromNumbers() { m_dateState = TextState::FromNumbers; m_date.clear(); }
    void setTimeFromNumbers() { m_timeState = TextState::FromNumbers; m_time.clear(); }

    QString summary() const { return m_summary; }
    void setSummary(const QString &v) { m_summary = v; }
    // The note the user wrote.
    QString details() const { return m_details; }
    void setDetails(const QString &v) { m_details = v; }
    // The summary as the statement gave it; the duplicate test compares this one, so that
    // editing a summary does not make a later import of the same line add it again.
    QString importedSummary() const { return m_importedSummary; }
    void setImportedSummary(const QString &v) { m_importedSummary = v; }
    bool isSummaryEdited() const { return m_summary != m_importedSummary; }

    // The amounts as texts: the ones the amounts give, unless others were stored.
    QString paymentPrice() const;
    void setPaymentPrice(const QString &v) { setPrice(PaymentPrice, v); }
    QString depositPrice() const;
    void setDepositPrice(const QString &v) { setPrice(DepositPrice, v); }
    QString balancePrice() const;
    void setBalancePrice(const QString &v) { setPrice(BalancePrice, v); }
    // A price text of its own (null when the amount's text is meant), for the database.
    QString storedPrice(int index) const { return m_prices[size_t(index)]; }

    // Reserved fields of older archives: never used by Moriva, carried along unchanged.
    // reservedText(0) is the imported summary; 1..4 are free. Pictures are absent (null).
    QString reservedText(int index) const;
    void setReservedText(int index, const QString &v);
    QByteArray picture(int index) const;
    void setPicture(int index, const QByteArray &v);

    // Field-by-field equality, the id left out.
    bool sameRecord(const LedgerEntry &other) const;

    enum PriceIndex { PaymentPrice, DepositPrice, BalancePrice };
    static constexpr int kReservedTexts = 4;
    static constexpr int kPictures = 3;

private:
    enum NumberIndex { Year, Month, Day, Hour, Minute, Second };
    void setDateNumber(NumberIndex index, int v);
    void setTimeNumber(NumberIndex index, int v);
    void setPrice(PriceIndex index, const QString &v);
    QString priceOf(PriceIndex index, int amount) const;

    qint64 m_id = 0;
    Bank m_account = Bank::None;
    std::array<int, 6> m_numbers{};
    int m_orderNumber = 0;
    int m_payment = 0;
    int m_deposit = 0;
    int m_balance = 0;
    int m_summaryKind = 0;
    int m_status = 0;
    int m_marked = 0;
    TextState m_dateState = TextState::Null;
    TextState m_timeState = TextState::Null;
    QString m_date; // only when Stored
    QString m_time;
    QString m_summary;
    QString m_importedSummary;
    QString m_details;
    std::array<QString, 3> m_prices;
    std::array<QString, kReservedTexts> m_reservedTexts;
    std::array<QByteArray, kPictures> m_pictures;
};
