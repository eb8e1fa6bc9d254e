#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>

// Makes synthetic JNB statements for the benchmark: the JNB header line, then one line per
// operation in ascending time order over about ten years, with summaries drawn from a fixed
// catalogue of a few hundred shop names, transfers, ATM, commission and interest texts, and a
// running balance that never goes below zero.
class StatementGenerator
{
public:
    struct Options {
        qint64 lines = 10000;
        quint64 seed = 20240601;
        int firstYear = 2015;
        int years = 10;
        bool quoted = false; // every field in quotation marks, as the banks write them
        // Every summary made distinct by the line's number, as transfers naming their
        // counterparty make them: the worst case for shared texts.
        bool distinctSummaries = false;
    };

    explicit StatementGenerator(const Options &options);

    // The statement as text (header line and `lines` operation lines, LF-terminated).
    QString text() const;
    // The statement as UTF-8 bytes; built without going through QString.
    QByteArray utf8() const;
    // The statement as CP932 (windows-31j) bytes, the way the bank delivers it.
    QByteArray cp932() const;
    // The same, cut after the header and `firstLines` operation lines: the lines up to the cut,
    // and the header with the lines after it (a later statement).
    static std::pair<QByteArray, QByteArray> splitAfter(const QByteArray &statement,
                                                        qint64 firstLines);

    // Every distinct summary the generator may write.
    static const QStringList &catalogue();
    // A search keyword found in about 1% of the generated summaries, and one found in none.
    static QString keywordHittingAboutOnePercent();
    static QString keywordHittingNothing();

private:
    Options m_options;
};
