// Printing the shown list, into PDF files read back with pdftotext: every entry on the pages in
// the list's order, the window title as heading and "Page n of m" on every page.

#include "GuiTestSupport.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Entries with varied summaries: Japanese and Latin, the kinds the table colours, and every
// one different, so that each can be found on the pages.
QList<Operation> manyOperations(int count)
{
    const QStringList summaries{u"セブンイレブン"_s, u"Amazon Order"_s, u"給与振込"_s,
                                u"ATM"_s,           u"手数料"_s,       u"利息"_s,
                                u"Yahoo"_s,         u"ローソン新宿"_s, u"電気料金"_s,
                                u"Visa Debit"_s};
    QList<Operation> ops;
    int balance = 1000000;
    QDate date(2025, 1, 3);
    for (int i = 0; i < count; ++i) {
        Operation op;
        op.date = date.addDays(i / 3);
        op.time = QTime(8 + i % 3, (i * 7) % 60, i % 60);
        op.summary = u"%1 %2"_s.arg(summaries[i % summaries.size()]).arg(i + 1, 3, 10, QLatin1Char('0'));
        if (i % 4 == 0) {
            op.deposit = 5000 + i * 11;
            balance += op.deposit;
        } else {
            op.payment = 300 + i * 3;
            balance -= op.payment;
        }
        op.balance = balance;
        ops << op;
    }
    return ops;
}

} // namespace

class LedgerPrinterTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;
    QString m_pdftotext;

    // Prints the shown list into a PDF; answers the pages printed.
    int printToPdf(const QString &path)
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        return m_app.window->printTo(&writer);
    }
    // The text of each page of a PDF.
    QStringList pdfPages(const QString &path)
    {
        QProcess process;
        process.start(m_pdftotext, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            qWarning() << "pdftotext failed:" << process.readAllStandardError();
            return {};
        }
        // A glyph that CJK fonts share between an ideograph and its radical (手 and ⼿) may be
        // read back as either; compatibility normalisation makes them one.
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput())
                                .normalized(QString::NormalizationForm_KC)
                                .split(u'\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
    // A cell's text as the table shows it, normalised as the pages' text is.
    QString cell(int row, int column) const
    {
        return m_app.model()->index(row, column).data().toString().normalized(
            QString::NormalizationForm_KC);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        m_pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (m_pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void cleanup()
    {
        m_app.quit();
        m_home.clean();
    }

    void longListSpansPagesWithEveryEntry()
    {
        const QString statement = writeJnbFile(m_home, manyOperations(300));
        m_app.start();
        QCOMPARE(m_app.window->importFile(statement).added, 300);
        QCOMPARE(m_app.rows(), 300);
        const QString title = m_app.window->windowTitle();
        QCOMPARE(title, u"All Activity"_s);

        const QString pdf = m_home.path(u"home/activity.pdf");
        const int printed = printToPdf(pdf);
        QVERIFY2(printed > 1, qPrintable(QString::number(printed)));
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), printed);

        for (int p = 0; p < printed; ++p) {
            const QString &page = pages[p];
            QVERIFY2(page.contains(title), qPrintable(u"page %1 lacks the heading"_s.arg(p + 1)));
            const QString footer = u"Page %1 of %2"_s.arg(p + 1).arg(printed);
            QVERIFY2(page.contains(footer), qPrintable(footer));
            for (int c : {BankbookTableModel::SummaryColumn, BankbookTableModel::BalanceColumn}) {
                const QString header =
                    m_app.model()->headerData(c, Qt::Horizontal).toString();
                QVERIFY2(page.contains(header), qPrintable(header));
            }
        }

        // Every entry, once, in the list's order, its summary on the same page as its balance.
        const QString all = pages.join(u'\f');
        qsizetype from = 0;
        int page = 0;
        for (int r = 0; r < m_app.rows(); ++r) {
            const QString summary = cell(r, BankbookTableModel::SummaryColumn);
            const QString balance = cell(r, BankbookTableModel::BalanceColumn);
            const QString date = cell(r, BankbookTableModel::DateColumn);
            QVERIFY(!summary.isEmpty() && !balance.isEmpty());
            QVERIFY2(all.count(summary) == 1,
                     qPrintable(u"row %1: %2 found %3 times"_s.arg(r).arg(summary).arg(all.count(summary))));
            const qsizetype at = all.indexOf(summary, from);
            QVERIFY2(at >= 0, qPrintable(u"row %1 (%2) missing or out of order"_s.arg(r).arg(summary)));
            // On the same line: the date before it, the balance after it.
            const qsizetype lineStart = all.lastIndexOf(u'\n', at) + 1;
            const qsizetype lineEnd = all.indexOf(u'\n', at);
            const QString line = all.mid(lineStart, lineEnd - lineStart);
            QVERIFY2(line.contains(balance) && line.contains(date), qPrintable(line));
            page += int(all.mid(from, at - from).count(u'\f'));
            from = at + summary.size();
        }
        QCOMPARE(page, printed - 1);
    }

    void shortListFitsOnePage_data()
    {
        QTest::addColumn<int>("entries");
        QTest::newRow("empty ledger") << 0;
        QTest::newRow("three entries") << 3;
    }
    void shortListFitsOnePage()
    {
        QFETCH(int, entries);
        m_app.start();
        if (entries > 0) {
            QCOMPARE(m_app.window->importFile(writeJnbFile(m_home, manyOperations(entries))).added,
                     entries);
        }
        const QString pdf = m_home.path(u"home/short.pdf");
        QCOMPARE(printToPdf(pdf), 1);
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains(u"All Activity"_s));
        QVERIFY(pages[0].contains(u"Page 1 of 1"_s));
        for (int r = 0; r < entries; ++r) {
            const QString summary = cell(r, BankbookTableModel::SummaryColumn);
            QVERIFY2(pages[0].contains(summary), qPrintable(summary + u" not in\n"_s + pages[0]));
        }
    }

    void monthlyListHasItsTitleAsHeading()
    {
        m_app.start();
        QCOMPARE(m_app.window->importFile(writeJnbFile(m_home, manyOperations(300))).added, 300);
        QVERIFY(showMonthBySheet(m_app, u"2025"_s, u"2"_s));
        const QString title = m_app.window->windowTitle();
        QVERIFY2(title.contains(u"2025"_s) && title != u"All Activity"_s, qPrintable(title));
        QVERIFY(m_app.rows() > 0 && m_app.rows() < 300);

        const QString pdf = m_home.path(u"home/month.pdf");
        const int printed = printToPdf(pdf);
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), printed);
        for (int p = 0; p < printed; ++p) {
            QVERIFY(pages[p].contains(title));
            QVERIFY(pages[p].contains(u"Page %1 of %2"_s.arg(p + 1).arg(printed)));
        }
        const QString all = pages.join(u'\f');
        for (int r = 0; r < m_app.rows(); ++r)
            QVERIFY(all.contains(cell(r, BankbookTableModel::SummaryColumn)));
        // Entries of other months are not printed.
        QVERIFY(!all.contains(u"2025/01/"_s));
    }

    void deviceThatCannotBePaintedPrintsNothing()
    {
        m_app.start();
        QPdfWriter writer(m_home.path(u"no/such/folder/x.pdf"));
        QCOMPARE(m_app.window->printTo(&writer), 0);
    }
};

QTEST_MAIN(LedgerPrinterTest)
#include "LedgerPrinterTest.moc"
