#pragma once

#include "ColourScheme.h"

#include <QMainWindow>

class BankbookTableModel;
class BankbookTableView;
class ChangeMonthSheet;
class Controller;
class FileCommands;
class PreferencesWindow;
class QAction;
class QLabel;
class QPagedPaintDevice;
class QToolBar;
class SearchSheet;
class SelectBankSheet;
class UpdateChecker;
class UpdateSheet;
class ViewSwitcher;
class LedgerStatusBar;
class WindowActions;
struct ImportReport;

// Moriva's main window: the ledger table of the current bank, the commands (WindowActions),
// the sheets that confirm and ask, and the status bar. Every decision is the controller's;
// the window shows and asks.
class BankbookWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit BankbookWindow(Controller *controller, QWidget *parent = nullptr);
    ~BankbookWindow() override;

    // After start-up: shows the list, and reports a ledger that could not be opened.
    void startUp();
    // Imports a statement file as if it had been chosen with the Import command.
    ImportReport importFile(const QString &path);
    // Imports several statement files at once and reports them together.
    QList<ImportReport> importFiles(const QStringList &paths);

    BankbookTableView *table() const { return m_table; }
    WindowActions *actions() const { return m_actions; }
    // The ledger table or the Summary.
    ViewSwitcher *views() const { return m_views; }
    QToolBar *toolBar() const;
    // The action of a toolbar item ("import_balance", "print", ...).
    QAction *action(const QString &identifier) const;
    QLabel *bankNameField() const;
    ColourScheme &colours() { return m_colours; }
    PreferencesWindow *preferencesWindow() const { return m_preferences; }
    UpdateSheet *updateSheet() const { return m_updateSheet; }
    // Prints the shown list onto the device (a printer or a PDF writer); answers the pages.
    int printTo(QPagedPaintDevice *device);
    // Recomputes which commands are enabled.
    void updateActions();

public slots:
    void importStatement();
    void exportList();
    void removeSelectedEntry();
    void removeAllEntries();
    // Bank › Balance Gaps…, also the status bar's gaps button.
    void showBalanceGaps();
    // Bank › Rejected Lines…: the lines the last import left out, with their reasons.
    void showRejectedLines();
    void switchList();
    void reverseOrder();
    void changeMonth();
    void showPreviousMonth();
    void showNextMonth();
    void showThisMonth();
    void toggleMark();
    void revertSummary();
    void search();
    void selectBank();
    void showAlert(const QString &message);
    void showPreferences();
    void print();
    void showUpdateSheet();
    // Help › About Moriva: the version, the licence and the data folder.
    void showAbout();
    // At start-up, when asked for: looks for a newer version and opens the update sheet only
    // when one is published.
    void checkForUpdatesAtStart();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectSheets();
    void applyWindowStyle(int style);
    void refreshTitleAndStatus();
    // What the empty table says: why it is empty and what to do.
    QString placeholderText() const;
    // Writes the preferences and the ledger; asks what to do when that fails.
    bool saveBeforeQuit();

    Controller *m_controller;
    BankbookTableModel *m_model;
    BankbookTableView *m_table;
    LedgerStatusBar *m_status = nullptr;
    FileCommands *m_files = nullptr;
    ChangeMonthSheet *m_changeMonthSheet;
    SearchSheet *m_searchSheet;
    SelectBankSheet *m_selectBankSheet;
    PreferencesWindow *m_preferences = nullptr;
    UpdateChecker *m_startupChecker;
    UpdateSheet *m_updateSheet;
    WindowActions *m_actions = nullptr;
    ViewSwitcher *m_views = nullptr;
    ColourScheme m_colours;
};
