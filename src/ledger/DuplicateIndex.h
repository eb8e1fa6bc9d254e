#pragma once

#include "ledger/HugePageArray.h"
#include "ledger/LedgerEntry.h"

#include <QHash>
#include <QList>

#include <vector>

#include <utility>

// Counts the ledger's entries by the key that tells a re-imported line from a new operation:
// date text, time text, summary as imported, payment, deposit and balance (the balance after
// the operation tells two real operations of one day and shop apart).
//
// The key is held as a 128-bit fingerprint (two independently seeded hashes of the key's text)
// rather than as the texts themselves: that keeps the index at a few dozen bytes an entry. Two
// different keys share a fingerprint with a probability of about n²/2¹²⁹, nil for any ledger.
//
// The index also carries the duplicate bookkeeping of one statement file (a session): the k-th
// line of a key is a duplicate only when the ledger held at least k entries of that key before
// the file was read, so that two real, identical operations in one statement both stay, while a
// re-import adds nothing. Each key remembers the last session that met it, so a session needs
// no table of its own except for the rare keys the ledger held more than once.
//
// The ledger's entries are counted a date at a time, when a line of that date is first met:
// the date is part of the key, and a statement mostly brings days the ledger has not seen, so
// adding a month to a ledger of a million entries counts the few entries of its days, not all.
class DuplicateIndex
{
public:
    struct Key {
        quint64 a = 0;
        quint64 b = 0;
        friend bool operator==(const Key &x, const Key &y) { return x.a == y.a && x.b == y.b; }
        friend size_t qHash(const Key &k, size_t seed = 0) { return size_t(k.a) ^ seed; }
    };

    static Key keyOf(const LedgerEntry &entry);

    bool isBuilt() const { return m_built; }
    // Takes the ledger's entries, to be counted when their date is first asked about.
    void rebuild(const QList<LedgerEntryPtr> &ledger);
    void clear(); // empty and built: an empty ledger
    void invalidate(); // rebuilt at the next use
    qsizetype size() const { return m_size; }

    // How many entries of the ledger have the entry's key.
    int count(const LedgerEntry &entry);
    void add(const LedgerEntry &entry);
    void remove(const LedgerEntry &entry);

    // Starts the bookkeeping of one statement file.
    void beginSession();
    // A line of the current session: answers true when it is a duplicate; otherwise counts it as
    // an entry added to the ledger and answers false.
    bool admitLine(const LedgerEntry &line);
    void endSession() { m_remaining.clear(); }

private:
    // An open-addressing table (linear probing, at most three quarters full) of fingerprints
    // with their counts inline: a look-up in a million keys is one cache miss, not the two or
    // three of a node-based hash. The fingerprint (0, 0) marks a free slot; keyOf() never makes
    // it.
    struct Slot {
        quint64 a = 0;
        quint64 b = 0;
        quint32 count = 0;   // entries of the key in the ledger
        quint32 session = 0; // the last session that met the key; 0 none
        bool isFree() const { return a == 0 && b == 0; }
    };
    // Counts the ledger's entries of the entry's date, when that was not done yet.
    void countDateOf(const LedgerEntry &entry);
    qsizetype indexOf(const Key &key) const; // the key's slot, or the free slot where it goes
    Slot &slotFor(const Key &key);           // the key's slot, made if needed (count 0)
    void grow(qsizetype capacity);

    // The slots, a power of two of them or none.
    using Slots = HugePageArray<Slot>;
    Slots m_slots;
    qsizetype m_size = 0;
    // The ledger's entries not counted yet: runs of one date each (by the hash of its text),
    // chained by date.
    struct Run {
        qsizetype begin = 0;
        qsizetype end = 0;
        qsizetype next = -1; // the next run of the same date
    };
    QList<LedgerEntryPtr> m_pendingEntries;
    std::vector<Run> m_runs;
    QHash<size_t, qsizetype> m_firstRun; // by the date text's hash
    // Keys of the current session that are still owed duplicates beyond their first (the ledger
    // held them at least twice before the file was read).
    QHash<Key, quint32> m_remaining;
    quint32 m_session = 0;
    bool m_built = false;
};
