// The main window's three lists driven as a user drives them, on the offscreen platform: the
// list command and the titles, month navigation and the change-month sheet, searching, marking
// and editing rows of every list, and deleting through the confirmation sheets.

#include "GuiTestSupport.h"
#include "views/StringTable.h"

#include <QMessageBox>
#include <QSettings>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

QString activityTitle()
{
    return StringTable::localizedString(u"Window_Title_Activity");
}

QString searchTitle()
{
    return StringTable::localizedString(u"Window_Title_Search");
}

// The first day of the month that is the given number of months from this one.
QDate monthFromNow(int months)
{
    const QDate today = QDate::currentDate();
    return QDate(today.year(), today.month(), 1).addMonths(months);
}

} // namespace

class BankbookWindowListsTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    // Two operations this month, one last month, one in the first month of next year, and two
    // around a fixed year end.
    bool startWithLedger()
    {
        const QDate thisMonth = monthFromNow(0);
        const QDate nextJanuary(thisMonth.year() + 1, 1, 15);
        const QString path = writeJnbFile(
            m_home, {{QDate(2024, 12, 31), u"大晦日"_s, 100, 0, 10000},
                     {QDate(2025, 1, 2), u"初詣"_s, 200, 0, 9800},
                     {monthFromNow(-1).addDays(2), u"Amazon"_s, 3000, 0, 6800},
                     {thisMonth, u"セブンイレブン"_s, 1500, 0, 5300},
                     {thisMonth, u"Amazon Prime"_s, 600, 0, 4700, QTime(18, 0)},
                     {nextJanuary, u"家賃"_s, 0, 50000, 54700}});
        m_app.start();
        return !path.isEmpty() && m_app.window->importFile(path).added == 6;
    }

    // Selects the row showing the summary; false when no row shows it.
    bool selectRowOf(const QString &summary)
    {
        const int row = int(m_app.shownSummaries().indexOf(summary));
        if (row < 0)
            return false;
        m_app.table()->selectRow(row);
        return m_app.table()->selectedRow() == row;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, u"Moriva"_s,
                              u"Moriva"_s);
        QCOMPARE(probe.fileName(), m_home.settingsFile());
    }
    void cleanup()
    {
        m_app.quit();
        m_home.clean();
    }

    void listCommandCyclesTheListsAndTitles()
    {
        QVERIFY(startWithLedger());
        const QDate today = QDate::currentDate();
        const QString thisMonthTitle = StringTable::windowTitleMonthly(today.year(), today.month());
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        QCOMPARE(m_app.rows(), 6);

        // Without a search list the list command goes between activity and monthly.
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.window->windowTitle(), thisMonthTitle);
        QCOMPARE(m_app.shownSummaries(), (QStringList{u"セブンイレブン"_s, u"Amazon Prime"_s}));
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        QCOMPARE(m_app.rows(), 6);

        QVERIFY(searchBySheet(m_app, u"Amazon"_s));
        QCOMPARE(m_app.window->windowTitle(), searchTitle());
        QCOMPARE(m_app.shownSummaries(), (QStringList{u"Amazon"_s, u"Amazon Prime"_s}));

        const QList<std::pair<QString, int>> cycle{
            {activityTitle(), 6}, {thisMonthTitle, 2}, {searchTitle(), 2}, {activityTitle(), 6}};
        for (const auto &[title, rows] : cycle) {
            m_app.trigger(u"list"_s);
            QCOMPARE(m_app.window->windowTitle(), title);
            QCOMPARE(m_app.rows(), rows);
        }
    }

    void monthNavigationCrossesTheYearEnd()
    {
        QVERIFY(startWithLedger());
        QVERIFY(showMonthBySheet(m_app, u"2025"_s, u"1"_s));
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2025, 1));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"初詣"_s});

        m_app.trigger(u"move_prev_month"_s);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2024, 12));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"大晦日"_s});
        m_app.trigger(u"move_prev_month"_s);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2024, 11));
        QCOMPARE(m_app.rows(), 0);

        m_app.trigger(u"move_next_month"_s);
        m_app.trigger(u"move_next_month"_s);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2025, 1));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"初詣"_s});

        // From the activity list the month commands show a month too.
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        m_app.trigger(u"move_next_month"_s);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2025, 2));

        // This month (menu only).
        QAction *thisMonth = nullptr;
        for (QAction *action : m_app.window->menuActions()) {
            if (action->property("menuTag").toInt() == 305)
                thisMonth = action;
        }
        QVERIFY(thisMonth && thisMonth->isEnabled());
        thisMonth->trigger();
        const QDate today = QDate::currentDate();
        QCOMPARE(m_app.window->windowTitle(),
                 StringTable::windowTitleMonthly(today.year(), today.month()));
        QCOMPARE(m_app.rows(), 2);
    }

    void changeMonthSheet_data()
    {
        QTest::addColumn<QString>("monthTyped"); // empty: the prefilled month is kept
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("summaries");
        const QDate today = QDate::currentDate();
        QTest::newRow("prefilled") << QString() << today.year() << today.month()
                                   << QStringList{u"セブンイレブン"_s, u"Amazon Prime"_s};
        QTest::newRow("13 is January of next year")
            << u"13"_s << today.year() + 1 << 1 << QStringList{u"家賃"_s};
        QTest::newRow("0") << u"0"_s << today.year() << 0 << QStringList();
        QTest::newRow("letters") << u"abc"_s << today.year() << 0 << QStringList();
    }
    void changeMonthSheet()
    {
        QFETCH(QString, monthTyped);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QStringList, summaries);
        QVERIFY(startWithLedger());
        const QDate today = QDate::currentDate();

        m_app.trigger(u"change_month"_s);
        auto *sheet = visibleChild<ChangeMonthSheet>(m_app.window.get());
        QVERIFY(sheet);
        QCOMPARE(sheet->yearField()->text(), QString::number(today.year()));
        QCOMPARE(sheet->monthField()->text(), QString::number(today.month()));
        if (!monthTyped.isEmpty()) {
            sheet->monthField()->selectAll();
            QTest::keyClicks(sheet->monthField(), monthTyped);
            QCOMPARE(sheet->monthField()->text(), monthTyped);
        }
        QTest::mouseClick(sheet->findChild<QPushButton *>(u"move"_s), Qt::LeftButton);
        QVERIFY(!sheet->isVisible());

        QCOMPARE(m_app.controller->listMode(), int(Controller::MonthlyList));
        QCOMPARE(m_app.controller->monthlyYear(), year);
        QCOMPARE(m_app.controller->monthlyMonth(), month);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(year, month));
        QCOMPARE(m_app.shownSummaries(), summaries);
    }

    void cancellingTheChangeMonthSheetChangesNothing()
    {
        QVERIFY(startWithLedger());
        QVERIFY(showMonthBySheet(m_app, u"2025"_s, u"1"_s));
        m_app.trigger(u"change_month"_s);
        auto *sheet = visibleChild<ChangeMonthSheet>(m_app.window.get());
        QVERIFY(sheet);
        sheet->monthField()->selectAll();
        QTest::keyClicks(sheet->monthField(), u"7"_s);
        sheet->reject();
        QVERIFY(!sheet->isVisible());
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2025, 1));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"初詣"_s});

        // From the activity list too.
        m_app.trigger(u"list"_s);
        m_app.trigger(u"change_month"_s);
        QCOMPARE(visibleChild<ChangeMonthSheet>(m_app.window.get()), sheet);
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        QCOMPARE(m_app.rows(), 6);
    }

    void searchWithAndWithoutHits()
    {
        QVERIFY(startWithLedger());
        // No hit from the activity list: it stays.
        QVERIFY(searchBySheet(m_app, u"nothing like it"_s));
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        QCOMPARE(m_app.rows(), 6);

        QVERIFY(searchBySheet(m_app, u"イレブン"_s));
        QCOMPARE(m_app.window->windowTitle(), searchTitle());
        QCOMPARE(m_app.shownSummaries(), QStringList{u"セブンイレブン"_s});

        // The sheet keeps the last keyword.
        m_app.trigger(u"search"_s);
        auto *sheet = visibleChild<SearchSheet>(m_app.window.get());
        QVERIFY(sheet);
        QCOMPARE(sheet->keyword(), u"イレブン"_s);
        sheet->reject();

        // No hit while the search list is shown: no stale rows, the whole ledger instead.
        QVERIFY(searchBySheet(m_app, u"zzz"_s));
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
        QCOMPARE(m_app.rows(), 6);
        // And the emptied search list is skipped by the list command.
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.controller->listMode(), int(Controller::MonthlyList));
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.window->windowTitle(), activityTitle());
    }

    void markAndEditRows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("activity") << int(Controller::ActivityList);
        QTest::newRow("monthly") << int(Controller::MonthlyList);
        QTest::newRow("search") << int(Controller::SearchList);
    }
    void markAndEditRows()
    {
        QFETCH(int, mode);
        QVERIFY(startWithLedger());
        if (mode == Controller::MonthlyList)
            m_app.trigger(u"list"_s);
        else if (mode == Controller::SearchList)
            QVERIFY(searchBySheet(m_app, u"Amazon"_s));
        QCOMPARE(m_app.controller->listMode(), mode);
        const QStringList before = m_app.shownSummaries();

        QVERIFY(selectRowOf(u"Amazon Prime"_s));
        const int row = m_app.table()->selectedRow();
        QVERIFY(m_app.window->action(u"mark_balance"_s)->isEnabled());
        m_app.trigger(u"mark_balance"_s);
        QVERIFY(m_app.markedAt(row));
        QCOMPARE(m_app.table()->selectedRow(), row);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->marked(), 1);

        const QModelIndex summary = m_app.model()->index(row, BankbookTableModel::SummaryColumn);
        QVERIFY(m_app.model()->flags(summary) & Qt::ItemIsEditable);
        QVERIFY(m_app.model()->setData(summary, u"new"_s, Qt::EditRole));
        QCOMPARE(m_app.summaryAt(row), u"new"_s);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->summary(), u"new"_s);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->marked(), 1);
        QVERIFY(m_app.markedAt(row));

        // Amounts are not edited.
        const QModelIndex payment = m_app.model()->index(row, BankbookTableModel::PaymentColumn);
        QVERIFY(!(m_app.model()->flags(payment) & Qt::ItemIsEditable));
        QVERIFY(!m_app.model()->setData(payment, u"1"_s, Qt::EditRole));
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->payment(), 600);

        // Marking again takes the mark away; the list keeps its rows.
        m_app.trigger(u"mark_balance"_s);
        QVERIFY(!m_app.markedAt(row));
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->marked(), 0);
        QCOMPARE(m_app.rows(), before.size());
        QCOMPARE(m_app.controller->ledger().size(), 6);
    }

    void staleSearchRowMarksTheLedgerEntry()
    {
        QVERIFY(startWithLedger());
        QVERIFY(searchBySheet(m_app, u"Amazon Prime"_s));
        m_app.trigger(u"list"_s); // activity
        m_app.trigger(u"list"_s); // monthly
        QCOMPARE(m_app.controller->listMode(), int(Controller::MonthlyList));
        QVERIFY(selectRowOf(u"Amazon Prime"_s));
        m_app.trigger(u"mark_balance"_s);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->marked(), 1);

        // The search list was built before the mark: it still shows the entry as it was.
        m_app.trigger(u"list"_s);
        QCOMPARE(m_app.controller->listMode(), int(Controller::SearchList));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"Amazon Prime"_s});
        QVERIFY(!m_app.markedAt(0));

        // Marking that row acts on the entry that stands in the ledger now: it unmarks it.
        m_app.table()->selectRow(0);
        m_app.trigger(u"mark_balance"_s);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->marked(), 0);
        QVERIFY(!m_app.markedAt(0));
        QCOMPARE(m_app.controller->ledger().size(), 6);

        // An edit through the stale row reaches the ledger too.
        QVERIFY(m_app.model()->setData(
            m_app.model()->index(0, BankbookTableModel::SummaryColumn), u"動画"_s));
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s)->summary(), u"動画"_s);
        m_app.trigger(u"list"_s);
        QVERIFY(m_app.shownSummaries().contains(u"動画"_s));
    }

    void deleteThroughTheSheet_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("button");
        for (const char *button : {"dontDelete", "delete"}) {
            QTest::addRow("activity, %s", button) << int(Controller::ActivityList)
                                                  << QString::fromLatin1(button);
            QTest::addRow("monthly, %s", button) << int(Controller::MonthlyList)
                                                 << QString::fromLatin1(button);
            QTest::addRow("search, %s", button) << int(Controller::SearchList)
                                                << QString::fromLatin1(button);
        }
    }
    void deleteThroughTheSheet()
    {
        QFETCH(int, mode);
        QFETCH(QString, button);
        QVERIFY(startWithLedger());
        if (mode == Controller::MonthlyList)
            m_app.trigger(u"list"_s);
        else if (mode == Controller::SearchList)
            QVERIFY(searchBySheet(m_app, u"Amazon"_s));
        QCOMPARE(m_app.controller->listMode(), mode);
        QStringList shown = m_app.shownSummaries();
        QVERIFY(selectRowOf(u"Amazon Prime"_s));

        m_app.trigger(u"delete_balance"_s);
        auto *sheet = visibleChild<QMessageBox>(m_app.window.get(), u"deleteSelectedSheet"_s);
        QVERIFY(sheet);
        QVERIFY(sheet->defaultButton());
        QCOMPARE(sheet->defaultButton()->objectName(), u"dontDelete"_s);
        QVERIFY(sheet->findChild<QPushButton *>(u"delete"_s));
        QTest::mouseClick(sheet->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(waitDeleted(sheet));

        const bool deleted = button == u"delete"_s;
        if (deleted)
            shown.removeAll(u"Amazon Prime"_s);
        QCOMPARE(m_app.shownSummaries(), shown);
        QCOMPARE(m_app.controller->ledger().size(), deleted ? 5 : 6);
        QCOMPARE(m_app.ledgerEntry(u"Amazon Prime"_s) == nullptr, deleted);
        QVERIFY(m_app.ledgerEntry(u"Amazon"_s));
        QVERIFY(m_app.ledgerEntry(u"セブンイレブン"_s));
    }

    void deleteAllThroughTheSheet_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("keep") << u"dontDelete"_s;
        QTest::newRow("delete all") << u"deleteAll"_s;
    }
    void deleteAllThroughTheSheet()
    {
        QFETCH(QString, button);
        QVERIFY(startWithLedger());
        m_app.trigger(u"delete_all"_s);
        auto *sheet = visibleChild<QMessageBox>(m_app.window.get(), u"deleteAllSheet"_s);
        QVERIFY(sheet);
        QCOMPARE(sheet->defaultButton()->objectName(), u"dontDelete"_s);
        QTest::mouseClick(sheet->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(waitDeleted(sheet));

        const bool deleted = button == u"deleteAll"_s;
        QCOMPARE(m_app.rows(), deleted ? 0 : 6);
        QCOMPARE(m_app.controller->ledger().size(), deleted ? 0 : 6);
        QCOMPARE(m_app.window->action(u"delete_all"_s)->isEnabled(), !deleted);
        QCOMPARE(m_app.window->action(u"save_balance"_s)->isEnabled(), !deleted);

        // What is left is what the next start shows.
        QVERIFY(m_app.quit());
        m_app.start();
        QCOMPARE(m_app.rows(), deleted ? 0 : 6);
    }

    void deleteAllWhileTheSearchListIsShown_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("search list shown") << int(Controller::SearchList);
        QTest::newRow("monthly list shown") << int(Controller::MonthlyList);
    }
    void deleteAllWhileTheSearchListIsShown()
    {
        QFETCH(int, mode);
        QVERIFY(startWithLedger());
        QVERIFY(searchBySheet(m_app, u"Amazon"_s));
        if (mode == Controller::MonthlyList) {
            m_app.trigger(u"list"_s);
            m_app.trigger(u"list"_s);
        }
        QCOMPARE(m_app.controller->listMode(), mode);
        m_app.trigger(u"delete_all"_s);
        auto *sheet = visibleChild<QMessageBox>(m_app.window.get(), u"deleteAllSheet"_s);
        QVERIFY(sheet);
        QTest::mouseClick(sheet->findChild<QPushButton *>(u"deleteAll"_s), Qt::LeftButton);
        QVERIFY(waitDeleted(sheet));
        QVERIFY(m_app.controller->ledger().isEmpty());

        // No list shows an entry that is gone.
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(m_app.rows() == 0, qPrintable(m_app.shownSummaries().join(u", ")));
            m_app.trigger(u"list"_s);
        }
        QVERIFY(!m_app.window->action(u"save_balance"_s)->isEnabled());
    }

    void escapeOnTheDeleteSheetKeepsTheEntry()
    {
        QVERIFY(startWithLedger());
        QVERIFY(selectRowOf(u"初詣"_s));
        m_app.trigger(u"delete_balance"_s);
        auto *sheet = visibleChild<QMessageBox>(m_app.window.get(), u"deleteSelectedSheet"_s);
        QVERIFY(sheet);
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(waitDeleted(sheet));
        QCOMPARE(m_app.rows(), 6);
        QVERIFY(m_app.ledgerEntry(u"初詣"_s));
    }
};

QTEST_MAIN(BankbookWindowListsTest)
#include "BankbookWindowListsTest.moc"
