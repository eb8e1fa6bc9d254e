#pragma once

#include "AutoSaver.h"
#include "CommandRules.h"
#include "EntryChanges.h"
#include "LedgerView.h"
#include "Preferences.h"
#include "import/ImportReport.h"
#include "import/StatementFile.h"
#include "import/StatementImporter.h"
#include "ledger/BalanceChain.h"
#include "ledger/DataFolder.h"
#include "ledger/Ledger.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

// Moriva's commands, coordinated: the current bank's ledger, the view of it that the table
// shows, and the settings. Each job is done by a class of its own (Ledger, StatementImporter,
// LedgerView, EntryChanges, CommandRules); this one decides the order of the steps and tells the
// window what changed. It needs no window: the desktop window, the command-line tool and the
// tests all drive it.
class Controller : public QObject
{
    Q_OBJECT

public:
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
    // Opens the current bank's ledger, taking the data-folder lock first.
    void openLedger();
    // Writes the ledger to its archive when it changed; see Ledger::save().
    bool saveLedger(QString *error);
    // Saves each change a moment after it is made (the window); otherwise the ledger is
    // written by saveLedger() only (the command-line tool, which saves once at its end).
    void setAutoSave(bool on);
    // Replaces the current bank's archive by a backup (see Backups::restore) and opens it.
    bool restoreBackup(const QString &backupPath, QString *error, QString *aside = nullptr);
    // Saves the open ledger, then opens the bank's. When the save fails nothing is switched and
    // false is answered with the reason; otherwise answers whether the bank's ledger is open.
    bool switchBank(Bank bank, QString *error = nullptr);
    // Lets go of the ledger and the data-folder lock.
    void closeLedger();
    // The same when the process ends next: the entries are left for the system to take back
    // with the rest of the memory, rather than freed one by one.
    void closeLedgerAtExit();
    // The window's first list: the monthly list if it was shown at the last quit, else all
    // activity.
    void start();

    // ---- state ----
    const Ledger &ledger() const { return m_ledger; }
    const LedgerView &view() const { return m_view; }
    // The bank chosen; the open ledger's bank differs only while a switch is under way or
    // failed.
    Bank bank() const { return m_bank; }
    bool hasEntries() const { return !m_ledger.isEmpty(); }
    // Where the open ledger's balances do not follow one another. Walked when first asked for
    // after entries came or went: listing or exporting a large ledger never waits for it.
    const BalanceChain &balances() const;
    QString windowTitle() const { return m_view.title(); }
    int windowStyle() const { return m_settings.windowStyle; }
    void setWindowStyle(int style) { m_settings.windowStyle = style; }
    bool checksForUpdatesAtStart() const { return m_settings.checkForUpdatesAtStart; }
    void setChecksForUpdatesAtStart(bool on) { m_settings.checkForUpdatesAtStart = on; }
    LedgerExport::Encoding exportEncoding() const { return m_settings.exportEncoding; }
    void setExportEncoding(LedgerExport::Encoding encoding)
    {
        m_settings.exportEncoding = encoding;
    }

    // ---- import ----
    // Reads a statement file into its bank's ledger, switching to that bank if need be.
    ImportReport importFile(const QString &path);
    // The first step of importFile: tells the bank by the path (a path of no bank is refused
    // unread) and opens the file. Status Imported when the bytes are there to import.
    static ImportReport readStatement(const QString &path, StatementFile *file);
    ImportReport importText(const QString &path, const QString &text);
    // The same for the bytes of a statement file, decoded a piece at a time; the file is let
    // go of once decoded, before the ledger is sorted.
    ImportReport importStatement(const QString &path, StatementFile file);

    // ---- lists (see LedgerView) ----
    void switchList();
    // Shows the list of all activity.
    void showActivity();
    void reverseOrder();
    void showThisMonth();
    void showPreviousMonth();
    void showNextMonth();
    void showMonth(const QString &yearText, const QString &monthText);
    void showMonth(int year, int month);
    // Answers the number of hits; with none, noticeRequested() says so.
    int search(const QString &keyword);

    // ---- changes to entries, by row of the shown list (see EntryChanges) ----
    static bool isEditableColumn(QStringView identifier)
    {
        return EntryChanges::isEditableColumn(identifier);
    }
    // An edit of the "summary" or "details" column; false when nothing changed.
    bool editEntry(int row, QStringView column, const QString &value)
    {
        return m_changes.editEntry(row, column, value);
    }
    // Puts the bank's text back as the row's summary; false when it was not edited.
    bool revertSummary(int row) { return m_changes.revertSummary(row); }
    bool toggleMark(int row) { return m_changes.toggleMark(row); }
    bool removeEntry(int row) { return m_changes.removeEntry(row); }
    void removeAllEntries() { m_changes.removeAllEntries(); }

    // ---- undo and redo of the changes above and of imports (see LedgerHistory) ----
    const LedgerHistory &history() const { return m_changes.history(); }
    bool undo() { return m_changes.undo(); }
    bool redo() { return m_changes.redo(); }

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
    // An entry at a row of the shown list was replaced (an edit or a mark).
    void rowChanged(int row);
    // The open bank (and its ledger) changed.
    void bankChanged();
    // A passing message for the status bar ("No entries contain “ATM”").
    void noticeRequested(const QString &text);
    // A save of the ledger after a change failed; the changes are still in memory.
    void autoSaveFailed(const QString &error);

private:
    // Whether the file's bank can take the import now, switching banks if need be; otherwise
    // the report says why not.
    bool prepareBank(ImportReport &report);
    // An import of the lines that `import` feeds the importer; `empty` when there are none.
    ImportReport importLines(const QString &path, bool empty,
                             const std::function<StatementImporter::Counts(StatementImporter &,
                                                                           Bank)> &import);
    // Lets the autosave know the ledger may have changed.
    void noteChanges();
    // Entries came or went: the chain is walked again when next asked for.
    void forgetBalances() { m_balances.reset(); }

    Ledger m_ledger;
    LedgerView m_view{m_ledger};
    mutable std::optional<BalanceChain> m_balances; // none until asked for
    EntryChanges m_changes{m_ledger, m_view, m_balances};
    Preferences m_settings; // the window style, the update check and the export encoding
    Bank m_bank = Bank::Jnb;
    QString m_dataFolder;
    QString m_dataFolderOverride;
    int m_lockTimeoutMs = DataFolderLock::defaultTimeoutMs();
    std::unique_ptr<DataFolderLock> m_lock;
    std::unique_ptr<AutoSaver> m_autoSaver;
};
