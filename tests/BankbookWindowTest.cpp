// The main window's wiring, driven as a user drives it on the offscreen platform: each command
// reached once (the toolbar, menu and shortcut routes each proven), the sheets and their buttons,
// the context menu, drag and drop, the status bar, the summary colours, About, saving at quit, and
// the window for a keyboard and a screen reader.

#include "AboutDialog.h"
#include "BalanceGapsSheet.h"
#include "GuiTestSupport.h"
#include "PreferencesWindow.h"
#include "RestoreBackupSheet.h"
#include "Translations.h"
#include "ledger/Backups.h"
#include "LedgerItemDelegate.h"
#include "views/Contrast.h"
#include "summary/BalanceChart.h"
#include "summary/SummaryView.h"
#include "summary/ViewSwitcher.h"
#include "views/StringTable.h"
#include "views/SummaryModels.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Three operations in March 2026 and one in April.
const QList<Operation> kMarch{{QDate(2026, 3, 5), u"セブンイレブン"_s, 1500, 0, 98500},
                              {QDate(2026, 3, 6), u"Amazon, Inc"_s, 3000, 0, 95500},
                              {QDate(2026, 3, 10), u"給与"_s, 0, 200000, 295500},
                              {QDate(2026, 4, 1), u"ローソン"_s, 500, 0, 295000}};

// The style options of a cell as the table's delegate gives them to its painting.
struct DelegateAccess : LedgerItemDelegate {
    static QStyleOptionViewItem optionFor(QTableView *table, const QModelIndex &index)
    {
        QStyleOptionViewItem option;
        option.initFrom(table);
        if (auto *delegate = qobject_cast<LedgerItemDelegate *>(table->itemDelegate()))
            (delegate->*&DelegateAccess::initStyleOption)(&option, index);
        return option;
    }
};

// The visible controls under an interface that have no name, as "role objectName".
QStringList unnamed(QAccessibleInterface *iface)
{
    using A = QAccessible;
    static const QList<QAccessible::Role> controls{
        A::PushButton, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText, A::SpinBox,
        A::Table, A::List, A::Tree, A::ButtonMenu, A::ButtonDropDown, A::MenuItem, A::Chart,
        A::StaticText, A::ToolBar, A::StatusBar, A::MenuBar, A::PageTab};
    QStringList missing;
    if (!iface || iface->state().invisible)
        return missing;
    const QObject *object = iface->object();
    if (controls.contains(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty()
        && !(object && object->inherits("QMenu"))) // menus are named by their menu bar item
        missing << u"%1 %2"_s.arg(int(iface->role())).arg(object ? object->objectName() : u"?"_s);
    // Table cells and headers speak for themselves; their tables are checked above.
    if (iface->role() == QAccessible::Table)
        return missing;
    for (int i = 0; i < iface->childCount(); ++i)
        missing << unnamed(iface->child(i));
    return missing;
}

// A menu's item by its object name; null when the menu lacks it.
QAction *inMenu(const QMenu *menu, const QString &name)
{
    const QList<QAction *> items = menu->actions();
    const auto found = std::ranges::find(items, name, &QObject::objectName);
    return found == items.end() ? nullptr : *found;
}

// A double click on a cell; QTest's double click on a widget is the second click only.
void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    const QPoint cell = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
}

} // namespace

class BankbookWindowTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;
    Translations m_english{QLocale(QLocale::English, QLocale::UnitedStates)}; // "1 entry"

    QLabel *statusMessage() const { return m_app.window->statusBar()->findChild<QLabel *>(u"statusMessage"_s); }
    QMenu *contextMenu() const { return m_app.window->findChild<QMenu *>(u"ledgerContextMenu"_s); }
    QUrl m_opened;

    bool startWithLedger(const QList<Operation> &operations = kMarch) { return m_app.startWith(m_home, operations); }
    // The effect as the app shows it now, for "sheet:<name>" (a visible child of the window),
    // "title:<title>", "shown:<summary>|…" (a marked row's with a "*"), "bank:<name>[, no time]",
    // "placeholder:<text>", "toolbar:hidden", "status:<message>", "view:<shown widget>" or
    // "order:<section> <order> <summary>|…" (the header's sort indicator, then the rows).
    QString effectNow(const QString &effect) const
    {
        const QString kind = effect.section(u':', 0, 0), name = effect.section(u':', 1);
        QString now;
        if (kind == u"sheet")
            now = visibleChild<QWidget>(m_app.window.get(), name) ? name : u"none"_s;
        else if (kind == u"title")
            now = m_app.window->windowTitle();
        else if (kind == u"bank") // eBANK's statements give no time of day: no Time column
            now = m_app.window->bankNameField()->text()
                + (m_app.table()->isColumnHidden(BankbookTableModel::TimeColumn) ? u", no time"_s : u""_s);
        else if (kind == u"placeholder") // what the empty table says, its first line
            now = m_app.rows() ? u"rows"_s : m_app.table()->placeholderText().section(u'\n', 0, 0);
        else if (kind == u"toolbar") // hidden, and Show Toolbar's check mark agrees
            now = m_app.window->toolBar()->isVisible()
                        || m_app.window->findChild<QAction *>(u"showToolbar"_s)->isChecked()
                    ? u"shown"_s : u"hidden"_s;
        else if (kind == u"status")
            now = statusMessage()->text();
        else if (kind == u"view")
            now = m_app.window->views()->currentWidget()->objectName();
        else if (QHeaderView *h = m_app.table()->horizontalHeader(); kind == u"order")
            now = u"%1 %2 "_s.arg(h->sortIndicatorSection()).arg(
                h->sortIndicatorOrder() == Qt::AscendingOrder ? u"ascending"_s : u"descending"_s);
        QStringList shown;
        for (int r = 0; (kind == u"shown" || kind == u"order") && r < m_app.rows(); ++r)
            shown << m_app.summaryAt(r) + (m_app.markedAt(r) ? u"*"_s : QString());
        return kind + u':' + now + shown.join(u'|');
    }

public slots:
    // Where the desktop was asked to open a file URL.
    void openUrl(const QUrl &url) { m_opened = url; }

private slots:
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void cleanup() { m_app.quit(); m_home.clean(); }

    // Each command with a shortcut by it, Delete All from the menu bar, Mark once from the
    // toolbar; every command is in a menu of the menu bar all the same. (Customize, About and
    // Check for Updates: their own tests.)
    void commandsReachTheirEffect_data()
    {
        QTest::addColumn<QString>("route"); // "toolbar", "menu", "shortcut" or "header:<section>"
        QTest::addColumn<QString>("id");    // the action's object name
        QTest::addColumn<QStringList>("answer"); // texts for the sheet's fields, then its button
        QTest::addColumn<QString>("effect");     // with row 1 ("Amazon, Inc") selected before
        const auto monthTitle = [](int fromNow) {
            const QDate month = QDate::currentDate().addMonths(fromNow);
            return u"title:"_s + StringTable::windowTitleMonthly(month.year(), month.month());
        };
        const auto add = [](const char *row, const QString &route, const QString &id,
                            const QStringList &answer, const QString &effect) {
            QTest::newRow(row) << route << id << answer << effect;
        };
        const auto command = [&](const QString &id, const QString &effect) {
            add(qPrintable(id), u"shortcut"_s, id, {}, effect);
        };
        command(u"import_balance"_s, u"sheet:importDialog"_s);
        command(u"save_balance"_s, u"sheet:saveDialog"_s);
        command(u"list"_s, monthTitle(0));
        command(u"list_order"_s, u"order:0 descending ローソン|給与|Amazon, Inc|セブンイレブン"_s);
        command(u"move_prev_month"_s, monthTitle(-1));
        // Next stops at this month, later than the ledger's last: it goes on from March.
        command(u"move_next_month"_s, u"title:"_s + StringTable::windowTitleMonthly(2026, 4));
        command(u"move_this_month"_s, monthTitle(0));
        const QString marked = u"shown:セブンイレブン|Amazon, Inc*|給与|ローソン"_s;
        command(u"mark_balance"_s, marked);
        command(u"preferences"_s, u"sheet:preferencesWindow"_s);
        command(u"print"_s, u"sheet:printDialog"_s);
        command(u"showToolbar"_s, u"toolbar:hidden"_s);
        command(u"summary"_s, u"view:summaryView"_s);
        command(u"show_ledger"_s, u"view:ledgerTable"_s);
        add("mark, from the toolbar", u"toolbar"_s, u"mark_balance"_s, {}, marked);

        // The sheets, by their shortcuts; the default button keeps the entries.
        const QString all = u"shown:セブンイレブン|Amazon, Inc|給与|ローソン"_s;
        const auto sheet = [&](const char *row, const QString &id, const QStringList &answer,
                               const QString &effect) {
            add(row, id == u"delete_all" ? u"menu"_s : u"shortcut"_s, id, answer, effect);
        };
        sheet("delete, Return", u"delete_balance"_s, {u"Return"_s}, all);
        sheet("delete", u"delete_balance"_s, {u"delete"_s}, u"shown:セブンイレブン|給与|ローソン"_s);
        sheet("delete all, Return", u"delete_all"_s, {u"Return"_s}, all);
        sheet("delete all", u"delete_all"_s, {u"deleteAll"_s}, u"placeholder:No entries yet."_s);
        sheet("change month", u"change_month"_s, {u"2026"_s, u"3"_s, u"move"_s},
              u"title:"_s + StringTable::windowTitleMonthly(2026, 3));
        sheet("search", u"search"_s, {u"Amazon"_s, u"search"_s}, u"shown:Amazon, Inc"_s);
        sheet("search, no hit", u"search"_s, {u"yahoo"_s, u"search"_s},
              u"status:No entries contain “yahoo”"_s);
        sheet("bank", u"select_bank"_s, {u"ebank"_s}, u"bank:eBANK, no time"_s);
        sheet("bank, Return: the one offered", u"select_bank"_s, {u"Return"_s}, u"bank:eBANK, no time"_s);

        // Another header sorts by its column, and Date then gives the order back.
        add("Summary header", u"header:2"_s, u"list_order"_s, {},
            u"order:2 ascending Amazon, Inc|セブンイレブン|ローソン|給与"_s);
        add("Date header after another", u"header:2 0"_s, u"list_order"_s, {}, all);
    }
    void commandsReachTheirEffect()
    {
        QFETCH(QString, route); QFETCH(QString, id); QFETCH(QStringList, answer);
        QFETCH(QString, effect);
        QVERIFY(startWithLedger());
        if (id == u"move_next_month")
            m_app.controller->showMonth(2026, 3);
        m_app.table()->selectRow(1);
        auto *action = m_app.window->findChild<QAction *>(id);
        QVERIFY(action && action->isEnabled());
        const QList<QMenu *> menus = m_app.window->menuBar()->findChildren<QMenu *>();
        QVERIFY(std::ranges::any_of(menus, [action](QMenu *m) { return m->actions().contains(action); }));
        // A menu item that opens a dialog ends in "…"; the toolbar's label does not.
        QCOMPARE(action->text().endsWith(u'…'), effect.startsWith(u"sheet:") || !answer.isEmpty());
        QVERIFY(!m_app.window->action(id) || !action->iconText().endsWith(u'…'));
        if (route == u"toolbar") {
            QVERIFY(m_app.window->toolBar()->widgetForAction(action));
            QTest::mouseClick(m_app.window->toolBar()->widgetForAction(action), Qt::LeftButton);
        } else if (route.startsWith(u"header:")) {
            QHeaderView *h = m_app.table()->horizontalHeader();
            for (const QString &section : route.section(u':', 1).split(u' '))
                QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                                  QPoint(h->sectionViewportPosition(section.toInt()) + 5, h->height() / 2));
        } else if (route == u"shortcut") {
            QVERIFY(!action->shortcut().isEmpty());
            QTest::keySequence(m_app.table(), action->shortcut());
        } else {
            action->trigger();
        }
        if (!answer.isEmpty()) {
            auto *sheet = visibleChild<QDialog>(m_app.window.get());
            QVERIFY(sheet);
            const QList<QLineEdit *> fields = sheet->findChildren<QLineEdit *>();
            for (int i = 0; i + 1 < answer.size(); ++i)
                fields.value(i)->setText(answer[i]);
            if (const QString key = answer.last(); key == u"Return" || key == u"Escape")
                QTest::keyClick(sheet, key == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
            else
                QTest::mouseClick(sheet->findChild<QPushButton *>(answer.last()), Qt::LeftButton);
            QTRY_VERIFY(!sheet->isVisible());
        }
        QCOMPARE(effectNow(effect), effect);
    }

    // The Summary follows the ledger, saves its chart, and opens a year as its months and a month
    // in the ledger table on a double click.
    void summaryShowsThePeriodsAndOpensAMonth()
    {
        QVERIFY(startWithLedger());
        m_app.table()->selectRow(1);
        m_app.window->views()->summaryAction()->trigger();
        // The table's selection is out of sight: nothing acts on it.
        for (const QString &id : {u"delete_balance"_s, u"mark_balance"_s})
            QVERIFY2(!m_app.window->action(id)->isEnabled(), qPrintable(id));
        SummaryView *summary = m_app.window->views()->summary();
        QCOMPARE(m_app.window->windowTitle(), summary->title());
        QAbstractItemModel *periods = summary->table()->model();
        const auto row = [periods](int r) {
            QStringList cells;
            for (int c = 0; c < periods->columnCount(); ++c)
                cells << periods->index(r, c).data().toString();
            return cells.join(u' ');
        };
        QCOMPARE(row(0), u"2026/03 3 4,500円 200,000円 195,500円 295,500円"_s);
        // An import while the Summary is shown reaches it; the latest period is selected, and
        // its kinds shown.
        const QList<Operation> may{{QDate(2026, 5, 2), u"ATM引出し"_s, 10000, 0, 285000}};
        QCOMPARE(m_app.window->importFile(writeJnbFile(m_home, may)).added, 1);
        QCOMPARE(periods->rowCount(), 4);
        QCOMPARE(summary->table()->currentIndex().row(), 2);
        QCOMPARE(summary->kinds()->index(0, KindTableModel::EntriesColumn).data().toString(),
                 u"1"_s);

        for (const QString &name : {u"chart.png"_s, u"chart.svg"_s}) {
            const QString path = m_home.path(u"home/"_s + name);
            QString why;
            QVERIFY2(summary->saveChartTo(path, &why), qPrintable(why));
            const QByteArray saved = readTestFile(path);
            QVERIFY(path.endsWith(u"svg") ? saved.contains("<svg") : !QImage(path).isNull());
            // A write cut short (a full disk) fails and leaves the chart saved before as it was.
            {
                FileSizeLimit limit(saved.size() / 2);
                QVERIFY(limit.isSet());
                QVERIFY2(!summary->saveChartTo(path, &why) && !why.isEmpty(), qPrintable(name));
            }
            QCOMPARE(readTestFile(path), saved);
        }

        // By year, a year opens as its months; a month in the ledger table.
        auto *span = summary->findChild<QComboBox *>(u"summarySpan"_s);
        span->setCurrentIndex(1);
        emit span->activated(1);
        QCOMPARE(row(0).section(u' ', 0, 2), u"2026 (partial) 5"_s);
        doubleClick(summary->table(), periods->index(0, 0));
        QCOMPARE(row(0).section(u' ', 0, 1), u"2026/03 3"_s);
        doubleClick(summary->table(), periods->index(0, 0));
        QCOMPARE(effectNow(u"view:ledgerTable"_s), u"view:ledgerTable"_s);
        QCOMPARE(m_app.window->windowTitle(), StringTable::windowTitleMonthly(2026, 3));
    }

    void rightClickSelectsTheRowTheMenuActsOn()
    {
        QVERIFY(startWithLedger());
        QMenu *menu = contextMenu();
        QVERIFY(menu);
        m_app.table()->selectRow(0);
        const QRect cell = m_app.table()->visualRect(m_app.model()->index(2, 2));
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(),
                                m_app.table()->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(m_app.table()->viewport(), &event);
        QTRY_VERIFY(menu->isVisible());
        inMenu(menu, u"mark_balance"_s)->trigger();
        menu->close();
        const QString marked = u"shown:セブンイレブン|Amazon, Inc|給与*|ローソン"_s;
        QCOMPARE(effectNow(marked), marked);
    }

    // Only a double click or Return opens an editor (Return on a cell that takes no edit:
    // the summary's); a stray key changes nothing. Revert to Bank's Text undoes an edit.
    void editingStartsOnlyWhenAsked_data()
    {
        QTest::addColumn<QString>("how"); QTest::addColumn<int>("column");
        QTest::newRow("stray key") << u"x"_s << int(BankbookTableModel::SummaryColumn);
        QTest::newRow("Return on the date") << u"Return"_s << int(BankbookTableModel::DateColumn);
        QTest::newRow("double click") << u"double"_s << int(BankbookTableModel::SummaryColumn);
    }
    void editingStartsOnlyWhenAsked()
    {
        QFETCH(QString, how); QFETCH(int, column);
        QVERIFY(startWithLedger());
        BankbookTableView *table = m_app.table();
        table->setCurrentIndex(m_app.model()->index(1, column));
        QAction *revert = m_app.window->action(u"revert_summary"_s);
        QCOMPARE(inMenu(contextMenu(), u"revert_summary"_s), revert); // the menu's own item
        QVERIFY(!revert->isEnabled());
        if (how == u"double")
            doubleClick(table, table->currentIndex());
        else
            QTest::keyClick(table, how == u"x" ? Qt::Key_X : Qt::Key_Return);
        auto *editor = table->viewport()->findChild<QLineEdit *>();
        QCOMPARE(editor && editor->isVisible(), how != u"x");
        if (editor) {
            QCOMPARE(table->currentIndex().column(), int(BankbookTableModel::SummaryColumn));
            editor->setText(u"Books"_s);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_COMPARE(m_app.summaryAt(1), u"Books"_s);
            const QModelIndex summary = m_app.model()->index(1, BankbookTableModel::SummaryColumn);
            QVERIFY(summary.data(BankbookTableModel::SummaryEditedRole).toBool());
            QCOMPARE(summary.data(Qt::ToolTipRole).toString(), u"Edited. The bank's text: Amazon, Inc"_s);
            QVERIFY(revert->isEnabled());
            table->selectRow(0); // its own row's summary, not the ledger's, enables it
            QVERIFY(!revert->isEnabled());
            table->selectRow(1);
            revert->trigger();
        }
        QCOMPARE(m_app.summaryAt(1), u"Amazon, Inc"_s);
        QVERIFY(!revert->isEnabled());
    }

    // Edit › Undo and Redo, by their shortcuts, name the step they take back or make again, and
    // are disabled when there is none. (The steps themselves: ControllerTest.)
    void undoAndRedoNameTheirStep()
    {
        QVERIFY(startWithLedger());
        QAction *undo = m_app.window->action(u"undo"_s), *redo = m_app.window->action(u"redo"_s);
        const auto menuNow = [&] {
            return u"%1%2|%3%4"_s.arg(undo->text(), undo->isEnabled() ? u""_s : u" (off)"_s,
                                      redo->text(), redo->isEnabled() ? u""_s : u" (off)"_s);
        };
        const QString importStep = u"Import of NBG_2026.csv (4 entries)"_s;
        m_app.table()->selectRow(1);
        QTest::keySequence(m_app.table(), QKeySequence(u"Ctrl+M"_s));
        QCOMPARE(menuNow(), u"&Undo Mark|&Redo (off)"_s);
        m_app.table()->selectRow(3);
        QTest::keySequence(m_app.table(), QKeySequence(QKeySequence::Undo));
        const QString unmarked = u"shown:セブンイレブン|Amazon, Inc|給与|ローソン"_s;
        QCOMPARE(effectNow(unmarked), unmarked);
        QCOMPARE(m_app.table()->selectedRow(), 1); // the entry the undo touched
        QCOMPARE(menuNow(), u"&Undo %1|&Redo Mark"_s.arg(importStep));
        QTest::keySequence(m_app.table(), QKeySequence(QKeySequence::Redo));
        const QString marked = u"shown:セブンイレブン|Amazon, Inc*|給与|ローソン"_s;
        QCOMPARE(effectNow(marked), marked);
        for (int i = 0; i < 2; ++i)
            undo->trigger();
        const QString empty = u"placeholder:No entries yet."_s;
        QCOMPARE(effectNow(empty), empty);
        QCOMPARE(menuNow(), u"&Undo (off)|&Redo "_s + importStep);
    }

    // What a sheet proposes as it opens, with a month shown or not (0): a print's document name
    // (to PDF, a file named without a "/", which would make a folder); Delete All's question
    // naming the account and the count.
    void sheetsProposeWhatFits_data()
    {
        QTest::addColumn<QString>("id"); QTest::addColumn<int>("month");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("print") << u"print"_s << 202603 << u"Monthly Statement 2026-03"_s;
        QTest::newRow("delete all") << u"delete_all"_s << 0
            << u"Delete all 4 entries of the JNB ledger? Edit › Undo puts them back."_s;
    }
    void sheetsProposeWhatFits()
    {
        QFETCH(QString, id); QFETCH(int, month); QFETCH(QString, proposed);
        QVERIFY(startWithLedger());
        if (month)
            m_app.controller->showMonth(month / 100, month % 100);
        m_app.trigger(id);
        auto *sheet = visibleChild<QDialog>(m_app.window.get());
        QString now;
        if (auto *print = qobject_cast<QPrintDialog *>(sheet))
            now = print->printer()->docName();
        else if (auto *question = qobject_cast<QMessageBox *>(sheet))
            now = question->text();
        QCOMPARE(now, proposed);
        sheet->reject();
    }

    // An import (here by the window's hook; by the dialog: FileCommandsTest) and a drop of files
    // are told in the status bar, beside the bank and the totals of the shown list.
    void importsAndDropsAreTold()
    {
        QVERIFY(startWithLedger());
        QCOMPARE(statusMessage()->text(), u"NBG_2026.csv (JNB): 4 entries added, 0 duplicates skipped"_s);
        QCOMPARE(m_app.window->bankNameField()->text(), u"JNB"_s);
        QLabel *totals = m_app.window->statusBar()->findChild<QLabel *>(u"totals"_s);
        QCOMPARE(totals->text(), u"4 entries · Payment 5,000円 · Deposit 200,000円"_s);

        QMimeData mime; // the eBANK file last: its ledger is shown, the JNB one saved on the switch
        mime.setUrls({QUrl::fromLocalFile(writeJnbFile(m_home, kMarch.mid(0, 1), u"NBG_1.csv"_s)),
                      QUrl::fromLocalFile(writeEbankFile(m_home, kMarch.mid(3)))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(m_app.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(m_app.window.get(), &drop);
        QCOMPARE(m_app.window->bankNameField()->text(), u"eBANK"_s);
        QCOMPARE(effectNow(u"shown:ローソン"_s), u"shown:ローソン"_s);
        QCOMPARE(totals->text(), u"1 entry · Payment 500円 · Deposit 0円"_s);
        // Both files in one report, each in its tooltip.
        QCOMPARE(statusMessage()->text(), u"Imported 2 files: 1 entry added, 1 duplicate skipped"_s);
        QCOMPARE(statusMessage()->toolTip(),
                 u"NBG_1.csv (JNB): 0 entries added, 1 duplicate skipped\n"
                 "eBANK_2026.csv (eBANK): 1 entry added, 0 duplicates skipped"_s);
    }

    // A damaged ledger is reported and not shown; its backup takes its place when asked.
    void damagedLedgerIsReportedAndRestored()
    {
        QVERIFY(startWithLedger({{QDate(2026, 3, 1), u"ATM"_s, 100, 0, 900}}));
        QVERIFY(m_app.quit());
        QString taken;
        QVERIFY(Backups::take(m_home.dataFolder(), nullptr, &taken));
        for (const QString &beside : {u"-wal"_s, u"-shm"_s})
            QFile::remove(m_home.database() + beside);
        QVERIFY(writeTestFile(m_home.database(), "not a ledger"));
        m_app.start();
        auto *alert = visibleChild<QMessageBox>(m_app.window.get(), u"alertSheet"_s);
        QVERIFY(alert);
        const QString placeholder = u"placeholder:This bank's ledger is not open."_s;
        QCOMPARE(effectNow(placeholder), placeholder);
        QTest::mouseClick(alert->findChild<QPushButton *>(u"restoreBackup"_s), Qt::LeftButton);
        auto *sheet = visibleChild<RestoreBackupSheet>(m_app.window.get());
        QVERIFY(sheet && sheet->list()->count() >= 1);
        QCOMPARE(sheet->chosenBackup(), taken); // the newest
        QTest::mouseClick(sheet->restoreButton(), Qt::LeftButton);
        QTRY_COMPARE(m_app.rows(), 1); // where the damaged file goes is BackupsTest's
    }

    // Lines that are no operation are offered from the status bar, each with its reason.
    void rejectedLinesAreOffered()
    {
        QVERIFY(startWithLedger({{QDate(2026, 3, 1), u"ATM"_s, 100, 0, 900}}));
        const QString path = m_home.statement(u"NBG_the_statement_of_a_whole_year_2026.csv"_s);
        QVERIFY(writeTestFile(path, toCp932(jnbStatement({}) + u"2026,2,30,9,0,0,1,x,1,0,1\r\n"_s)));
        QCOMPARE(m_app.window->importFile(path).rejected, 1);
        auto *button = m_app.window->statusBar()->findChild<QToolButton *>(u"rejectedLines"_s);
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->toolTip(), u"line 2: 2026/02/30 is not a calendar date"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        auto *sheet = visibleChild<QDialog>(m_app.window.get(), u"rejectedLinesSheet"_s);
        auto *lines = sheet ? sheet->findChild<QTableWidget *>() : nullptr;
        QVERIFY(lines && lines->rowCount() == 1);
        QCOMPARE(QStringList({lines->item(0, 0)->text(), lines->item(0, 1)->text(), lines->item(0, 2)->text()}),
                 QStringList({u"line 2"_s, u"2026,2,30,9,0,0,1,x,1,0,1"_s, u"2026/02/30 is not a calendar date"_s}));
        sheet->close();
        // Dismissed, the rejected lines are no longer offered.
        QAction *menuItem = m_app.window->action(u"rejected_lines"_s);
        QVERIFY(menuItem->isEnabled());
        QTest::mouseClick(m_app.window->statusBar()->findChild<QToolButton *>(u"dismissRejectedLines"_s),
                          Qt::LeftButton);
        QVERIFY(!button->isVisible() && !menuItem->isEnabled());
    }

    // Amazon's line missing and April's balance 5,000円 short: two gaps, counted in the status
    // bar, listed from it, marked on the balance after each; importing the line closes one.
    void gapsInTheBalancesAreShown()
    {
        QList<Operation> operations = kMarch;
        const Operation amazon = operations.takeAt(1);
        operations[2].balance -= 5000;
        QVERIFY(startWithLedger(operations));
        auto *balances = m_app.window->statusBar()->findChild<QToolButton *>(u"balances"_s);
        QCOMPARE(balances->text(), u"2 gaps in the balances"_s);
        const auto balanceAt = [this](int row) {
            return m_app.model()->index(row, BankbookTableModel::BalanceColumn);
        };
        // The balance after each gap is drawn with a mark, and tells the gap in its tooltip.
        for (int row = 0; row < m_app.rows(); ++row)
            QCOMPARE(DelegateAccess::optionFor(m_app.table(), balanceAt(row)).icon.isNull(), row == 0);
        QVERIFY(balanceAt(1).data(Qt::ToolTipRole).toString().contains(u"-3,000円 from the 298,500円"_s));

        m_app.controller->showMonth(2026, 4);
        QTest::mouseClick(balances, Qt::LeftButton);
        auto *sheet = visibleChild<BalanceGapsSheet>(m_app.window.get(), u"balanceGapsSheet"_s);
        QVERIFY(sheet && sheet->gapList()->topLevelItemCount() == 2);
        sheet->gapList()->setCurrentItem(sheet->gapList()->topLevelItem(1));
        QTest::mouseClick(sheet->findChild<QPushButton *>(u"showGap"_s), Qt::LeftButton);
        QCOMPARE(m_app.controller->view().mode(), ListMode::Activity);
        QCOMPARE(m_app.table()->selectedRow(), 2);

        QCOMPARE(m_app.window->importFile(writeJnbFile(m_home, {amazon}, u"NBG_amazon.csv"_s)).gapsClosed, 1);
        QVERIFY(statusMessage()->text().startsWith(u"Closed 1 gap in the balances. NBG_amazon.csv"_s));
        QCOMPARE(balances->text(), u"1 gap in the balances"_s);
    }

    // Each kind of summary in its own colour, any other in the theme's text colour; on a
    // selection a kind's colour stays only where it reads (4.5:1), elsewhere the selection's own
    // text colour is used.
    void summaryColours()
    {
        QVERIFY(startWithLedger({{QDate(2026, 3, 1), u"Amazon"_s, 100, 0, 900}, // no kind
                                 {QDate(2026, 3, 2), u"利息"_s, 0, 1, 901}}));    // kind 3
        const QColor themeText(0x20, 0x40, 0xc0), selection(0x9a, 0xc0, 0xe8); // far from black
        QPalette palette = m_app.table()->palette();
        palette.setColor(QPalette::Text, themeText);
        palette.setColor(QPalette::Highlight, selection);
        palette.setColor(QPalette::HighlightedText, Qt::black);
        m_app.table()->setPalette(palette);
        const ColourScheme &c = m_app.window->colours();
        const QList<QColor> colours{themeText, c.interest};
        for (int row : {0, 1}) {
            const QModelIndex cell = m_app.model()->index(row, BankbookTableModel::SummaryColumn);
            const int kind = cell.data(BankbookTableModel::SummaryKindRole).toInt();
            QCOMPARE(kind, row * 3);
            const QStyleOptionViewItem option = DelegateAccess::optionFor(m_app.table(), cell);
            QCOMPARE(option.palette.color(QPalette::Text), colours[row]);
            const bool reads = kind && Contrast::ratio(colours[row].rgb(), selection.rgb()) >= 4.5;
            QCOMPARE(option.palette.color(QPalette::Active, QPalette::HighlightedText),
                     reads ? colours[row] : QColor(Qt::black));
        }
        // A marked entry lies on the marker colour, in every column (the date's here).
        m_app.table()->selectRow(0);
        m_app.trigger(u"mark_balance"_s);
        const QStyleOptionViewItem date = DelegateAccess::optionFor(m_app.table(), m_app.model()->index(0, 0));
        QCOMPARE(date.backgroundBrush.color(), c.itemMarker);
    }

    void aboutShowsTheVersionAndOpensTheDataFolder()
    {
        QVERIFY(startWithLedger());
        m_app.window->findChild<QAction *>(u"about"_s)->trigger();
        auto *about = visibleChild<AboutDialog>(m_app.window.get());
        QVERIFY(about);
        QVERIFY(about->versionLabel()->text().contains(QStringLiteral(MORIVA_VERSION)));
        QCOMPARE(about->dataFolderLabel()->text(), QDir::toNativeSeparators(m_home.dataFolder()));
        QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl");
        QTest::mouseClick(about->openFolderButton(), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_opened, QUrl::fromLocalFile(m_home.dataFolder()));
    }

    // The ledger needs no saving at quit (each change was committed); the settings do, and a
    // failure to write them offers Try Again or Stay Open.
    void closingOffersTryAgainOrStayOpenWhenSettingsCannotBeSaved()
    {
        QVERIFY(startWithLedger());
        m_app.table()->selectRow(2);
        m_app.trigger(u"mark_balance"_s);
        // A folder holding a file where the settings go: not even root writes over it.
        const QString archive = m_home.settingsFile();
        QFile::remove(archive);
        QVERIFY(writeTestFile(archive + u"/keep"_s, "x"));
        QList<QMessageBox::ButtonRole> replies{QMessageBox::RejectRole, QMessageBox::AcceptRole};
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *box = m_app.window->findChild<QMessageBox *>(u"saveFailedSheet"_s);
            if (!box || !box->isVisible() || replies.isEmpty())
                return;
            const QMessageBox::ButtonRole reply = replies.takeFirst();
            if (reply == QMessageBox::AcceptRole) // the folder is gone before trying again
                QDir(archive).removeRecursively();
            for (QAbstractButton *b : box->buttons()) {
                if (box->buttonRole(b) == reply)
                    b->click();
            }
        });
        answer.start(10);
        QVERIFY(!m_app.window->close()); // Stay Open
        QVERIFY(m_app.window->isVisible() && QFile::exists(archive + u"/keep"_s));
        QVERIFY(m_app.quit()); // Try Again
        m_app.start();
        const QString kept = u"shown:セブンイレブン|Amazon, Inc|給与*|ローソン"_s;
        QCOMPARE(effectNow(kept), kept);
    }

    // For a keyboard and a screen reader: every control has a name, Tab leaves the table, and
    // Alt+<menu>, Return never reaches Delete All (whose own Return keeps the entries).
    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::newRow("ledger") << u"ledger"_s;
        QTest::newRow("Summary") << u"summary"_s;
        QTest::newRow("Preferences") << u"preferences"_s;
    }
    void everyControlHasAName()
    {
        QFETCH(QString, shown);
        QVERIFY(startWithLedger());
        QWidget *top = m_app.window.get();
        if (shown == u"summary") {
            m_app.trigger(u"summary"_s);
        } else if (shown == u"preferences") {
            m_app.trigger(u"preferences"_s);
            top = m_app.window->preferencesWindow();
            QVERIFY(QTest::qWaitForWindowExposed(top));
        } else { // Tab moves on from the table, not from cell to cell
            m_app.table()->setFocus();
            QTest::keyClick(m_app.table(), Qt::Key_Tab);
            QVERIFY(!m_app.table()->hasFocus());
        }
        const QStringList missing = unnamed(QAccessible::queryAccessibleInterface(top));
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", ")));
    }

    // However the window stands, no menu opens with Delete All as its first item to choose.
    void returnInAMenuNeverDeletesAll_data()
    {
        QTest::addColumn<bool>("entries"); QTest::addColumn<bool>("summary");
        QTest::newRow("empty ledger") << false << false;
        QTest::newRow("entries, nothing selected") << true << false;
        QTest::newRow("entries, the Summary shown") << true << true;
    }
    void returnInAMenuNeverDeletesAll()
    {
        QFETCH(bool, entries); QFETCH(bool, summary);
        QVERIFY(startWithLedger(entries ? kMarch : QList<Operation>()));
        m_app.table()->clearSelection();
        if (summary)
            m_app.trigger(u"summary"_s);
        for (QAction *menu : m_app.window->menuBar()->actions()) {
            const QList<QAction *> items = menu->menu()->actions();
            const auto first = std::ranges::find_if(items, [](QAction *a) {
                return !a->isSeparator() && a->isEnabled();
            });
            // A menu with nothing to choose takes no Return either.
            QVERIFY2(first == items.end() || (*first)->objectName() != u"delete_all",
                     qPrintable(menu->text()));
        }
    }

};

QTEST_MAIN(BankbookWindowTest)
#include "BankbookWindowTest.moc"
