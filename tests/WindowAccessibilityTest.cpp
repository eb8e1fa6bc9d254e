// SPDX-License-Identifier: GPL-3.0-or-later
// The main window for a keyboard and a screen reader: every control has a name, Tab leaves the
// table, and Alt+<menu>, Return never reaches Delete All, whose question names what it deletes.

#include "GuiTestSupport.h"
#include "PreferencesWindow.h"
#include "summary/SummaryView.h"
#include "summary/ViewSwitcher.h"

#include <QAccessible>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

using namespace GuiTest;

namespace {

// The visible controls under an interface that have no name, as "role objectName".
QStringList unnamed(QAccessibleInterface *iface)
{
    static const QList<QAccessible::Role> controls{
        QAccessible::PushButton, QAccessible::CheckBox,   QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::SpinBox,
        QAccessible::Table,      QAccessible::List,       QAccessible::Tree,
        QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::MenuItem,
        QAccessible::Chart,      QAccessible::StaticText, QAccessible::ToolBar,
        QAccessible::StatusBar,  QAccessible::MenuBar,    QAccessible::PageTab};
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

} // namespace

class WindowAccessibilityTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    bool startWithLedger()
    {
        const QString path = writeJnbFile(m_home, {{QDate(2026, 3, 2), u"ATM"_s, 1000, 0, 9000},
                                                   {QDate(2026, 3, 5), u"利息"_s, 0, 3, 9003}});
        m_app.start();
        m_app.window->activateWindow();
        return QTest::qWaitForWindowActive(m_app.window.get())
            && m_app.window->importFile(path).added == 2;
    }

private slots:
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void cleanup()
    {
        m_app.quit();
        m_home.clean();
    }

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
        }
        const QStringList missing = unnamed(QAccessible::queryAccessibleInterface(top));
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", ")));
    }

    void tabLeavesTheTable()
    {
        QVERIFY(startWithLedger());
        m_app.table()->setFocus();
        m_app.table()->selectRow(0);
        QVERIFY(m_app.table()->hasFocus());
        QTest::keyClick(m_app.table(), Qt::Key_Tab);
        QVERIFY(!m_app.table()->hasFocus());
        QCOMPARE(m_app.table()->currentIndex().row(), 0);
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
        if (entries)
            QVERIFY(startWithLedger());
        else
            m_app.start();
        m_app.table()->clearSelection();
        if (summary)
            m_app.trigger(u"summary"_s);
        for (QAction *menu : m_app.window->menuBar()->actions()) {
            const QList<QAction *> items = menu->menu()->actions();
            const auto first = std::find_if(items.begin(), items.end(), [](QAction *a) {
                return !a->isSeparator() && a->isEnabled();
            });
            // A menu with nothing to choose takes no Return either.
            QVERIFY2(first == items.end() || (*first)->objectName() != u"delete_all",
                     qPrintable(menu->text()));
        }
    }

    void deleteAllNamesTheAccountAndTheCount()
    {
        QVERIFY(startWithLedger());
        m_app.trigger(u"delete_all"_s);
        auto *sheet = visibleChild<QMessageBox>(m_app.window.get(), u"deleteAllSheet"_s);
        QVERIFY(sheet);
        QCOMPARE(sheet->text(),
                 u"Delete all 2 entries of the JNB ledger? Edit › Undo puts them back."_s);
        QTest::keyClick(sheet, Qt::Key_Return); // the default keeps them
        QCOMPARE(m_app.rows(), 2);
    }
};

QTEST_MAIN(WindowAccessibilityTest)
#include "WindowAccessibilityTest.moc"
