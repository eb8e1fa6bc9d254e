#include "ArchiveMoveIn.h"

#include "Backups.h"
#include "DataFolder.h"
#include "LedgerArchive.h"
#include "LedgerDatabase.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ArchiveMoveIn {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ArchiveMoveIn", text);
}

// The first entry whose numbers cannot be a date and a time, as a message; empty when all can.
// A day is checked against 1 to 31 only: statements have given days such as February 30,
// which the ledger kept as they came.
QString outOfRange(const QList<LedgerEntry> &entries)
{
    const auto within = [](int v, int low, int high) { return v >= low && v <= high; };
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const LedgerEntry &e = entries.at(i);
        if (!within(e.year(), 1, 9999) || !within(e.month(), 1, 12) || !within(e.day(), 1, 31)
            || !within(e.hour(), 0, 23) || !within(e.minute(), 0, 59) || !within(e.second(), 0, 59))
            return tr("entry %1 holds the date %2-%3-%4 %5:%6:%7, which is out of range.")
                .arg(i + 1)
                .arg(e.year())
                .arg(e.month())
                .arg(e.day())
                .arg(e.hour())
                .arg(e.minute())
                .arg(e.second());
    }
    return QString();
}

// Whether the text breaks the entry rules: a control character other than tab (and, in a note,
// the line ends the user typed), or a summary longer than any statement writes.
bool breaksTheRules(const QString &text, bool note, qsizetype maxLength)
{
    if (text.size() > maxLength)
        return true;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const bool lineEnd = c == u'\n' || c == u'\r';
        if ((c < 0x20 && c != u'\t' && !(note && lineEnd)) || (c >= 0x7f && c <= 0x9f))
            return true;
    }
    return false;
}

// Earlier versions kept an eBANK line's terminator at the end of its summary: no part of it.
QString withoutLineEnds(QString text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

// The first entry whose texts break the entry rules, as a message; empty when none does. The
// line ends earlier versions left at the end of summaries are dropped first.
QString brokenText(QList<LedgerEntry> &entries)
{
    constexpr qsizetype kMaxSummary = 1000, kMaxText = 64 * 1024;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        LedgerEntry &e = entries[i];
        e.setSummary(withoutLineEnds(e.summary()));
        e.setImportedSummary(withoutLineEnds(e.importedSummary()));
        const auto broken = breaksTheRules;
        const char *field = nullptr;
        if (broken(e.summary(), false, kMaxSummary)
            || broken(e.importedSummary(), false, kMaxSummary))
            field = QT_TRANSLATE_NOOP("ArchiveMoveIn", "summary");
        else if (broken(e.details(), true, kMaxText))
            field = QT_TRANSLATE_NOOP("ArchiveMoveIn", "note");
        else if (broken(e.date(), false, kMaxSummary) || broken(e.time(), false, kMaxSummary)
                 || broken(e.paymentPrice(), false, kMaxSummary)
                 || broken(e.depositPrice(), false, kMaxSummary)
                 || broken(e.balancePrice(), false, kMaxSummary))
            field = QT_TRANSLATE_NOOP("ArchiveMoveIn", "date, time or price text");
        if (field)
            return tr("the %1 of entry %2 holds a control character or is longer than any "
                      "statement writes.")
                .arg(tr(field))
                .arg(i + 1);
    }
    return QString();
}

// An archive read and checked, ready to be taken in.
struct Candidate {
    Outcome outcome;
    QList<LedgerEntry> entries;
    QString sha256;
};

Candidate readArchive(Bank bank, const QString &path)
{
    Candidate c;
    c.outcome.bank = bank;
    c.outcome.archivePath = path;
    c.outcome.state = Outcome::State::Refused;
    QString why;
    QFile file(path);
    if (!DataFolder::refuseSymlink(path, &why) || !QFileInfo(path).isFile()
        || !file.open(QIODevice::ReadOnly)) {
        c.outcome.message = why.isEmpty() ? tr("Cannot read %1: %2").arg(path, file.errorString()) : why;
        return c;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        c.outcome.message = tr("Cannot read %1: %2").arg(path, file.errorString());
        return c;
    }
    if (!LedgerArchive::decode(bytes, &c.entries, &why) || !(why = outOfRange(c.entries)).isEmpty()
        || !(why = brokenText(c.entries)).isEmpty()) {
        c.outcome.message = tr("%1 is not moved into the database: %2").arg(path, why);
        c.entries.clear();
        return c;
    }
    c.sha256 = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    c.outcome.entries = c.entries.size();
    c.outcome.state = Outcome::State::MovedIn;
    return c;
}

bool wasMovedIn(SqlConnection &connection, const QString &sha256, QString *error)
{
    SqlStatement query;
    if (!query.prepare(connection, "SELECT 1 FROM moved_in WHERE archive_sha256 = ?", error))
        return false;
    query.bind(1, sha256);
    return query.step() == SqlStatement::Step::Row;
}

// Moves the archive file into Backups under its own name, or with " 2", " 3" … before the
// extension when that name is taken: link() never replaces a file already there.
bool moveIntoBackups(const QString &path, const QString &folder, QString *movedTo, QString *error)
{
    const QFileInfo info(path);
    const QByteArray from = QFile::encodeName(path);
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? info.fileName()
                                    : QStringLiteral("%1 %2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
        const QString to = QDir(folder).filePath(name);
        if (::link(from.constData(), QFile::encodeName(to).constData()) == 0) {
            ::unlink(from.constData());
            *movedTo = to;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    *error = tr("Cannot move %1 into %2: %3")
                 .arg(path, folder, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

bool hasArchives(const QString &dataFolder)
{
    for (const Bank bank : {Bank::Jnb, Bank::Ebank}) {
        if (QFileInfo(QDir(dataFolder).filePath(DataFolder::archiveFileName(bank))).exists())
            return true;
    }
    return false;
}

QList<Outcome> run(const QString &dataFolder, LedgerDatabase &database)
{
    QList<Candidate> candidates;
    for (const Bank bank : {Bank::Jnb, Bank::Ebank}) {
        const QString path = QDir(dataFolder).filePath(DataFolder::archiveFileName(bank));
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            candidates.append(readArchive(bank, path));
    }

    // Both banks in one transaction: all of what can be read is taken in, or none of it.
    SqlConnection &connection = database.connection();
    QString error;
    {
        SqlTransaction transaction(connection);
        bool ok = transaction.isActive();
        error = transaction.error();
        SqlStatement record;
        ok = ok
            && record.prepare(connection,
                              "INSERT INTO moved_in (archive_sha256, file_name, account, entries, at) "
                              "VALUES (?, ?, ?, ?, ?)",
                              &error);
        for (Candidate &c : candidates) {
            if (!ok || c.outcome.state != Outcome::State::MovedIn)
                continue;
            if (wasMovedIn(connection, c.sha256, &error)) {
                c.outcome.state = Outcome::State::AlreadyMovedIn;
                continue;
            }
            record.bind(1, c.sha256);
            record.bind(2, QFileInfo(c.outcome.archivePath).fileName());
            record.bind(3, qint64(c.outcome.bank));
            record.bind(4, qint64(c.entries.size()));
            record.bind(5, QDateTime::currentDateTime().toString(Qt::ISODate));
            ok = database.insertEntries(c.outcome.bank, c.entries, &error) && record.run(&error);
        }
        ok = ok && transaction.commit(&error);
        if (!ok) {
            for (Candidate &c : candidates) {
                if (c.outcome.state == Outcome::State::MovedIn) {
                    c.outcome.state = Outcome::State::Failed;
                    c.outcome.message = tr("%1 is not moved into the database: %2")
                                            .arg(c.outcome.archivePath, error);
                }
            }
        }
    }

    // The files go only once the entries are committed; the moved_in rows tell a kill in
    // between from a new archive at the next start.
    const QString folder = Backups::folderOf(dataFolder);
    QString why;
    const bool folderReady = DataFolder::refuseSymlink(folder, &why) && DataFolder::findOrCreate(folder);
    QList<Outcome> outcomes;
    for (Candidate &c : candidates) {
        Outcome &o = c.outcome;
        if (o.state == Outcome::State::MovedIn || o.state == Outcome::State::AlreadyMovedIn) {
            if (!folderReady)
                o.message = why.isEmpty() ? tr("Cannot create the backup folder %1.").arg(folder) : why;
            else if (moveIntoBackups(o.archivePath, folder, &o.keptAs, &why))
                DataFolder::syncFolder(folder);
            else
                o.message = why;
        }
        outcomes.append(o);
    }
    DataFolder::syncFolder(dataFolder);
    return outcomes;
}

} // namespace ArchiveMoveIn
