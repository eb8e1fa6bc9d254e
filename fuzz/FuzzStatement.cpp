// libFuzzer target: a statement file's bytes, imported into a JNB or an eBANK ledger (the first
// byte chooses), then saved and read back, which must give the same entries.

#include "FuzzSupport.h"
#include "import/StatementImporter.h"
#include "import/StatementText.h"
#include "ledger/LedgerArchive.h"
#include "ledger/LedgerOrdering.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static Ledger &ledger = FuzzSupport::emptyLedger();
    const Bank bank = data[0] % 2 == 0 ? Bank::Jnb : Bank::Ebank;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = decodeStatementText(bytes);
    const StatementImporter::Counts counts = StatementImporter(ledger).importText(text, bank);
    if (counts.added != ledger.size())
        __builtin_trap();
    ledger.sort(Qt::DescendingOrder);
    FuzzSupport::checkRoundTrip(ledger.entries());
    ledger.removeAll();
    return 0;
}
