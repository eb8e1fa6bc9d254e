#include "LedgerOrdering.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The order numbers compared as their "%d" texts, character by character.
int compareOrderTexts(int a, int b)
{
    if (a == b)
        return 0;
    char ta[16], tb[16];
    const auto ea = std::to_chars(ta, ta + sizeof ta, a).ptr;
    const auto eb = std::to_chars(tb, tb + sizeof tb, b).ptr;
    const size_t la = size_t(ea - ta), lb = size_t(eb - tb);
    const int c = std::memcmp(ta, tb, std::min(la, lb));
    if (c != 0)
        return c < 0 ? -1 : 1;
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

// The fields the comparison reads, copied side by side so that a sort of a large ledger walks
// contiguous memory instead of chasing a pointer per comparison.
struct SortKey {
    std::array<int, 6> moment;
    int order;
    int index;
};

int compareKeys(const SortKey &a, const SortKey &b, Qt::SortOrder rule)
{
    if (rule != Qt::AscendingOrder && rule != Qt::DescendingOrder)
        return 0;
    if (a.moment != b.moment) {
        const bool aEarlier = a.moment < b.moment;
        if (rule == Qt::AscendingOrder)
            return aEarlier ? -1 : 1;
        return aEarlier ? 1 : -1;
    }
    return compareOrderTexts(a.order, b.order);
}

SortKey keyOf(const LedgerEntry &e, int index)
{
    return SortKey{{e.year(), e.month(), e.day(), e.hour(),
                    e.minute(), e.second()},
                   e.orderNumber(),
                   index};
}

} // namespace

int compareEntries(const LedgerEntry &a, const LedgerEntry &b, Qt::SortOrder rule)
{
    return compareKeys(keyOf(a, 0), keyOf(b, 0), rule);
}

namespace {

// The sort key of the common case, where every moment field is within the range below: the
// moment packed into one integer (inverted for the descending rule) and the order number's
// "%d" text packed so that integer order is text order. With the index last the keys are
// distinct, so an unstable sort of them gives exactly the stable order.
struct PackedKey {
    quint64 moment;
    quint64 order;
    quint32 index;
    friend bool operator<(const PackedKey &x, const PackedKey &y)
    {
        if (x.moment != y.moment)
            return x.moment < y.moment;
        if (x.order != y.order)
            return x.order < y.order;
        return x.index < y.index;
    }
};

bool packMoment(const LedgerEntry &e, quint64 *out)
{
    const auto fits = [](int v, int bits) { return v >= 0 && v < (1 << bits); };
    if (!fits(e.year(), 20) || !fits(e.month(), 8)
        || !fits(e.day(), 8) || !fits(e.hour(), 8)
        || !fits(e.minute(), 8) || !fits(e.second(), 8))
        return false;
    *out = (quint64(e.year()) << 40) | (quint64(e.month()) << 32)
        | (quint64(e.day()) << 24) | (quint64(e.hour()) << 16)
        | (quint64(e.minute()) << 8) | quint64(e.second());
    return true;
}

// The "%d" text of the number as one nibble a character ('-' 1, digits 2 to 11), first character
// highest and unused nibbles 0: comparing two of these compares the texts, a text before any
// longer text it begins.
quint64 packOrderText(int value)
{
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    quint64 packed = 0;
    int shift = 60;
    for (const char *p = text; p != end; ++p, shift -= 4)
        packed |= quint64(*p == '-' ? 1 : 2 + (*p - '0')) << shift;
    return packed;
}

// Moves the entries into the order the keys give.
void applyOrder(QList<LedgerEntryPtr> &items, const std::vector<PackedKey> &keys)
{
    QList<LedgerEntryPtr> sorted;
    sorted.reserve(items.size());
    for (const PackedKey &k : keys)
        sorted.append(std::move(items[k.index]));
    items = std::move(sorted);
}

// The packed path; false when some entry does not fit it.
bool sortPacked(QList<LedgerEntryPtr> &items, Qt::SortOrder rule, bool *moved)
{
    const qsizetype n = items.size();
    if (n >= qsizetype(std::numeric_limits<quint32>::max()))
        return false;
    const bool descending = rule == Qt::DescendingOrder;
    std::vector<PackedKey> keys;
    keys.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        const LedgerEntry &e = *items.at(i);
        quint64 moment;
        if (!packMoment(e, &moment))
            return false;
        keys.push_back({descending ? ~moment : moment, packOrderText(e.orderNumber()),
                        quint32(i)});
    }

    // Already in order (the common case after an import): nothing moves.
    bool inOrder = true;
    // In order but for the direction of the moments (the list was sorted by the other rule):
    // the runs of one moment then come in reverse, each keeping its entries' order.
    bool reversedRuns = true;
    for (size_t i = 1; i < keys.size() && (inOrder || reversedRuns); ++i) {
        const PackedKey &x = keys[i - 1], &y = keys[i];
        if (x.moment == y.moment) {
            if (x.order > y.order)
                inOrder = reversedRuns = false;
        } else if (x.moment < y.moment) {
            reversedRuns = false;
        } else {
            inOrder = false;
        }
    }
    *moved = !inOrder;
    if (inOrder)
        return true;
    if (reversedRuns) {
        std::vector<PackedKey> reordered;
        reordered.reserve(keys.size());
        size_t end = keys.size();
        while (end > 0) {
            size_t begin = end - 1;
            while (begin > 0 && keys[begin - 1].moment == keys[end - 1].moment)
                --begin;
            reordered.insert(reordered.end(), keys.begin() + qsizetype(begin),
                             keys.begin() + qsizetype(end));
            end = begin;
        }
        applyOrder(items, reordered);
        return true;
    }
    std::sort(keys.begin(), keys.end());
    applyOrder(items, keys);
    return true;
}

// Whether no entry comes before the one ahead of it: one pass, nothing allocated, which is all
// a large ledger needs after an import of newer lines.
bool isInOrder(const QList<LedgerEntryPtr> &items, Qt::SortOrder rule)
{
    for (qsizetype i = 1; i < items.size(); ++i) {
        if (compareEntries(*items.at(i - 1), *items.at(i), rule) > 0)
            return false;
    }
    return true;
}

} // namespace

bool sortEntries(QList<LedgerEntryPtr> &items, Qt::SortOrder rule)
{
    if (rule != Qt::AscendingOrder && rule != Qt::DescendingOrder)
        return false; // every pair is the same: a stable sort changes nothing
    if (isInOrder(items, rule))
        return false;
    bool moved = false;
    if (sortPacked(items, rule, &moved))
        return moved;
    std::vector<SortKey> keys;
    keys.reserve(size_t(items.size()));
    for (int i = 0; i < items.size(); ++i)
        keys.push_back(keyOf(*items.at(i), i));
    const auto less = [rule](const SortKey &a, const SortKey &b) {
        return compareKeys(a, b, rule) < 0;
    };
    if (std::is_sorted(keys.begin(), keys.end(), less))
        return false;
    std::stable_sort(keys.begin(), keys.end(), less);
    QList<LedgerEntryPtr> sorted;
    sorted.reserve(items.size());
    for (const SortKey &k : keys)
        sorted.append(std::move(items[k.index]));
    items = std::move(sorted);
    return true;
}
