#include "Controller.h"

#include "CommandRules.h"
#include "StatusTexts.h"
#include "StringTable.h"
#include "import/StatementImporter.h"
#include "import/StatementText.h"
#include "ledger/ArchiveMoveIn.h"
#include "ledger/Backups.h"
#include "ledger/LedgerExport.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>


Controller::Controller(QObject *parent)
    : QObject(parent)
{
    connect(&m_changes, &EntryChanges::rowChanged, this, &Controller::rowChanged);
    connect(&m_changes, &EntryChanges::reloadRequested, this, &Controller::reloadRequested);
    connect(&m_changes, &EntryChanges::failed, this, &Controller::changeFailed);
    connect(&m_changes, &EntryChanges::entriesCameOrWent, this, &Controller::entriesCameOrWent);
    connect(&m_changes.undoStack(), &QUndoStack::indexChanged, this, &Controller::historyChanged);
    m_database.setBeforeFirstChange([this](QString *error) { return backUpOnce(error); });
}

Controller::~Controller() = default;

// ---------------------------------------------------------------- start-up and quit

void Controller::loadPreferences()
{
    setPreferences(Preferences::read());
}

void Controller::setPreferences(const Preferences &preferences)
{
    m_settings = preferences;
    m_view.setOrder(preferences.listOrder);
    m_view.setMode(preferences.listMode);
    if (preferences.month % 100 >= 1 && preferences.month % 100 <= 12 && preferences.month > 100)
        m_view.setMonth(preferences.month / 100, preferences.month % 100);
    m_bank = preferences.bank == Bank::None ? Bank::Jnb : preferences.bank;
    m_view.setBank(m_bank);
}

Preferences Controller::preferences() const
{
    Preferences p = m_settings;
    p.listOrder = m_view.order();
    p.listMode = m_view.mode();
    p.month = m_view.year() * 100 + m_view.month();
    p.bank = m_bank;
    return p;
}

bool Controller::savePreferences(QString *error) const
{
    return preferences().write(error);
}

bool Controller::openDataFolder()
{
    const QString path =
        m_dataFolderOverride.isEmpty() ? DataFolder::defaultPath() : m_dataFolderOverride;
    if (!DataFolder::findOrCreate(path))
        return false;
    m_dataFolder = path;
    return true;
}

QString Controller::databasePath() const
{
    return m_dataFolder.isEmpty() ? QString()
                                  : QDir(m_dataFolder).filePath(LedgerDatabase::fileName());
}

void Controller::setUnavailable(LedgerState state, const QString &error)
{
    m_database.close();
    m_state = state;
    m_error = error;
}

void Controller::openLedger(Access access)
{
    m_moveInProblems.clear();
    m_error.clear();
    forgetBalances();
    if (m_dataFolder.isEmpty()) {
        setUnavailable(LedgerState::NoDataFolder,
                       tr("Moriva has no data folder to keep its ledgers in."));
    } else if (!QFileInfo(m_dataFolder).isDir()) {
        setUnavailable(LedgerState::NoDataFolder,
                       tr("Moriva keeps its ledgers in %1, but a file stands there instead of a "
                          "folder.")
                           .arg(m_dataFolder));
    } else {
        // A reader opens what is there, without the lock; only a first start on archive files
        // of an earlier version (no database yet) takes the writer's way, to move them in.
        const bool firstStart = !QFileInfo::exists(databasePath());
        if (access == Access::Read && !(firstStart && ArchiveMoveIn::hasArchives(m_dataFolder))) {
            QString why;
            if (firstStart)
                m_state = LedgerState::Open; // nothing stored yet: an empty ledger
            else if (DataFolder::refuseSymlink(databasePath(), &why)
                     && m_database.open(databasePath(), SqlConnection::Access::ReadOnly, &why))
                m_state = LedgerState::Open;
            else
                setUnavailable(LedgerState::Unreadable, why);
        } else {
            if (!m_lock)
                m_lock = std::make_unique<DataFolderLock>(m_dataFolder);
            QString why;
            if (!m_lock->acquire(m_lockTimeoutMs, &why)) {
                setUnavailable(LedgerState::Locked, why);
            } else if (!DataFolder::refuseSymlink(databasePath(), &why)
                       || (firstStart && !LedgerDatabase::create(databasePath(), &why))
                       || !m_database.open(databasePath(), SqlConnection::Access::ReadWrite, &why)) {
                setUnavailable(LedgerState::Unreadable, why);
            } else {
                m_state = LedgerState::Open;
                DataFolder::makePrivate(m_lock->lockFilePath(), nullptr);
                Backups::forgetUnfinishedRestore(m_dataFolder);
                moveInArchives();
            }
        }
    }
    m_view.setBank(m_bank);
    m_view.reload();
    emit bankChanged();
}

void Controller::moveInArchives()
{
    for (const ArchiveMoveIn::Outcome &outcome : ArchiveMoveIn::run(m_dataFolder, m_database)) {
        if (!outcome.message.isEmpty())
            m_moveInProblems.append(outcome.message);
    }
}

bool Controller::backUpOnce(QString *error)
{
    if (m_backedUp)
        return true;
    if (!Backups::take(m_dataFolder, m_database.connection(), error))
        return false;
    m_backedUp = true;
    return true;
}

bool Controller::restoreBackup(const QString &backupPath, QString *error, QString *aside)
{
    if (!m_lock || !m_lock->isLocked()) {
        if (error)
            *error = m_error.isEmpty() ? tr("The ledger is not open.") : m_error;
        return false;
    }
    m_database.close();
    const bool restored = Backups::restore(m_dataFolder, backupPath, error, aside);
    QString why;
    if (m_database.open(databasePath(), SqlConnection::Access::ReadWrite, &why)) {
        m_state = LedgerState::Open;
        m_error.clear();
    } else {
        setUnavailable(LedgerState::Unreadable, why);
    }
    m_changes.undoStack().clear();
    m_view.forgetSearch();
    entriesCameOrWent();
    m_view.reload();
    emit bankChanged();
    emit reloadRequested();
    if (restored && !isLedgerOpen() && error)
        *error = m_error;
    return restored && isLedgerOpen();
}

bool Controller::switchBank(Bank bank, QString *error)
{
    m_bank = bank;
    m_view.setBank(bank);
    forgetBalances();
    m_view.reload();
    emit bankChanged();
    emit reloadRequested();
    if (!isLedgerOpen() && error)
        *error = m_error.isEmpty() ? tr("The ledger is not open.") : m_error;
    return isLedgerOpen();
}

void Controller::closeLedger()
{
    m_database.close();
    forgetBalances();
    m_state = LedgerState::Closed;
    if (m_lock)
        m_lock->release();
}

void Controller::start()
{
    if (m_view.mode() != ListMode::Monthly)
        m_view.setMode(ListMode::Activity);
    checkBalancesAhead();
    m_view.reload();
    emit reloadRequested();
}

void Controller::checkBalancesAhead()
{
    forgetBalances();
    if (!m_database.isOpen())
        return;
    try {
        m_balancesAhead = std::async(std::launch::async, [path = databasePath(), bank = m_bank] {
            LedgerDatabase reader;
            std::optional<BalanceChain> chain;
            if (reader.open(path, SqlConnection::Access::ReadOnly, nullptr))
                chain = BalanceChain::check(reader.amounts(bank, LedgerDatabase::Kinds::Skipped));
            return chain;
        });
    } catch (const std::system_error &) {
        // No thread to be had: the check runs when it is first asked for.
    }
}

void Controller::forgetBalances()
{
    m_balances.reset();
    m_balancesAhead = {}; // waits for a check still running: it reads a ledger about to change
}

const BalanceChain &Controller::balances() const
{
    if (!m_balances && m_balancesAhead.valid()) {
        m_balances = m_balancesAhead.get();
        if (m_balances)
            m_balances->readGapEntries(m_database);
    }
    if (!m_balances)
        m_balances = BalanceChain::check(m_database, m_bank);
    return *m_balances;
}

ListTotals Controller::shownTotals() const
{
    if (m_view.mode() != ListMode::Activity)
        return m_view.totals();
    const LedgerDatabase::Sums &sums = balances().sums();
    return {sums.count, sums.paidOut, sums.paidIn};
}

void Controller::entriesCameOrWent()
{
    forgetBalances(); // walked again when next asked for
}

// ---------------------------------------------------------------- import

ImportReport Controller::readStatement(const QString &path, StatementFile *file)
{
    ImportReport report;
    report.bank = Banks::fromPath(path);
    if (report.bank == Bank::None) {
        report.status = ImportReport::NotStatement;
        report.error = StringTable::localizedString(u"InvalBankbookFile");
    } else if (!file->open(path, &report.error)) {
        report.status = ImportReport::Unreadable;
    }
    return report;
}

QList<ImportReport> Controller::importFiles(const QStringList &paths)
{
    QList<ImportReport> reports;
    QList<qint64> added;
    QString name;
    int files = 0;
    for (const QString &path : paths) {
        StatementFile file;
        ImportReport report = readStatement(path, &file);
        if (report.status == ImportReport::Imported) {
            const qsizetype before = added.size();
            report = importStatement(path, std::move(file), &added);
            if (added.size() > before) {
                ++files;
                name = QFileInfo(path).fileName();
            }
        }
        reports.append(report);
    }
    if (!added.isEmpty()) {
        const QString text = files == 1
            ? tr("Import of %1 (%n entries)", nullptr, int(added.size())).arg(name)
            : tr("Import of %1 files (%n entries)", nullptr, int(added.size())).arg(files);
        m_changes.pushImport(text, added);
        revealEntries(added);
    }
    return reports;
}

bool Controller::prepareBank(ImportReport &report)
{
    if (report.bank == Bank::None) {
        report.status = ImportReport::NotStatement;
        report.error = StringTable::localizedString(u"InvalBankbookFile");
        return false;
    }
    if (!isLedgerOpen() || !m_database.isOpen() || m_database.isReadOnly()) {
        report.status = ImportReport::LedgerUnavailable;
        report.error = m_error.isEmpty() ? tr("The ledger is not open.") : m_error;
        return false;
    }
    if (m_bank != report.bank)
        switchBank(report.bank);
    return true;
}

ImportReport Controller::importText(const QString &path, const QString &text)
{
    ImportReport report;
    report.bank = Banks::fromPath(path);
    if (text.isEmpty()) {
        report.status = ImportReport::Empty;
        report.error = tr("%1 is empty.").arg(path);
        return report;
    }
    if (!prepareBank(report))
        return report;
    LedgerDatabase::Import import(m_database, report.bank);
    StatementImporter importer(&import);
    const StatementImporter::Counts counts = importer.importText(text, report.bank);
    QString why;
    if (!import.commit(&why)) {
        report.status = ImportReport::NotSaved;
        report.error = why;
        return report;
    }
    report.added = counts.added;
    report.duplicates = counts.duplicates;
    report.rejected = counts.rejected;
    report.rejectedLines = counts.rejectedLines;
    m_changes.pushImport(tr("Import of %1 (%n entries)", nullptr, counts.added)
                             .arg(QFileInfo(path).fileName()),
                         import.addedIds());
    entriesCameOrWent();
    m_view.reload();
    emit reloadRequested();
    revealEntries(import.addedIds());
    return report;
}

ImportReport Controller::importStatement(const QString &path, StatementFile file,
                                         QList<qint64> *added)
{
    ImportReport report;
    report.bank = Banks::fromPath(path);
    const StatementDecoder decoder(file.bytes());
    if (!decoder.refusal().isEmpty()) {
        report.status = ImportReport::Unreadable;
        report.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + decoder.refusal();
        return report;
    }
    if (decoder.isEmpty()) {
        report.status = ImportReport::Empty;
        report.error = tr("%1 is empty.").arg(path);
        return report;
    }
    if (!prepareBank(report))
        return report;
    // The gaps an import closes are counted only when someone watches the balances (the window
    // does): walking a large ledger's chain twice would cost more than the import itself.
    std::optional<qsizetype> gapsBefore;
    if (m_balances || m_balancesAhead.valid())
        gapsBefore = balances().gaps().size();
    QString why;
    LedgerDatabase::Import import(m_database, report.bank);
    StatementImporter importer(import.isStarted() ? &import : nullptr);
    importer.begin(report.bank);
    const qint64 total = file.bytes().size();
    decoder.forEachPiece(
        [&](QStringView piece, bool readable) {
            importer.importPiece(piece, readable);
            if (m_importProgress)
                m_importProgress(path, decoder.bytesRead(), total);
        },
        [&importer](QStringView start) { importer.rejectLongLine(start); });
    file.close();
    const StatementImporter::Counts counts = importer.finish();
    if (!import.isStarted() || !import.commit(&why)) {
        report.status = ImportReport::NotSaved;
        report.error = import.isStarted() ? why : import.error();
        return report;
    }
    report.added = counts.added;
    report.duplicates = counts.duplicates;
    report.rejected = counts.rejected;
    report.rejectedLines = counts.rejectedLines;
    if (added)
        added->append(import.addedIds());
    if (counts.added > 0) {
        entriesCameOrWent();
        if (gapsBefore)
            report.gapsClosed = int(qMax(qsizetype(0), *gapsBefore - balances().gaps().size()));
        m_view.reload();
    }
    emit reloadRequested();
    return report;
}

// ---------------------------------------------------------------- lists

void Controller::switchList()
{
    m_view.switchList();
    emit reloadRequested();
}

void Controller::showActivity()
{
    m_view.setMode(ListMode::Activity);
    m_view.reload();
    emit reloadRequested();
}

void Controller::reverseOrder()
{
    m_view.reverseOrder();
    emit reloadRequested();
}

void Controller::showThisMonth()
{
    m_view.showThisMonth();
    emit reloadRequested();
}

void Controller::showPreviousMonth()
{
    if (!m_view.hasPreviousMonth())
        return;
    m_view.showPreviousMonth();
    emit reloadRequested();
}

void Controller::showNextMonth()
{
    if (!m_view.hasNextMonth())
        return;
    m_view.showNextMonth();
    emit reloadRequested();
}

void Controller::showMonth(const QString &yearText, const QString &monthText)
{
    m_view.showMonth(yearText, monthText);
    emit reloadRequested();
}

void Controller::showMonth(int year, int month)
{
    showMonth(QString::number(year), QString::number(month));
}

namespace {
// The table's columns that sort by a field of their own; "date" is the list's order.
const QList<std::pair<QStringView, EntryField>> kSortColumns{
    {u"time", EntryField::Time},       {u"summary", EntryField::Summary},
    {u"payment", EntryField::PaidOut}, {u"deposit", EntryField::PaidIn},
    {u"balance", EntryField::Balance}, {u"details", EntryField::Details},
};
} // namespace

void Controller::sortByColumn(QStringView column)
{
    if (column == u"date") {
        if (m_view.sortField())
            m_view.sortBy(std::nullopt);
        else if (hasEntries())
            m_view.reverseOrder();
        emit reloadRequested();
        return;
    }
    for (const auto &[name, field] : kSortColumns) {
        if (name != column)
            continue;
        const bool again = m_view.sortField() == field;
        m_view.sortBy(field, again && m_view.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder);
        emit reloadRequested();
        return;
    }
}

QString Controller::sortColumn() const
{
    for (const auto &[name, field] : kSortColumns) {
        if (m_view.sortField() == field)
            return name.toString();
    }
    return QStringLiteral("date");
}

Qt::SortOrder Controller::sortColumnOrder() const
{
    return m_view.sortField() ? m_view.sortOrder() : m_view.order();
}

bool Controller::showsColumn(QStringView column) const
{
    return column != u"time" || m_bank != Bank::Ebank;
}

int Controller::search(const QString &keyword)
{
    const ListMode before = m_view.mode();
    const int found = m_view.search(keyword);
    if (found > 0 || before != m_view.mode())
        emit reloadRequested();
    if (found == 0)
        emit noticeRequested(StatusTexts::noSearchHits(keyword));
    return found;
}

// ---------------------------------------------------------------- undo and redo

QString Controller::undoText() const
{
    return undoStack().canUndo() ? tr("Undo %1").arg(undoStack().undoText()) : tr("Undo");
}

QString Controller::redoText() const
{
    return undoStack().canRedo() ? tr("Redo %1").arg(undoStack().redoText()) : tr("Redo");
}

bool Controller::undo()
{
    if (!undoStack().canUndo())
        return false;
    undoStack().undo();
    showWhatChanged();
    return true;
}

bool Controller::redo()
{
    if (!undoStack().canRedo())
        return false;
    undoStack().redo();
    showWhatChanged();
    return true;
}

bool Controller::removeEntry(int row)
{
    if (!m_changes.removeEntry(row))
        return false;
    showWhatChanged();
    return true;
}

void Controller::showWhatChanged()
{
    const EntryChanges::Focus focus = m_changes.takeFocus();
    if (!focus.ids.isEmpty())
        revealEntries(focus.ids);
    else if (focus.row >= 0 && m_view.rowCount() > 0)
        emit selectionRequested(int(qMin(focus.row, m_view.rowCount() - 1)));
}

void Controller::revealEntries(const QList<qint64> &ids)
{
    const auto firstShownRow = [this, &ids] {
        qsizetype first = -1;
        for (qint64 id : ids) {
            const qsizetype row = m_view.rowOf(id);
            if (row >= 0 && (first < 0 || row < first))
                first = row;
        }
        return first;
    };
    qsizetype row = firstShownRow();
    if (row < 0) {
        // The one that comes first in the list's order, of those still in the ledger.
        const QList<LedgerEntry> entries = m_database.entries(ids);
        if (entries.isEmpty())
            return;
        const auto day = [](const LedgerEntry &e) { return e.year() * 10000 + e.month() * 100 + e.day(); };
        const bool newestFirst = m_view.order() == Qt::DescendingOrder;
        const LedgerEntry first = *std::min_element(
            entries.cbegin(), entries.cend(), [&](const LedgerEntry &a, const LedgerEntry &b) {
                return newestFirst ? day(a) > day(b) : day(a) < day(b);
            });
        if (first.account() != m_bank && Banks::isBank(first.account()))
            switchBank(first.account());
        row = firstShownRow();
        if (row < 0 && m_view.mode() != ListMode::Activity) {
            m_view.setMonth(first.year(), first.month());
            m_view.setMode(ListMode::Monthly);
            m_view.reload();
            emit reloadRequested();
            row = firstShownRow();
        }
    }
    if (row >= 0)
        emit selectionRequested(int(row));
}

// ---------------------------------------------------------------- export and enabling

bool Controller::exportShownList(const QString &path, QString *error) const
{
    return LedgerExport::save(path, m_view.entries(), error,
                              LedgerExport::encodingFromInt(int(m_settings.exportEncoding)));
}

CommandRules::State Controller::commandState(int selectedRow) const
{
    const LedgerEntry selected = m_view.entryAt(selectedRow);
    CommandRules::State state;
    state.hasEntries = hasEntries();
    state.hasSelection = selectedRow >= 0;
    state.summaryEdited = selected.id() != 0 && CommandRules::isSummaryEdited(&selected);
    state.canUndo = undoStack().canUndo();
    state.canRedo = undoStack().canRedo();
    state.hasPreviousMonth = m_view.hasPreviousMonth();
    state.hasNextMonth = m_view.hasNextMonth();
    return state;
}

bool Controller::isMarkChecked(int selectedRow) const
{
    const LedgerEntry selected = m_view.entryAt(selectedRow);
    return CommandRules::isMarkChecked(selected.id() != 0 ? &selected : nullptr);
}
