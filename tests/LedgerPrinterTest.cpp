// Printing the shown list, into PDF files read back with pdftotext: every entry on the pages in
// the list's order with its date and balance, the bank and the list as heading and
// "Page n of m" on every page, the count and the sums after the last row; and printing the
// Summary: its chart and its periods from the first to the last.

#include "GuiTestSupport.h"
#include "summary/ViewSwitcher.h"
#include "views/PrintTexts.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace GuiTest;

class LedgerPrinterTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    // The text of the PDF file, as pdftotext lays it out; pages apart by form feeds.
    static QString pdfText(const QString &pdf)
    {
        QProcess process;
        process.start(QStandardPaths::findExecutable(u"pdftotext"_s),
                      {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
        return process.waitForFinished(60000) && process.exitCode() == 0
            ? QString::fromUtf8(process.readAllStandardOutput()) : u"pdftotext failed"_s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void cleanup() { m_app.quit(); m_home.clean(); }

    void pagesHoldEveryEntryUnderTheTitle_data()
    {
        QTest::addColumn<int>("entries"); // three a day from 3 January 2025
        QTest::newRow("empty ledger") << 0;
        QTest::newRow("long list") << 300;
    }
    void pagesHoldEveryEntryUnderTheTitle()
    {
        QFETCH(int, entries);
        QList<Operation> operations; // each summary its own, Japanese and Latin
        for (int i = 0; i < entries; ++i)
            operations << Operation{QDate(2025, 1, 3).addDays(i / 3),
                                    u"%1 %2"_s.arg(i % 2 ? u"セブン手数料"_s : u"Amazon"_s).arg(i + 1000),
                                    i % 4 ? 300 + i : 0, i % 4 ? 0 : 5000, 900000 - i,
                                    QTime(8 + i % 3, i % 60)};
        QVERIFY(m_app.startWith(m_home, operations));
        const QString heading = PrintTexts::heading(m_app.controller->bank(), m_app.controller->view());
        const QString closing = PrintTexts::closingLine(m_app.controller->view().totals());

        const QString pdf = m_home.path(u"home/list.pdf");
        QPdfWriter writer(pdf);
        const int printed = m_app.window->printTo(&writer);
        QCOMPARE(printed > 1, entries > 0);
        // A glyph that CJK fonts share between an ideograph and its radical (手 and ⼿) may
        // read back as either.
        const QString all = pdfText(pdf).normalized(QString::NormalizationForm_KC);
        const QStringList pages = all.split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), printed);
        for (int p = 0; p < printed; ++p) {
            const QString foot = u"Page %1 of %2"_s.arg(p + 1).arg(printed);
            QVERIFY2(pages[p].contains(heading) && pages[p].contains(foot), qPrintable(pages[p]));
            QCOMPARE(pages[p].contains(closing), p == printed - 1);
        }
        // Every row once, in the list's order, its date and balance on its line.
        qsizetype at = 0;
        for (int r = 0; r < m_app.rows(); ++r) {
            const auto cell = [&](int c) { return m_app.model()->index(r, c).data().toString(); };
            QCOMPARE(all.count(cell(BankbookTableModel::SummaryColumn)), 1);
            at = all.indexOf(cell(BankbookTableModel::SummaryColumn), at);
            const QString line = all.mid(all.lastIndexOf(u'\n', at) + 1).section(u'\n', 0, 0);
            QVERIFY2(at >= 0 && line.contains(cell(BankbookTableModel::DateColumn))
                         && line.contains(cell(BankbookTableModel::BalanceColumn)),
                     qPrintable(line));
        }
    }

    void summaryPrintsTheChartAndEveryPeriod()
    {
        QList<Operation> operations; // one a week over three years
        for (int i = 0; i < 156; ++i)
            operations << Operation{QDate(2024, 1, 2).addDays(7 * i), u"op %1"_s.arg(i),
                                    i % 2 ? 1000 : 0, i % 2 ? 0 : 3000, 100000 + i * 1000};
        QVERIFY(m_app.startWith(m_home, operations));
        m_app.window->views()->showSummary();
        const QString pdf = m_home.path(u"home/summary.pdf");
        QPdfWriter writer(pdf);
        const int printed = m_app.window->printTo(&writer);
        const QString all = pdfText(pdf);
        QCOMPARE(all.split(u'\f', Qt::SkipEmptyParts).size(), printed);
        QVERIFY(printed > 1);
        QVERIFY2(all.contains(u"Summary of JNB"_s) && all.contains(u"Closing balance"_s)
                     && all.contains(u"Page 1 of %1"_s.arg(printed)), qPrintable(all));
        for (const QString &month : {u"2024/01"_s, u"2025/07"_s, u"2026/12"_s})
            QVERIFY2(all.contains(month), qPrintable(month));
        QVERIFY(all.contains(u"Total"_s));
    }
};

QTEST_MAIN(LedgerPrinterTest)
#include "LedgerPrinterTest.moc"
