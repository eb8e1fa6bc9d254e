// libFuzzer target: an archive file's bytes. Whatever they are, reading them must end with the
// entries or with a reason; entries that were read must write and read back unchanged. The
// bytes are read a second time with their checksum made anew, so that the checks of the
// layout behind it are reached by any damage, not only by the rare one that matches it.

#include "FuzzSupport.h"
#include "ledger/ArchiveFormat.h"
#include "ledger/LedgerArchive.h"

#include <QtEndian>

static void readOnce(const QByteArray &bytes)
{
    QList<LedgerEntryPtr> entries;
    QString error;
    if (LedgerArchive::decode(bytes, &entries, &error))
        FuzzSupport::checkRoundTrip(entries);
    else if (error.isEmpty())
        __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readOnce(bytes);
    const qsizetype content = bytes.size() - LedgerArchive::kChecksumBytes;
    if (content >= LedgerArchive::kHeaderBytes) {
        qToBigEndian(LedgerArchive::checksumOf(bytes.constData(), content), bytes.data() + content);
        readOnce(bytes);
    }
    return 0;
}
