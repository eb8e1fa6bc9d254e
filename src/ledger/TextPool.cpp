#include "TextPool.h"

#include <QHashFunctions>

#include <cstring>

namespace {
// The empty text's characters: not null, so that it reads back as empty rather than null.
constexpr char16_t kEmpty[1] = {0};
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
    m_slots.assign(1024, 0);
    m_mask = 1023;
    // Number 0 is the null text; its place in the table is never read.
    m_chunks[0].store(new Text[size_t(1) << kChunkBits], std::memory_order_release);
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
        m_block = new char16_t[kCharBlock];
        m_blockLeft = kCharBlock;
    }
    char16_t *at = m_block;
    std::memcpy(at, text.utf16(), length * sizeof(char16_t));
    m_block += length;
    m_blockLeft -= length;
    return at;
}

void TextPool::grow()
{
    const size_t capacity = m_slots.size() * 2;
    std::vector<quint32> table(capacity, 0);
    const quint32 mask = quint32(capacity - 1);
    const quint32 count = size();
    for (quint32 id = 1; id <= count; ++id) {
        quint32 i = at(id).hash & mask;
        while (table[i])
            i = (i + 1) & mask;
        table[i] = id;
    }
    m_slots.swap(table);
    m_mask = mask;
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
    quint32 i = hash & m_mask;
    while (const quint32 id = m_slots[i]) {
        const Text &t = at(id);
        if (t.hash == hash && t.length == quint32(text.size())
            && std::memcmp(t.chars, text.utf16(), text.size() * sizeof(char16_t)) == 0)
            return remember(t, id);
        i = (i + 1) & m_mask;
    }
    const quint32 id = size() + 1;
    const size_t chunk = id >> kChunkBits;
    if (chunk >= kMaxChunks)
        qFatal("Too many distinct texts");
    Text *texts = m_chunks[chunk].load(std::memory_order_relaxed);
    if (!texts) {
        texts = new Text[size_t(1) << kChunkBits];
        m_chunks[chunk].store(texts, std::memory_order_release);
    }
    Text &t = texts[id & ((1u << kChunkBits) - 1)];
    t = Text{store(text), quint32(text.size()), hash};
    m_slots[i] = id;
    m_size.store(id, std::memory_order_release);
    if (size_t(id) * 2 > m_slots.size())
        grow();
    return remember(t, id);
}
