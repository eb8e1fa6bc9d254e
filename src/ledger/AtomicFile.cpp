#include "AtomicFile.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace AtomicFile {

bool write(const QString &path, const std::function<bool(QIODevice *)> &writeContent,
           QString *error)
{
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly) && writeContent(&file) && file.flush()) {
        errno = 0;
        if (file.commit())
            return true;
    }
    // QSaveFile often reports a failed write as "Unknown error"; the system knows better.
    const int systemError = errno;
    if (error) {
        const QString reason = systemError != 0 ? QString::fromLocal8Bit(std::strerror(systemError))
                                                : file.errorString();
        *error = QCoreApplication::translate("AtomicFile", "Cannot write %1: %2").arg(path, reason);
    }
    file.cancelWriting();
    return false;
}

} // namespace AtomicFile
