#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>

// Shares the texts that many entries hold alike (dates, times, summaries): a million entries
// then hold a few thousand text buffers instead of a million each, and building a date text is a
// table look-up instead of formatting. One per process; used on the main thread only.
//
// The date texts of the years 1900 to 2199 and every time text of a day are written once into
// blocks that live as long as the process, and handed out as raw-data strings: copying one then
// touches neither a reference count nor the block, which keeps a million-line import from
// stalling on cache misses. Other dates and times are formatted and shared through a hash.
class EntryTextCache
{
public:
    static EntryTextCache &instance();

    EntryTextCache();
    ~EntryTextCache();
    EntryTextCache(const EntryTextCache &) = delete;
    EntryTextCache &operator=(const EntryTextCache &) = delete;

    // The "Operation_Date" and "Operation_Time" texts of the numbers, shared.
    QString dateText(int year, int month, int day);
    QString timeText(int hour, int minute, int second);
    // The date or time text of numbers within the fixed blocks (the years 1900 to 2199, the
    // times of a day), null for others; safe on any thread.
    static QString fixedDateText(int year, int month, int day);
    static QString fixedTimeText(int hour, int minute, int second);
    // The text as a string (null when isNull).
    QString shared(QStringView text, bool isNull = false);

    // Forgets the hashed dates and times. The fixed date and time blocks and the free texts
    // stay: entries may still point into them.
    void clear();

private:
    struct FixedBlocks;

    QHash<quint64, QString> m_dates;
    QHash<quint32, QString> m_times;
};
