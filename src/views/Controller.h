#pragma once

#include "Preferences.h"
#include "import/DuplicateIndex.h"
#include "ledger/BalanceInfoItem.h"
#include "ledger/DataFolder.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>

#include <memory>

// What one statement file did to the ledger.
struct ImportReport {
    enum Status {
        Imported,          // the lines were read into the bank's ledger
        Unreadable,        // the file could not be read
        Empty,             // the file holds no text
        NotStatement,      // the path names neither bank
        LedgerUnavailable, // the bank's ledger could not be opened (unreadable, locked, ...)
        SwitchFailed,      // the other bank's ledger could not be saved, so no switch was made
    };
    Status status = Imported;
    int bank = 0; // 1 JNB, 2 eBANK, 0 neither
    int added = 0;
    int duplicates = 0;
    int rejected = 0;
    QString error; // the reason, for every status but Imported and NotStatement

    // The boolean that opening a file answers: false only when the file gave no text.
    bool result() const { return status != Unreadable && status != Empty; }
};

// Owns Moriva's state and carries every operation on it: the ledger of the current bank, the
// monthly and search lists, the list mode, the order rule, the month shown and the bank kind.
// It needs no window: the desktop front end and the command-line tool both drive it, and tests
// call it directly. Operations that change what the table shows emit reloadRequested().
class Controller : public QObject
{
    Q_OBJECT

public:
    enum ListMode : int { ActivityList = 0, MonthlyList = 1, SearchList = 2 };
    enum class ArchiveState { NotOpened, Opened, Unreadable, Locked, NoDataFolder };

    explicit Controller(QObject *parent = nullptr);
    ~Controller() override;

    // ---- start-up and quit ----
    // Uses the given folder instead of the user's data location (tests, tools).
    void setDataFolderPath(const QString &path) { m_dataFolderOverride = path; }
    void setLockTimeoutMs(int ms) { m_lockTimeoutMs = ms; }
    void setupPreferences();
    void setupPreferences(const Preferences &preferences);
    Preferences preferences() const;
    bool updatePreferences(QString *error);
    bool searchingApplicationSupportDirectory();
    // Opens the archive of the current bank kind (1 or 2); nothing for any other kind.
    void openCurrentBankbookInfoArchive();
    void openBankbookInfoArchive_JNB();
    void openBankbookInfoArchive_EBANK();
    // Writes the ledger to the current archive. An absent ledger (never opened, or its archive
    // unreadable) writes nothing and is no failure: an unreadable archive is never overwritten.
    bool saveBankbookInfoArchive(QString *error);
    // Saves the ledger of the bank that was open, then opens the one of mPrefs_CurrentBank.
    // When the save fails nothing is switched (the bank kind goes back) and false is answered
    // with the reason. Otherwise answers whether a ledger is present afterwards.
    bool switchBankbookInfoArchive(QString *error = nullptr);
    void clearAllBalanceInfoItems();
    // Releases the ledger and the data folder lock (the CLI and tests; the app at quit).
    void closeLedger();

    // Start of the window's life: monthly if the stored list mode was monthly, else activity.
    void applicationDidFinishLaunching();

    ArchiveState archiveState() const { return m_archiveState; }
    QString archiveError() const { return m_archiveError; }
    QString dataFolderPath() const { return mMorivaPath; }
    QString bankbookFilePath() const { return mBankbookFilePath; }

    // ---- import ----
    static int parseBankbookFileName(const QString &path);
    ImportReport importBankbookFile(const QString &path);
    ImportReport importBankbookText(const QString &path, const QString &text);
    void parseBankbookContents_JNB(QStringView text);
    void parseBankbookContents_EBANk(QStringView text);
    bool parseBalanceInfoString_JNB(QStringView line);
    bool parseBalanceInfoString_EBANK(QStringView line);
    bool searchExistedBalanceInfo(const BalanceInfoItem &entry);

    // ---- lists ----
    bool hasLedger() const { return m_hasLedger; }
    const QList<BalanceInfoItemPtr> &ledger() const { return mBankbookInfoArray; }
    const QList<BalanceInfoItemPtr> &monthlyList() const { return mMonthlyInfoArray; }
    const QList<BalanceInfoItemPtr> &searchList() const { return mSearchInfoArray; }
    const QList<BalanceInfoItemPtr> &shownList() const;
    int numberOfRows() const { return int(shownList().size()); }
    const BalanceInfoItem *entryAt(int row) const;
    QString windowTitle() const;

    int listMode() const { return mPrefs_BankbookTableViewKind; }
    int listOrderRule() const { return mPrefs_ListOrderRule; }
    void setListOrderRule(int rule) { mPrefs_ListOrderRule = rule; }
    int currentBank() const { return mPrefs_CurrentBank; }
    int windowStyle() const { return mPrefs_WindowStyleKind; }
    void setWindowStyle(int style) { mPrefs_WindowStyleKind = style; }
    bool checkLatestVersionAtStartup() const { return mPrefs_CheckLatestVersionAtStartup; }
    void setCheckLatestVersionAtStartup(bool on) { mPrefs_CheckLatestVersionAtStartup = on; }
    int exportEncoding() const { return m_exportEncoding; }
    void setExportEncoding(int encoding) { m_exportEncoding = encoding; }
    void setCurrentBank(int bank) { mPrefs_CurrentBank = bank; }
    int openBank() const { return m_openBank; }
    int monthlyYear() const { return pMonthly_Year; }
    int monthlyMonth() const { return pMonthly_Month; }
    void setMonth(int year, int month);

    void switchListContents();
    void changeListOrder();
    void moveThisMonth();
    void movePrevMonth();
    void moveNextMonth();
    void setupMonthlyArrayInfo_thisMonth();
    void setupMonthlyArrayInfo_prevMonth();
    void setupMonthlyArrayInfo_nextMonth();
    bool setupMonthlyArrayInfo();
    // The change-month sheet: its fields are filled from today's date; confirming reads them.
    static QString changeMonthYearText();
    static QString changeMonthMonthText();
    void changeMonth(const QString &yearText, const QString &monthText);

    // A confirmed search: the hits become the search list and are shown; with no hit the search
    // list is emptied and, if it was shown, the activity list takes its place.
    int searchBalance(const QString &keyword);
    int searchBankbookInfo(const QString &keyword);

    // The ledger index of the entry behind a row of the monthly or search list, found by
    // identity (the row's entry or the entry that replaced it); -1 when the ledger has none.
    int searchBankbookInfoArrayForMonthly(int row) const;
    int searchBankbookInfoArrayForSearch(int row) const;

    // ---- changes to entries ----
    static bool isEditableColumn(QStringView identifier);
    // An edit of the summary or details column; false when nothing changed.
    bool setObjectValue(int row, QStringView columnIdentifier, const QString &value);
    bool markBalance(int row);
    bool deleteBalanceInfoItem(int row);
    void deleteAllBalance();

    // ---- export ----
    QString proposedExportFileName() const;
    bool saveBalanceInfo(const QString &path, QString *error) const;

    // ---- enabling of commands ----
    bool hasEntries() const { return !mBankbookInfoArray.isEmpty(); }
    bool validateToolbarItem(QStringView identifier, bool hasSelection) const;
    bool validateMenuItem(int tag, bool hasSelection) const;

    static QDate today();

signals:
    // The shown list, its order or its contents changed: the table shows it afresh.
    void reloadRequested();
    // An entry at a row of the shown list was replaced (an edit or a mark).
    void rowChanged(int row);
    // The open bank (and its ledger) changed.
    void bankChanged();

private:
    struct ImportSession;
    enum class Bank { JNB = 1, EBANK = 2 };
    void openBankbookInfoArchive(int bank);
    void parseContents(QStringView text, int bank);
    bool parseLine(QStringView line, int bank);
    void ensureDuplicateIndex();
    void setListMode(int mode);
    QList<BalanceInfoItemPtr> *listForMode(int mode);
    int ledgerIndexOf(const BalanceInfoItem *entry) const;
    int lookupRow(const QList<BalanceInfoItemPtr> &list, int row) const;
    // The ledger index behind a row of the shown list, -1 when there is none.
    int sourceIndexForRow(int row) const;
    // Puts the replacement at the row of the shown list and at the ledger index.
    void replaceEntry(int row, int ledgerIndex, const BalanceInfoItemPtr &replacement);

    // State, named as elsewhere in Moriva's documentation of the ledger.
    bool mPrefs_CheckLatestVersionAtStartup = false;
    int mPrefs_ListOrderRule = 0;
    int mPrefs_WindowStyleKind = 0;
    int mPrefs_BankbookTableViewKind = 0;
    int mPrefs_CurrentBank = 0;
    int m_exportEncoding = 0;
    int pMonthly_Year = 0;
    int pMonthly_Month = 0;
    QList<BalanceInfoItemPtr> mBankbookInfoArray;
    QList<BalanceInfoItemPtr> mMonthlyInfoArray;
    QList<BalanceInfoItemPtr> mSearchInfoArray;
    QString mMorivaPath;
    QString mBankbookFilePath;

    bool m_hasLedger = false;
    int m_openBank = 0; // the bank whose archive mBankbookFilePath names
    ArchiveState m_archiveState = ArchiveState::NotOpened;
    QString m_archiveError;
    QString m_dataFolderOverride;
    int m_lockTimeoutMs = DataFolderLock::defaultTimeoutMs();
    std::unique_ptr<DataFolderLock> m_lock;
    DuplicateIndex m_duplicates;
    std::unique_ptr<ImportSession> m_session;
};
