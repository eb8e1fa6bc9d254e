#pragma once

#include <QtGlobal>

class QFile;
class QString;

// Bytes read where they lie mapped must not change or vanish while they are read: a program
// that writes over a file in place (cp does) or cuts it short would change them, or kill the
// process with SIGBUS when a page beyond the new end is touched. So an open file is mapped
// through a copy of it that no other program can open, made by the system (sharing the file's
// blocks where the file system can) and gone once unmapped.
namespace PrivateCopy {

// Maps read-only a copy of the open file's first `size` bytes, made in `folder` (or in the
// temporary folder when that one takes no such file); null when no copy can be made, or when
// the file was cut short meanwhile: the caller then reads the file instead.
const uchar *map(QFile &file, qint64 size, const QString &folder);
void unmap(const uchar *data, qint64 size);

} // namespace PrivateCopy
