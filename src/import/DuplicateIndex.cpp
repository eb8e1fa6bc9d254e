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

DuplicateIndex::Key DuplicateIndex::keyOf(const BalanceInfoItem &e)
{
    QVarLengthArray<char16_t, 128> buffer;
    appendText(buffer, e.operationDate());
    appendText(buffer, e.operationTime());
    appendText(buffer, e.importedSummary());
    appendNumber(buffer, e.payment());
    appendNumber(buffer, e.deposit());
    appendNumber(buffer, e.balance());
    const size_t bytes = size_t(buffer.size()) * sizeof(char16_t);
    return Key{quint64(qHashBits(buffer.constData(), bytes, kSeedA)),
               quint64(qHashBits(buffer.constData(), bytes, kSeedB))};
}

void DuplicateIndex::rebuild(const QList<BalanceInfoItemPtr> &ledger)
{
    m_counts.clear();
    m_counts.reserve(ledger.size());
    for (const BalanceInfoItemPtr &entry : ledger)
        add(*entry);
    m_built = true;
}

void DuplicateIndex::clear()
{
    m_counts.clear();
    m_built = true;
}

void DuplicateIndex::invalidate()
{
    m_counts.clear();
    m_built = false;
}

void DuplicateIndex::remove(const BalanceInfoItem &entry)
{
    if (!m_built)
        return;
    const auto it = m_counts.find(keyOf(entry));
    if (it == m_counts.end())
        return;
    if (--it.value() == 0)
        m_counts.erase(it);
}
