// libFuzzer target: an archive file's bytes. Whatever they are, reading them must end with the
// entries or with a reason, and reading the same bytes again must give the same entries. The
// bytes are read a second time with their checksum made anew, so that the checks behind it are
// reached by any damage, not only by the rare one that matches it.

#include "ledger/ArchiveFormat.h"
#include "ledger/LedgerArchive.h"

#include <QtEndian>

static void readOnce(const QByteArray &bytes)
{
    QList<LedgerEntry> entries;
    QString error;
    if (!LedgerArchive::decode(bytes, &entries, &error)) {
        if (error.isEmpty() || !entries.isEmpty())
            __builtin_trap();
        return;
    }
    QList<LedgerEntry> again;
    if (!LedgerArchive::decode(bytes, &again, &error) || again.size() != entries.size())
        __builtin_trap();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!again.at(i).sameRecord(entries.at(i)))
            __builtin_trap();
    }
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
