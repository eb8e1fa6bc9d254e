// The toolbar and its customisation, driven as a user drives them: a stored arrangement, the
// customisation dialog's buttons with the arrangement kept for the next start, the toolbar
// shown or hidden, and the tinted window style.

#include "GuiTestSupport.h"
#include "ToolbarCustomizeDialog.h"
#include "WindowActions.h"
#include "views/Settings.h"
#include "views/ToolbarItems.h"

#include <QListWidget>
#include <QToolBar>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// What a first start shows; its labels are TranslationTest's.
const QStringList kDefault = ToolbarItems::defaultArrangement();

int rowOf(QListWidget *list, const QString &id)
{
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::UserRole + 1,
                                                       id, 1, Qt::MatchExactly);
    return found.isEmpty() ? -1 : found.first().row();
}

} // namespace

class ToolbarCustomizeTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    // The toolbar as the window keeps it and as it shows it: actions by name, separators, spacers.
    void verifyToolbar(const QStringList &expected)
    {
        QCOMPARE(m_app.window->actions()->arrangement(), expected);
        QStringList shown;
        for (QAction *action : m_app.window->toolBar()->actions()) {
            QWidget *widget = m_app.window->toolBar()->widgetForAction(action);
            shown << (action->isSeparator()                           ? u"separator"_s
                      : widget && !widget->inherits("QToolButton") ? widget->objectName()
                                                                   : action->objectName());
        }
        QCOMPARE(shown, expected);
    }

private slots:
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void cleanup() { m_app.quit(); m_home.clean(); }

    void storedArrangementIsCleanedUp()
    {
        const QStringList stored{u"search"_s, u"nonsense"_s, u"search"_s, u"separator"_s,
                                 u"separator"_s, u"print"_s, u"print"_s, u"space"_s};
        Settings::store().setValue(Settings::key(Settings::ToolbarArrangement), stored);
        m_app.start();
        verifyToolbar({u"search"_s, u"separator"_s, u"separator"_s, u"print"_s, u"space"_s});
    }

    void dialogArrangesTheToolbar_data()
    {
        QTest::addColumn<QStringList>("steps"); // "select ID|ROW" and "add ID", else a button
        QTest::addColumn<bool>("accept"); QTest::addColumn<QStringList>("result");
        QStringList clear;
        for (int i = 0; i < kDefault.size(); ++i)
            clear << u"select 0"_s << u"remove"_s;
        // Each goes after the selected item; own items and print only once.
        const QStringList added = QStringList{kDefault[0], u"delete_all"_s, u"print"_s,
                                              u"separator"_s, u"flexible_space"_s, u"space"_s}
                                  + kDefault.mid(1);
        QTest::newRow("add after the selected item")
            << QStringList{u"select 0"_s, u"add delete_all"_s, u"add delete_all"_s, u"add print"_s,
                           u"add print"_s, u"add search"_s, u"add separator"_s,
                           u"add flexible_space"_s, u"add space"_s}
            << true << added;
        QStringList moved = kDefault;
        moved.removeOne(u"search"_s);
        moved.swapItemsAt(0, 1);
        QTest::newRow("removed is offered again; moves stop at the ends")
            << QStringList{u"select search"_s, u"remove"_s, u"select -1"_s, u"add search"_s,
                           u"down"_s, u"select 0"_s, u"up"_s, u"down"_s, u"down"_s, u"up"_s}
            << true << (moved << u"search"_s);
        QTest::newRow("emptied stays empty") << clear << true << QStringList{};
        QTest::newRow("restore default")
            << (clear + QStringList{u"add print"_s, u"restoreDefault"_s}) << true << kDefault;
        QTest::newRow("cancelled") << clear << false << QStringList{};
    }
    void dialogArrangesTheToolbar()
    {
        QFETCH(QStringList, steps); QFETCH(bool, accept); QFETCH(QStringList, result);
        m_app.start();
        m_app.trigger(u"customize"_s);
        auto *dialog = visibleChild<ToolbarCustomizeDialog>(m_app.window.get());
        QVERIFY(dialog);
        QListWidget *toolbar = dialog->toolbarList();
        const auto click = [dialog](const QString &name) {
            QTest::mouseClick(dialog->findChild<QPushButton *>(name), Qt::LeftButton);
        };
        for (const QString &step : steps) {
            const QString arg = step.section(u' ', 1);
            if (step.startsWith(u"select "_s)) {
                toolbar->setCurrentRow(qMax(rowOf(toolbar, arg), arg.toInt())); // an item or a row
            } else if (step.startsWith(u"add "_s)) {
                // An item that is not offered cannot be chosen.
                dialog->availableList()->setCurrentRow(rowOf(dialog->availableList(), arg));
                click(u"add"_s);
            } else {
                click(step);
            }
        }
        QCOMPARE(dialog->arrangement(), result);
        verifyToolbar(kDefault); // nothing reaches the toolbar before the dialog is accepted
        accept ? dialog->accept() : dialog->reject();
        QVERIFY(waitDeleted(dialog));
        const QStringList shown = accept ? result : kDefault;
        verifyToolbar(shown);
        QVERIFY(m_app.quit());
        QCOMPARE(Settings::store().contains(Settings::key(Settings::ToolbarArrangement)), accept);
        m_app.start();
        verifyToolbar(shown);
    }

    void visibilityAndWindowStyleAreKept()
    {
        for (int pass : {0, 1}) {
            Settings::store().setValue(Settings::key(Settings::WindowStyle), pass); // 1: tinted
            m_app.start();
            QCOMPARE(m_app.window->toolBar()->styleSheet().isEmpty(), !pass);
            // Shown on the first start, hidden on the second as it was at the quit before.
            QCOMPARE(m_app.window->toolBar()->isVisible(), !pass);
            m_app.window->findChild<QAction *>(u"showToolbar"_s)->trigger();
            QCOMPARE(m_app.window->toolBar()->isVisible(), bool(pass));
            QVERIFY(m_app.quit());
            QCOMPARE(Settings::store().value(Settings::key(Settings::ToolbarVisible)).toBool(),
                     bool(pass));
        }
    }
};

QTEST_MAIN(ToolbarCustomizeTest)
#include "ToolbarCustomizeTest.moc"
