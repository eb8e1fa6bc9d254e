#pragma once

#include "LedgerEntry.h"
#include "TextPool.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

// What an entry holds beside its record, rarely: texts that differ from what its numbers or
// summary give, the details, the reserved fields, and its small numbers when one does not fit.
struct ExtraFields {
    QString date, time;         // when stored (TextState::Stored)
    QString details;
    QString importedSummary;    // when it is not the summary and not null
    // Price texts that differ from the text made from the amount; null when they agree.
    QString paymentPrice, depositPrice, balancePrice;
    std::array<QString, 4> reservedTexts; // the free reserved texts 1 … 4
    std::array<QByteArray, 3> pictures;   // null means absent
    // Year, month, day, hour, minute, second, summary kind, status, mark: when the record is
    // wide (LedgerEntry::kWide).
    std::array<qint32, 9> wide{};

    bool isDefault(bool wideRecord) const;
};

// Where every entry of the process lives: the blocks of entries made here, the archives whose
// entries are read where they lie mapped, with their text tables, and what entries hold beside
// their records. Nothing is freed before the process ends: a list, an undo step or a search may
// hold an entry long after it left the ledger, and freeing a million entries one by one is
// what made quitting slow. Safe on any thread.
class EntryStore
{
public:
    static EntryStore &instance();

    // A new entry, all fields zero and null.
    LedgerEntry *make();
    // Entries that lie in mapped memory from now on, with the table their summaries number
    // into; false when no more can be taken (the caller then copies them).
    bool addMappedEntries(const LedgerEntry *begin, const LedgerEntry *end,
                          std::unique_ptr<TextTable> texts);

    // The table the entry's summary numbers into.
    const TextTable &textsOf(const LedgerEntry *entry) const
    {
        const quintptr at = quintptr(entry);
        const int count = m_mappedCount.load(std::memory_order_acquire);
        for (int i = 0; i < count; ++i) {
            const Mapped &m = m_mapped[size_t(i)];
            if (at >= m.begin && at < m.end)
                return *m.texts;
        }
        return TextPool::instance();
    }

    // The fields beside an entry's record (the entry must have them: kHasExtra).
    const ExtraFields &extraOf(const LedgerEntry *entry) const;
    // The same, made when missing (default fields).
    ExtraFields &extraFor(const LedgerEntry *entry);
    void dropExtra(const LedgerEntry *entry);

    LedgerEntry *successorOf(const LedgerEntry *entry) const;
    void setSuccessor(const LedgerEntry *entry, LedgerEntry *next);

private:
    EntryStore() = default;
    struct Mapped {
        quintptr begin = 0;
        quintptr end = 0;
        const TextTable *texts = nullptr;
    };
    static constexpr size_t kMaxMapped = 64;
    static constexpr size_t kBlockEntries = 65536; // 2 MB a block

    std::mutex m_makeMutex;
    LedgerEntry *m_next = nullptr;
    LedgerEntry *m_end = nullptr;

    std::mutex m_mappedMutex;
    std::array<Mapped, kMaxMapped> m_mapped{};
    std::atomic<int> m_mappedCount{0};

    mutable std::mutex m_extraMutex;
    QHash<const LedgerEntry *, ExtraFields *> m_extras;
    QHash<const LedgerEntry *, LedgerEntry *> m_successors;
    std::atomic<bool> m_anySuccessor{false};
};
