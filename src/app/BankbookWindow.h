#pragma once

#include "ColourScheme.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <functional>

class BankbookTableModel;
class PreferencesWindow;
class QPagedPaintDevice;
class UpdateChecker;
class UpdateSheet;
class BankbookTableView;
class ChangeMonthSheet;
class Controller;
class QAction;
class QLabel;
class QMenu;
class QToolBar;
class SearchSheet;
class SelectBankSheet;
struct ImportReport;

// Moriva's main window: the ledger table of the current bank, the toolbar and menus that reach
// every command, the sheets that confirm and ask, and the status bar. Every decision is the
// controller's; the window shows and asks.
class BankbookWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit BankbookWindow(Controller *controller, QWidget *parent = nullptr);
    ~BankbookWindow() override;

    // After start-up: shows the list, and reports an archive that could not be opened.
    void startUp();
    // Imports a statement file as if it had been opened from the Import command.
    ImportReport importFile(const QString &path);

    BankbookTableView *table() const { return m_table; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The action of a toolbar item ("import_balance", ...) or of a menu command by its tag.
    QAction *action(const QString &identifier) const { return m_actions.value(identifier); }
    QList<QAction *> menuActions() const { return m_menuActions; }
    QLabel *bankNameField() const { return m_bankName; }
    ColourScheme &colours() { return m_colours; }
    PreferencesWindow *preferencesWindow() const { return m_preferences; }
    UpdateSheet *updateSheet() const { return m_updateSheet; }
    QStringList toolbarArrangement() const;
    void setToolbarArrangement(const QStringList &arrangement);
    // Prints the shown list onto the device (a printer or a PDF writer); answers the pages.
    int printTo(QPagedPaintDevice *device);
    // Recomputes which commands are enabled.
    void updateActions();

public slots:
    void importBalance();
    void saveBalance();
    void deleteBalance();
    void deleteAllBalance();
    void switchListContents();
    void changeListOrder();
    void changeMonthList();
    void movePrevMonth();
    void moveNextMonth();
    void moveThisMonth();
    void markBalance();
    void searchBalance();
    void selectBank();
    void showAlertSheet(const QString &message);
    void showPreferences();
    void printBalance();
    void customizeToolbar();
    void showToolbar();
    void showAboutUpdateWindow();
    // At start-up, when asked for: looks for a newer version and opens the update sheet only
    // when one is published.
    void checkLatestVersionAtStartup();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    std::pair<QString, QIcon> describeToolbarItem(const QString &identifier) const;
    void applyWindowStyle(int style);
    // A delete confirmation sheet; onDelete runs only for its delete button.
    void confirmDeletion(const QString &name, QStringView messageKey, QStringView deleteKey,
                         const QString &deleteName, std::function<void()> onDelete);
    void refreshTitleAndStatus();
    // What the empty table says: why it is empty and what to do.
    QString placeholderText() const;
    void restoreLayout();
    void saveLayout();
    // Writes the preferences and the ledger; asks what to do when that fails.
    bool saveBeforeQuit();

    Controller *m_controller;
    BankbookTableModel *m_model;
    BankbookTableView *m_table;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_bankName;
    QLabel *m_totals;
    ChangeMonthSheet *m_changeMonthSheet;
    SearchSheet *m_searchSheet;
    SelectBankSheet *m_selectBankSheet;
    QMenu *m_contextMenu = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QAction *> m_standardActions; // "print", "customize"
    QStringList m_arrangement;
    PreferencesWindow *m_preferences;
    UpdateChecker *m_startupChecker;
    UpdateSheet *m_updateSheet;
    QList<QAction *> m_menuActions;
    ColourScheme m_colours;
    bool m_quitting = false;
};
