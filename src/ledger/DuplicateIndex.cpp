#include "DuplicateIndex.h"

#include <QVarLengthArray>


namespace {
constexpr size_t kSeedA = 0x9e3779b97f4a7c15ULL;
constexpr size_t kSeedB = 0xc2b2ae3d27d4eb4fULL;

void appendText(QVarLengthArray<char16_t, 128> &buffer, const QString &text)
{
    buffer.append(char16_t(text.size() & 0xffff));
    buffer.append(char16_t(text.size() >> 16));
    buffer.append(reinterpret_cast<const char16_t *>(text.constData()), text.size());
}

void appendNumber(QVarLengthArray<char16_t, 128> &buffer, int value)
{
    buffer.append(char16_t(quint32(value) & 0xffff));
    buffer.append(char16_t(quint32(value) >> 16));
}
} // namespace

DuplicateIndex::Key DuplicateIndex::keyOf(const LedgerEntry &e)
{
    QVarLengthArray<char16_t, 128> buffer;
    appendText(buffer, e.date());
    appendText(buffer, e.time());
    appendText(buffer, e.importedSummary());
    appendNumber(buffer, e.payment());
    appendNumber(buffer, e.deposit());
    appendNumber(buffer, e.balance());
    const size_t bytes = size_t(buffer.size()) * sizeof(char16_t);
    Key key{quint64(qHashBits(buffer.constData(), bytes, kSeedA)),
            quint64(qHashBits(buffer.constData(), bytes, kSeedB))};
    if (key.a == 0 && key.b == 0)
        key.b = 1; // (0, 0) marks a free slot of the table
    return key;
}

qsizetype DuplicateIndex::indexOf(const Key &key) const
{
    const size_t mask = m_slots.size() - 1;
    size_t i = size_t(key.a) & mask;
    while (true) {
        const Slot &s = m_slots[i];
        if (s.isFree() || (s.a == key.a && s.b == key.b))
            return qsizetype(i);
        i = (i + 1) & mask;
    }
}

void DuplicateIndex::grow(qsizetype capacity)
{
    Slots old(std::move(m_slots));
    m_slots = Slots(size_t(capacity));
    for (const Slot &s : old) {
        if (!s.isFree())
            m_slots[size_t(indexOf(Key{s.a, s.b}))] = s;
    }
}

DuplicateIndex::Slot &DuplicateIndex::slotFor(const Key &key)
{
    if (m_slots.empty() || (m_size + 1) * 4 > qsizetype(m_slots.size()) * 3)
        grow(m_slots.empty() ? 16 : qsizetype(m_slots.size()) * 2);
    Slot &s = m_slots[size_t(indexOf(key))];
    if (s.isFree()) {
        s.a = key.a;
        s.b = key.b;
        ++m_size;
    }
    return s;
}

namespace {
// The hash of the entry's date text, which the key holds: entries of other dates can never
// share a key with it.
size_t dateHashOf(const LedgerEntry &e)
{
    return qHash(e.date());
}
} // namespace

int DuplicateIndex::count(const LedgerEntry &entry)
{
    countDateOf(entry);
    if (m_slots.empty())
        return 0;
    return int(m_slots[size_t(indexOf(keyOf(entry)))].count);
}

void DuplicateIndex::add(const LedgerEntry &entry)
{
    countDateOf(entry);
    ++slotFor(keyOf(entry)).count;
}

void DuplicateIndex::rebuild(const QList<LedgerEntryPtr> &ledger)
{
    clear();
    m_pendingEntries = ledger;
    const LedgerEntry *previous = nullptr;
    for (qsizetype i = 0; i < ledger.size(); ++i) {
        // Entries of one date side by side (a sorted ledger) are one run, known by their numbers
        // without looking at their date text.
        const LedgerEntry &e = *ledger.at(i);
        const bool sameDate = previous && e.hasDateFromNumbers() && previous->hasDateFromNumbers()
            && e.day() == previous->day() && e.month() == previous->month()
            && e.year() == previous->year();
        if (sameDate) {
            m_runs.back().end = i + 1;
        } else {
            qsizetype &first = m_firstRun[dateHashOf(e)];
            // Runs of a date are chained newest first; their order does not matter.
            m_runs.push_back(Run{i, i + 1, first - 1});
            first = qsizetype(m_runs.size()); // one more than the index: 0 means none
        }
        previous = &e;
    }
}

void DuplicateIndex::countDateOf(const LedgerEntry &entry)
{
    if (m_firstRun.isEmpty())
        return;
    const auto it = m_firstRun.constFind(dateHashOf(entry));
    if (it == m_firstRun.constEnd())
        return;
    qsizetype run = it.value() - 1;
    m_firstRun.erase(it);
    while (run >= 0) {
        const Run &r = m_runs[size_t(run)];
        for (qsizetype i = r.begin; i < r.end; ++i)
            ++slotFor(keyOf(*m_pendingEntries.at(i))).count;
        run = r.next;
    }
    if (m_firstRun.isEmpty()) {
        m_pendingEntries = {};
        m_runs = {};
    }
}

void DuplicateIndex::clear()
{
    m_slots = Slots();
    m_size = 0;
    m_remaining.clear();
    m_pendingEntries = {};
    m_runs = {};
    m_firstRun.clear();
    m_built = true;
}

void DuplicateIndex::invalidate()
{
    clear();
    m_built = false;
}

void DuplicateIndex::beginSession()
{
    m_remaining.clear();
    if (++m_session == 0) {
        // Four billion sessions later: forget the old marks rather than mistake one for current.
        for (Slot &s : m_slots)
            s.session = 0;
        m_session = 1;
    }
}

bool DuplicateIndex::admitLine(const LedgerEntry &line)
{
    countDateOf(line);
    const Key key = keyOf(line);
    Slot &c = slotFor(key);
    if (c.session != m_session) {
        // The first line of the key in this file: the ledger's count is the count before it.
        c.session = m_session;
        if (c.count == 0) {
            c.count = 1;
            return false;
        }
        if (c.count > 1)
            m_remaining.insert(key, c.count - 1);
        return true;
    }
    const auto it = m_remaining.find(key);
    if (it != m_remaining.end()) {
        if (--it.value() == 0)
            m_remaining.erase(it);
        return true;
    }
    ++c.count;
    return false;
}

void DuplicateIndex::remove(const LedgerEntry &entry)
{
    if (!m_built)
        return;
    countDateOf(entry);
    if (m_slots.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    size_t hole = size_t(indexOf(keyOf(entry)));
    if (m_slots[hole].isFree() || --m_slots[hole].count > 0)
        return;
    // The key is gone: close the hole by moving back the slots that probed past it.
    --m_size;
    size_t i = hole;
    while (true) {
        i = (i + 1) & mask;
        const Slot &s = m_slots[i];
        if (s.isFree())
            break;
        const size_t home = size_t(s.a) & mask;
        // s may move into the hole when its home is not cyclically within (hole, i].
        const bool homeInRange = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
        if (!homeInRange) {
            m_slots[hole] = s;
            hole = i;
        }
    }
    m_slots[hole] = Slot();
}
