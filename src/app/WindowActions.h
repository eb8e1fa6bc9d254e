#pragma once

#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QStringList>

#include <utility>

class BankbookWindow;
class Controller;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

// The main window's commands as actions: Moriva's own toolbar items and the standard ones
// ("print", "customize"), the menus with their tags and shortcuts, the table's context menu,
// the toolbar and its arrangement, and which commands are enabled.
class WindowActions : public QObject
{
    Q_OBJECT

public:
    // A command's icon, by its name among the bundled icons (":/icons/<name>.svg").
    static QIcon iconFor(const QString &name);
    WindowActions(BankbookWindow *window, Controller *controller);

    // The action of a toolbar item ("import_balance", "print", ...); null for an unknown one.
    QAction *action(const QString &identifier) const;
    // Every action that carries a menu tag (the "menuTag" property).
    QList<QAction *> menuActions() const { return m_menuActions; }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *contextMenu() const { return m_contextMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    // Offers an action made elsewhere in the window as a toolbar item under its object name.
    void addItem(QAction *action);

    QStringList arrangement() const { return m_arrangement; }
    void setArrangement(const QStringList &arrangement);
    // What the customisation palette shows for an item: its label and icon.
    std::pair<QString, QIcon> describe(const QString &identifier) const;
    // Opens the customisation dialog; the arrangement it gives is kept in the settings.
    void customizeToolbar();
    void toggleToolbar();
    // Keeps whether the toolbar is shown, for the next start.
    void saveToolbarVisibility() const;

    // selectedRow: -1 when no row is selected.
    void updateEnabled(int selectedRow);

private:
    void createActions();
    void createToolBar();
    void createMenus(QMenuBar *bar);
    QAction *tagged(QAction *action, int tag, const QKeySequence &keys = {});

    BankbookWindow *m_window;
    Controller *m_controller;
    QToolBar *m_toolBar = nullptr;
    QAction *m_showToolbar = nullptr;
    QMenu *m_contextMenu = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QMenu *m_viewMenu = nullptr;
    QHash<QString, QAction *> m_actions;         // Moriva's own toolbar items
    QHash<QString, QAction *> m_standardActions; // "print", "customize"
    QList<QAction *> m_menuActions;
    QStringList m_arrangement;
};
