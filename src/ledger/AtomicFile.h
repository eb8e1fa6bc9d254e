#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Replaces a file only once its new content is complete and on disk (QSaveFile): on any failure
// the previous file stays as it was. The reason of a failure is the system's ("No space left on
// device"), not Qt's "Unknown error".
namespace AtomicFile {

// Calls write with the new file's device; false from it, or a failed write, keeps the old file.
bool write(const QString &path, const std::function<bool(QIODevice *)> &write, QString *error);

} // namespace AtomicFile
