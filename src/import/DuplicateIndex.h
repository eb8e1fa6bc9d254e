#pragma once

#include "ledger/BalanceInfoItem.h"

#include <QHash>
#include <QList>

// Counts the ledger's entries by the key that tells a re-imported line from a new operation:
// date text, time text, summary as imported, payment, deposit and balance (the balance after
// the operation tells two real operations of one day and shop apart).
//
// The key is held as a 128-bit fingerprint (two independently seeded hashes of the key's text)
// rather than as the texts themselves: that keeps the index at a few dozen bytes an entry. Two
// different keys share a fingerprint with a probability of about n²/2¹²⁹, nil for any ledger.
class DuplicateIndex
{
public:
    struct Key {
        quint64 a = 0;
        quint64 b = 0;
        friend bool operator==(const Key &x, const Key &y) { return x.a == y.a && x.b == y.b; }
        friend size_t qHash(const Key &k, size_t seed = 0) { return size_t(k.a) ^ seed; }
    };

    static Key keyOf(const BalanceInfoItem &entry);

    bool isBuilt() const { return m_built; }
    void rebuild(const QList<BalanceInfoItemPtr> &ledger);
    void clear(); // empty and built: an empty ledger
    void invalidate(); // rebuilt at the next use

    int count(const Key &key) const { return m_counts.value(key, 0); }
    void add(const Key &key) { ++m_counts[key]; }
    void add(const BalanceInfoItem &entry) { add(keyOf(entry)); }
    void remove(const BalanceInfoItem &entry);

private:
    QHash<Key, quint32> m_counts;
    bool m_built = false;
};
