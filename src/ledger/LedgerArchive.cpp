#include "LedgerArchive.h"

#include "AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace LedgerArchive {
namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("LedgerArchive", text);
}
} // namespace

LoadResult load(const QString &path)
{
    LoadResult result;
    if (!exists(path)) {
        result.status = LoadStatus::Missing;
        return result;
    }
    result.status = LoadStatus::Unreadable;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.error = tr("%1 is a folder, not a ledger archive.").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = tr("Cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    QString why;
    if (!decode(data, &result.items, &why)) {
        result.error = tr("Cannot read %1: %2").arg(path, why);
        return result;
    }
    result.status = LoadStatus::Loaded;
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
