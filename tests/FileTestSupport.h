#pragma once

// Reading and writing test files, and entries of every kind of field: what the tests of the
// storage need, without the window's classes that TestSupport.h brings.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "ledger/LedgerEntry.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Writes the bytes to the file, creating missing folders; false when that fails.
inline bool writeTestFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file's permission bits, not following a link; -1 when nothing is there.
inline int modeOf(const QString &path)
{
    struct stat info{};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// While it lives, writes are cut short at `bytes` a file, whoever runs the test, root included.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{bytes, m_saved.rlim_max};
        m_set = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }
    bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    bool m_set = false;
};

// An entry of that moment, its date and time texts the numbers' own.
inline LedgerEntry entryAt(int y, int mo, int d, int h, int mi, int s, int order,
                           const QString &summary, int payment = 0, int deposit = 0, int balance = 0)
{
    LedgerEntry e;
    e.setYear(y); e.setMonth(mo); e.setDay(d); e.setHour(h); e.setMinute(mi); e.setSecond(s);
    e.setDateFromNumbers(); e.setTimeFromNumbers(); e.setOrderNumber(order);
    e.setSummary(summary); e.setImportedSummary(summary);
    e.setPayment(payment); e.setDeposit(deposit); e.setBalance(balance);
    return e;
}

// What tests/data/ledger-v3.mvrk holds, newest first as it was stored: the fields an archive or
// a database could easily lose (a mark, an edited summary beside the bank's, a note, texts of
// their own, reserved texts, pictures empty and not).
inline QList<LedgerEntry> version3Ledger()
{
    LedgerEntry atm = entryAt(2026, 3, 5, 9, 30, 5, 10, QStringLiteral("ＡＴＭ　髙島屋①㈱～"), 1500, 0, 98500);
    atm.setSummaryKind(1);

    LedgerEntry rent = entryAt(2026, 3, 5, 9, 30, 5, 9, QStringLiteral("振込　ヤチン"), 85000, 0, 100000);
    rent.setSummary(QStringLiteral("家賃（三月分）"));
    rent.setDetails(QStringLiteral("振込先: 大家さん\n二行目"));
    rent.setMarked(1);
    rent.setPaymentPrice(QStringLiteral("八万五千円"));

    LedgerEntry salary = entryAt(2026, 2, 28, 23, 59, 59, 3, QStringLiteral("給与振込"), 0, 185000, 185000);
    for (int i = 1; i <= LedgerEntry::kReservedTexts; ++i)
        salary.setReservedText(i, QStringLiteral("予備%1").arg(i));
    salary.setPicture(0, QByteArray("\x89PNG\0\x01", 6));
    salary.setPicture(1, QByteArray("")); // empty, but present
    salary.setStatus(2);

    LedgerEntry interest = entryAt(2026, 2, 1, 0, 0, 0, 0, QStringLiteral("利息"));
    interest.setTime(QStringLiteral("25:61:61"));
    interest.setDepositPrice(QStringLiteral(""));
    interest.setSummaryKind(3);
    return {atm, rent, salary, interest};
}
