#include "BankbookWindow.h"

#include "BankbookTableView.h"
#include "ColourPreferences.h"
#include "LedgerPrinter.h"
#include "PreferencesWindow.h"
#include "ToolbarCustomizeDialog.h"
#include "UpdateChecker.h"
#include "UpdateSheet.h"
#include "views/ToolbarItems.h"
#include "LedgerItemDelegate.h"
#include "Sheets.h"
#include "views/BankbookTableModel.h"
#include "views/Controller.h"
#include "views/StatusTexts.h"
#include "views/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {
QString text(QStringView key)
{
    return StringTable::localizedString(key);
}

QSettings windowSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Moriva"),
                     QStringLiteral("Moriva"));
}

// Moriva's own icons, bundled; an icon theme may override any of them under the name
// "moriva-<item>".
QIcon iconFor(const QString &name)
{
    return QIcon::fromTheme(QStringLiteral("moriva-") + name,
                            QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
}
} // namespace

BankbookWindow::BankbookWindow(Controller *controller, QWidget *parent)
    : QMainWindow(parent)
    , m_controller(controller)
    , m_model(new BankbookTableModel(controller, this))
    , m_table(new BankbookTableView(this))
    , m_bankName(new QLabel(this))
    , m_totals(new QLabel(this))
    , m_changeMonthSheet(new ChangeMonthSheet(this))
    , m_searchSheet(new SearchSheet(this))
    , m_selectBankSheet(new SelectBankSheet(this))
    , m_preferences(nullptr)
    , m_startupChecker(new UpdateChecker(this))
    , m_updateSheet(new UpdateSheet(new UpdateChecker(this), this))
{
    ColourPreferences::read(&m_colours);
    m_preferences = new PreferencesWindow(controller, &m_colours, this);
    connect(m_preferences, &PreferencesWindow::preferencesChanged, this,
            [this] { m_table->viewport()->update(); });
    connect(m_startupChecker, &UpdateChecker::finished, this,
            [this](const VersionCheck::Outcome &outcome) {
                if (outcome.result == VersionCheck::NewerPublished)
                    showAboutUpdateWindow();
            });
    setObjectName(QStringLiteral("BankbookWindow"));
    setAcceptDrops(true);
    m_table->setObjectName(QStringLiteral("ledgerTable"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new LedgerItemDelegate(&m_colours, m_table));
    setCentralWidget(m_table);

    m_bankName->setObjectName(QStringLiteral("bankName"));
    m_bankName->setContentsMargins(8, 0, 8, 0);
    QFont bold = m_bankName->font();
    bold.setBold(true);
    m_bankName->setFont(bold);
    statusBar()->addPermanentWidget(m_totals);
    statusBar()->addPermanentWidget(m_bankName);

    buildToolBar();
    buildMenus();
    m_table->setContextMenu(m_contextMenu);

    connect(m_controller, &Controller::reloadRequested, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_controller, &Controller::bankChanged, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_controller, &Controller::rowChanged, this, &BankbookWindow::refreshTitleAndStatus);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BankbookWindow::updateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BankbookWindow::updateActions);

    connect(m_changeMonthSheet, &QDialog::accepted, this, [this] {
        m_controller->changeMonth(m_changeMonthSheet->yearText(), m_changeMonthSheet->monthText());
    });
    connect(m_searchSheet, &QDialog::accepted, this,
            [this] { m_controller->searchBalance(m_searchSheet->keyword()); });
    connect(m_selectBankSheet, &QDialog::accepted, this, [this] {
        const int bank = m_selectBankSheet->chosenBank();
        if (bank == 0 || bank == m_controller->currentBank())
            return;
        m_controller->setCurrentBank(bank);
        QString why;
        if (!m_controller->switchBankbookInfoArchive(&why) && !why.isEmpty())
            showAlertSheet(why);
    });

    applyWindowStyle(controller->windowStyle());
    resize(980, 640);
    restoreLayout();
    refreshTitleAndStatus();
}

BankbookWindow::~BankbookWindow() = default;

void BankbookWindow::buildToolBar()
{
    struct Command {
        const char16_t *identifier, *labelKey, *toolTipKey, *icon;
        void (BankbookWindow::*slot)();
    };
    // Moriva's own toolbar items, in the order they are made.
    static const Command commands[] = {
        {u"select_bank", u"Bank", u"SelectBank", u"select_bank", &BankbookWindow::selectBank},
        {u"import_balance", u"Import", u"ImportBalance", u"import_balance",
         &BankbookWindow::importBalance},
        {u"save_balance", u"SaveInfo", u"SaveBalance", u"save_balance",
         &BankbookWindow::saveBalance},
        {u"delete_balance", u"Delete", u"DeleteBalance", u"delete_balance",
         &BankbookWindow::deleteBalance},
        {u"delete_all", u"DeleteAll", u"DeleteAllBalance", u"delete_all",
         &BankbookWindow::deleteAllBalance},
        {u"list", u"List", u"SwitchList", u"switch_list", &BankbookWindow::switchListContents},
        {u"list_order", u"ListOrder", u"ChangeListOrder", u"list_order",
         &BankbookWindow::changeListOrder},
        {u"change_month", u"ChangeMonth", u"ChangeMonthList", u"change_month",
         &BankbookWindow::changeMonthList},
        {u"move_prev_month", u"PrevMonth", u"MovePrevMonth", u"move_prev_month",
         &BankbookWindow::movePrevMonth},
        {u"move_next_month", u"NextMonth", u"MoveNextMonth", u"move_next_month",
         &BankbookWindow::moveNextMonth},
        {u"mark_balance", u"Mark", u"MarkBalance", u"mark_balance", &BankbookWindow::markBalance},
        {u"search", u"Search", u"SearchBalance", u"search", &BankbookWindow::searchBalance},
        {u"preferences", u"Preferences", u"ShowPreferences", u"preferences",
         &BankbookWindow::showPreferences},
    };
    for (const Command &command : commands) {
        const QString identifier = QString::fromUtf16(command.identifier);
        auto *action = new QAction(iconFor(QString::fromUtf16(command.icon)),
                                   text(command.labelKey), this);
        action->setObjectName(identifier);
        action->setToolTip(text(command.toolTipKey));
        action->setStatusTip(text(command.toolTipKey));
        action->setData(identifier);
        connect(action, &QAction::triggered, this, command.slot);
        m_actions.insert(identifier, action);
    }

    // The standard items' commands.
    QAction *print = new QAction(iconFor(QStringLiteral("print")), tr("Print"), this);
    print->setObjectName(QStringLiteral("print"));
    print->setToolTip(tr("Print the shown list"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &BankbookWindow::printBalance);
    m_standardActions.insert(QStringLiteral("print"), print);
    QAction *customize = new QAction(iconFor(QStringLiteral("customize")), tr("Customize"), this);
    customize->setObjectName(QStringLiteral("customize"));
    customize->setToolTip(tr("Arrange the toolbar"));
    connect(customize, &QAction::triggered, this, &BankbookWindow::customizeToolbar);
    m_standardActions.insert(QStringLiteral("customize"), customize);

    m_toolBar = addToolBar(QStringLiteral("MorivaToolToolbar"));
    m_toolBar->setObjectName(QStringLiteral("MorivaToolToolbar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    const QSettings settings = windowSettings();
    const QVariant stored = settings.value(QStringLiteral("MorivaToolToolbar"));
    setToolbarArrangement(ToolbarItems::sanitized(stored.toStringList(), stored.isValid()));
    m_toolBar->setVisible(settings.value(QStringLiteral("MorivaToolToolbarVisible"), true).toBool());
}

QStringList BankbookWindow::toolbarArrangement() const
{
    return m_arrangement;
}

void BankbookWindow::setToolbarArrangement(const QStringList &arrangement)
{
    m_arrangement = arrangement;
    m_toolBar->clear();
    for (const QString &id : arrangement) {
        if (id == u"separator") {
            m_toolBar->addSeparator();
        } else if (id == u"space" || id == u"flexible_space") {
            auto *spacer = new QWidget(m_toolBar);
            spacer->setObjectName(id);
            if (id == u"space")
                spacer->setFixedWidth(24);
            else
                spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            m_toolBar->addWidget(spacer);
        } else if (QAction *action = m_actions.value(id, m_standardActions.value(id))) {
            m_toolBar->addAction(action);
        }
    }
}

std::pair<QString, QIcon> BankbookWindow::describeToolbarItem(const QString &id) const
{
    if (id == u"separator")
        return {tr("Separator"), QIcon()};
    if (id == u"space")
        return {tr("Space"), QIcon()};
    if (id == u"flexible_space")
        return {tr("Flexible Space"), QIcon()};
    const QAction *action = m_actions.value(id, m_standardActions.value(id));
    if (!action)
        return {id, QIcon()};
    // The palette shows the longer description of Moriva's own items.
    return {m_actions.contains(id) ? action->toolTip() : action->text(), action->icon()};
}

void BankbookWindow::customizeToolbar()
{
    auto *dialog = new ToolbarCustomizeDialog(
        m_arrangement, [this](const QString &id) { return describeToolbarItem(id); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        setToolbarArrangement(dialog->arrangement());
        QSettings settings = windowSettings();
        settings.setValue(QStringLiteral("MorivaToolToolbar"), m_arrangement);
    });
    dialog->open();
}

void BankbookWindow::showToolbar()
{
    m_toolBar->setVisible(!m_toolBar->isVisible());
}

void BankbookWindow::buildMenus()
{
    const auto tagged = [this](QAction *action, int tag, const QKeySequence &keys = {}) {
        action->setProperty("menuTag", tag);
        if (!keys.isEmpty())
            action->setShortcut(keys);
        m_menuActions.append(action);
        return action;
    };

    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tagged(m_actions.value(QStringLiteral("import_balance")), 100,
                           QKeySequence::Open));
    file->addAction(tagged(m_actions.value(QStringLiteral("save_balance")), 102,
                           QKeySequence::Save));
    file->addSeparator();
    file->addAction(m_standardActions.value(QStringLiteral("print")));
    file->addSeparator();
    QAction *prefs = m_actions.value(QStringLiteral("preferences"));
    prefs->setShortcut(QKeySequence::Preferences);
    prefs->setMenuRole(QAction::PreferencesRole);
    file->addAction(prefs);
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(tagged(m_actions.value(QStringLiteral("mark_balance")), 200,
                           QKeySequence(Qt::CTRL | Qt::Key_M)));
    edit->addAction(tagged(m_actions.value(QStringLiteral("delete_balance")), 201,
                           QKeySequence::Delete));
    edit->addAction(tagged(m_actions.value(QStringLiteral("delete_all")), 202));

    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->addAction(tagged(m_actions.value(QStringLiteral("list")), 301,
                           QKeySequence(Qt::CTRL | Qt::Key_L)));
    view->addAction(tagged(m_actions.value(QStringLiteral("list_order")), 300,
                           QKeySequence(Qt::CTRL | Qt::Key_R)));
    view->addSeparator();
    view->addAction(tagged(m_actions.value(QStringLiteral("change_month")), 302,
                           QKeySequence(Qt::CTRL | Qt::Key_G)));
    view->addAction(tagged(m_actions.value(QStringLiteral("move_prev_month")), 303,
                           QKeySequence(Qt::ALT | Qt::Key_Left)));
    view->addAction(tagged(m_actions.value(QStringLiteral("move_next_month")), 304,
                           QKeySequence(Qt::ALT | Qt::Key_Right)));
    QAction *thisMonth = new QAction(tr("This &Month"), this);
    thisMonth->setObjectName(QStringLiteral("move_this_month"));
    connect(thisMonth, &QAction::triggered, this, &BankbookWindow::moveThisMonth);
    view->addAction(tagged(thisMonth, 305, QKeySequence(Qt::CTRL | Qt::Key_T)));
    view->addSeparator();
    view->addAction(tagged(m_actions.value(QStringLiteral("search")), 306, QKeySequence::Find));
    view->addSeparator();
    QAction *toggle = view->addAction(tr("Show/Hide Toolbar"), this, &BankbookWindow::showToolbar);
    toggle->setObjectName(QStringLiteral("showToolbar"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    view->addAction(m_standardActions.value(QStringLiteral("customize")));

    QMenu *bank = menuBar()->addMenu(tr("&Bank"));
    bank->addAction(tagged(m_actions.value(QStringLiteral("select_bank")), 400,
                           QKeySequence(Qt::CTRL | Qt::Key_B)));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *update = help->addAction(tr("Check for &Updates…"), this,
                                      &BankbookWindow::showAboutUpdateWindow);
    update->setObjectName(QStringLiteral("checkForUpdates"));

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("ledgerContextMenu"));
    QAction *markRow = m_contextMenu->addAction(text(u"Mark"), this, &BankbookWindow::markBalance);
    markRow->setObjectName(QStringLiteral("context_mark"));
    QAction *deleteRow =
        m_contextMenu->addAction(text(u"Delete"), this, &BankbookWindow::deleteBalance);
    deleteRow->setObjectName(QStringLiteral("context_delete"));
    tagged(markRow, 600);
    tagged(deleteRow, 601);
}

void BankbookWindow::updateActions()
{
    const bool selection = m_table->selectedRow() >= 0;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(m_controller->validateToolbarItem(it.key(), selection));
    for (QAction *action : std::as_const(m_menuActions)) {
        if (!m_actions.contains(action->objectName()))
            action->setEnabled(
                m_controller->validateMenuItem(action->property("menuTag").toInt(), selection));
    }
}

void BankbookWindow::refreshTitleAndStatus()
{
    setWindowTitle(m_controller->windowTitle());
    m_bankName->setText(StatusTexts::bankName(m_controller->openBank()));
    m_totals->setText(StatusTexts::totals(totalsOf(m_controller->shownList())));
    m_table->setPlaceholderText(placeholderText());
    updateActions();
}

QString BankbookWindow::placeholderText() const
{
    if (!m_controller->hasLedger())
        return tr("This bank's ledger is not open.");
    if (!m_controller->hasEntries())
        return tr("No entries yet.\nImport a JNB or eBANK statement file (%1), or drop it here.")
            .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    if (m_controller->listMode() == Controller::MonthlyList)
        return tr("No entries in this month.");
    return QString();
}

void BankbookWindow::startUp()
{
    m_controller->applicationDidFinishLaunching();
    m_table->setFocus();
    refreshTitleAndStatus();
    switch (m_controller->archiveState()) {
    case Controller::ArchiveState::Unreadable:
    case Controller::ArchiveState::Locked:
    case Controller::ArchiveState::NoDataFolder:
        showAlertSheet(m_controller->archiveError());
        break;
    default:
        break;
    }
    checkLatestVersionAtStartup();
}

// ---------------------------------------------------------------- commands

ImportReport BankbookWindow::importFile(const QString &path)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportReport report = m_controller->importBankbookFile(path);
    QGuiApplication::restoreOverrideCursor();
    statusBar()->showMessage(StatusTexts::importSummary(QFileInfo(path).fileName(), report));
    if (report.status == ImportReport::NotStatement)
        showAlertSheet(text(u"InvalBankbookFile"));
    else if (report.status != ImportReport::Imported)
        showAlertSheet(report.error);
    return report;
}

void BankbookWindow::importBalance()
{
    auto *dialog = new QFileDialog(this, text(u"BankbookFileOpen"), QDir::homePath(),
                                   tr("Statement files (*.csv);;All files (*)"));
    dialog->setObjectName(QStringLiteral("importDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setWindowModality(Qt::WindowModal);
    const QString documents = QDir::home().filePath(QStringLiteral("Documents"));
    if (QFileInfo(documents).isDir())
        dialog->selectFile(documents);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { importFile(path); });
    dialog->open();
}

void BankbookWindow::saveBalance()
{
    auto *dialog = new QFileDialog(this, text(u"BalanceFileSave"), QDir::homePath(),
                                   tr("CSV files (*.csv)"));
    dialog->setObjectName(QStringLiteral("saveDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->selectFile(m_controller->proposedExportFileName() + QStringLiteral(".csv"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        QString why;
        if (m_controller->saveBalanceInfo(path, &why))
            statusBar()->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 5000);
        else
            showAlertSheet(why);
    });
    dialog->open();
}

void BankbookWindow::confirmDeletion(const QString &name, QStringView messageKey,
                                     QStringView deleteKey, const QString &deleteName,
                                     std::function<void()> onDelete)
{
    auto *box = new QMessageBox(QMessageBox::Warning, text(u"Warning"), text(messageKey),
                                QMessageBox::NoButton, this);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    // The button that keeps the data is the default, and Escape means it too.
    QPushButton *keep = box->addButton(text(u"DontDelete"), QMessageBox::RejectRole);
    QPushButton *remove = box->addButton(text(deleteKey), QMessageBox::DestructiveRole);
    keep->setObjectName(QStringLiteral("dontDelete"));
    remove->setObjectName(deleteName);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    connect(box, &QMessageBox::buttonClicked, this,
            [remove, onDelete](QAbstractButton *button) {
                if (button == remove)
                    onDelete();
            });
    box->open();
}

void BankbookWindow::deleteBalance()
{
    if (!m_controller->validateToolbarItem(u"delete_balance", m_table->selectedRow() >= 0))
        return;
    confirmDeletion(QStringLiteral("deleteSelectedSheet"), u"SureDeleteSelectedInfo", u"Delete",
                    QStringLiteral("delete"),
                    [this] { m_controller->deleteBalanceInfoItem(m_table->selectedRow()); });
}

void BankbookWindow::deleteAllBalance()
{
    if (!m_controller->validateToolbarItem(u"delete_all", false))
        return;
    confirmDeletion(QStringLiteral("deleteAllSheet"), u"SureDeleteAllInfo", u"DeleteAll",
                    QStringLiteral("deleteAll"), [this] { m_controller->deleteAllBalance(); });
}

void BankbookWindow::switchListContents()
{
    m_controller->switchListContents();
}

void BankbookWindow::changeListOrder()
{
    m_controller->changeListOrder();
}

void BankbookWindow::changeMonthList()
{
    m_changeMonthSheet->fill(Controller::changeMonthYearText(), Controller::changeMonthMonthText());
    m_changeMonthSheet->open();
}

void BankbookWindow::movePrevMonth()
{
    m_controller->movePrevMonth();
}

void BankbookWindow::moveNextMonth()
{
    m_controller->moveNextMonth();
}

void BankbookWindow::moveThisMonth()
{
    m_controller->moveThisMonth();
}

void BankbookWindow::markBalance()
{
    const int row = m_table->selectedRow();
    if (row < 0)
        return;
    m_controller->markBalance(row);
    m_table->selectRow(row);
}

void BankbookWindow::searchBalance()
{
    m_searchSheet->keywordField()->selectAll();
    m_searchSheet->keywordField()->setFocus();
    m_searchSheet->open();
}

void BankbookWindow::selectBank()
{
    m_selectBankSheet->setCurrentBank(m_controller->currentBank());
    m_selectBankSheet->open();
}

void BankbookWindow::showAlertSheet(const QString &message)
{
    auto *box = new QMessageBox(QMessageBox::Warning, text(u"Warning"), message, QMessageBox::Ok,
                                this);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->open();
}

void BankbookWindow::showPreferences()
{
    m_preferences->showPreferences();
}

int BankbookWindow::printTo(QPagedPaintDevice *device)
{
    return LedgerPrinter::print(*m_model, m_colours, windowTitle(), device);
}

void BankbookWindow::printBalance()
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setDocName(windowTitle());
    auto *dialog = new QPrintDialog(printer, this);
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, [this, printer] { printTo(printer); });
    connect(dialog, &QObject::destroyed, this, [printer] { delete printer; });
    dialog->open();
}

void BankbookWindow::showAboutUpdateWindow()
{
    m_updateSheet->showAboutUpdateWindow();
}

void BankbookWindow::checkLatestVersionAtStartup()
{
    if (m_controller->checkLatestVersionAtStartup())
        m_startupChecker->checkLatestVersion();
}

void BankbookWindow::applyWindowStyle(int style)
{
    if (style != 1)
        return;
    // The tinted style: a soft gradient behind the toolbar and a table without a frame, so that
    // its corners meet the window square.
    m_toolBar->setStyleSheet(QStringLiteral(
        "QToolBar#MorivaToolToolbar { border: none; padding: 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 palette(midlight), stop:1 palette(mid)); }"));
    m_table->setFrameShape(QFrame::NoFrame);
    setProperty("windowStyle", style);
}

// ---------------------------------------------------------------- life

void BankbookWindow::restoreLayout()
{
    const QSettings settings = windowSettings();
    restoreGeometry(settings.value(QStringLiteral("BankbookWindow/geometry")).toByteArray());
    const QByteArray header = settings.value(QStringLiteral("BankbookWindow/columns")).toByteArray();
    if (header.isEmpty() || !m_table->horizontalHeader()->restoreState(header)) {
        const int widths[] = {96, 76, 270, 100, 100, 110, 160};
        for (int c = 0; c < BankbookTableModel::ColumnCount; ++c)
            m_table->setColumnWidth(c, widths[c]);
    }
}

void BankbookWindow::saveLayout()
{
    QSettings settings = windowSettings();
    settings.setValue(QStringLiteral("BankbookWindow/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("BankbookWindow/columns"),
                      m_table->horizontalHeader()->saveState());
    settings.setValue(QStringLiteral("MorivaToolToolbarVisible"), m_toolBar->isVisible());
}

bool BankbookWindow::saveBeforeQuit()
{
    for (;;) {
        saveLayout();
        ColourPreferences::write(m_colours);
        QString prefsError, ledgerError;
        const bool prefsSaved = m_controller->updatePreferences(&prefsError);
        const bool ledgerSaved = m_controller->saveBankbookInfoArchive(&ledgerError);
        if (prefsSaved && ledgerSaved)
            return true;
        QMessageBox box(QMessageBox::Critical, text(u"Warning"),
                        tr("Moriva could not save your data."), QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("saveFailedSheet"));
        box.setInformativeText(QStringList{ledgerError, prefsError}.join(u'\n').trimmed());
        QPushButton *retry = box.addButton(tr("Try Again"), QMessageBox::AcceptRole);
        box.addButton(tr("Stay Open"), QMessageBox::RejectRole);
        box.setDefaultButton(retry);
        box.exec();
        if (box.clickedButton() != retry)
            return false;
    }
}

void BankbookWindow::closeEvent(QCloseEvent *event)
{
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
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            importFile(url.toLocalFile());
    }
    event->acceptProposedAction();
}
