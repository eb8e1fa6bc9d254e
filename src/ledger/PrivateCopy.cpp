#include "PrivateCopy.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <unistd.h>
#endif

namespace PrivateCopy {

#ifdef Q_OS_LINUX
namespace {

// A file in the folder that has no name, so that no other program can open it.
int unnamedFileIn(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC,
                          0600);
    return fd >= 0 ? fd : ::open(QFile::encodeName(QDir::tempPath()).constData(),
                                 O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

// Copies the bytes in the system: copy_file_range shares blocks on the same file system;
// sendfile copies across file systems.
bool copyBytes(int from, int to, qint64 size)
{
    loff_t in = 0;
    bool sameSystem = true;
    while (in < size) {
        const size_t left = size_t(size - in);
        ssize_t n = sameSystem ? ::copy_file_range(from, &in, to, nullptr, left, 0) : -1;
        if (n < 0 && sameSystem && in == 0
            && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            sameSystem = false;
            continue;
        }
        if (!sameSystem) {
            off_t offset = off_t(in);
            n = ::sendfile(to, from, &offset, left);
            if (n > 0)
                in = loff_t(offset);
        }
        if (n <= 0)
            return false; // cut short meanwhile, or not to be copied
    }
    return true;
}

} // namespace

const uchar *map(QFile &file, qint64 size, const QString &folder)
{
    if (size <= 0)
        return nullptr;
    const int copy = unnamedFileIn(folder);
    if (copy < 0)
        return nullptr;
    void *mapped = copyBytes(file.handle(), copy, size)
        ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, copy, 0)
        : MAP_FAILED;
    ::close(copy); // the mapping keeps the copy
    return mapped == MAP_FAILED ? nullptr : static_cast<const uchar *>(mapped);
}

void unmap(const uchar *data, qint64 size)
{
    if (data)
        ::munmap(const_cast<uchar *>(data), size_t(size));
}
#else
const uchar *map(QFile &, qint64, const QString &)
{
    return nullptr;
}

void unmap(const uchar *, qint64) {}
#endif

} // namespace PrivateCopy
