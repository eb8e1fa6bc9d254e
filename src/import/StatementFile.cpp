#include "StatementFile.h"


#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("StatementFile", text);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads what the file gives up to the limit, for a file that cannot be mapped; size is what the
// file claimed to hold.
bool readWhole(QFile &file, qint64 size, QByteArray *bytes, const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    constexpr qint64 kMaxBytes = StatementFile::kMaxBytes;
    // Never more than the limit, even if the file grows while it is read. Room is made for the
    // size the file has, not for the limit: a buffer of the limit would be copied when it is
    // cut to the file's size.
    bytes->resize(qMin<qint64>(size, kMaxBytes) + 1);
    qint64 length = 0;
    while (length <= kMaxBytes) {
        if (length == bytes->size())
            bytes->resize(qMin<qint64>(bytes->size() * 2, kMaxBytes + 1));
        const qint64 got = file.read(bytes->data() + length, bytes->size() - length);
        if (got < 0)
            return fail(tr("Cannot read %1: %2").arg(path, file.errorString()));
        if (got == 0)
            break;
        length += got;
    }
    bytes->truncate(length);
    if (file.error() != QFileDevice::NoError)
        return fail(tr("Cannot read %1: %2").arg(path, file.errorString()));
    if (bytes->size() > kMaxBytes)
        return fail(QCoreApplication::translate("StatementFile",
                                                "%1 is larger than any statement file (at most %2 MiB).")
                        .arg(path)
                        .arg(kMaxBytes >> 20));
    return true;
}
} // namespace

StatementFile::StatementFile() = default;
StatementFile::~StatementFile()
{
    close();
}

StatementFile::StatementFile(StatementFile &&other) noexcept
{
    *this = std::move(other);
}

StatementFile &StatementFile::operator=(StatementFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_read = std::move(other.m_read); // the view stays on the same bytes
        m_bytes = std::exchange(other.m_bytes, {});
    }
    return *this;
}

void StatementFile::close()
{
    m_bytes = {};
    m_read = QByteArray();
}

bool StatementFile::open(const QString &path, QString *error)
{
    close();
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    // Opened without blocking, so that a FIFO without a writer cannot hold Moriva; what was
    // opened is then looked at, not the path, which may have changed in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(tr("Cannot open %1: %2").arg(path, systemReason(errno)));
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int why = errno;
        ::close(fd);
        return fail(tr("Cannot read %1: %2").arg(path, systemReason(why)));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(info.st_mode)
                        ? tr("%1 is a folder, not a statement file.").arg(path)
                        : tr("%1 is not a regular file (a device, a pipe or a socket), so it "
                             "cannot be a statement file.")
                              .arg(path));
    }
    if (info.st_size > kMaxBytes) {
        ::close(fd);
        return fail(tr("%1 is %2 MiB, larger than any statement file (at most %3 MiB).")
                        .arg(path)
                        .arg(info.st_size >> 20)
                        .arg(kMaxBytes >> 20));
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(tr("Cannot open %1: %2").arg(path, file->errorString()));
    }
    // Read into memory: a program writing the file meanwhile can neither change the bytes
    // being imported nor cut them short under the reader.
    if (!readWhole(*file, info.st_size, &m_read, path, error)) {
        m_read = QByteArray();
        return false;
    }
    m_bytes = m_read;
    return true;
}
