#pragma once

#include "HugePageArray.h"

#include <QString>
#include <QStringView>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// A table of texts, each known by its number: 0 is the null text, 1 … size() the others.
// Handing a text out makes no copy: the QString views the table's own characters, which stay
// where they are for as long as the process runs.
class TextTable
{
public:
    virtual ~TextTable() = default;
    virtual QStringView view(quint32 id) const = 0;
    virtual quint32 size() const = 0;
    // The characters of every text side by side and where each text ends, when the table keeps
    // them so (null chars otherwise): a search then scans them in one pass.
    struct Contiguous {
        const char16_t *chars = nullptr;
        qsizetype size = 0;
        const quint32 *ends = nullptr;
    };
    virtual Contiguous contiguous() const { return {}; }
    QString text(quint32 id) const
    {
        if (id == 0)
            return QString();
        const QStringView v = view(id);
        return QString::fromRawData(reinterpret_cast<const QChar *>(v.utf16()), v.size());
    }
};

// The texts of entries made in this process (by an import, an edit, an old archive), in blocks
// that are never moved or freed. One per process; any thread
// may add and read.
class TextPool final : public TextTable
{
public:
    static TextPool &instance();

    // The number of the text, added if it was not met lately; 0 for a null text. Equal texts
    // mostly share one number, but may have several.
    quint32 intern(QStringView text, bool isNull = false);
    quint32 intern(const QString &text) { return intern(QStringView(text), text.isNull()); }
    QStringView view(quint32 id) const override;
    quint32 size() const override { return m_size.load(std::memory_order_acquire); }

private:
    TextPool();
    struct Text {
        const char16_t *chars;
        quint32 length;
    };
    // The hash beside the number: a probe reads no text that cannot be the one looked for.
    struct Slot {
        quint32 id = 0; // 0: free
        quint32 hash = 0;
    };
    static constexpr quint32 kChunkBits = 17; // texts per chunk of the number table: 2 MB
    static constexpr size_t kMaxChunks = size_t(1) << 16;
    static constexpr size_t kCharBlock = size_t(1) << 20; // characters per block: 2 MB

    const Text &at(quint32 id) const
    {
        return m_chunks[id >> kChunkBits].load(std::memory_order_acquire)[id & ((1u << kChunkBits) - 1)];
    }
    const char16_t *store(QStringView text);
    quint32 remember(const Text &t, quint32 id)
    {
        m_lastChars = t.chars;
        m_lastLength = t.length;
        m_lastId = id;
        return id;
    }

    mutable std::mutex m_mutex;
    std::unique_ptr<std::atomic<Text *>[]> m_chunks;
    std::atomic<quint32> m_size{0};
    char16_t *m_block = nullptr; // the block being filled
    size_t m_blockLeft = 0;
    static constexpr quint32 kSets = 16384;
    static constexpr int kWays = 4;
    HugePageArray<Slot> m_recent; // sets of kWays, the most recent first
    const char16_t *m_lastChars = nullptr; // the text last handed out
    qsizetype m_lastLength = -1;
    quint32 m_lastId = 0;
};

// A text table read where an archive lies mapped: the ends of the texts in characters, then
// the characters (UTF-16, the machine's byte order).
class MappedTextTable final : public TextTable
{
public:
    MappedTextTable(const quint32 *ends, const char16_t *chars, quint32 count)
        : m_ends(ends)
        , m_chars(chars)
        , m_count(count)
    {
    }
    QStringView view(quint32 id) const override
    {
        if (id == 0 || id > m_count)
            return QStringView();
        const quint32 begin = id == 1 ? 0 : m_ends[id - 2];
        return QStringView(m_chars + begin, qsizetype(m_ends[id - 1] - begin));
    }
    quint32 size() const override { return m_count; }
    Contiguous contiguous() const override
    {
        return {m_chars, m_count ? qsizetype(m_ends[m_count - 1]) : 0, m_ends};
    }

private:
    const quint32 *m_ends;
    const char16_t *m_chars;
    quint32 m_count;
};
