#include "Controller.h"

#include "StringTable.h"
#include "import/StatementFields.h"
#include "import/StatementLineParser.h"
#include "import/StatementText.h"
#include "ledger/EntryTextCache.h"
#include "ledger/LedgerArchive.h"
#include "ledger/LedgerExport.h"
#include "ledger/LedgerOrdering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>

// The counts of one file. The duplicate bookkeeping (the k-th line of a key is a duplicate only
// when the ledger held at least k entries of that key before the file was read) is a session of
// the duplicate index, begun at the file's first entry.
struct Controller::ImportSession {
    bool indexSession = false;
    // The ledger held nothing when the file was opened: no line can be a duplicate, and the
    // index is built when the next import needs it.
    bool intoEmptyLedger = false;
    int added = 0;
    int duplicates = 0;
    int rejected = 0;
};

Controller::Controller(QObject *parent)
    : QObject(parent)
{
    setupMonthlyArrayInfo_thisMonth();
}

Controller::~Controller() = default;

// ---------------------------------------------------------------- start-up and quit

void Controller::setupPreferences()
{
    setupPreferences(Preferences::read());
}

void Controller::setupPreferences(const Preferences &p)
{
    mPrefs_ListOrderRule = p.listOrderRule;
    mPrefs_BankbookTableViewKind = p.tableViewKind;
    mPrefs_WindowStyleKind = p.windowStyle;
    mPrefs_CurrentBank = p.currentBank == 0 ? 1 : p.currentBank;
    mPrefs_CheckLatestVersionAtStartup = p.checkLatestVersionAtStartup;
    m_exportEncoding = p.exportEncoding;
}

Preferences Controller::preferences() const
{
    Preferences p;
    p.listOrderRule = mPrefs_ListOrderRule;
    p.tableViewKind = mPrefs_BankbookTableViewKind;
    p.windowStyle = mPrefs_WindowStyleKind;
    p.currentBank = mPrefs_CurrentBank;
    p.checkLatestVersionAtStartup = mPrefs_CheckLatestVersionAtStartup;
    p.exportEncoding = m_exportEncoding;
    return p;
}

bool Controller::updatePreferences(QString *error)
{
    return preferences().write(error);
}

bool Controller::searchingApplicationSupportDirectory()
{
    const QString path =
        m_dataFolderOverride.isEmpty() ? DataFolder::defaultPath() : m_dataFolderOverride;
    if (!DataFolder::findOrCreate(path))
        return false;
    mMorivaPath = path;
    return true;
}

void Controller::openCurrentBankbookInfoArchive()
{
    if (mPrefs_CurrentBank == 1)
        openBankbookInfoArchive_JNB();
    else if (mPrefs_CurrentBank == 2)
        openBankbookInfoArchive_EBANK();
}

void Controller::openBankbookInfoArchive_JNB()
{
    openBankbookInfoArchive(1);
}

void Controller::openBankbookInfoArchive_EBANK()
{
    openBankbookInfoArchive(2);
}

void Controller::openBankbookInfoArchive(int bank)
{
    mBankbookInfoArray.clear();
    m_hasLedger = false;
    m_duplicates.invalidate();
    m_archiveError.clear();
    m_openBank = bank;
    mBankbookFilePath.clear();

    if (mMorivaPath.isEmpty()) {
        m_archiveState = ArchiveState::NoDataFolder;
        m_archiveError = tr("Moriva has no data folder to keep its ledgers in.");
        emit bankChanged();
        return;
    }
    mBankbookFilePath = QDir(mMorivaPath).filePath(DataFolder::archiveFileName(bank));
    if (!m_lock)
        m_lock = std::make_unique<DataFolderLock>(mMorivaPath);
    QString why;
    if (!m_lock->acquire(m_lockTimeoutMs, &why)) {
        m_archiveState = ArchiveState::Locked;
        m_archiveError = why;
        emit bankChanged();
        return;
    }
    LedgerArchive::LoadResult loaded = LedgerArchive::load(mBankbookFilePath);
    switch (loaded.status) {
    case LedgerArchive::LoadStatus::Loaded:
        mBankbookInfoArray = std::move(loaded.items);
        m_hasLedger = true;
        m_archiveState = ArchiveState::Opened;
        break;
    case LedgerArchive::LoadStatus::Missing:
        m_hasLedger = true;
        m_duplicates.clear();
        m_archiveState = ArchiveState::Opened;
        break;
    case LedgerArchive::LoadStatus::Unreadable:
        m_archiveState = ArchiveState::Unreadable;
        m_archiveError = loaded.error;
        break;
    }
    emit bankChanged();
}

bool Controller::saveBankbookInfoArchive(QString *error)
{
    if (!m_hasLedger)
        return true; // nothing held, and an unreadable archive must stay as it is
    if (mBankbookFilePath.isEmpty()) {
        if (error)
            *error = tr("The ledger cannot be saved: Moriva has no data folder.");
        return false;
    }
    return LedgerArchive::save(mBankbookFilePath, mBankbookInfoArray, error);
}

bool Controller::switchBankbookInfoArchive(QString *error)
{
    QString why;
    if (!saveBankbookInfoArchive(&why)) {
        // Switching now would drop the changes that could not be saved.
        mPrefs_CurrentBank = m_openBank;
        if (error)
            *error = why;
        return false;
    }
    clearAllBalanceInfoItems();
    if (mPrefs_CurrentBank == 1 || mPrefs_CurrentBank == 2)
        openBankbookInfoArchive(mPrefs_CurrentBank);
    if (mPrefs_BankbookTableViewKind == MonthlyList)
        setupMonthlyArrayInfo();
    emit reloadRequested();
    if (!m_hasLedger && error)
        *error = m_archiveError;
    return m_hasLedger;
}

void Controller::clearAllBalanceInfoItems()
{
    mBankbookInfoArray.clear();
    if (m_hasLedger)
        m_duplicates.clear();
}

void Controller::closeLedger()
{
    mBankbookInfoArray.clear();
    m_hasLedger = false;
    m_duplicates.invalidate();
    m_archiveState = ArchiveState::NotOpened;
    if (m_lock)
        m_lock->release();
}

void Controller::applicationDidFinishLaunching()
{
    if (mPrefs_BankbookTableViewKind == MonthlyList) {
        setupMonthlyArrayInfo();
        mPrefs_BankbookTableViewKind = ActivityList;
        switchListContents();
    } else {
        mPrefs_BankbookTableViewKind = ActivityList;
        emit reloadRequested();
    }
}

// ---------------------------------------------------------------- import

int Controller::parseBankbookFileName(const QString &path)
{
    if (path.contains(u"NBG"))
        return 1;
    if (path.contains(u"eBANK"))
        return 2;
    return 0;
}

ImportReport Controller::importBankbookFile(const QString &path)
{
    ImportReport report;
    report.bank = parseBankbookFileName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report.status = ImportReport::Unreadable;
        report.error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return report;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        report.status = ImportReport::Unreadable;
        report.error = tr("Cannot read %1: %2").arg(path, file.errorString());
        return report;
    }
    return importBankbookText(path, decodeStatementText(bytes));
}

ImportReport Controller::importBankbookText(const QString &path, const QString &text)
{
    ImportReport report;
    report.bank = parseBankbookFileName(path);
    if (text.isEmpty()) {
        report.status = ImportReport::Empty;
        report.error = tr("%1 is empty.").arg(path);
        return report;
    }
    if (report.bank == 0) {
        report.status = ImportReport::NotStatement;
        report.error = StringTable::localizedString(u"InvalBankbookFile");
    } else if (mPrefs_CurrentBank != report.bank
               && (mPrefs_CurrentBank == 0 || mPrefs_CurrentBank == 1
                   || mPrefs_CurrentBank == 2)) {
        mPrefs_CurrentBank = report.bank;
        QString why;
        if (!switchBankbookInfoArchive(&why)) {
            report.status = mPrefs_CurrentBank == report.bank ? ImportReport::LedgerUnavailable
                                                              : ImportReport::SwitchFailed;
            report.error = why;
        }
    } else if (mPrefs_CurrentBank == report.bank && !m_hasLedger) {
        report.status = ImportReport::LedgerUnavailable;
        report.error = m_archiveError.isEmpty() ? tr("The ledger is not open.") : m_archiveError;
    } else if (mPrefs_CurrentBank != report.bank) {
        report.status = ImportReport::LedgerUnavailable;
        report.error = tr("No bank is chosen.");
    }

    if (report.status == ImportReport::Imported) {
        m_session = std::make_unique<ImportSession>();
        parseContents(text, report.bank);
        report.added = m_session->added;
        report.duplicates = m_session->duplicates;
        report.rejected = m_session->rejected;
        m_session.reset();
    }
    // Every file that gave text leaves the ledger in the order of the rule, also one that was
    // refused; the monthly list follows the ledger.
    sortBalanceInfoItems(mBankbookInfoArray, mPrefs_ListOrderRule);
    if (mPrefs_BankbookTableViewKind == MonthlyList)
        setupMonthlyArrayInfo();
    emit reloadRequested();
    return report;
}

void Controller::parseBankbookContents_JNB(QStringView text)
{
    parseContents(text, 1);
}

void Controller::parseBankbookContents_EBANk(QStringView text)
{
    parseContents(text, 2);
}

void Controller::parseContents(QStringView text, int bank)
{
    const bool ownSession = !m_session;
    if (ownSession)
        m_session = std::make_unique<ImportSession>();
    if (m_hasLedger && mBankbookInfoArray.isEmpty()) {
        // A first import: make room once rather than growing line by line.
        const qsizetype lines =
            std::count(text.utf16(), text.utf16() + text.size(), char16_t(u'\n')) + 1;
        mBankbookInfoArray.reserve(lines);
        m_session->intoEmptyLedger = true;
        m_duplicates.invalidate();
    }
    forEachStatementLine(text, [this, bank](QStringView line) { parseLine(line, bank); });
    if (ownSession)
        m_session.reset();
}

bool Controller::parseBalanceInfoString_JNB(QStringView line)
{
    return parseLine(line, 1);
}

bool Controller::parseBalanceInfoString_EBANK(QStringView line)
{
    return parseLine(line, 2);
}

bool Controller::parseLine(QStringView line, int bank)
{
    // Line terminators are no part of any field.
    while (!line.isEmpty()
           && (line.back() == u'\n' || line.back() == u'\r' || line.back() == QChar(0x85)
               || line.back() == QChar(0x2028) || line.back() == QChar(0x2029)))
        line.chop(1);
    EntryTextCache &texts = EntryTextCache::instance();
    const ParsedLine parsed = bank == 1 ? parseJnbLine(line, texts) : parseEbankLine(line, texts);
    const bool ownSession = !m_session;
    if (ownSession)
        m_session = std::make_unique<ImportSession>();
    ImportSession &session = *m_session;
    bool result = true;
    switch (parsed.outcome) {
    case LineOutcome::Header:
        result = false;
        break;
    case LineOutcome::Blank:
        break;
    case LineOutcome::Rejected:
        ++session.rejected;
        result = false;
        break;
    case LineOutcome::Entry: {
        if (!m_hasLedger)
            break;
        if (session.intoEmptyLedger) {
            mBankbookInfoArray.append(parsed.entry);
            ++session.added;
            break;
        }
        ensureDuplicateIndex();
        if (!session.indexSession) {
            m_duplicates.beginSession();
            session.indexSession = true;
        }
        if (m_duplicates.admitLine(DuplicateIndex::keyOf(*parsed.entry))) {
            ++session.duplicates;
        } else {
            mBankbookInfoArray.append(parsed.entry);
            ++session.added;
        }
        break;
    }
    }
    if (ownSession)
        m_session.reset();
    return result;
}

bool Controller::searchExistedBalanceInfo(const BalanceInfoItem &entry)
{
    ensureDuplicateIndex();
    return m_duplicates.count(DuplicateIndex::keyOf(entry)) > 0;
}

void Controller::ensureDuplicateIndex()
{
    if (!m_duplicates.isBuilt())
        m_duplicates.rebuild(mBankbookInfoArray);
}

// ---------------------------------------------------------------- lists

const QList<BalanceInfoItemPtr> &Controller::shownList() const
{
    switch (mPrefs_BankbookTableViewKind) {
    case MonthlyList:
        return mMonthlyInfoArray;
    case SearchList:
        return mSearchInfoArray;
    default:
        return mBankbookInfoArray;
    }
}

QList<BalanceInfoItemPtr> *Controller::listForMode(int mode)
{
    switch (mode) {
    case ActivityList:
        return &mBankbookInfoArray;
    case MonthlyList:
        return &mMonthlyInfoArray;
    case SearchList:
        return &mSearchInfoArray;
    default:
        return nullptr;
    }
}

const BalanceInfoItem *Controller::entryAt(int row) const
{
    const QList<BalanceInfoItemPtr> &list = shownList();
    if (row < 0 || row >= list.size())
        return nullptr;
    return list.at(row).data();
}

QString Controller::windowTitle() const
{
    switch (mPrefs_BankbookTableViewKind) {
    case MonthlyList:
        return StringTable::windowTitleMonthly(pMonthly_Year, pMonthly_Month);
    case SearchList:
        return StringTable::localizedString(u"Window_Title_Search");
    default:
        return StringTable::localizedString(u"Window_Title_Activity");
    }
}

void Controller::setMonth(int year, int month)
{
    pMonthly_Year = year;
    pMonthly_Month = month;
}

void Controller::setListMode(int mode)
{
    mPrefs_BankbookTableViewKind = mode;
}

void Controller::switchListContents()
{
    switch (mPrefs_BankbookTableViewKind) {
    case ActivityList:
        setListMode(MonthlyList);
        setupMonthlyArrayInfo();
        break;
    case MonthlyList:
        setListMode(mSearchInfoArray.isEmpty() ? ActivityList : SearchList);
        break;
    default:
        setListMode(ActivityList);
        break;
    }
    emit reloadRequested();
}

void Controller::changeListOrder()
{
    mPrefs_ListOrderRule = mPrefs_ListOrderRule == 0 ? 1 : 0;
    if (QList<BalanceInfoItemPtr> *list = listForMode(mPrefs_BankbookTableViewKind))
        sortBalanceInfoItems(*list, mPrefs_ListOrderRule);
    emit reloadRequested();
}

void Controller::setupMonthlyArrayInfo_thisMonth()
{
    const QDate now = today();
    pMonthly_Year = now.year();
    pMonthly_Month = now.month();
}

void Controller::setupMonthlyArrayInfo_prevMonth()
{
    if (--pMonthly_Month <= 0) {
        pMonthly_Month = 12;
        --pMonthly_Year;
    }
}

void Controller::setupMonthlyArrayInfo_nextMonth()
{
    if (++pMonthly_Month > 12) {
        pMonthly_Month = 1;
        ++pMonthly_Year;
    }
}

bool Controller::setupMonthlyArrayInfo()
{
    mMonthlyInfoArray.clear();
    for (const BalanceInfoItemPtr &entry : std::as_const(mBankbookInfoArray)) {
        if (entry->operationYear() == pMonthly_Year && entry->operationMonth() == pMonthly_Month)
            mMonthlyInfoArray.append(entry);
    }
    return !mMonthlyInfoArray.isEmpty();
}

void Controller::moveThisMonth()
{
    setupMonthlyArrayInfo_thisMonth();
    setListMode(ActivityList);
    switchListContents();
}

void Controller::movePrevMonth()
{
    setupMonthlyArrayInfo_prevMonth();
    setListMode(ActivityList);
    switchListContents();
}

void Controller::moveNextMonth()
{
    setupMonthlyArrayInfo_nextMonth();
    setListMode(ActivityList);
    switchListContents();
}

QString Controller::changeMonthYearText()
{
    return QString::number(today().year());
}

QString Controller::changeMonthMonthText()
{
    return QString::number(today().month());
}

void Controller::changeMonth(const QString &yearText, const QString &monthText)
{
    int year = intValue(yearText);
    int month = intValue(monthText);
    if (month > 12) {
        month = 1;
        ++year;
    }
    setMonth(year, month);
    setListMode(ActivityList);
    switchListContents();
}

int Controller::searchBalance(const QString &keyword)
{
    mSearchInfoArray.clear();
    const int found = searchBankbookInfo(keyword);
    if (found > 0) {
        setListMode(SearchList);
        emit reloadRequested();
    } else if (mPrefs_BankbookTableViewKind == SearchList) {
        // The former results are gone: show the whole ledger rather than stale rows.
        setListMode(ActivityList);
        emit reloadRequested();
    }
    return found;
}

int Controller::searchBankbookInfo(const QString &keyword)
{
    if (keyword.isEmpty())
        return 0;
    // Canonically equivalent texts match: both sides are compared in NFC. Entries share their
    // summary texts, so each distinct text is normalised and searched once per search.
    const QString needle = keyword.normalized(QString::NormalizationForm_C);
    QHash<const QChar *, bool> verdicts;
    int count = 0;
    for (const BalanceInfoItemPtr &entry : std::as_const(mBankbookInfoArray)) {
        const QString &text = !entry->summary().isEmpty() ? entry->summary() : entry->details();
        if (text.isEmpty())
            continue;
        auto it = verdicts.constFind(text.constData());
        if (it == verdicts.constEnd())
            it = verdicts.insert(text.constData(),
                                 text.normalized(QString::NormalizationForm_C).contains(needle));
        if (it.value()) {
            mSearchInfoArray.append(entry);
            ++count;
        }
    }
    return count;
}

int Controller::ledgerIndexOf(const BalanceInfoItem *entry) const
{
    if (!entry || !m_hasLedger)
        return -1;
    const BalanceInfoItem *target = entry->latest();
    for (int i = 0; i < mBankbookInfoArray.size(); ++i) {
        if (mBankbookInfoArray.at(i).data() == target)
            return i;
    }
    return -1;
}

int Controller::lookupRow(const QList<BalanceInfoItemPtr> &list, int row) const
{
    if (row < 0 || row >= list.size())
        return -1;
    return ledgerIndexOf(list.at(row).data());
}

int Controller::searchBankbookInfoArrayForMonthly(int row) const
{
    return lookupRow(mMonthlyInfoArray, row);
}

int Controller::searchBankbookInfoArrayForSearch(int row) const
{
    return lookupRow(mSearchInfoArray, row);
}

int Controller::sourceIndexForRow(int row) const
{
    switch (mPrefs_BankbookTableViewKind) {
    case ActivityList:
        return row >= 0 && row < mBankbookInfoArray.size() ? row : -1;
    case MonthlyList:
        return searchBankbookInfoArrayForMonthly(row);
    case SearchList:
        return searchBankbookInfoArrayForSearch(row);
    default:
        return -1;
    }
}

// ---------------------------------------------------------------- changes to entries

bool Controller::isEditableColumn(QStringView identifier)
{
    return identifier == u"summary" || identifier == u"details";
}

void Controller::replaceEntry(int row, int ledgerIndex, const BalanceInfoItemPtr &replacement)
{
    mBankbookInfoArray[ledgerIndex]->setSuccessor(replacement);
    if (mPrefs_BankbookTableViewKind != ActivityList) {
        QList<BalanceInfoItemPtr> *list = listForMode(mPrefs_BankbookTableViewKind);
        (*list)[row] = replacement;
    }
    mBankbookInfoArray[ledgerIndex] = replacement;
    emit rowChanged(row);
}

bool Controller::setObjectValue(int row, QStringView columnIdentifier, const QString &value)
{
    const int index = sourceIndexForRow(row);
    if (index < 0 || !isEditableColumn(columnIdentifier))
        return false;
    const BalanceInfoItem &source = *mBankbookInfoArray.at(index);
    BalanceInfoItemPtr replacement = source.makeReplacement();
    if (columnIdentifier == u"summary")
        replacement->setSummary(EntryTextCache::instance().shared(value));
    else
        replacement->setDetails(value);
    replaceEntry(row, index, replacement);
    return true;
}

bool Controller::markBalance(int row)
{
    const int index = sourceIndexForRow(row);
    if (index < 0)
        return false;
    const BalanceInfoItem &source = *mBankbookInfoArray.at(index);
    BalanceInfoItemPtr replacement = source.makeReplacement();
    replacement->setMarked(source.marked() == 0 ? 1 : 0);
    replaceEntry(row, index, replacement);
    emit reloadRequested();
    return true;
}

bool Controller::deleteBalanceInfoItem(int row)
{
    QList<BalanceInfoItemPtr> *list = listForMode(mPrefs_BankbookTableViewKind);
    if (!list || row < 0 || row >= list->size())
        return false;
    const int index = sourceIndexForRow(row);
    if (mPrefs_BankbookTableViewKind != ActivityList)
        list->removeAt(row); // a row whose entry left the ledger goes from the list all the same
    if (index >= 0) {
        m_duplicates.remove(*mBankbookInfoArray.at(index));
        mBankbookInfoArray.removeAt(index);
    }
    emit reloadRequested();
    return true;
}

void Controller::deleteAllBalance()
{
    clearAllBalanceInfoItems();
    // The search hits went with the ledger: show the (empty) ledger rather than stale rows.
    mSearchInfoArray.clear();
    if (mPrefs_BankbookTableViewKind == SearchList)
        setListMode(ActivityList);
    if (mPrefs_BankbookTableViewKind == MonthlyList)
        setupMonthlyArrayInfo();
    emit reloadRequested();
}

// ---------------------------------------------------------------- export

QString Controller::proposedExportFileName() const
{
    if (mPrefs_BankbookTableViewKind == MonthlyList)
        return StringTable::balanceFileNameMonthly(pMonthly_Year, pMonthly_Month);
    return StringTable::localizedString(u"BalanceFileName_Activity");
}

bool Controller::saveBalanceInfo(const QString &path, QString *error) const
{
    return LedgerExport::saveBalanceInfo(path, shownList(), error,
                                         LedgerExport::encodingFromInt(m_exportEncoding));
}

// ---------------------------------------------------------------- enabling

bool Controller::validateToolbarItem(QStringView identifier, bool hasSelection) const
{
    const bool entries = hasEntries();
    if (identifier == u"delete_balance" || identifier == u"mark_balance")
        return hasSelection && entries;
    for (const char16_t *id : {u"save_balance", u"delete_all", u"list_order", u"change_month",
                               u"move_prev_month", u"move_next_month", u"search"}) {
        if (identifier == QStringView(id))
            return entries;
    }
    return true;
}

bool Controller::validateMenuItem(int tag, bool hasSelection) const
{
    const bool entries = hasEntries();
    switch (tag) {
    case 200:
    case 201:
    case 600:
    case 601:
        return hasSelection && entries;
    case 102:
    case 202:
    case 300:
    case 302:
    case 303:
    case 304:
    case 305:
    case 306:
        return entries;
    default:
        return true;
    }
}

QDate Controller::today()
{
    return QDate::currentDate();
}
