#include "ArchiveLayout.h"
#include "AtomicFile.h"
#include "PrivateCopy.h"

#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace LedgerArchive {

namespace {

// An archive file opened for reading: a private copy of it mapped where the system makes one
// (read into memory otherwise). A mapping that entries are read from is kept for as long as the
// process runs.
class ArchiveBytes
{
public:
    // Opens the file; Missing and Unreadable (with the error) when there is nothing to read.
    // The bytes are those of a private copy where the system makes one: another program that
    // cuts the file short meanwhile cannot make reading them fail (SIGBUS).
    LoadStatus open(const QString &path, QString *error)
    {
        if (!exists(path))
            return LoadStatus::Missing;
        if (QFileInfo(path).isDir()) {
            *error = QCoreApplication::translate("LedgerArchive", "%1 is a folder, not a ledger archive.").arg(path);
            return LoadStatus::Unreadable;
        }
        m_file = std::make_unique<QFile>(path);
        if (!m_file->open(QIODevice::ReadOnly)) {
            *error = QCoreApplication::translate("LedgerArchive", "Cannot open %1: %2").arg(path, m_file->errorString());
            return LoadStatus::Unreadable;
        }
        const qint64 size = m_file->size();
        if ((m_private = PrivateCopy::map(*m_file, size, QFileInfo(path).absolutePath()))) {
            m_data = m_private;
            m_size = size;
            return LoadStatus::Loaded;
        }
        m_copy = m_file->readAll();
        if (m_file->error() != QFileDevice::NoError) {
            *error = QCoreApplication::translate("LedgerArchive", "Cannot read %1: %2").arg(path, m_file->errorString());
            return LoadStatus::Unreadable;
        }
        m_data = reinterpret_cast<const uchar *>(m_copy.constData());
        m_size = m_copy.size();
        return LoadStatus::Loaded;
    }
    ~ArchiveBytes()
    {
        if (!m_kept)
            PrivateCopy::unmap(m_private, m_size);
    }
    const uchar *data() const { return m_data; }
    qint64 size() const { return m_size; }
    // Whether entries can be read where the bytes lie, for as long as the process runs.
    bool isKeepable() const { return m_private != nullptr; }
    // The private copy's mapping stays: entries are read where they lie.
    void keep() { m_kept = true; }

private:
    std::unique_ptr<QFile> m_file;
    QByteArray m_copy;
    const uchar *m_data = nullptr;
    const uchar *m_private = nullptr;
    qint64 m_size = 0;
    bool m_kept = false;
};

// The entries of a current-version archive, read where they lie mapped.
bool useInPlace(ArchiveBytes &bytes, const Layout &layout, QList<LedgerEntryPtr> *items)
{
    const auto *first = reinterpret_cast<LedgerEntry *>(const_cast<uchar *>(layout.records));
    QList<std::pair<qsizetype, ExtraFields>> extras;
    if (!readExtrasOf(layout, [&extras](qsizetype i, ExtraFields &&extra) {
            extras.append({i, std::move(extra)});
        }))
        return false;
    if (!EntryStore::instance().addMappedEntries(
            first, first + layout.entryCount, std::make_unique<MappedTextTable>(layout.texts())))
        return false;
    bytes.keep();
    auto *entries = const_cast<LedgerEntry *>(first);
    for (auto &[index, extra] : extras)
        EntryStore::instance().extraFor(entries + index) = std::move(extra);
    QList<LedgerEntryPtr> result;
    result.resize(layout.entryCount);
    for (quint32 i = 0; i < layout.entryCount; ++i)
        result[i] = LedgerEntryPtr(entries + i);
    *items = std::move(result);
    return true;
}

// Opens and checks the archive at the path. Of the current version, `current` makes what the
// caller needs; of earlier ones, the entries are decoded into `legacy`.
LoadStatus readArchive(const QString &path, QString *error,
                       QList<LedgerEntryPtr> *legacy,
                       const std::function<bool(ArchiveBytes &, const Layout &, QString *)> &current,
                       bool *olderVersion = nullptr)
{
    ArchiveBytes bytes;
    const LoadStatus status = bytes.open(path, error);
    if (status != LoadStatus::Loaded)
        return status;
    QString why;
    const Layout layout = Layout::read(bytes.data(), bytes.size(), &why);
    bool read = false;
    switch (layout.kind) {
    case Layout::Kind::Unreadable:
        break;
    case Layout::Kind::Legacy:
        read = decodeLegacy(QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()),
                                                    layout.contentBytes),
                            legacy, &why);
        if (olderVersion)
            *olderVersion = true;
        break;
    case Layout::Kind::Current:
        read = current(bytes, layout, &why);
        break;
    }
    if (read)
        return LoadStatus::Loaded;
    *error = QCoreApplication::translate("LedgerArchive", "Cannot read %1: %2").arg(path, why);
    return LoadStatus::Unreadable;
}

} // namespace

LoadResult load(const QString &path)
{
    LoadResult result;
    result.status = readArchive(path, &result.error, &result.items,
                                [&result](ArchiveBytes &bytes, const Layout &layout, QString *why) {
                                    return (bytes.isKeepable() && useInPlace(bytes, layout, &result.items))
                                        || entriesOf(layout, &result.items, why);
                                },
                                &result.olderVersion);
    return result;
}

CheckResult check(const QString &path)
{
    CheckResult result;
    QList<LedgerEntryPtr> legacy;
    result.status = readArchive(path, &result.error, &legacy,
                                [&result](ArchiveBytes &, const Layout &layout, QString *why) {
                                    result.entries = layout.entryCount;
                                    if (readExtrasOf(layout, [](qsizetype, ExtraFields &&) {}))
                                        return true;
                                    *why = QCoreApplication::translate("LedgerArchive", "The archive is damaged or incomplete.");
                                    return false;
                                });
    if (!legacy.isEmpty()) // an earlier version, read entry by entry
        result.entries = legacy.size();
    return result;
}

bool save(const QString &path, const QList<LedgerEntryPtr> &items, QString *error)
{
    if (!AtomicFile::write(path, [&items](QIODevice *file) { return writeTo(file, items); },
                           error))
        return false;
    tagFileType(path);
    return true;
}

bool exists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void tagFileType(const QString &path)
{
#ifdef Q_OS_LINUX
    const QByteArray name = QFile::encodeName(path);
    ::setxattr(name.constData(), "user.moriva.type", "mvrk", 4, 0);
    ::setxattr(name.constData(), "user.moriva.creator", "MVRK", 4, 0);
#else
    Q_UNUSED(path);
#endif
}

} // namespace LedgerArchive
