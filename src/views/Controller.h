#pragma once

#include "CommandRules.h"
#include "EntryChanges.h"
#include "LedgerView.h"
#include "Preferences.h"
#include "import/ImportReport.h"
#include "import/StatementFile.h"
#include "ledger/BalanceChain.h"
#include "ledger/DataFolder.h"
#include "ledger/LedgerDatabase.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <functional>
#include <future>
#include <memory>
#include <optional>

// Moriva's commands, coordinated: the ledger database, the view of the chosen account that the
// table shows, and the settings. Each job is done by a class of its own (LedgerDatabase,
// StatementImporter, LedgerView, EntryChanges, CommandRules); this one decides the order of the
// steps and tells the window what changed. It needs no window: the desktop window, the
// command-line tool and the tests all drive it.
class Controller : public QObject
{
    Q_OBJECT

public:
    enum class LedgerState {
        Closed,       // nothing opened yet
        Open,         // the database is open (or there is none yet to read: an empty ledger)
        Unreadable,   // the database cannot be read
        Locked,       // another Moriva process holds the ledgers
        NoDataFolder, // there is no folder to keep the ledgers in
    };
    enum class Access { Write, Read };

    explicit Controller(QObject *parent = nullptr);
    ~Controller() override;

    // ---- start-up and quit ----
    // Uses the given folder instead of the user's data location (tests, tools).
    void setDataFolderPath(const QString &path) { m_dataFolderOverride = path; }
    void setLockTimeoutMs(int ms) { m_lockTimeoutMs = ms; }
    void loadPreferences();
    void setPreferences(const Preferences &preferences);
    Preferences preferences() const;
    bool savePreferences(QString *error) const;
    // Finds or creates the data folder; false when there can be none.
    bool openDataFolder();
    QString dataFolderPath() const { return m_dataFolder; }
    QString databasePath() const;
    // Opens the ledger database. Write takes the data-folder lock first (waiting a few seconds
    // for another Moriva) and moves archive files of earlier versions in; Read takes no lock
    // and sees the last committed state, whatever another process is doing.
    void openLedger(Access access = Access::Write);
    // Messages about archives that could not be moved into the database, from the last open.
    const QStringList &moveInProblems() const { return m_moveInProblems; }
    // Replaces the database by a backup (see Backups::restore) and opens it.
    bool restoreBackup(const QString &backupPath, QString *error, QString *aside = nullptr);
    // Shows the bank's entries; false (with the reason) when the ledger is not open.
    bool switchBank(Bank bank, QString *error = nullptr);
    // Lets go of the database and the data-folder lock.
    void closeLedger();
    // The window's first list: the monthly list if it was shown at the last quit, else all
    // activity.
    void start();

    // ---- state ----
    LedgerState ledgerState() const { return m_state; }
    bool isLedgerOpen() const { return m_state == LedgerState::Open; }
    QString ledgerError() const { return m_error; }
    const LedgerDatabase &database() const { return m_database; }
    const LedgerView &view() const { return m_view; }
    Bank bank() const { return m_bank; }
    bool hasEntries() const { return m_database.count(m_bank) > 0; }
    // Where the account's balances do not follow one another; walked when first asked for after
    // entries came or went.
    const BalanceChain &balances() const;
    // The count and sums of the list shown; all activity's come with the balance check, which
    // the status bar walks anyway.
    ListTotals shownTotals() const;
    QString windowTitle() const { return m_view.title(); }
    int windowStyle() const { return m_settings.windowStyle; }
    void setWindowStyle(int style) { m_settings.windowStyle = style; }
    bool checksForUpdatesAtStart() const { return m_settings.checkForUpdatesAtStart; }
    void setChecksForUpdatesAtStart(bool on) { m_settings.checkForUpdatesAtStart = on; }
    LedgerExport::Encoding exportEncoding() const { return m_settings.exportEncoding; }
    void setExportEncoding(LedgerExport::Encoding encoding) { m_settings.exportEncoding = encoding; }

    // ---- import ----
    // Reads statement files into their banks' ledgers, switching banks if need be; the files
    // that added entries are one step for Undo.
    QList<ImportReport> importFiles(const QStringList &paths);
    // Told after each piece of a statement is read: its path, the bytes read and the file's
    // size. A window shows progress with it and answers meanwhile (it must then let nothing
    // else change the ledger until the import returns).
    using ImportProgress = std::function<void(const QString &path, qint64 done, qint64 total)>;
    void setImportProgress(ImportProgress progress) { m_importProgress = std::move(progress); }
    ImportReport importFile(const QString &path) { return importFiles({path}).value(0); }
    // The first step of an import: tells the bank by the path (a path of no bank is refused
    // unread) and opens the file. Status Imported when the bytes are there to import.
    static ImportReport readStatement(const QString &path, StatementFile *file);
    ImportReport importText(const QString &path, const QString &text);
    // One statement file, decoded a piece at a time, committed whole or not at all. The ids of
    // the entries it added are appended to `added`.
    ImportReport importStatement(const QString &path, StatementFile file,
                                 QList<qint64> *added = nullptr);

    // ---- lists (see LedgerView) ----
    void switchList();
    void showActivity();
    void reverseOrder();
    void showThisMonth();
    void showPreviousMonth();
    void showNextMonth();
    void showMonth(const QString &yearText, const QString &monthText);
    void showMonth(int year, int month);
    // A click on a column's header ("date", "time", "summary", "payment", "deposit", "balance",
    // "details"): Date gives the list's own order back, or reverses it when it is shown already;
    // another column sorts the shown list by itself, a second click the other way.
    void sortByColumn(QStringView column);
    // The column whose header shows the list's order ("date": the list's own), and which way.
    QString sortColumn() const;
    Qt::SortOrder sortColumnOrder() const;
    // Whether the table shows the column for the open account: the Time column is for accounts
    // whose statements give the time of day (JNB's), not eBANK's.
    bool showsColumn(QStringView column) const;
    // Previous and Next do nothing past the months they stop at (LedgerView::hasNextMonth).
    // Answers the number of hits; with none, noticeRequested() says so.
    int search(const QString &keyword);

    // ---- changes to entries, by row of the shown list (see EntryChanges) ----
    static bool isEditableColumn(QStringView identifier)
    {
        return EntryChanges::isEditableColumn(identifier);
    }
    bool editEntry(int row, QStringView column, const QString &value)
    {
        return m_changes.editEntry(row, column, value);
    }
    bool revertSummary(int row) { return m_changes.revertSummary(row); }
    bool toggleMark(int row) { return m_changes.toggleMark(row); }
    // The row that followed takes its place and is selected (selectionRequested).
    bool removeEntry(int row);
    void removeAllEntries() { m_changes.removeAllEntries(); }

    // ---- undo and redo ----
    QUndoStack &undoStack() { return m_changes.undoStack(); }
    const QUndoStack &undoStack() const { return m_changes.undoStack(); }
    // The Edit menu's texts: "Undo Mark"; "Undo" when there is nothing to undo.
    QString undoText() const;
    QString redoText() const;
    // The entries the step touched are shown (their month or bank opened if need be) and the
    // first of them selected; where entries left the list, the row that took their place.
    bool undo();
    bool redo();
    // Shows the entries and asks for the first of them in the list to be selected: where none
    // is shown, the bank of the one first in the list's order is opened and, unless all
    // activity is shown, its month.
    void revealEntries(const QList<qint64> &ids);

    // ---- export ----
    QString proposedExportFileName() const { return m_view.proposedExportFileName(); }
    QString proposedPrintName() const { return m_view.proposedPrintName(); }
    bool exportShownList(const QString &path, QString *error) const;

    // ---- enabling of commands ----
    // What CommandRules::isEnabled looks at, as far as the ledger tells (selectedRow: -1 when no
    // row is selected); the window adds what it alone knows.
    CommandRules::State commandState(int selectedRow) const;
    // Whether Mark shows as checked for the selected row (-1: none).
    bool isMarkChecked(int selectedRow) const;

signals:
    // The shown list, its order or its contents changed: the table shows it afresh.
    void reloadRequested();
    // The entry at a row of the shown list changed (an edit or a mark).
    void rowChanged(int row);
    // The open bank (and its list) changed.
    void bankChanged();
    // After a change, an undo, a redo or an import: the row of the shown list to select and
    // scroll to.
    void selectionRequested(int row);
    // A passing message for the status bar ("No entries contain “ATM”").
    void noticeRequested(const QString &text);
    // A step was pushed, undone or redone: the Edit menu names another.
    void historyChanged();
    // A change could not be committed to the database; nothing changed.
    void changeFailed(const QString &error);

private:
    // Whether the file's bank can take the import now, switching banks if need be; otherwise
    // the report says why not.
    bool prepareBank(ImportReport &report);
    void setUnavailable(LedgerState state, const QString &error);
    // Takes a backup of the database before its first change in this process.
    bool backUpOnce(QString *error);
    void entriesCameOrWent();
    // The balance check walks every entry, and so does the list's first load: at start the two
    // run side by side, the check on a read-only connection of its own.
    void checkBalancesAhead();
    void forgetBalances();
    // Shows and selects what the last change, undo or redo touched.
    void showWhatChanged();
    // Moves archive files of earlier versions into the database; what was refused is kept in
    // m_moveInProblems.
    void moveInArchives();

    LedgerDatabase m_database;
    LedgerView m_view{m_database};
    mutable std::optional<BalanceChain> m_balances; // none until asked for
    mutable std::future<std::optional<BalanceChain>> m_balancesAhead; // begun at start
    ImportProgress m_importProgress;
    EntryChanges m_changes{m_database, m_view};
    Preferences m_settings; // the window style, the update check and the export encoding
    Bank m_bank = Bank::Jnb;
    LedgerState m_state = LedgerState::Closed;
    QString m_error;
    QStringList m_moveInProblems;
    QString m_dataFolder;
    QString m_dataFolderOverride;
    int m_lockTimeoutMs = DataFolderLock::defaultTimeoutMs();
    std::unique_ptr<DataFolderLock> m_lock;
    bool m_backedUp = false;
};
