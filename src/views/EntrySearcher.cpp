#include "EntrySearcher.h"

#include <array>
#include <memory>

namespace {

// Whether NFC leaves the text as it is, known without normalising it: every character is one
// that normalisation keeps and that combines with nothing (Latin below the combining marks,
// kana, CJK ideographs, full- and half-width forms), which covers what the banks write. Other
// texts are normalised.
bool isSurelyNfc(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x300 || (c >= 0x3000 && c <= 0x3098) || (c >= 0x309b && c <= 0x30ff)
            || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xff01 && c <= 0xffef))
            continue;
        return false;
    }
    return true;
}

bool containsInNfc(const QString &text, const QString &needle)
{
    if (isSurelyNfc(text))
        return QStringView(text).contains(needle);
    return text.normalized(QString::NormalizationForm_C).contains(needle);
}

// The verdicts on the texts met lately, by text buffer: entries share their summaries, so a
// text held by many entries is searched once. The entries hold every text while a search runs,
// so an address names one text.
class VerdictMemo
{
public:
    bool contains(const QString &text, const QString &needle)
    {
        Slot &slot = m_slots[(quintptr(text.constData()) >> 4) % kSlots];
        if (slot.data != text.constData() || slot.size != text.size()) {
            slot = Slot{text.constData(), text.size(), containsInNfc(text, needle)};
        }
        return slot.verdict;
    }

private:
    struct Slot {
        const QChar *data = nullptr;
        qsizetype size = 0;
        bool verdict = false;
    };
    static constexpr size_t kSlots = 4093;
    std::array<Slot, kSlots> m_slots{};
};

// An entry without a summary is searched by its details, which are rare and not shared.
bool containsDetails(const LedgerEntry &entry, const QString &needle)
{
    const QString details = entry.details();
    return !details.isEmpty() && containsInNfc(details, needle);
}

} // namespace

QList<LedgerEntryPtr> EntrySearcher::search(const QList<LedgerEntryPtr> &entries,
                                            const QString &keyword)
{
    QList<LedgerEntryPtr> hits;
    if (keyword.isEmpty())
        return hits;
    const QString needle = keyword.normalized(QString::NormalizationForm_C);
    const auto memo = std::make_unique<VerdictMemo>();
    for (const LedgerEntryPtr &entry : entries) {
        const QString &summary = entry->summary();
        if (!summary.isEmpty() ? memo->contains(summary, needle)
                               : entry->hasOutOfLineFields() && containsDetails(*entry, needle))
            hits.append(entry);
    }
    return hits;
}
