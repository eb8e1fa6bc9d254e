#include "BankbookWindow.h"

#include "AboutDialog.h"
#include "BalanceGapsSheet.h"
#include "BankbookTableView.h"
#include "ColourPreferences.h"
#include "FileCommands.h"
#include "LedgerItemDelegate.h"
#include "LedgerPrinter.h"
#include "LedgerStatusBar.h"
#include "PreferencesWindow.h"
#include "RestoreBackupSheet.h"
#include "Sheets.h"
#include "UpdateChecker.h"
#include "UpdateSheet.h"
#include "WindowActions.h"
#include "WindowLooks.h"
#include "summary/SummaryView.h"
#include "summary/ViewSwitcher.h"
#include "views/BankbookTableModel.h"
#include "views/Controller.h"
#include "views/PrintTexts.h"
#include "views/StatusTexts.h"
#include "views/StringTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

BankbookWindow::BankbookWindow(Controller *controller, QWidget *parent)
    : QMainWindow(parent)
    , m_controller(controller)
    , m_model(new BankbookTableModel(controller, this))
    , m_table(new BankbookTableView(this))
    , m_changeMonthSheet(new ChangeMonthSheet(this))
    , m_searchSheet(new SearchSheet(this))
    , m_selectBankSheet(new SelectBankSheet(this))
    , m_startupChecker(new UpdateChecker(this))
    , m_updateSheet(new UpdateSheet(new UpdateChecker(this), this))
{
    m_colours = ColourScheme::forPalette(palette());
    ColourPreferences::read(&m_colours);
    m_preferences = new PreferencesWindow(controller, &m_colours, this);
    connect(m_preferences, &PreferencesWindow::preferencesChanged, this,
            [this] {
                m_table->viewport()->update();
                m_views->summary()->applyColours();
            });
    connect(m_startupChecker, &UpdateChecker::finished, this,
            [this](const VersionCheck::Outcome &outcome) {
                if (outcome.result == VersionCheck::NewerPublished)
                    showUpdateSheet();
            });
    setObjectName(QStringLiteral("BankbookWindow"));
    setAcceptDrops(true);
    m_table->setObjectName(QStringLiteral("ledgerTable"));
    m_table->setAccessibleName(tr("Ledger"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new LedgerItemDelegate(&m_colours, m_table));
    m_views = new ViewSwitcher(controller, m_table, &m_colours, this);
    setCentralWidget(m_views);
    connect(m_views, &QStackedWidget::currentChanged, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_views->summary(), &SummaryView::figuresChanged, this,
            &BankbookWindow::refreshTitleAndStatus);

    m_status = new LedgerStatusBar(statusBar(), controller);
    m_files = new FileCommands(this, controller, m_status);
    connect(m_status, &LedgerStatusBar::gapsRequested, this, &BankbookWindow::showBalanceGaps);
    connect(m_status, &LedgerStatusBar::rejectedLinesChanged, this, &BankbookWindow::updateActions);

    m_actions = new WindowActions(this, controller);
    menuBar()->setAccessibleName(tr("Menu bar"));
    statusBar()->setAccessibleName(tr("Status bar"));
    m_table->setContextMenu(m_actions->contextMenu());
    m_views->addCommands(m_actions);
    connect(m_table, &BankbookTableView::sortRequested, this, [this](int column) {
        m_controller->sortByColumn(BankbookTableModel::columnIdentifier(column));
    });

    connect(m_controller, &Controller::reloadRequested, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_controller, &Controller::bankChanged, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_controller, &Controller::rowChanged, this, &BankbookWindow::refreshTitleAndStatus);
    // What a change, an undo or an import touched comes into sight, selected.
    connect(m_controller, &Controller::selectionRequested, this, [this](int row) {
        m_table->selectRow(row);
        m_table->scrollTo(m_model->index(row, BankbookTableModel::DateColumn));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BankbookWindow::updateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BankbookWindow::updateActions);
    connect(m_controller, &Controller::historyChanged, this, &BankbookWindow::updateActions);
    connectSheets();

    applyWindowStyle(controller->windowStyle());
    resize(980, 640);
    WindowLooks::restoreLayout(this, m_table);
    refreshTitleAndStatus();
}

BankbookWindow::~BankbookWindow() = default;

void BankbookWindow::connectSheets()
{
    connect(m_changeMonthSheet, &QDialog::accepted, this, [this] {
        const int month = m_changeMonthSheet->chosenMonth();
        m_controller->showMonth(month / 100, month % 100);
    });
    connect(m_searchSheet, &QDialog::accepted, this,
            [this] { m_controller->search(m_searchSheet->keyword()); });
    connect(m_selectBankSheet, &QDialog::accepted, this, [this] {
        const Bank bank = m_selectBankSheet->chosenBank();
        if (!Banks::isBank(bank) || bank == m_controller->bank())
            return;
        QString why;
        if (!m_controller->switchBank(bank, &why) && !why.isEmpty())
            showAlert(why);
    });
}

QLabel *BankbookWindow::bankNameField() const
{
    return m_status->bankNameField();
}

QToolBar *BankbookWindow::toolBar() const
{
    return m_actions->toolBar();
}

QAction *BankbookWindow::action(const QString &identifier) const
{
    return m_actions->action(identifier);
}

void BankbookWindow::updateActions()
{
    m_actions->updateEnabled(m_table->selectedRow(), m_views->isSummaryShown(),
                             m_status->hasRejectedLines());
}

void BankbookWindow::refreshTitleAndStatus()
{
    const bool summary = m_views->isSummaryShown();
    setWindowTitle(summary ? m_views->summary()->title() : m_controller->windowTitle());
    m_status->refresh(summary ? m_views->summary()->statusText() : QString());
    m_table->setPlaceholderText(placeholderText());
    const int sorted = BankbookTableModel::columnOf(m_controller->sortColumn());
    m_table->showSort(sorted, m_controller->sortColumnOrder());
    m_table->setColumnShown(BankbookTableModel::TimeColumn, m_controller->showsColumn(u"time"));
    updateActions();
}

QString BankbookWindow::placeholderText() const
{
    if (!m_controller->isLedgerOpen())
        return tr("This bank's ledger is not open.");
    if (!m_controller->hasEntries())
        return tr("No entries yet.\nImport a JNB or eBANK statement file (%1), or drop it here.")
            .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    if (m_controller->view().mode() == ListMode::Monthly)
        return tr("No entries in this month.");
    return QString();
}

void BankbookWindow::startUp()
{
    m_controller->start();
    m_table->setFocus();
    refreshTitleAndStatus();
    RestoreBackupSheet::reportUnopenedLedger(this, m_controller);
    checkForUpdatesAtStart();
}

// ---------------------------------------------------------------- commands

ImportReport BankbookWindow::importFile(const QString &path)
{
    return importFiles({path}).value(0);
}

QList<ImportReport> BankbookWindow::importFiles(const QStringList &paths)
{
    return m_files->importFiles(paths);
}

void BankbookWindow::importStatement()
{
    m_files->importStatement();
}

void BankbookWindow::exportList()
{
    m_files->exportList();
}

void BankbookWindow::removeSelectedEntry()
{
    if (!m_actions->isEnabled(QStringLiteral("delete_balance")))
        return;
    Sheets::confirmDeletion(this, QStringLiteral("deleteSelectedSheet"),
                            StringTable::localizedString(u"SureDeleteSelectedInfo"), u"Delete",
                            QStringLiteral("delete"),
                            [this] { m_controller->removeEntry(m_table->selectedRow()); });
}

void BankbookWindow::removeAllEntries()
{
    if (!m_actions->isEnabled(QStringLiteral("delete_all")))
        return;
    Sheets::confirmDeletion(
        this, QStringLiteral("deleteAllSheet"),
        StatusTexts::deleteAllQuestion(m_controller->bank(), m_controller->database().count(m_controller->bank())),
        u"DeleteAll", QStringLiteral("deleteAll"), [this] { m_controller->removeAllEntries(); });
}

void BankbookWindow::showBalanceGaps()
{
    (new BalanceGapsSheet(m_controller, m_table, this))->open();
}

void BankbookWindow::showRejectedLines()
{
    m_status->showRejectedLines();
}

void BankbookWindow::switchList()
{
    m_controller->switchList();
}

void BankbookWindow::reverseOrder()
{
    m_controller->reverseOrder();
}

void BankbookWindow::changeMonth()
{
    const LedgerView &view = m_controller->view();
    m_changeMonthSheet->fill(view.monthsWithEntries(), view.year() * 100 + view.month());
    m_changeMonthSheet->open();
}

void BankbookWindow::showPreviousMonth()
{
    m_controller->showPreviousMonth();
}

void BankbookWindow::showNextMonth()
{
    m_controller->showNextMonth();
}

void BankbookWindow::showThisMonth()
{
    m_controller->showThisMonth();
}

void BankbookWindow::toggleMark()
{
    const int row = m_table->selectedRow();
    if (row < 0)
        return;
    m_controller->toggleMark(row);
    m_table->selectRow(row);
}

void BankbookWindow::revertSummary()
{
    m_controller->revertSummary(m_table->selectedRow());
}

void BankbookWindow::search()
{
    m_searchSheet->keywordField()->selectAll();
    m_searchSheet->keywordField()->setFocus();
    m_searchSheet->open();
}

void BankbookWindow::selectBank()
{
    m_selectBankSheet->setCurrentBank(m_controller->bank());
    m_selectBankSheet->open();
}

void BankbookWindow::showAlert(const QString &message)
{
    Sheets::showAlert(this, message);
}

void BankbookWindow::showPreferences()
{
    m_preferences->showPreferences();
}

int BankbookWindow::printTo(QPagedPaintDevice *device)
{
    if (m_views->isSummaryShown())
        return m_views->summary()->printTo(device);
    return LedgerPrinter::print(*m_model, m_colours,
                                PrintTexts::heading(m_controller->bank(), m_controller->view()),
                                PrintTexts::closingLine(m_controller->shownTotals()),
                                device);
}

void BankbookWindow::print()
{
    LedgerPrinter::openPrintDialog(this,
                                   m_views->isSummaryShown() ? m_views->summary()->title()
                                                             : m_controller->proposedPrintName(),
                                   [this](QPagedPaintDevice *device) { printTo(device); });
}

void BankbookWindow::showAbout()
{
    auto *about = new AboutDialog(m_controller->dataFolderPath(), this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void BankbookWindow::showUpdateSheet()
{
    m_updateSheet->showAboutUpdateWindow();
}

void BankbookWindow::checkForUpdatesAtStart()
{
    if (m_controller->checksForUpdatesAtStart() && UpdateChecker::hasAddress())
        m_startupChecker->checkLatestVersion();
}

void BankbookWindow::applyWindowStyle(int style)
{
    if (style != 1)
        return;
    WindowLooks::applyTintedStyle(toolBar(), m_table);
    setProperty("windowStyle", style);
}

// ---------------------------------------------------------------- life

bool BankbookWindow::saveBeforeQuit()
{
    for (;;) {
        WindowLooks::saveLayout(this, m_table);
        m_actions->saveToolbarVisibility();
        ColourPreferences::write(m_colours, ColourScheme::forPalette(palette()));
        // The ledger needs no saving: every change was committed when it was made.
        QString prefsError;
        if (m_controller->savePreferences(&prefsError))
            return true;
        if (!Sheets::askToRetrySave(this, prefsError))
            return false;
    }
}

void BankbookWindow::closeEvent(QCloseEvent *event)
{
    // Asked to quit during an import (a termination signal): once it is committed.
    if (m_files->isImporting()) {
        connect(m_files, &FileCommands::importsFinished, this, &QWidget::close,
                Qt::SingleShotConnection);
        event->ignore();
        return;
    }
    if (!saveBeforeQuit()) {
        event->ignore();
        return;
    }
    m_controller->closeLedger();
    event->accept();
}

void BankbookWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void BankbookWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (!paths.isEmpty())
        importFiles(paths);
    event->acceptProposedAction();
}
