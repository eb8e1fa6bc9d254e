// The main window driven as a user drives it, on the offscreen platform: start-up, import and
// export through the file dialogs, bank switching, the enabling of commands, the context menu,
// quitting and starting again, and an archive that cannot be read.

#include "GuiTestSupport.h"
#include "ledger/LedgerArchive.h"
#include "views/StringTable.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <set>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Three operations in March 2026 and one in April.
QList<Operation> marchStatement()
{
    return {{QDate(2026, 3, 5), u"セブンイレブン"_s, 1500, 0, 98500},
            {QDate(2026, 3, 6), u"Amazon, Inc"_s, 3000, 0, 95500},
            {QDate(2026, 3, 10), u"給与"_s, 0, 200000, 295500},
            {QDate(2026, 4, 1), u"ローソン"_s, 500, 0, 295000}};
}

const QStringList toolbarIds{u"select_bank"_s,   u"import_balance"_s,  u"save_balance"_s,
                             u"delete_balance"_s, u"delete_all"_s,     u"list"_s,
                             u"list_order"_s,     u"change_month"_s,   u"move_prev_month"_s,
                             u"move_next_month"_s, u"mark_balance"_s,  u"search"_s,
                             u"preferences"_s};
const std::set<int> menuTags{100, 102, 200, 201, 202, 300, 301, 302,
                             303, 304, 305, 306, 400, 600, 601};

} // namespace

class BankbookWindowTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    QString importedJnb()
    {
        const QString path = writeJnbFile(m_home, marchStatement());
        if (path.isEmpty() || m_app.window->importFile(path).added != 4)
            return QString();
        return path;
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

    void firstRunShowsAnEmptyJnbLedgerAndQuitWritesSettings()
    {
        QVERIFY(!QFile::exists(m_home.settingsFile()));
        m_app.start();
        QCOMPARE(m_app.window->windowTitle(), StringTable::localizedString(u"Window_Title_Activity"));
        QCOMPARE(m_app.window->windowTitle(), u"All Activity"_s);
        QCOMPARE(m_app.controller->currentBank(), 1);
        QCOMPARE(m_app.window->bankNameField()->text(), u"JNB"_s);
        QCOMPARE(m_app.rows(), 0);
        QVERIFY(!m_app.window->findChild<QMessageBox *>(u"alertSheet"_s));
        QVERIFY(!QFile::exists(m_home.archive(1)));

        QVERIFY(m_app.quit());
        QVERIFY(QFile::exists(m_home.settingsFile()));
        const QSettings written(m_home.settingsFile(), QSettings::IniFormat);
        const QList<std::pair<QString, QVariant>> expected{
            {u"MVListOrderRule"_s, 0},          {u"MVBankbookTableViewKind"_s, 0},
            {u"MVBankbookWindowStyle"_s, 0},    {u"MVCurrentBankKind"_s, 1},
            {u"MVCheckLatestVersionAtStartup"_s, false}};
        for (const auto &[key, value] : expected) {
            QVERIFY2(written.contains(key), qPrintable(key));
            QCOMPARE(written.value(key).toString(), value.toString());
        }
        QVERIFY(QFile::exists(m_home.archive(1)));
        const LedgerArchive::LoadResult saved = LedgerArchive::load(m_home.archive(1));
        QCOMPARE(saved.status, LedgerArchive::LoadStatus::Loaded);
        QVERIFY(saved.items.isEmpty());
        QVERIFY(!QFile::exists(m_home.archive(2)));
    }

    void importThroughTheOpenDialog()
    {
        const QString path = writeJnbFile(m_home, marchStatement());
        m_app.start();

        m_app.trigger(u"import_balance"_s);
        auto *dialog = visibleChild<QFileDialog>(m_app.window.get(), u"importDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        chooseFile(dialog, path);
        QVERIFY(waitDeleted(dialog));

        QCOMPARE(m_app.shownSummaries(), (QStringList{u"セブンイレブン"_s, u"Amazon, Inc"_s,
                                                       u"給与"_s, u"ローソン"_s}));
        QCOMPARE(m_app.model()->index(0, BankbookTableModel::DateColumn).data().toString(),
                 u"2026/03/05"_s);
        QString message = m_app.window->statusBar()->currentMessage();
        QVERIFY2(message.contains(u"NBG_2026.csv"_s) && message.contains(u"4 added"_s),
                 qPrintable(message));

        // The same file again adds nothing.
        m_app.trigger(u"import_balance"_s);
        dialog = visibleChild<QFileDialog>(m_app.window.get(), u"importDialog"_s);
        QVERIFY(dialog);
        chooseFile(dialog, path);
        QVERIFY(waitDeleted(dialog));
        QCOMPARE(m_app.rows(), 4);
        message = m_app.window->statusBar()->currentMessage();
        QVERIFY2(message.contains(u"0 added"_s) && message.contains(u"4 duplicates"_s),
                 qPrintable(message));

        // Cancelling imports nothing.
        m_app.trigger(u"import_balance"_s);
        dialog = visibleChild<QFileDialog>(m_app.window.get(), u"importDialog"_s);
        QVERIFY(dialog);
        dialog->reject();
        QVERIFY(waitDeleted(dialog));
        QCOMPARE(m_app.rows(), 4);
    }

    void exportThroughTheSaveDialog_data()
    {
        QTest::addColumn<bool>("monthly");
        QTest::addColumn<QString>("proposedName");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray march = "2026/03/05,09:05:00,セブンイレブン,1500,0,98500,\"note, with comma\"\r"
                                 "2026/03/06,09:05:00,\"Amazon, Inc\",3000,0,95500,\r"
                                 "2026/03/10,09:05:00,給与,0,200000,295500,\r";
        QTest::newRow("all activity")
            << false << StringTable::localizedString(u"BalanceFileName_Activity")
            << march + "2026/04/01,09:05:00,ローソン,500,0,295000,\r";
        QTest::newRow("monthly") << true << StringTable::balanceFileNameMonthly(2026, 3) << march;
    }
    void exportThroughTheSaveDialog()
    {
        QFETCH(bool, monthly);
        QFETCH(QString, proposedName);
        QFETCH(QByteArray, expected);
        m_app.start();
        QVERIFY(!importedJnb().isEmpty());
        QVERIFY(m_app.model()->setData(
            m_app.model()->index(0, BankbookTableModel::DetailsColumn), u"note, with comma"_s));
        if (monthly)
            QVERIFY(showMonthBySheet(m_app, u"2026"_s, u"3"_s));

        m_app.trigger(u"save_balance"_s);
        auto *dialog = visibleChild<QFileDialog>(m_app.window.get(), u"saveDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), proposedName + u".csv"_s);
        const QString out = m_home.path(u"home/exported.csv");
        chooseFile(dialog, out);
        QVERIFY(waitDeleted(dialog));

        QCOMPARE(readTestFile(out), expected);
        QVERIFY(m_app.window->statusBar()->currentMessage().contains(u"exported.csv"_s));
    }

    void switchBankThroughTheSheet()
    {
        m_app.start();
        QVERIFY(!importedJnb().isEmpty());
        QVERIFY(!QFile::exists(m_home.archive(1)));

        // Cancel leaves everything as it was.
        m_app.trigger(u"select_bank"_s);
        auto *sheet = visibleChild<SelectBankSheet>(m_app.window.get());
        QVERIFY(sheet);
        QVERIFY(!sheet->jnbButton()->isEnabled());
        QVERIFY(sheet->ebankButton()->isEnabled());
        QTest::mouseClick(sheet->findChild<QPushButton *>(u"cancel"_s), Qt::LeftButton);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(m_app.controller->currentBank(), 1);
        QCOMPARE(m_app.rows(), 4);

        m_app.trigger(u"select_bank"_s);
        QCOMPARE(visibleChild<SelectBankSheet>(m_app.window.get()), sheet);
        QTest::mouseClick(sheet->ebankButton(), Qt::LeftButton);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(m_app.window->bankNameField()->text(), u"eBANK"_s);
        QCOMPARE(m_app.controller->currentBank(), 2);
        QCOMPARE(m_app.rows(), 0);
        QVERIFY(!m_app.window->findChild<QMessageBox *>(u"alertSheet"_s));
        QVERIFY(QFile::exists(m_home.archive(1)));
        const LedgerArchive::LoadResult saved = LedgerArchive::load(m_home.archive(1));
        QCOMPARE(saved.status, LedgerArchive::LoadStatus::Loaded);
        QCOMPARE(saved.items.size(), 4);

        m_app.trigger(u"select_bank"_s);
        QCOMPARE(visibleChild<SelectBankSheet>(m_app.window.get()), sheet);
        QVERIFY(sheet->jnbButton()->isEnabled());
        QVERIFY(!sheet->ebankButton()->isEnabled());
        QTest::mouseClick(sheet->jnbButton(), Qt::LeftButton);
        QCOMPARE(m_app.window->bankNameField()->text(), u"JNB"_s);
        QCOMPARE(m_app.rows(), 4);
        QVERIFY(QFile::exists(m_home.archive(2)));
    }

    void rowsOfTheOtherBankChangeNoLedger_data()
    {
        QTest::addColumn<bool>("byImport");
        QTest::newRow("switch through the sheet") << false;
        QTest::newRow("switch by importing the other bank's statement") << true;
    }
    void rowsOfTheOtherBankChangeNoLedger()
    {
        QFETCH(bool, byImport);
        m_app.start();
        QVERIFY(!importedJnb().isEmpty());
        QVERIFY(searchBySheet(m_app, u"Amazon"_s));
        QCOMPARE(m_app.rows(), 1);

        if (byImport) {
            const QString ebank =
                writeEbankFile(m_home, {{QDate(2026, 3, 5), u"ローソン"_s, 1500, 0, 900}});
            QCOMPARE(m_app.window->importFile(ebank).added, 1);
        } else {
            m_app.trigger(u"select_bank"_s);
            auto *sheet = visibleChild<SelectBankSheet>(m_app.window.get());
            QVERIFY(sheet);
            QTest::mouseClick(sheet->ebankButton(), Qt::LeftButton);
        }
        QCOMPARE(m_app.window->bankNameField()->text(), u"eBANK"_s);
        const QByteArray jnbArchive = readTestFile(m_home.archive(1));
        QVERIFY(!jnbArchive.isEmpty());
        const QList<LedgerEntryPtr> ebankLedger = m_app.controller->ledger();
        QCOMPARE(ebankLedger.size(), byImport ? 1 : 0);

        // The search list still holds the JNB hit; acting on it changes neither ledger.
        if (m_app.controller->listMode() == Controller::SearchList) {
            QCOMPARE(m_app.rows(), 1);
            m_app.table()->selectRow(0);
            if (m_app.window->action(u"mark_balance"_s)->isEnabled())
                m_app.trigger(u"mark_balance"_s);
            QVERIFY(!m_app.model()->setData(
                m_app.model()->index(0, BankbookTableModel::SummaryColumn), u"x"_s));
            QVERIFY(!m_app.markedAt(0));
        }
        QCOMPARE(m_app.controller->ledger(), ebankLedger);
        for (const LedgerEntryPtr &e : ebankLedger)
            QVERIFY(!e->successor() && e->marked() == 0);

        // The activity list is the eBANK ledger alone.
        while (m_app.controller->listMode() != Controller::ActivityList)
            m_app.trigger(u"list"_s);
        QCOMPARE(m_app.shownSummaries(),
                 byImport ? QStringList{u"ローソン"_s} : QStringList());
        QVERIFY(m_app.quit());
        QCOMPARE(readTestFile(m_home.archive(1)), jnbArchive);
    }

    void enablingOfCommands_data()
    {
        QTest::addColumn<bool>("entries");
        QTest::addColumn<bool>("selection");
        QTest::addColumn<QStringList>("disabledIds");
        QTest::addColumn<QList<int>>("disabledTags");
        QTest::newRow("empty ledger")
            << false << false
            << QStringList{u"save_balance"_s,  u"delete_balance"_s,  u"delete_all"_s,
                           u"list_order"_s,    u"change_month"_s,    u"move_prev_month"_s,
                           u"move_next_month"_s, u"mark_balance"_s,  u"search"_s}
            << QList<int>{102, 200, 201, 202, 300, 302, 303, 304, 305, 306, 600, 601};
        QTest::newRow("entries, no selection")
            << true << false << QStringList{u"delete_balance"_s, u"mark_balance"_s}
            << QList<int>{200, 201, 600, 601};
        QTest::newRow("entries and a selection") << true << true << QStringList() << QList<int>();
    }
    void enablingOfCommands()
    {
        QFETCH(bool, entries);
        QFETCH(bool, selection);
        QFETCH(QStringList, disabledIds);
        QFETCH(QList<int>, disabledTags);
        m_app.start();
        if (entries)
            QVERIFY(!importedJnb().isEmpty());
        if (selection)
            m_app.table()->selectRow(1);
        QCOMPARE(m_app.table()->selectedRow(), selection ? 1 : -1);

        for (const QString &id : toolbarIds) {
            QAction *action = m_app.window->action(id);
            QVERIFY2(action, qPrintable(id));
            QVERIFY2(action->isEnabled() == !disabledIds.contains(id), qPrintable(id));
        }
        std::set<int> seen;
        for (QAction *action : m_app.window->menuActions()) {
            const int tag = action->property("menuTag").toInt();
            seen.insert(tag);
            QVERIFY2(action->isEnabled() == !disabledTags.contains(tag),
                     qPrintable(QString::number(tag)));
        }
        QCOMPARE(seen, menuTags);

        // Taking the selection away disables the commands that need one.
        if (selection) {
            m_app.table()->clearSelection();
            QVERIFY(!m_app.window->action(u"mark_balance"_s)->isEnabled());
            QVERIFY(!m_app.window->action(u"delete_balance"_s)->isEnabled());
            QVERIFY(m_app.window->action(u"save_balance"_s)->isEnabled());
        }
    }

    void rightClickSelectsTheRowBeforeTheMenuOpens()
    {
        m_app.start();
        QVERIFY(!importedJnb().isEmpty());
        m_app.table()->selectRow(0);
        QCOMPARE(m_app.table()->selectedRow(), 0);

        QWidget *viewport = m_app.table()->viewport();
        const QRect cell =
            m_app.table()->visualRect(m_app.model()->index(2, BankbookTableModel::SummaryColumn));
        QVERIFY(cell.isValid());
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(),
                                viewport->mapToGlobal(cell.center()));
        QApplication::sendEvent(viewport, &event);

        QCOMPARE(m_app.table()->selectedRow(), 2);
        QCOMPARE(m_app.table()->menuActionRow(), 2);
        QCOMPARE(m_app.table()->menuActionColumn(), int(BankbookTableModel::SummaryColumn));
        auto *menu = m_app.window->findChild<QMenu *>(u"ledgerContextMenu"_s);
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        auto *mark = menu->findChild<QAction *>(u"context_mark"_s);
        QVERIFY(mark && mark->isEnabled());
        QVERIFY(menu->findChild<QAction *>(u"context_delete"_s)->isEnabled());
        menu->close();
        QVERIFY(!menu->isVisible());

        // The command of the menu acts on the row pointed at.
        mark->trigger();
        QVERIFY(m_app.markedAt(2));
        QVERIFY(!m_app.markedAt(0));
        QCOMPARE(m_app.table()->selectedRow(), 2);
    }

    void quitAndStartAgainKeepsMarksEditsAndTheBank()
    {
        m_app.start();
        QVERIFY(!importedJnb().isEmpty());
        m_app.table()->selectRow(0);
        m_app.trigger(u"mark_balance"_s);
        QVERIFY(m_app.model()->setData(
            m_app.model()->index(1, BankbookTableModel::SummaryColumn), u"通販"_s));
        QVERIFY(m_app.model()->setData(
            m_app.model()->index(2, BankbookTableModel::DetailsColumn), u"三月分"_s));

        // An eBANK statement switches the bank, saving the JNB ledger first.
        const QString ebank = writeEbankFile(
            m_home, {{QDate(2026, 3, 5), u"ローソン"_s, 1500, 0, 900},
                     {QDate(2026, 3, 7), u"振込"_s, 0, 5000, 5900}});
        QCOMPARE(m_app.window->importFile(ebank).added, 2);
        QCOMPARE(m_app.window->bankNameField()->text(), u"eBANK"_s);
        m_app.table()->selectRow(1);
        m_app.trigger(u"mark_balance"_s);
        QVERIFY(m_app.quit());

        m_app.start();
        QCOMPARE(m_app.controller->currentBank(), 2);
        QCOMPARE(m_app.window->bankNameField()->text(), u"eBANK"_s);
        QCOMPARE(m_app.shownSummaries(), (QStringList{u"ローソン"_s, u"振込"_s}));
        QVERIFY(!m_app.markedAt(0));
        QVERIFY(m_app.markedAt(1));

        m_app.trigger(u"select_bank"_s);
        auto *sheet = visibleChild<SelectBankSheet>(m_app.window.get());
        QVERIFY(sheet);
        QTest::mouseClick(sheet->jnbButton(), Qt::LeftButton);
        QCOMPARE(m_app.window->bankNameField()->text(), u"JNB"_s);
        QCOMPARE(m_app.shownSummaries(),
                 (QStringList{u"セブンイレブン"_s, u"通販"_s, u"給与"_s, u"ローソン"_s}));
        QVERIFY(m_app.markedAt(0));
        QVERIFY(!m_app.markedAt(1));
        QCOMPARE(m_app.model()->index(2, BankbookTableModel::DetailsColumn).data().toString(),
                 u"三月分"_s);
        // The edited entry still knows the summary its statement gave: no duplicate comes in.
        QCOMPARE(m_app.window->importFile(m_home.statement(u"NBG_2026.csv"_s)).added, 0);
        QCOMPARE(m_app.rows(), 4);
        QVERIFY(m_app.quit());

        m_app.start();
        QCOMPARE(m_app.controller->currentBank(), 1);
        QCOMPARE(m_app.window->bankNameField()->text(), u"JNB"_s);
        QCOMPARE(m_app.rows(), 4);
    }

    void startingAgainInTheMonthlyListShowsThisMonth()
    {
        const QDate today = QDate::currentDate();
        const QString path = writeJnbFile(
            m_home, {{today.addMonths(-1), u"先月"_s, 100, 0, 900},
                     {QDate(today.year(), today.month(), 1), u"今月"_s, 100, 0, 800}});
        m_app.start();
        QCOMPARE(m_app.window->importFile(path).added, 2);
        QVERIFY(showMonthBySheet(m_app, QString::number(today.addMonths(-1).year()),
                                 QString::number(today.addMonths(-1).month())));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"先月"_s});
        QVERIFY(m_app.quit());

        m_app.start();
        QCOMPARE(m_app.controller->listMode(), int(Controller::MonthlyList));
        QCOMPARE(m_app.window->windowTitle(),
                 StringTable::windowTitleMonthly(today.year(), today.month()));
        QCOMPARE(m_app.shownSummaries(), QStringList{u"今月"_s});
    }

    void unreadableArchiveIsReportedAndLeftAlone()
    {
        const QByteArray garbage("not a ledger archive\0\x01\x02\xff", 24);
        QVERIFY(writeTestFile(m_home.archive(1), garbage));
        m_app.start();

        auto *alert = visibleChild<QMessageBox>(m_app.window.get(), u"alertSheet"_s);
        QVERIFY(alert);
        QVERIFY2(alert->text().contains(u"BankbookArchive(JNB).mvrk"_s), qPrintable(alert->text()));
        QCOMPARE(m_app.rows(), 0);
        QTest::mouseClick(alert->button(QMessageBox::Ok), Qt::LeftButton);
        QVERIFY(waitDeleted(alert));

        // An import has no ledger to go into.
        const QString path = writeJnbFile(m_home, marchStatement());
        QCOMPARE(m_app.window->importFile(path).status, ImportReport::LedgerUnavailable);
        alert = visibleChild<QMessageBox>(m_app.window.get(), u"alertSheet"_s);
        QVERIFY(alert);
        alert->close();
        QCOMPARE(m_app.rows(), 0);

        QVERIFY(m_app.quit());
        QCOMPARE(readTestFile(m_home.archive(1)), garbage);
        QVERIFY(QFile::exists(m_home.settingsFile()));
    }
};

QTEST_MAIN(BankbookWindowTest)
#include "BankbookWindowTest.moc"
