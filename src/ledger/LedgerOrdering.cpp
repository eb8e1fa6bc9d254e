#include "LedgerOrdering.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
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

int compareKeys(const SortKey &a, const SortKey &b, int rule)
{
    if (rule != OrderAscending && rule != OrderDescending)
        return 0;
    if (a.moment != b.moment) {
        const bool aEarlier = a.moment < b.moment;
        if (rule == OrderAscending)
            return aEarlier ? -1 : 1;
        return aEarlier ? 1 : -1;
    }
    return compareOrderTexts(a.order, b.order);
}

SortKey keyOf(const BalanceInfoItem &e, int index)
{
    return SortKey{{e.operationYear(), e.operationMonth(), e.operationDay(), e.operationHour(),
                    e.operationMinute(), e.operationSecond()},
                   e.operationOrder(),
                   index};
}

} // namespace

int infoItemSortMethodByOperationDateTime(const BalanceInfoItem &a, const BalanceInfoItem &b,
                                          int rule)
{
    return compareKeys(keyOf(a, 0), keyOf(b, 0), rule);
}

void sortBalanceInfoItems(QList<BalanceInfoItemPtr> &items, int rule)
{
    if (rule != OrderAscending && rule != OrderDescending)
        return; // every pair is the same: a stable sort changes nothing
    std::vector<SortKey> keys;
    keys.reserve(size_t(items.size()));
    for (int i = 0; i < items.size(); ++i)
        keys.push_back(keyOf(*items.at(i), i));
    const auto less = [rule](const SortKey &a, const SortKey &b) {
        return compareKeys(a, b, rule) < 0;
    };
    if (std::is_sorted(keys.begin(), keys.end(), less))
        return;
    std::stable_sort(keys.begin(), keys.end(), less);
    QList<BalanceInfoItemPtr> sorted;
    sorted.reserve(items.size());
    for (const SortKey &k : keys)
        sorted.append(std::move(items[k.index]));
    items = std::move(sorted);
}
