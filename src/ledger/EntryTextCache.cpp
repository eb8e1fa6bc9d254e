#include "EntryTextCache.h"

#include "DataTexts.h"

namespace {
// How many distinct free texts (summaries) the cache keeps before it starts afresh, so that a
// long run over many unusual statements cannot grow it without bound.
constexpr qsizetype kMaxSharedTexts = 1 << 20;
}

EntryTextCache &EntryTextCache::instance()
{
    static EntryTextCache cache;
    return cache;
}

QString EntryTextCache::operationDate(int year, int month, int day)
{
    if (month < 0 || month > 255 || day < 0 || day > 255)
        return DataTexts::formatOperationDate(year, month, day);
    const quint64 key = (quint64(quint32(year)) << 16) | (quint64(month) << 8) | quint64(day);
    auto it = m_dates.find(key);
    if (it == m_dates.end())
        it = m_dates.insert(key, DataTexts::formatOperationDate(year, month, day));
    return it.value();
}

QString EntryTextCache::operationTime(int hour, int minute, int second)
{
    if (hour < 0 || hour > 255 || minute < 0 || minute > 255 || second < 0 || second > 255)
        return DataTexts::formatOperationTime(hour, minute, second);
    const quint32 key = (quint32(hour) << 16) | (quint32(minute) << 8) | quint32(second);
    auto it = m_times.find(key);
    if (it == m_times.end())
        it = m_times.insert(key, DataTexts::formatOperationTime(hour, minute, second));
    return it.value();
}

QString EntryTextCache::shared(const QString &text)
{
    if (text.isEmpty())
        return text;
    const auto it = m_texts.constFind(text);
    if (it != m_texts.constEnd())
        return *it;
    if (m_texts.size() >= kMaxSharedTexts)
        m_texts.clear();
    m_texts.insert(text);
    return text;
}

void EntryTextCache::clear()
{
    m_dates.clear();
    m_times.clear();
    m_texts.clear();
}
