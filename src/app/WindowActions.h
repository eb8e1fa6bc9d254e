#pragma once

#include "views/CommandRules.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QStringList>

#include <utility>

class BankbookWindow;
class Controller;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's commands as actions, one a row of the command table (see Commands): the
// menus, the toolbar and its arrangement, the table's context menu, and which commands are
// enabled. Each action's object name is its command's identifier.
class WindowActions : public QObject
{
    Q_OBJECT

public:
    // A command's icon, by its name among the bundled icons (":/icons/<name>.svg").
    static QIcon iconFor(const QString &name);
    WindowActions(BankbookWindow *window, Controller *controller);

    // The action of a command ("import_balance", "print", ...); null for an unknown one.
    QAction *action(const QString &identifier) const { return m_actions.value(identifier); }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *contextMenu() const { return m_contextMenu; }

    QStringList arrangement() const { return m_arrangement; }
    void setArrangement(const QStringList &arrangement);
    // What the customisation palette shows for an item: its label and icon.
    std::pair<QString, QIcon> describe(const QString &identifier) const;
    // Opens the customisation dialog; the arrangement it gives is kept in the settings.
    void customizeToolbar();
    void toggleToolbar();
    // Keeps whether the toolbar is shown, for the next start.
    void saveToolbarVisibility() const;

    // selectedRow: -1 when no row is selected; the rest is what the window alone knows.
    void updateEnabled(int selectedRow, bool summaryShown, bool hasRejectedLines);
    // Whether a command may run now, by the state of the last update.
    bool isEnabled(const QString &identifier) const;

private:
    void createActions();
    void createToolBar();
    void createMenus(QMenuBar *bar);

    BankbookWindow *m_window;
    Controller *m_controller;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_contextMenu = nullptr;
    QHash<QString, QAction *> m_actions;
    QStringList m_arrangement;
    CommandRules::State m_state;
};
