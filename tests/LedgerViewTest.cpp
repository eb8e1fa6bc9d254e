#include "ledger/DataFolder.h"
#include "ledger/Ledger.h"
#include "views/LedgerView.h"
#include "views/PrintTexts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class LedgerViewTest : public QObject
{
    Q_OBJECT

    // Ledger indexes of the fixture, oldest first. Shop and ShopTwin are identical records.
    enum { Atm, Salary, Shop, ShopTwin, NoSummary, AtmFee, Gas, Note, Count };

    QTemporaryDir m_dir;
    Ledger m_ledger;
    std::unique_ptr<LedgerView> m_view;

    QList<qsizetype> ledgerIndexes() const
    {
        QList<qsizetype> out;
        for (qsizetype row = 0; row < m_view->rowCount(); ++row)
            out << m_view->ledgerIndexAt(row);
        return out;
    }
    QList<int> days() const
    {
        QList<int> out;
        for (const LedgerEntryPtr &e : m_view->rows())
            out << e->day();
        return out;
    }
    QList<int> shown() const { return {int(m_view->mode()), m_view->year(), m_view->month(), int(m_view->rowCount())}; }

private slots:
    void init()
    {
        QFile::remove(m_dir.filePath(DataFolder::archiveFileName(Bank::Jnb)));
        m_ledger.open(m_dir.path(), Bank::Jnb);
        const QStringList summaries{u"ATM 引出"_s, u"給与"_s, u"コンビニ"_s, u"コンビニ"_s, QString(),
                                    u"ATM手数料"_s, u"\u30AB\u3099ス代"_s, u"atm"_s};
        for (int i = 0; i < Count; ++i) {
            LedgerEntryPtr e = LedgerEntry::create();
            e->setYear(i == Atm ? 2025 : 2026); e->setMonth(i == Atm ? 12 : i == Salary ? 1 : 3);
            e->setDay(i == ShopTwin ? Shop : i); e->setSummary(summaries[i]);
            m_ledger.append(e);
        }
        m_ledger.at(NoSummary)->setDetails(u"ATM memo"_s); // searched: it has no summary
        m_ledger.at(Note)->setDetails(u"ATM"_s); // not searched: it has a summary
        m_view = std::make_unique<LedgerView>(m_ledger);
    }

    void listsAndMonths()
    {
        const int activity = int(ListMode::Activity), monthly = int(ListMode::Monthly);
        m_view->setMonth(2026, 3);
        m_view->switchList();
        QCOMPARE(shown(), (QList{monthly, 2026, 3, Count - Shop}));
        m_view->switchList(); // no search hits: no search list
        QCOMPARE(shown(), (QList{activity, 2026, 3, int(Count)}));
        QCOMPARE(m_view->search(u"ATM"_s), 3);
        for (ListMode mode : {ListMode::Activity, ListMode::Monthly, ListMode::Search})
            QCOMPARE((m_view->switchList(), m_view->mode()), mode);
        m_view->setMonth(2026, 1);
        m_view->showPreviousMonth();
        QCOMPARE(shown(), (QList{monthly, 2025, 12, 1}));
        m_view->showNextMonth();
        QCOMPARE(shown(), (QList{monthly, 2026, 1, 1}));
        m_view->showMonth(u"2025"_s, u"13"_s); // past December: January of the next year
        QCOMPARE(shown(), (QList{monthly, 2026, 1, 1}));
        m_view->showMonth(u"2026"_s, u"March"_s);
        QCOMPARE(shown(), (QList{monthly, 2026, 0, 0}));
    }

    void monthInput_data()
    {
        QTest::addColumn<QString>("year"); QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("refused"); // a word of the message, empty when accepted
        QTest::newRow("2026/3") << u"2026"_s << u"3"_s << QString();
        QTest::newRow("2026/12") << u"2026"_s << u"12"_s << QString();
        QTest::newRow("month 0") << u"2026"_s << u"0"_s << u"month"_s;
        QTest::newRow("month 13") << u"2026"_s << u"13"_s << u"month"_s;
        QTest::newRow("month in letters") << u"2026"_s << u"March"_s << u"month"_s;
        QTest::newRow("no month") << u"2026"_s << QString() << u"month"_s;
        QTest::newRow("year in letters") << u"abc"_s << u"3"_s << u"year"_s;
        QTest::newRow("year 0") << u"0"_s << u"3"_s << u"year"_s;
        QTest::newRow("year of five digits") << u"20260"_s << u"3"_s << u"year"_s;
    }
    void monthInput()
    {
        QFETCH(QString, year); QFETCH(QString, month); QFETCH(QString, refused);
        const QString error = LedgerView::monthInputError(year, month);
        QVERIFY2(refused.isEmpty() ? error.isEmpty() : error.contains(refused), qPrintable(error));
        // The list shown of a month is printed to a file named without a path separator.
        m_view->setMonth(2026, 11);
        m_view->switchList();
        QCOMPARE(m_view->proposedPrintName(), u"Monthly Statement 2026-11"_s);
    }

    void search_data()
    {
        QTest::addColumn<QString>("keyword"); QTest::addColumn<QList<qsizetype>>("hits");
        QTest::newRow("case counts") << u"ATM"_s << QList<qsizetype>{Atm, NoSummary, AtmFee};
        // The Gas entry's text is decomposed, as some tools write it.
        QTest::newRow("decomposed keyword") << u"\u30AB\u3099ス"_s << QList<qsizetype>{Gas};
        QTest::newRow("precomposed keyword") << u"ガス"_s << QList<qsizetype>{Gas};
        QTest::newRow("no hit") << u"zzz"_s << QList<qsizetype>();
        // A loaded archive keeps its summaries side by side: the end of one and the start of
        // the next are no hit.
        QTest::newRow("across two summaries") << u"出給"_s << QList<qsizetype>();
    }
    // The same in the ledger as made and as read back from its archive.
    void search()
    {
        QFETCH(QString, keyword); QFETCH(QList<qsizetype>, hits);
        for (const bool readBack : {false, true}) {
            if (readBack) {
                QVERIFY(m_ledger.save(nullptr));
                m_ledger.open(m_dir.path(), Bank::Jnb);
                m_view = std::make_unique<LedgerView>(m_ledger);
            }
            QCOMPARE(m_view->search(u"コンビニ"_s), 2);
            QCOMPARE(m_view->search(keyword), int(hits.size()));
            // No hit while hits are shown: the whole ledger comes back, no stale rows.
            QCOMPARE(m_view->mode(), hits.isEmpty() ? ListMode::Activity : ListMode::Search);
            QCOMPARE(m_view->rowCount(), hits.isEmpty() ? Count : hits.size());
            QCOMPARE(ledgerIndexes().first(hits.size()), hits);
        }
    }

    // One order for every list, kept by the next month's list and by a new search.
    void orderIsKeptAcrossListsAndMonths()
    {
        m_view->showMonth(u"2026"_s, u"3"_s);
        m_view->reverseOrder();
        QCOMPARE(days(), (QList{7, 6, 5, 4, 2, 2}));
        m_view->showPreviousMonth();
        m_view->showNextMonth();
        QCOMPARE(days(), (QList{7, 6, 5, 4, 2, 2}));
        QCOMPARE(m_view->search(u"ATM"_s), 3);
        QCOMPARE(days(), (QList{5, 4, 0}));
        QCOMPARE(m_view->title(), u"Search Results: “ATM”"_s);
        m_view->switchList();
        QCOMPARE(days().first(3), (QList{7, 6, 5}));
    }

    // An entry deleted through any list leaves the monthly list and the search hits, also where
    // they still hold it as it was before a change; its look-alike stays.
    void aDeletedEntryLeavesEveryList_data()
    {
        QTest::addColumn<ListMode>("mode"); QTest::addColumn<int>("row"); QTest::addColumn<int>("index");
        QTest::newRow("from the monthly list") << ListMode::Monthly << 3 << int(AtmFee);
        QTest::newRow("from the search list") << ListMode::Search << 2 << int(AtmFee);
        QTest::newRow("from all activity") << ListMode::Activity << int(AtmFee) << int(AtmFee);
        QTest::newRow("a look-alike stays") << ListMode::Activity << int(Shop) << int(Shop);
    }
    void aDeletedEntryLeavesEveryList()
    {
        QFETCH(ListMode, mode); QFETCH(int, row); QFETCH(int, index);
        m_view->setMonth(2026, 3);
        m_view->rebuildMonthlyList();
        QCOMPARE(m_view->search(u"ATM"_s), 3);
        m_ledger.replace(index, m_ledger.at(index)->makeReplacement());
        m_view->setMode(mode);
        const LedgerEntry *gone = m_ledger.at(index).data();
        QCOMPARE(m_view->entryAt(row)->latest(), gone);
        m_view->removeRow(row);
        const auto holds = [gone](const QList<LedgerEntryPtr> &list) {
            return std::count_if(list.begin(), list.end(),
                                 [gone](const LedgerEntryPtr &e) { return e->latest() == gone; });
        };
        QCOMPARE((QList{holds(m_view->monthlyList()), holds(m_view->searchList())}), (QList<qsizetype>{0, 0}));
        QCOMPARE(m_view->monthlyList().size(), Count - Shop - 1);
        QCOMPARE(m_view->searchList().size(), index == AtmFee ? 2 : 3);
    }

    // What a printout says above and below the shown list's rows.
    void printoutHeadingAndClosingLine_data()
    {
        QTest::addColumn<Bank>("bank"); QTest::addColumn<ListMode>("mode");
        QTest::addColumn<QString>("heading"); QTest::addColumn<QString>("closing");
        QTest::newRow("all activity") << Bank::Jnb << ListMode::Activity << u"JNB — All Activity"_s
            << u"8 entries — Payment 12,345,675円, Deposit 2,000,000円"_s;
        QTest::newRow("a month") << Bank::Ebank << ListMode::Monthly
            << u"eBANK — Monthly Statement 2026/03"_s << u"6 entries — Payment 2,000円, Deposit 0円"_s;
        QTest::newRow("a search") << Bank::Ebank << ListMode::Search << u"eBANK — Search: ATM"_s
            << u"3 entries — Payment 12,344,175円, Deposit 0円"_s;
    }
    void printoutHeadingAndClosingLine()
    {
        QFETCH(Bank, bank); QFETCH(ListMode, mode); QFETCH(QString, heading); QFETCH(QString, closing);
        m_ledger.at(Atm)->setPayment(12343675); m_ledger.at(Salary)->setDeposit(2000000);
        m_ledger.at(Shop)->setPayment(1500); m_ledger.at(AtmFee)->setPayment(500);
        m_view->showMonth(u"2026"_s, u"3"_s);
        QCOMPARE(m_view->search(u"ATM"_s), 3);
        m_view->setMode(mode);
        QCOMPARE(PrintTexts::heading(bank, *m_view), heading);
        QCOMPARE(PrintTexts::closingLine(totalsOf(m_view->rows())), closing);
    }

    void rowsLeadToLedgerEntries()
    {
        m_view->showMonth(u"2026"_s, u"3"_s);
        QCOMPARE(ledgerIndexes(), (QList<qsizetype>{Shop, ShopTwin, NoSummary, AtmFee, Gas, Note}));
        QCOMPARE(m_view->ledgerIndexAt(Count - Shop), -1);
        const LedgerEntryPtr replacement = m_ledger.at(ShopTwin)->makeReplacement();
        m_view->replaceRow(1, replacement);
        m_view->removeRow(0);
        QCOMPARE(m_view->entryAt(0), replacement.data());
        QCOMPARE(m_view->rowCount(), Count - Shop - 1);
        QCOMPARE(m_ledger.size(), Count); // the ledger is the caller's to change
        // Entries replaced while another list is shown: the rows follow the replacements.
        QCOMPARE(m_view->search(u"ATM"_s), 3);
        m_ledger.replace(AtmFee, m_ledger.at(AtmFee)->makeReplacement());
        m_ledger.replace(AtmFee, m_ledger.at(AtmFee)->makeReplacement());
        QCOMPARE(ledgerIndexes(), (QList<qsizetype>{Atm, NoSummary, AtmFee}));
        // Entries gone from the ledger, its first one among them: their rows lead nowhere.
        m_ledger.removeAt(Atm);
        m_ledger.removeAt(NoSummary - 1);
        QCOMPARE(ledgerIndexes(), (QList<qsizetype>{-1, -1, AtmFee - 2}));
        m_view->forgetEntries();
        QCOMPARE(m_view->mode(), ListMode::Activity);
        QVERIFY(m_view->searchList().isEmpty());
    }
};

QTEST_GUILESS_MAIN(LedgerViewTest)
#include "LedgerViewTest.moc"
