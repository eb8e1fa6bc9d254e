// The toolbar and its customisation, driven as a user drives them: the arrangement of a first
// start, the customisation dialog's buttons, an arrangement kept across starts, showing and
// hiding the toolbar, and the tinted window style.

#include "GuiTestSupport.h"
#include "PreferencesWindow.h"
#include "ToolbarCustomizeDialog.h"
#include "views/ToolbarItems.h"

#include <QButtonGroup>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QToolBar>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

const QStringList kDefault{u"select_bank"_s,     u"import_balance"_s, u"save_balance"_s,
                           u"separator"_s,       u"list"_s,           u"list_order"_s,
                           u"search"_s,          u"separator"_s,      u"change_month"_s,
                           u"move_prev_month"_s, u"move_next_month"_s, u"separator"_s,
                           u"mark_balance"_s,    u"delete_balance"_s};

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Moriva"_s, u"Moriva"_s);
}

// The toolbar's contents as arrangement identifiers: actions by name, separators, spacers.
QStringList toolbarContents(QToolBar *toolBar)
{
    QStringList ids;
    for (QAction *action : toolBar->actions()) {
        if (action->isSeparator())
            ids << u"separator"_s;
        else if (QWidget *widget = toolBar->widgetForAction(action);
                 widget && !widget->objectName().isEmpty() && !widget->inherits("QToolButton"))
            ids << widget->objectName();
        else
            ids << action->objectName();
    }
    return ids;
}

QStringList listIds(QListWidget *list)
{
    QStringList ids;
    for (int i = 0; i < list->count(); ++i)
        ids << list->item(i)->data(Qt::UserRole + 1).toString();
    return ids;
}

int rowOf(QListWidget *list, const QString &id)
{
    return listIds(list).indexOf(id);
}

} // namespace

class ToolbarCustomizeTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    ToolbarCustomizeDialog *openDialog()
    {
        m_app.window->findChild<QAction *>(u"customize"_s)->trigger();
        return visibleChild<ToolbarCustomizeDialog>(m_app.window.get(), u"customizeToolbarSheet"_s);
    }
    static void click(QDialog *dialog, const QString &button)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    static QListWidget *available(QDialog *dialog)
    {
        return dialog->findChild<QListWidget *>(u"availableItems"_s);
    }
    static QListWidget *toolbarList(QDialog *dialog)
    {
        return dialog->findChild<QListWidget *>(u"toolbarItems"_s);
    }
    // Adds an available item after the toolbar list's current row, with the add button.
    static bool addItem(QDialog *dialog, const QString &id)
    {
        QListWidget *list = available(dialog);
        const int row = rowOf(list, id);
        if (row < 0 || !(list->item(row)->flags() & Qt::ItemIsEnabled))
            return false;
        list->setCurrentRow(row);
        click(dialog, u"add"_s);
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        QCOMPARE(store().fileName(), m_home.settingsFile());
    }
    void cleanup()
    {
        m_app.quit();
        m_home.clean();
    }

    void firstStartHasTheDefaultArrangement()
    {
        QCOMPARE(ToolbarItems::defaultArrangement(), kDefault);
        m_app.start();
        QCOMPARE(m_app.window->toolbarArrangement(), kDefault);
        QCOMPARE(m_app.window->toolbarArrangement().size(), 14);
        QToolBar *toolBar = m_app.window->toolBar();
        QCOMPARE(toolBar->objectName(), u"MorivaToolToolbar"_s);
        QVERIFY(toolBar->isVisible());
        QCOMPARE(toolbarContents(toolBar), kDefault);
        for (QAction *action : toolBar->actions()) {
            if (!action->isSeparator())
                QCOMPARE(action, m_app.window->action(action->objectName()));
        }
        QVERIFY(m_app.quit());
        // Nothing was customised, so nothing was stored.
        QVERIFY(!QSettings(m_home.settingsFile(), QSettings::IniFormat)
                     .contains(u"MorivaToolToolbar"_s));
    }

    void dialogAddsRemovesReordersAndRestores()
    {
        m_app.start();
        ToolbarCustomizeDialog *dialog = openDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(listIds(available(dialog)), ToolbarItems::allowedItems());
        QCOMPARE(listIds(toolbarList(dialog)), kDefault);
        QCOMPARE(dialog->arrangement(), kDefault);

        // Items already on the toolbar are offered but cannot be added; the others can.
        for (const QString &id : ToolbarItems::allowedItems()) {
            const bool enabled =
                available(dialog)->item(rowOf(available(dialog), id))->flags() & Qt::ItemIsEnabled;
            QCOMPARE(enabled, ToolbarItems::isRepeatable(id) || !kDefault.contains(id));
        }
        QVERIFY(!addItem(dialog, u"search"_s));
        available(dialog)->setCurrentRow(rowOf(available(dialog), u"search"_s));
        click(dialog, u"add"_s);
        QCOMPARE(dialog->arrangement(), kDefault);

        // Adding goes after the selected item.
        toolbarList(dialog)->setCurrentRow(0);
        QVERIFY(addItem(dialog, u"delete_all"_s));
        QStringList expected = kDefault;
        expected.insert(1, u"delete_all"_s);
        QCOMPARE(dialog->arrangement(), expected);
        QCOMPARE(toolbarList(dialog)->currentRow(), 1);
        QVERIFY(!addItem(dialog, u"delete_all"_s));
        // Separators and spaces as often as wanted; print and customize once.
        QVERIFY(addItem(dialog, u"separator"_s));
        QVERIFY(addItem(dialog, u"separator"_s));
        QVERIFY(addItem(dialog, u"flexible_space"_s));
        QVERIFY(addItem(dialog, u"space"_s));
        QVERIFY(addItem(dialog, u"space"_s));
        QVERIFY(addItem(dialog, u"print"_s));
        QVERIFY(!addItem(dialog, u"print"_s));
        expected.insert(2, u"separator"_s);
        expected.insert(3, u"separator"_s);
        expected.insert(4, u"flexible_space"_s);
        expected.insert(5, u"space"_s);
        expected.insert(6, u"space"_s);
        expected.insert(7, u"print"_s);
        QCOMPARE(dialog->arrangement(), expected);
        QCOMPARE(expected.count(u"separator"_s), 5);

        // Removing the selected item offers it again.
        toolbarList(dialog)->setCurrentRow(rowOf(toolbarList(dialog), u"search"_s));
        click(dialog, u"remove"_s);
        expected.removeOne(u"search"_s);
        QCOMPARE(dialog->arrangement(), expected);
        QVERIFY(available(dialog)->item(rowOf(available(dialog), u"search"_s))->flags()
                & Qt::ItemIsEnabled);
        toolbarList(dialog)->setCurrentRow(rowOf(toolbarList(dialog), u"print"_s));
        click(dialog, u"remove"_s);
        expected.removeOne(u"print"_s);
        QCOMPARE(dialog->arrangement(), expected);

        // Up and down move the selected item and keep it selected; the ends stop it.
        toolbarList(dialog)->setCurrentRow(0);
        click(dialog, u"up"_s);
        QCOMPARE(dialog->arrangement(), expected);
        click(dialog, u"down"_s);
        expected.swapItemsAt(0, 1);
        QCOMPARE(dialog->arrangement(), expected);
        QCOMPARE(toolbarList(dialog)->currentRow(), 1);
        click(dialog, u"down"_s);
        expected.swapItemsAt(1, 2);
        QCOMPARE(dialog->arrangement(), expected);
        click(dialog, u"up"_s);
        expected.swapItemsAt(1, 2);
        QCOMPARE(dialog->arrangement(), expected);
        const int last = toolbarList(dialog)->count() - 1;
        toolbarList(dialog)->setCurrentRow(last);
        click(dialog, u"down"_s);
        QCOMPARE(dialog->arrangement(), expected);
        QCOMPARE(toolbarList(dialog)->currentRow(), last);

        // Nothing reaches the toolbar before the dialog is accepted.
        QCOMPARE(m_app.window->toolbarArrangement(), kDefault);

        // Restore default.
        click(dialog, u"restoreDefault"_s);
        QCOMPARE(dialog->arrangement(), kDefault);
        QVERIFY(!(available(dialog)->item(rowOf(available(dialog), u"search"_s))->flags()
                  & Qt::ItemIsEnabled));
        QVERIFY(available(dialog)->item(rowOf(available(dialog), u"delete_all"_s))->flags()
                & Qt::ItemIsEnabled);

        // Cancelling leaves the toolbar and the store alone.
        toolbarList(dialog)->setCurrentRow(0);
        click(dialog, u"remove"_s);
        dialog->reject();
        QVERIFY(waitDeleted(dialog));
        QCOMPARE(m_app.window->toolbarArrangement(), kDefault);
        QVERIFY(!store().contains(u"MorivaToolToolbar"_s));
    }

    void acceptedArrangementIsUsedAndKeptForTheNextStart()
    {
        m_app.start();
        ToolbarCustomizeDialog *dialog = openDialog();
        QVERIFY(dialog);
        // Down to three items: remove everything, then add in order.
        while (toolbarList(dialog)->count() > 0) {
            toolbarList(dialog)->setCurrentRow(0);
            click(dialog, u"remove"_s);
        }
        for (const QString &id : {u"preferences"_s, u"separator"_s, u"import_balance"_s,
                                  u"flexible_space"_s, u"print"_s, u"customize"_s})
            QVERIFY2(addItem(dialog, id), qPrintable(id));
        const QStringList chosen{u"preferences"_s,    u"separator"_s, u"import_balance"_s,
                                 u"flexible_space"_s, u"print"_s,     u"customize"_s};
        QCOMPARE(dialog->arrangement(), chosen);
        dialog->accept();
        QVERIFY(waitDeleted(dialog));

        QCOMPARE(m_app.window->toolbarArrangement(), chosen);
        QCOMPARE(toolbarContents(m_app.window->toolBar()), chosen);
        QCOMPARE(store().value(u"MorivaToolToolbar"_s).toStringList(), chosen);
        QVERIFY(m_app.quit());

        m_app.start();
        QCOMPARE(m_app.window->toolbarArrangement(), chosen);
        QCOMPARE(toolbarContents(m_app.window->toolBar()), chosen);
        // The toolbar's print item is the File menu's print command.
        QAction *print = m_app.window->findChild<QAction *>(u"print"_s);
        QVERIFY(m_app.window->toolBar()->actions().contains(print));

        // An arrangement emptied by the user stays empty.
        dialog = openDialog();
        QVERIFY(dialog);
        while (toolbarList(dialog)->count() > 0) {
            toolbarList(dialog)->setCurrentRow(0);
            click(dialog, u"remove"_s);
        }
        dialog->accept();
        QVERIFY(waitDeleted(dialog));
        QVERIFY(m_app.window->toolbarArrangement().isEmpty());
        QVERIFY(m_app.quit());
        m_app.start();
        QVERIFY(m_app.window->toolbarArrangement().isEmpty());
        QVERIFY(m_app.window->toolBar()->actions().isEmpty());
    }

    void storedArrangementIsSanitized()
    {
        {
            QSettings settings = store();
            settings.setValue(u"MorivaToolToolbar"_s,
                              QStringList{u"search"_s, u"nonsense"_s, u"search"_s, u"separator"_s,
                                          u"separator"_s, u"print"_s, u"print"_s});
        }
        m_app.start();
        const QStringList expected{u"search"_s, u"separator"_s, u"separator"_s, u"print"_s};
        QCOMPARE(m_app.window->toolbarArrangement(), expected);
        QCOMPARE(toolbarContents(m_app.window->toolBar()), expected);
    }

    void showHideTogglesAndIsRemembered()
    {
        m_app.start();
        QAction *toggle = m_app.window->findChild<QAction *>(u"showToolbar"_s);
        QVERIFY(toggle);
        // It is in the View menu.
        bool inViewMenu = false;
        for (QAction *menu : m_app.window->menuBar()->actions()) {
            if (menu->menu() && menu->menu()->actions().contains(toggle))
                inViewMenu = menu->text() == u"&View"_s;
        }
        QVERIFY(inViewMenu);

        QVERIFY(m_app.window->toolBar()->isVisible());
        toggle->trigger();
        QVERIFY(!m_app.window->toolBar()->isVisible());
        toggle->trigger();
        QVERIFY(m_app.window->toolBar()->isVisible());
        toggle->trigger();
        QVERIFY(!m_app.window->toolBar()->isVisible());
        QVERIFY(m_app.quit());
        QCOMPARE(QSettings(m_home.settingsFile(), QSettings::IniFormat)
                     .value(u"MorivaToolToolbarVisible"_s).toString(),
                 u"false"_s);

        m_app.start();
        QVERIFY(!m_app.window->toolBar()->isVisible());
        m_app.window->findChild<QAction *>(u"showToolbar"_s)->trigger();
        QVERIFY(m_app.window->toolBar()->isVisible());
        QVERIFY(m_app.quit());

        m_app.start();
        QVERIFY(m_app.window->toolBar()->isVisible());
    }

    void windowStyleTakesEffectAtTheNextStart()
    {
        m_app.start();
        QCOMPARE(m_app.window->property("windowStyle").toInt(), 0);
        QCOMPARE(m_app.table()->frameShape(), QFrame::StyledPanel);
        const QString plainSheet = m_app.window->toolBar()->styleSheet();

        // Chosen and saved in the preferences window: the window stays as it is for now.
        m_app.trigger(u"preferences"_s);
        PreferencesWindow *prefs = m_app.window->preferencesWindow();
        QVERIFY(QTest::qWaitForWindowExposed(prefs));
        QTest::mouseClick(prefs->findChild<QRadioButton *>(u"windowStyle1"_s), Qt::LeftButton);
        QTest::mouseClick(prefs->findChild<QPushButton *>(u"save"_s), Qt::LeftButton);
        QCOMPARE(m_app.controller->windowStyle(), 1);
        QCOMPARE(m_app.table()->frameShape(), QFrame::StyledPanel);
        QVERIFY(m_app.quit());

        m_app.start();
        QCOMPARE(m_app.controller->windowStyle(), 1);
        QCOMPARE(m_app.window->property("windowStyle").toInt(), 1);
        QCOMPARE(m_app.table()->frameShape(), QFrame::NoFrame);
        QVERIFY(m_app.window->toolBar()->styleSheet() != plainSheet);
        // The toolbar is drawn differently from the standard style's.
        const QImage tinted = m_app.window->toolBar()->grab().toImage();
        QVERIFY(m_app.quit());

        {
            QSettings settings = store();
            settings.setValue(u"MVBankbookWindowStyle"_s, 0);
        }
        m_app.start();
        QCOMPARE(m_app.table()->frameShape(), QFrame::StyledPanel);
        const QImage plain = m_app.window->toolBar()->grab().toImage();
        QVERIFY(tinted != plain);
    }
};

QTEST_MAIN(ToolbarCustomizeTest)
#include "ToolbarCustomizeTest.moc"
