#include "EntrySearcher.h"

#include "ledger/EntryStore.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// Whether NFC leaves the character as it is, whatever surrounds it: one that normalisation
// keeps and that combines with nothing (Latin below the combining marks, kana, CJK ideographs,
// full- and half-width forms), which covers what the banks write.
inline bool isSurelyNfc(char16_t c)
{
    return c < 0x300 || (c >= 0x3000 && c <= 0x3098) || (c >= 0x309b && c <= 0x30ff)
        || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xff01 && c <= 0xffef);
}

// Whether every character of the block is surely NFC; written without branches or an early
// exit, so that the compiler checks many characters at once.
bool isSurelyNfc(const char16_t *chars, qsizetype size)
{
    unsigned unsure = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const quint16 c = chars[i];
        const unsigned sure = unsigned(c < 0x300) | unsigned(quint16(c - 0x3000) <= 0x98)
            | unsigned(quint16(c - 0x309b) <= 0x64) | unsigned(quint16(c - 0x4e00) <= 0x51ff)
            | unsigned(quint16(c - 0xff01) <= 0xee);
        unsure |= sure ^ 1u;
    }
    return unsure == 0;
}

bool containsInNfc(QStringView text, const QString &needle)
{
    if (isSurelyNfc(text.utf16(), text.size()))
        return text.contains(needle);
    return text.toString().normalized(QString::NormalizationForm_C).contains(needle);
}

// Where the needle is in the text from `from` on, -1 nowhere. Its first character is looked for
// with Qt's vectorised search, which over megabytes of text beats a general string search.
qsizetype findFrom(QStringView text, QStringView needle, qsizetype from)
{
    const QChar first = needle.front();
    while (true) {
        const qsizetype at = text.indexOf(first, from);
        if (at < 0 || text.sliced(at).startsWith(needle))
            return at;
        from = at + 1;
    }
}

// The texts of a table that are not surely NFC, by number; found once per table (the tables
// that keep their texts side by side never change).
const std::vector<quint32> &textsToNormalise(const TextTable &table)
{
    static std::mutex mutex;
    static std::unordered_map<const TextTable *, std::vector<quint32>> known;
    const std::lock_guard lock(mutex);
    const auto it = known.find(&table);
    if (it != known.end())
        return it->second;
    std::vector<quint32> &ids = known[&table];
    const TextTable::Contiguous all = table.contiguous();
    constexpr qsizetype kBlock = 4096;
    for (qsizetype at = 0; at < all.size; at += kBlock) {
        const qsizetype size = std::min(kBlock, all.size - at);
        if (isSurelyNfc(all.chars + at, size))
            continue;
        // Some text in the block needs a look of its own.
        const quint32 first = quint32(std::upper_bound(all.ends, all.ends + table.size(), quint32(at)) - all.ends) + 1;
        for (quint32 id = first; id <= table.size(); ++id) {
            const QStringView text = table.view(id);
            if (!isSurelyNfc(text.utf16(), text.size()) && (ids.empty() || ids.back() != id))
                ids.push_back(id);
            if (all.ends[id - 1] >= quint32(at + size))
                break;
        }
    }
    return ids;
}

// Which texts of one table hold the keyword: 0 not known yet, 1 no, 2 yes. A table that keeps
// its texts side by side is searched in one pass over all its characters; others text by text,
// each distinct text once.
class TableVerdicts
{
public:
    TableVerdicts(const TextTable &table, const QString &needle)
        : m_table(table)
        , m_needle(needle)
    {
        const TextTable::Contiguous all = table.contiguous();
        if (!all.chars) {
            m_verdicts.assign(size_t(table.size()) + 1, 0);
            return;
        }
        m_verdicts.assign(size_t(table.size()) + 1, 1);
        const QStringView chars(all.chars, all.size);
        for (qsizetype at = findFrom(chars, needle, 0); at >= 0; at = findFrom(chars, needle, at + 1)) {
            // The text the hit begins in; a hit that runs into the next text is none.
            const quint32 *end = std::upper_bound(all.ends, all.ends + table.size(), quint32(at));
            if (at + needle.size() <= qsizetype(*end)) {
                m_verdicts[size_t(end - all.ends) + 1] = 2;
                at = qsizetype(*end) - 1;
            }
        }
        for (const quint32 id : textsToNormalise(table))
            m_verdicts[id] = containsInNfc(table.view(id), needle) ? 2 : 1;
    }
    bool contains(quint32 id)
    {
        quint8 &verdict = m_verdicts[id];
        if (verdict == 0)
            verdict = containsInNfc(m_table.view(id), m_needle) ? 2 : 1;
        return verdict == 2;
    }

private:
    const TextTable &m_table;
    const QString &m_needle;
    std::vector<quint8> m_verdicts;
};

} // namespace

QList<LedgerEntryPtr> EntrySearcher::search(const QList<LedgerEntryPtr> &entries,
                                            const QString &keyword)
{
    QList<LedgerEntryPtr> hits;
    if (keyword.isEmpty())
        return hits;
    const QString needle = keyword.normalized(QString::NormalizationForm_C);
    const EntryStore &store = EntryStore::instance();
    std::unordered_map<const TextTable *, TableVerdicts> tables;
    const TextTable *lastTable = nullptr;
    TableVerdicts *verdicts = nullptr;
    for (const LedgerEntryPtr &entry : entries) {
        const quint32 id = entry->summaryId();
        bool hit = false;
        if (id != 0) {
            const TextTable &table = store.textsOf(entry.data());
            if (&table != lastTable) {
                lastTable = &table;
                verdicts = &tables.try_emplace(&table, table, needle).first->second;
            }
            hit = verdicts->contains(id);
        }
        // An entry without a summary is searched by its details, which are rare.
        if (!hit && entry->hasOutOfLineFields() && entry->summary().isEmpty())
            hit = containsInNfc(entry->details(), needle);
        if (hit)
            hits.append(entry);
    }
    return hits;
}
