#include "EntryStore.h"

#include "HugePageArray.h"

bool ExtraFields::isDefault(bool wideRecord) const
{
    if (wideRecord)
        return false;
    if (!date.isNull() || !time.isNull() || !details.isNull() || !importedSummary.isNull())
        return false;
    if (!paymentPrice.isNull() || !depositPrice.isNull() || !balancePrice.isNull())
        return false;
    for (const QString &s : reservedTexts) {
        if (!s.isEmpty())
            return false;
    }
    for (const QByteArray &p : pictures) {
        if (!p.isNull())
            return false;
    }
    return true;
}

EntryStore &EntryStore::instance()
{
    static EntryStore *store = new EntryStore; // deliberately leaked: entries outlive statics
    return *store;
}

LedgerEntry *EntryStore::make()
{
    const std::lock_guard lock(m_makeMutex);
    if (m_next == m_end) {
        // Blocks of 2 MB, on a huge page where the system gives one: a million entries are a
        // few dozen page faults rather than thousands.
        m_next = static_cast<LedgerEntry *>(allocateHugePages(kBlockEntries * sizeof(LedgerEntry)));
        m_end = m_next + kBlockEntries;
    }
    return new (m_next++) LedgerEntry;
}

bool EntryStore::addMappedEntries(const LedgerEntry *begin, const LedgerEntry *end,
                                  std::unique_ptr<TextTable> texts)
{
    const std::lock_guard lock(m_mappedMutex);
    const int count = m_mappedCount.load(std::memory_order_relaxed);
    if (size_t(count) >= kMaxMapped)
        return false;
    m_mapped[size_t(count)] = Mapped{quintptr(begin), quintptr(end), texts.release()};
    m_mappedCount.store(count + 1, std::memory_order_release);
    return true;
}

const ExtraFields &EntryStore::extraOf(const LedgerEntry *entry) const
{
    static const ExtraFields none;
    const std::lock_guard lock(m_extraMutex);
    const ExtraFields *extra = m_extras.value(entry);
    return extra ? *extra : none;
}

ExtraFields &EntryStore::extraFor(const LedgerEntry *entry)
{
    const std::lock_guard lock(m_extraMutex);
    ExtraFields *&extra = m_extras[entry];
    if (!extra)
        extra = new ExtraFields;
    return *extra;
}

void EntryStore::dropExtra(const LedgerEntry *entry)
{
    const std::lock_guard lock(m_extraMutex);
    delete m_extras.take(entry);
}

LedgerEntry *EntryStore::successorOf(const LedgerEntry *entry) const
{
    if (!m_anySuccessor.load(std::memory_order_acquire))
        return nullptr;
    const std::lock_guard lock(m_extraMutex);
    return m_successors.value(entry);
}

void EntryStore::setSuccessor(const LedgerEntry *entry, LedgerEntry *next)
{
    const std::lock_guard lock(m_extraMutex);
    if (next) {
        m_successors.insert(entry, next);
        m_anySuccessor.store(true, std::memory_order_release);
    } else {
        m_successors.remove(entry);
    }
}
