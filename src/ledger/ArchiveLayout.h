#pragma once

// Where the parts of an archive lie in its bytes, found and checked before anything is made of
// them. Used by LedgerArchive only.
//
// Since format version 3 the archive is laid out so that it can be used where it lies mapped:
// after the magic and the version, six counts (texts, characters, entries, entries with fields
// beside their records, the bytes of those fields, and a zero), then the ends of the texts, the
// texts' characters (UTF-16) padded to four bytes, the entries' 32-byte records, their fields
// beside the records (variable-length integers and texts), the end marker and the checksum.
// Everything after the version is little-endian.

#include "ArchiveFormat.h"
#include "EntryStore.h"
#include "TextPool.h"

#include <functional>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "the ledger archive is read where it lies mapped, which needs a little-endian machine");

namespace LedgerArchive {

inline constexpr qint64 kV3CountsBytes = 6 * 4;

struct Layout {
    enum class Kind { Unreadable, Legacy, Current };
    Kind kind = Kind::Unreadable;
    qint64 contentBytes = 0; // the bytes before the checksum (all of them in version 1)
    quint32 textCount = 0;
    quint32 charCount = 0;
    quint32 entryCount = 0;
    quint32 extraCount = 0;
    quint32 extrasBytes = 0;
    const quint32 *ends = nullptr;
    const char16_t *chars = nullptr;
    const uchar *records = nullptr;
    const uchar *extras = nullptr;

    MappedTextTable texts() const { return MappedTextTable(ends, chars, textCount); }
    // Checks the magic, the version, the checksum and, for the current version, every count,
    // text end and record; the error says what is wrong when the kind is Unreadable.
    static Layout read(const uchar *data, qint64 size, QString *error);
};

// Reads the fields beside the records, handing each with its entry's index; false when they
// are damaged.
bool readExtrasOf(const Layout &layout, const std::function<void(qsizetype, ExtraFields &&)> &take);
// Makes entries in this process of a current-version archive's records.
bool entriesOf(const Layout &layout, QList<LedgerEntryPtr> *items, QString *error);

} // namespace LedgerArchive
