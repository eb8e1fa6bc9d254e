// libFuzzer target: an archive file's bytes. Whatever they are, reading them must end with the
// entries or with a reason; entries that were read must write and read back unchanged.

#include "FuzzSupport.h"
#include "ledger/LedgerArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<LedgerEntryPtr> entries;
    QString error;
    if (LedgerArchive::decode(bytes, &entries, &error))
        FuzzSupport::checkRoundTrip(entries);
    else if (error.isEmpty())
        __builtin_trap();
    return 0;
}
