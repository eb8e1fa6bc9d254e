// What the status bar says of an import of one file or several (untranslated: the counts' plural
// forms come with the window's catalogues).

#include "views/StatusTexts.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<StatusTexts::FileImport>)

namespace {
StatusTexts::FileImport imported(const QString &file, Bank bank, int added, int duplicates,
                                 int rejected = 0, int gapsClosed = 0)
{
    ImportReport r{.bank = bank, .added = added, .duplicates = duplicates, .rejected = rejected,
                   .gapsClosed = gapsClosed};
    for (int line = 2; line < 2 + rejected; ++line)
        r.rejectedLines.append({line, u"no date"_s, u"2026,2,30"_s});
    return {file, r};
}
StatusTexts::FileImport failed(const QString &file, ImportReport::Status status, const QString &why)
{
    return {file, ImportReport{.status = status, .error = why}};
}
} // namespace

class StatusTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void importsAreReportedInTotalAndByFile_data()
    {
        QTest::addColumn<QList<StatusTexts::FileImport>>("imports");
        QTest::addColumn<QString>("summary"); QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("alert"); // of the files that could not be imported
        const auto a = imported(u"A.csv"_s, Bank::Jnb, 800, 40, 2);
        const auto b = imported(u"B.csv"_s, Bank::Ebank, 12, 0, 0, 2);
        const auto c = failed(u"C.csv"_s, ImportReport::Empty, u"C.csv is empty."_s);
        const QString aLine = u"A.csv (JNB): 800 entries added, 40 duplicates skipped, 2 lines rejected"_s;
        const QString bLine = u"B.csv (eBANK): 12 entries added, 0 duplicates skipped"_s;
        QTest::newRow("one file") << QList{a} << aLine << QString() << QString();
        QTest::newRow("two files")
            << QList{a, b}
            << u"Closed 2 gaps in the balances. Imported 2 files: 812 entries added, 40 duplicates "
               "skipped, 2 lines rejected"_s
            << aLine + u"\nClosed 2 gaps in the balances. "_s + bLine << QString();
        QTest::newRow("three files, one not imported")
            << QList{a, c, a}
            << u"Imported 2 of 3 files: 1600 entries added, 80 duplicates skipped, 4 lines rejected"_s
            << QStringList{aLine, u"C.csv: nothing imported. C.csv is empty."_s, aLine}.join(u'\n')
            << u"C.csv: nothing imported. C.csv is empty."_s;
    }
    void importsAreReportedInTotalAndByFile()
    {
        QFETCH(QList<StatusTexts::FileImport>, imports); QFETCH(QString, summary);
        QFETCH(QString, details); QFETCH(QString, alert);
        QCOMPARE(StatusTexts::importSummary(imports), summary);
        QCOMPARE(StatusTexts::importDetails(imports), details);
        QCOMPARE(StatusTexts::importFailures(imports), alert);
        // The rejected lines of several files are told under each file's name.
        const QString rejected = StatusTexts::rejectedLines(imports);
        const qsizetype withRejected = std::count_if(imports.cbegin(), imports.cend(),
            [](const StatusTexts::FileImport &i) { return i.report.rejected > 0; });
        QCOMPARE(rejected.count(u"line 3: no date"_s), withRejected);
        QCOMPARE(rejected.count(u"A.csv\n"_s), imports.size() > 1 ? withRejected : 0);
        // Their sheet: each line's text beside its reason.
        const StatusTexts::RejectedRow first = StatusTexts::rejectedRows(imports).value(0);
        QCOMPARE(QStringList({first.where, first.text, first.reason}),
                 QStringList({imports.size() > 1 ? u"A.csv, line 2"_s : u"line 2"_s,
                              u"2026,2,30"_s, u"no date"_s}));
    }
};

QTEST_GUILESS_MAIN(StatusTextsTest)
#include "StatusTextsTest.moc"
