#include "EntryTextCache.h"

#include "DataTexts.h"

#include <atomic>
#include <cstring>

namespace {
// The years whose dates are kept in fixed blocks: every date a bank statement can hold.
constexpr int kFirstFixedYear = 1900;
constexpr int kFixedYears = 300;
// One block a year: 12 months of 31 days, each "yyyy/mm/dd" (10 characters).
constexpr int kDateLength = 10;
constexpr int kDatesPerYear = 12 * 31;
// One block an hour: 3600 times of "hh:mm:ss" (8 characters).
constexpr int kTimeLength = 8;
constexpr int kTimesPerHour = 3600;

void putTwoDigits(char16_t *out, int v)
{
    out[0] = char16_t(u'0' + v / 10);
    out[1] = char16_t(u'0' + v % 10);
}
} // namespace

// The blocks are filled on first use and never freed: raw-data strings into them may be held by
// entries anywhere, for as long as the process runs. At most 2.2 MB of dates and 1.4 MB of
// times, and only the years and hours actually met. Entries may make their texts from them on
// any thread: a block is published once, whole.
struct EntryTextCache::FixedBlocks {
    std::array<std::atomic<char16_t *>, kFixedYears> years{};
    std::array<std::atomic<char16_t *>, 24> hours{};

    template<typename Fill>
    static const char16_t *block(std::atomic<char16_t *> &slot, size_t size, Fill fill)
    {
        char16_t *block = slot.load(std::memory_order_acquire);
        if (block)
            return block;
        auto made = std::make_unique<char16_t[]>(size);
        fill(made.get());
        if (slot.compare_exchange_strong(block, made.get(), std::memory_order_acq_rel))
            return made.release();
        return block; // another thread was first
    }

    const char16_t *year(int y)
    {
        return block(years[size_t(y - kFirstFixedYear)], size_t(kDatesPerYear) * kDateLength,
                     [y](char16_t *p) {
                         for (int m = 1; m <= 12; ++m) {
                             for (int d = 1; d <= 31; ++d, p += kDateLength) {
                                 putTwoDigits(p, y / 100);
                                 putTwoDigits(p + 2, y % 100);
                                 p[4] = u'/';
                                 putTwoDigits(p + 5, m);
                                 p[7] = u'/';
                                 putTwoDigits(p + 8, d);
                             }
                         }
                     });
    }

    const char16_t *hour(int h)
    {
        return block(hours[size_t(h)], size_t(kTimesPerHour) * kTimeLength, [h](char16_t *p) {
            for (int m = 0; m < 60; ++m) {
                for (int s = 0; s < 60; ++s, p += kTimeLength) {
                    putTwoDigits(p, h);
                    p[2] = u':';
                    putTwoDigits(p + 3, m);
                    p[5] = u':';
                    putTwoDigits(p + 6, s);
                }
            }
        });
    }

    static FixedBlocks &instance()
    {
        // Deliberately leaked: strings into the blocks may outlive every static destructor.
        static FixedBlocks *blocks = new FixedBlocks;
        return *blocks;
    }
};

QString EntryTextCache::fixedDateText(int year, int month, int day)
{
    if (year < kFirstFixedYear || year >= kFirstFixedYear + kFixedYears || month < 1
        || month > 12 || day < 1 || day > 31)
        return QString();
    const char16_t *block = FixedBlocks::instance().year(year);
    return QString::fromRawData(
        reinterpret_cast<const QChar *>(block + ((month - 1) * 31 + (day - 1)) * kDateLength),
        kDateLength);
}

QString EntryTextCache::fixedTimeText(int hour, int minute, int second)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60)
        return QString();
    const char16_t *block = FixedBlocks::instance().hour(hour);
    return QString::fromRawData(
        reinterpret_cast<const QChar *>(block + (minute * 60 + second) * kTimeLength),
        kTimeLength);
}

EntryTextCache &EntryTextCache::instance()
{
    // Never destroyed: entries may hold its texts up to the end, and forgetting a million texts
    // one by one would only slow the process's end.
    static EntryTextCache *cache = new EntryTextCache;
    return *cache;
}

EntryTextCache::EntryTextCache() = default;
EntryTextCache::~EntryTextCache() = default;

QString EntryTextCache::dateText(int year, int month, int day)
{
    if (QString fixed = fixedDateText(year, month, day); !fixed.isNull())
        return fixed;
    if (month < 0 || month > 255 || day < 0 || day > 255)
        return DataTexts::formatOperationDate(year, month, day);
    const quint64 key = (quint64(quint32(year)) << 16) | (quint64(month) << 8) | quint64(day);
    auto it = m_dates.find(key);
    if (it == m_dates.end())
        it = m_dates.insert(key, DataTexts::formatOperationDate(year, month, day));
    return it.value();
}

QString EntryTextCache::timeText(int hour, int minute, int second)
{
    if (QString fixed = fixedTimeText(hour, minute, second); !fixed.isNull())
        return fixed;
    if (hour < 0 || hour > 255 || minute < 0 || minute > 255 || second < 0 || second > 255)
        return DataTexts::formatOperationTime(hour, minute, second);
    const quint32 key = (quint32(hour) << 16) | (quint32(minute) << 8) | quint32(second);
    auto it = m_times.find(key);
    if (it == m_times.end())
        it = m_times.insert(key, DataTexts::formatOperationTime(hour, minute, second));
    return it.value();
}

QString EntryTextCache::shared(QStringView text, bool isNull)
{
    return isNull || text.isNull() ? QString() : text.toString();
}

void EntryTextCache::clear()
{
    m_dates.clear();
    m_times.clear();
}
