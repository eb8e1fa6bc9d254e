#pragma once

#include <QByteArray>
#include <QString>

// Reads a statement file's bytes, refusing at once what cannot be a statement: anything but a
// regular file (a folder, a FIFO, a device, a socket), and files larger than any statement, so
// that reading can neither hang nor fill the memory.
namespace StatementFile {

inline constexpr qint64 kMaxBytes = qint64(256) << 20;

// The file's bytes, or false with the reason.
bool read(const QString &path, QByteArray *bytes, QString *error);

} // namespace StatementFile
