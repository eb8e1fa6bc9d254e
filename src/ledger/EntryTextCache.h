#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>

// Shares the texts that many entries hold alike (dates, times, summaries): a million entries
// then hold a few thousand text buffers instead of a million each, and building a date text is a
// hash look-up instead of formatting. One per process; used on the main thread only.
class EntryTextCache
{
public:
    static EntryTextCache &instance();

    // The "Operation_Date" and "Operation_Time" texts of the numbers, shared.
    QString operationDate(int year, int month, int day);
    QString operationTime(int hour, int minute, int second);
    // The same text as the one given, shared with every earlier equal text.
    QString shared(const QString &text);

    void clear();

private:
    QHash<quint64, QString> m_dates;
    QHash<quint32, QString> m_times;
    QSet<QString> m_texts;
};
