#include "TextPool.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>

namespace {
// The empty text's characters: not null, so that it reads back as empty rather than null.
constexpr char16_t kEmpty[1] = {0};

// A block of 2 MB that is never freed, on a huge page where the system gives one: a million
// texts are filled in with a few page faults rather than thousands.
void *hugeBlock()
{
    return allocateHugePages(size_t(2) << 20);
}
} // namespace

TextPool &TextPool::instance()
{
    static TextPool *pool = new TextPool; // deliberately leaked: entries outlive statics
    return *pool;
}

TextPool::TextPool()
    : m_chunks(new std::atomic<Text *>[kMaxChunks])
{
    for (size_t i = 0; i < kMaxChunks; ++i)
        m_chunks[i].store(nullptr, std::memory_order_relaxed);
    m_recent = HugePageArray<Slot>(size_t(kSets) * kWays);
    // Number 0 is the null text; its place in the table is never read.
    m_chunks[0].store(static_cast<Text *>(hugeBlock()), std::memory_order_release);
}

QStringView TextPool::view(quint32 id) const
{
    if (id == 0 || id > size())
        return QStringView();
    const Text &t = at(id);
    return QStringView(t.chars, qsizetype(t.length));
}

const char16_t *TextPool::store(QStringView text)
{
    const size_t length = size_t(text.size());
    if (length == 0)
        return kEmpty;
    if (length > kCharBlock / 4) {
        // A long text gets a block of its own, so that the shared block is not cut short.
        auto *own = new char16_t[length];
        std::memcpy(own, text.utf16(), length * sizeof(char16_t));
        return own;
    }
    if (length > m_blockLeft) {
        m_block = static_cast<char16_t *>(hugeBlock());
        m_blockLeft = kCharBlock;
    }
    char16_t *at = m_block;
    std::memcpy(at, text.utf16(), length * sizeof(char16_t));
    m_block += length;
    m_blockLeft -= length;
    return at;
}

quint32 TextPool::intern(QStringView text, bool isNull)
{
    if (isNull)
        return 0;
    const std::lock_guard lock(m_mutex);
    // A text just handed out, given back (a statement line's summary, shared and then set).
    if (text.utf16() == m_lastChars && text.size() == m_lastLength)
        return m_lastId;
    const quint32 hash = quint32(qHash(text));
    // The texts met lately, a few ways a set: a text that recurs (a shop's name) is found
    // there, one that never recurs (a transfer's counterparty) costs no look-up in a table of
    // a million texts. A text forgotten there and met again is kept once more.
    Slot *set = &m_recent[size_t(hash % kSets) * kWays];
    for (int way = 0; way < kWays; ++way) {
        const Slot slot = set[way];
        if (!slot.id)
            break;
        if (slot.hash != hash)
            continue;
        const Text &t = at(slot.id);
        if (t.length == quint32(text.size())
            && std::memcmp(t.chars, text.utf16(), text.size() * sizeof(char16_t)) == 0) {
            std::move_backward(set, set + way, set + way + 1); // the most recent first
            set[0] = slot;
            return remember(t, slot.id);
        }
    }
    const quint32 id = size() + 1;
    const size_t chunk = id >> kChunkBits;
    if (chunk >= kMaxChunks)
        qFatal("Too many distinct texts");
    Text *texts = m_chunks[chunk].load(std::memory_order_relaxed);
    if (!texts) {
        texts = static_cast<Text *>(hugeBlock());
        m_chunks[chunk].store(texts, std::memory_order_release);
    }
    Text &t = texts[id & ((1u << kChunkBits) - 1)];
    t = Text{store(text), quint32(text.size())};
    std::move_backward(set, set + kWays - 1, set + kWays);
    set[0] = Slot{id, hash};
    m_size.store(id, std::memory_order_release);
    return remember(t, id);
}
