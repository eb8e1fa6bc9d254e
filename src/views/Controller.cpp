#include "Controller.h"

#include "CommandRules.h"
#include "StatusTexts.h"
#include "StringTable.h"
#include "import/StatementFile.h"
#include "import/StatementImporter.h"
#include "import/StatementText.h"
#include "ledger/Backups.h"
#include "ledger/LedgerExport.h"

#include <QFileInfo>


Controller::Controller(QObject *parent)
    : QObject(parent)
{
    connect(&m_changes, &EntryChanges::changed, this, &Controller::noteChanges);
    connect(&m_changes, &EntryChanges::rowChanged, this, &Controller::rowChanged);
    connect(&m_changes, &EntryChanges::reloadRequested, this, &Controller::reloadRequested);
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
    m_bank = preferences.bank == Bank::None ? Bank::Jnb : preferences.bank;
}

Preferences Controller::preferences() const
{
    Preferences p = m_settings;
    p.listOrder = m_view.order();
    p.listMode = m_view.mode();
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

void Controller::openLedger()
{
    if (!Banks::isBank(m_bank))
        return;
    m_changes.history().clear(); // its steps were the ledger's that was open
    if (m_dataFolder.isEmpty()) {
        m_ledger.setUnavailable(m_bank, Ledger::State::NoDataFolder,
                                tr("Moriva has no data folder to keep its ledgers in."));
    } else if (!QFileInfo(m_dataFolder).isDir()) {
        m_ledger.setUnavailable(m_bank, Ledger::State::NoDataFolder,
                                tr("Moriva keeps its ledgers in %1, but a file stands there "
                                   "instead of a folder.")
                                    .arg(m_dataFolder));
    } else {
        if (!m_lock)
            m_lock = std::make_unique<DataFolderLock>(m_dataFolder);
        QString why;
        if (m_lock->acquire(m_lockTimeoutMs, &why))
            m_ledger.open(m_dataFolder, m_bank);
        else
            m_ledger.setUnavailable(m_bank, Ledger::State::Locked, why);
    }
    forgetBalances();
    emit bankChanged();
}

const BalanceChain &Controller::balances() const
{
    if (!m_balances)
        m_balances = BalanceChain::check(m_ledger.entries());
    return *m_balances;
}

bool Controller::saveLedger(QString *error)
{
    if (m_autoSaver)
        m_autoSaver->waitForSave();
    return m_ledger.save(error);
}

void Controller::setAutoSave(bool on)
{
    if (!on) {
        m_autoSaver.reset();
        return;
    }
    if (m_autoSaver)
        return;
    m_autoSaver = std::make_unique<AutoSaver>(m_ledger);
    connect(m_autoSaver.get(), &AutoSaver::saveFailed, this, &Controller::autoSaveFailed);
    noteChanges();
}

void Controller::noteChanges()
{
    if (m_autoSaver && m_ledger.isModified())
        m_autoSaver->scheduleSave();
}

bool Controller::restoreBackup(const QString &backupPath, QString *error, QString *aside)
{
    if (m_autoSaver)
        m_autoSaver->waitForSave();
    if (!m_lock || !m_lock->isLocked() || m_ledger.filePath().isEmpty()) {
        if (error)
            *error = m_ledger.error().isEmpty() ? tr("The ledger is not open.") : m_ledger.error();
        return false;
    }
    if (!Backups::restore(m_ledger.filePath(), backupPath, error, aside))
        return false;
    m_ledger.open(m_dataFolder, m_ledger.bank());
    m_changes.history().clear();
    forgetBalances();
    m_view.forgetEntries(); // the hits were the replaced archive's
    emit bankChanged();
    emit reloadRequested();
    if (!m_ledger.isOpen() && error)
        *error = m_ledger.error();
    return m_ledger.isOpen();
}

bool Controller::switchBank(Bank bank, QString *error)
{
    QString why;
    if (!saveLedger(&why)) {
        // Switching now would drop the changes that could not be saved.
        if (error)
            *error = why;
        return false;
    }
    m_bank = bank;
    m_ledger.removeAll();
    openLedger();
    m_view.forgetEntries(); // the hits were the other bank's
    emit reloadRequested();
    if (!m_ledger.isOpen() && error)
        *error = m_ledger.error();
    return m_ledger.isOpen();
}

void Controller::closeLedger()
{
    if (m_autoSaver)
        m_autoSaver->waitForSave();
    m_ledger.close();
    forgetBalances();
    if (m_lock)
        m_lock->release();
}

void Controller::closeLedgerAtExit()
{
    if (m_autoSaver)
        m_autoSaver->waitForSave();
    m_ledger.abandonEntries();
    closeLedger();
}

void Controller::start()
{
    if (m_view.mode() == ListMode::Monthly)
        m_view.rebuildMonthlyList();
    else
        m_view.setMode(ListMode::Activity);
    emit reloadRequested();
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

ImportReport Controller::importFile(const QString &path)
{
    StatementFile file;
    const ImportReport read = readStatement(path, &file);
    if (read.status != ImportReport::Imported)
        return read;
    return importStatement(path, std::move(file));
}

bool Controller::prepareBank(ImportReport &report)
{
    if (report.bank == Bank::None) {
        report.status = ImportReport::NotStatement;
        report.error = StringTable::localizedString(u"InvalBankbookFile");
        return false;
    }
    if (m_bank == report.bank) {
        if (m_ledger.isOpen())
            return true;
        report.status = ImportReport::LedgerUnavailable;
        report.error = m_ledger.error().isEmpty() ? tr("The ledger is not open.")
                                                  : m_ledger.error();
        return false;
    }
    if (!Banks::isBank(m_bank)) {
        report.status = ImportReport::LedgerUnavailable;
        report.error = tr("No bank is chosen.");
        return false;
    }
    QString why;
    if (switchBank(report.bank, &why))
        return true;
    report.status = m_bank == report.bank ? ImportReport::LedgerUnavailable
                                          : ImportReport::SwitchFailed;
    report.error = why;
    return false;
}

ImportReport Controller::importText(const QString &path, const QString &text)
{
    return importLines(path, text.isEmpty(), [&text](StatementImporter &importer, Bank bank) {
        return importer.importText(text, bank);
    });
}

ImportReport Controller::importStatement(const QString &path, StatementFile file)
{
    const StatementDecoder decoder(file.bytes());
    return importLines(path, decoder.isEmpty(),
                       [&decoder, &file](StatementImporter &importer, Bank bank) {
                           importer.begin(bank, decoder.expectedLines());
                           decoder.forEachPiece(
                               [&importer](QStringView piece, bool readable) {
                                   importer.importPiece(piece, readable);
                               });
                           file.close(); // read: no need to hold it through the sort
                           return importer.finish();
                       });
}

ImportReport Controller::importLines(const QString &path, bool empty,
                                     const std::function<StatementImporter::Counts(
                                         StatementImporter &, Bank)> &import)
{
    ImportReport report;
    report.bank = Banks::fromPath(path);
    if (empty) {
        report.status = ImportReport::Empty;
        report.error = tr("%1 is empty.").arg(path);
        return report;
    }
    // The gaps an import closes are counted only when someone watches the balances (the window
    // does): walking a large ledger's chain twice would cost more than the import itself.
    const bool watched = m_balances.has_value();
    const bool prepared = prepareBank(report);
    std::optional<qsizetype> gapsBefore; // of the file's bank
    if (watched || m_balances)
        gapsBefore = balances().gaps().size();
    const qsizetype earlierCount = m_ledger.size();
    QList<LedgerEntryPtr> earlier, added;
    if (prepared) {
        earlier = LedgerStep::earlierOrder(m_ledger.entries(), m_view.order());
        StatementImporter importer(m_ledger);
        const StatementImporter::Counts counts = import(importer, report.bank);
        report.added = counts.added;
        report.duplicates = counts.duplicates;
        report.rejected = counts.rejected;
        report.rejectedLines = counts.rejectedLines;
        added = m_ledger.entries().mid(earlierCount); // appended by the importer
    }
    // Every file that gave text leaves the ledger in the order of the rule, also one that was
    // refused; the monthly list follows the ledger.
    m_ledger.sort(m_view.order());
    if (!added.isEmpty())
        m_changes.history().push(
            LedgerStep::imported(QFileInfo(path).fileName(), added, earlier, m_view.order()));
    forgetBalances();
    if (gapsBefore)
        report.gapsClosed = int(qMax(qsizetype(0), *gapsBefore - balances().gaps().size()));
    if (m_view.mode() == ListMode::Monthly)
        m_view.rebuildMonthlyList();
    noteChanges();
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
    emit reloadRequested();
}

void Controller::reverseOrder()
{
    m_view.reverseOrder();
    noteChanges();
    emit reloadRequested();
}

void Controller::showThisMonth()
{
    m_view.showThisMonth();
    emit reloadRequested();
}

void Controller::showPreviousMonth()
{
    m_view.showPreviousMonth();
    emit reloadRequested();
}

void Controller::showNextMonth()
{
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

// ---------------------------------------------------------------- export and enabling

bool Controller::exportShownList(const QString &path, QString *error) const
{
    return LedgerExport::save(path, m_view.rows(), error,
                              LedgerExport::encodingFromInt(int(m_settings.exportEncoding)));
}

CommandRules::State Controller::commandState(int selectedRow) const
{
    const qsizetype index = m_view.ledgerIndexAt(selectedRow);
    CommandRules::State state;
    state.hasEntries = hasEntries();
    state.hasSelection = selectedRow >= 0;
    state.summaryEdited = index >= 0 && CommandRules::isSummaryEdited(m_ledger.at(index).data());
    state.canUndo = history().canUndo();
    state.canRedo = history().canRedo();
    return state;
}

bool Controller::isMarkChecked(int selectedRow) const
{
    const qsizetype index = m_view.ledgerIndexAt(selectedRow);
    return CommandRules::isMarkChecked(index >= 0 ? m_ledger.at(index).data() : nullptr);
}
