#include "WindowActions.h"

#include "BankbookWindow.h"
#include "ToolbarCustomizeDialog.h"
#include "views/Controller.h"
#include "views/Settings.h"
#include "views/StringTable.h"
#include "views/ToolbarItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
QString text(QStringView key)
{
    return StringTable::localizedString(key);
}

// A menu item that opens a dialog says so with an ellipsis.
QString withEllipsis(const QString &label)
{
    return label.endsWith(u'…') ? label : label + u'…';
}

} // namespace

QIcon WindowActions::iconFor(const QString &name)
{
    // The bundled icons only: an icon theme asked for "moriva-mark_balance" drops the name's last
    // "-part" when it has no such icon, and answers with the application's own icon "moriva",
    // which an installed Moriva puts into the theme.
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

WindowActions::WindowActions(BankbookWindow *window, Controller *controller)
    : QObject(window)
    , m_window(window)
    , m_controller(controller)
{
    createActions();
    createToolBar();
    createMenus(window->menuBar());
}

QAction *WindowActions::action(const QString &identifier) const
{
    return m_actions.value(identifier, m_standardActions.value(identifier));
}

void WindowActions::createActions()
{
    struct Command {
        const char16_t *identifier, *labelKey, *toolTipKey, *icon;
        void (BankbookWindow::*slot)();
        bool opensDialog = false; // its menu item ends in "…"
    };
    // Moriva's own toolbar items, in the order they are made.
    static const Command commands[] = {
        {u"select_bank", u"Bank", u"SelectBank", u"select_bank", &BankbookWindow::selectBank, true},
        {u"import_balance", u"Import", u"ImportBalance", u"import_balance",
         &BankbookWindow::importStatement, true},
        {u"save_balance", u"SaveInfo", u"SaveBalance", u"save_balance",
         &BankbookWindow::exportList, true},
        {u"delete_balance", u"Delete", u"DeleteBalance", u"delete_balance",
         &BankbookWindow::removeSelectedEntry, true},
        {u"delete_all", u"DeleteAll", u"DeleteAllBalance", u"delete_all",
         &BankbookWindow::removeAllEntries, true},
        {u"list", u"List", u"SwitchList", u"switch_list", &BankbookWindow::switchList},
        {u"list_order", u"ListOrder", u"ChangeListOrder", u"list_order",
         &BankbookWindow::reverseOrder},
        {u"change_month", u"ChangeMonth", u"ChangeMonthList", u"change_month",
         &BankbookWindow::changeMonth, true},
        {u"move_prev_month", u"PrevMonth", u"MovePrevMonth", u"move_prev_month",
         &BankbookWindow::showPreviousMonth},
        {u"move_next_month", u"NextMonth", u"MoveNextMonth", u"move_next_month",
         &BankbookWindow::showNextMonth},
        {u"mark_balance", u"Mark", u"MarkBalance", u"mark_balance", &BankbookWindow::toggleMark},
        {u"search", u"Search", u"SearchBalance", u"search", &BankbookWindow::search, true},
        {u"preferences", u"Preferences", u"ShowPreferences", u"preferences",
         &BankbookWindow::showPreferences, true},
    };
    for (const Command &command : commands) {
        const QString identifier = QString::fromUtf16(command.identifier);
        const QString label = text(command.labelKey);
        auto *action = new QAction(iconFor(QString::fromUtf16(command.icon)),
                                   command.opensDialog ? withEllipsis(label) : label, this);
        action->setIconText(label); // the toolbar's label
        action->setObjectName(identifier);
        action->setToolTip(text(command.toolTipKey));
        action->setStatusTip(text(command.toolTipKey));
        action->setData(identifier);
        connect(action, &QAction::triggered, m_window, command.slot);
        m_actions.insert(identifier, action);
    }
    // Mark shows whether the selected entry is marked; updateEnabled() keeps that true.
    m_actions.value(QStringLiteral("mark_balance"))->setCheckable(true);

    // The standard items' commands.
    QAction *print = new QAction(iconFor(QStringLiteral("print")), tr("Print…"), this);
    print->setIconText(tr("Print"));
    print->setObjectName(QStringLiteral("print"));
    print->setToolTip(tr("Print the shown list"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, m_window, &BankbookWindow::print);
    m_standardActions.insert(QStringLiteral("print"), print);
    QAction *customize =
        new QAction(iconFor(QStringLiteral("customize")), tr("Customize Toolbar…"), this);
    customize->setIconText(tr("Customize"));
    customize->setObjectName(QStringLiteral("customize"));
    customize->setToolTip(tr("Arrange the toolbar"));
    connect(customize, &QAction::triggered, this, &WindowActions::customizeToolbar);
    m_standardActions.insert(QStringLiteral("customize"), customize);
}

void WindowActions::addItem(QAction *action)
{
    m_standardActions.insert(action->objectName(), action);
    setArrangement(m_arrangement); // a stored arrangement may hold it already
}

void WindowActions::createToolBar()
{
    m_toolBar = m_window->addToolBar(Settings::key(Settings::ToolbarArrangement));
    m_toolBar->setObjectName(QStringLiteral("MorivaToolToolbar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    const QSettings settings = Settings::store();
    const QVariant stored = settings.value(Settings::key(Settings::ToolbarArrangement));
    setArrangement(ToolbarItems::sanitized(stored.toStringList(), stored.isValid()));
    m_toolBar->setVisible(settings.value(Settings::key(Settings::ToolbarVisible), true).toBool());
}

void WindowActions::setArrangement(const QStringList &arrangement)
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
        } else if (QAction *item = action(id)) {
            m_toolBar->addAction(item);
        }
    }
}

std::pair<QString, QIcon> WindowActions::describe(const QString &id) const
{
    if (id == u"separator")
        return {tr("Separator"), QIcon()};
    if (id == u"space")
        return {tr("Space"), QIcon()};
    if (id == u"flexible_space")
        return {tr("Flexible Space"), QIcon()};
    const QAction *item = action(id);
    if (!item)
        return {id, QIcon()};
    // The palette shows the longer description of Moriva's own items.
    return {m_actions.contains(id) ? item->toolTip() : item->iconText(), item->icon()};
}

void WindowActions::customizeToolbar()
{
    auto *dialog = new ToolbarCustomizeDialog(
        m_arrangement, [this](const QString &id) { return describe(id); }, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        setArrangement(dialog->arrangement());
        QSettings settings = Settings::store();
        settings.setValue(Settings::key(Settings::ToolbarArrangement), m_arrangement);
    });
    dialog->open();
}

void WindowActions::toggleToolbar()
{
    m_showToolbar->trigger();
}

void WindowActions::saveToolbarVisibility() const
{
    QSettings settings = Settings::store();
    settings.setValue(Settings::key(Settings::ToolbarVisible), m_toolBar->isVisible());
}

QAction *WindowActions::tagged(QAction *action, int tag, const QKeySequence &keys)
{
    action->setProperty("menuTag", tag);
    if (!keys.isEmpty())
        action->setShortcut(keys);
    m_menuActions.append(action);
    return action;
}

void WindowActions::createMenus(QMenuBar *bar)
{
    const auto own = [this](const char *id) { return m_actions.value(QString::fromLatin1(id)); };

    QMenu *file = bar->addMenu(tr("&File"));
    file->addAction(tagged(own("import_balance"), 100, QKeySequence::Open));
    file->addAction(tagged(own("save_balance"), 102, QKeySequence::Save));
    file->addSeparator();
    file->addAction(m_standardActions.value(QStringLiteral("print")));
    file->addSeparator();
    QAction *prefs = own("preferences");
    prefs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    prefs->setMenuRole(QAction::PreferencesRole);
    file->addAction(prefs);
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"), m_window, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = bar->addMenu(tr("&Edit"));
    m_undo = new QAction(this);
    m_undo->setObjectName(QStringLiteral("undo"));
    connect(m_undo, &QAction::triggered, m_controller, &Controller::undo);
    edit->addAction(tagged(m_undo, 210, QKeySequence::Undo));
    m_redo = new QAction(this);
    m_redo->setObjectName(QStringLiteral("redo"));
    connect(m_redo, &QAction::triggered, m_controller, &Controller::redo);
    edit->addAction(tagged(m_redo, 211, QKeySequence::Redo));
    edit->addSeparator();
    edit->addAction(tagged(own("mark_balance"), 200, QKeySequence(Qt::CTRL | Qt::Key_M)));
    edit->addAction(tagged(own("delete_balance"), 201, QKeySequence::Delete));
    edit->addAction(tagged(own("delete_all"), 202));
    edit->addSeparator();
    QAction *revert = new QAction(tr("Revert to Bank's Text"), this);
    revert->setObjectName(QStringLiteral("revert_summary"));
    connect(revert, &QAction::triggered, m_window, &BankbookWindow::revertSummary);
    edit->addAction(tagged(revert, 203));

    QMenu *view = bar->addMenu(tr("&View"));
    m_viewMenu = view;
    view->addAction(tagged(own("list"), 301, QKeySequence(Qt::CTRL | Qt::Key_L)));
    view->addAction(tagged(own("list_order"), 300, QKeySequence(Qt::CTRL | Qt::Key_R)));
    view->addSeparator();
    view->addAction(tagged(own("change_month"), 302, QKeySequence(Qt::CTRL | Qt::Key_G)));
    view->addAction(tagged(own("move_prev_month"), 303, QKeySequence(Qt::ALT | Qt::Key_Left)));
    view->addAction(tagged(own("move_next_month"), 304, QKeySequence(Qt::ALT | Qt::Key_Right)));
    QAction *thisMonth = new QAction(tr("This &Month"), this);
    thisMonth->setObjectName(QStringLiteral("move_this_month"));
    connect(thisMonth, &QAction::triggered, m_window, &BankbookWindow::showThisMonth);
    view->addAction(tagged(thisMonth, 305, QKeySequence(Qt::CTRL | Qt::Key_T)));
    view->addSeparator();
    view->addAction(tagged(own("search"), 306, QKeySequence::Find));
    view->addSeparator();
    // The toolbar's own toggle stays checked while the toolbar is shown, however it came to be
    // shown or hidden; a toolbar hidden before its first showing has not told it yet.
    m_showToolbar = m_toolBar->toggleViewAction();
    m_showToolbar->setText(tr("Show Toolbar"));
    m_showToolbar->setObjectName(QStringLiteral("showToolbar"));
    m_showToolbar->setChecked(!m_toolBar->isHidden());
    m_showToolbar->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    view->addAction(m_showToolbar);
    view->addAction(m_standardActions.value(QStringLiteral("customize")));

    QMenu *bank = bar->addMenu(tr("&Bank"));
    bank->addAction(tagged(own("select_bank"), 400, QKeySequence(Qt::CTRL | Qt::Key_B)));

    QMenu *help = bar->addMenu(tr("&Help"));
    QAction *update =
        help->addAction(tr("Check for &Updates…"), m_window, &BankbookWindow::showUpdateSheet);
    update->setObjectName(QStringLiteral("checkForUpdates"));
    help->addSeparator();
    QAction *about = help->addAction(tr("&About Moriva…"), m_window, &BankbookWindow::showAbout);
    about->setObjectName(QStringLiteral("about"));
    about->setMenuRole(QAction::AboutRole);

    m_contextMenu = new QMenu(m_window);
    m_contextMenu->setObjectName(QStringLiteral("ledgerContextMenu"));
    QAction *markRow = m_contextMenu->addAction(text(u"Mark"), m_window, &BankbookWindow::toggleMark);
    markRow->setObjectName(QStringLiteral("context_mark"));
    markRow->setCheckable(true);
    QAction *deleteRow = m_contextMenu->addAction(withEllipsis(text(u"Delete")), m_window,
                                                  &BankbookWindow::removeSelectedEntry);
    deleteRow->setObjectName(QStringLiteral("context_delete"));
    QAction *revertRow = m_contextMenu->addAction(tr("Revert to Bank's Text"), m_window,
                                                  &BankbookWindow::revertSummary);
    revertRow->setObjectName(QStringLiteral("context_revert_summary"));
    tagged(markRow, 600);
    tagged(deleteRow, 601);
    tagged(revertRow, 602);
}

void WindowActions::updateEnabled(int selectedRow)
{
    const bool hasSelection = selectedRow >= 0;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(m_controller->isToolbarItemEnabled(it.key(), hasSelection));
    for (QAction *item : std::as_const(m_menuActions)) {
        if (!m_actions.contains(item->objectName()))
            item->setEnabled(
                m_controller->isMenuItemEnabled(item->property("menuTag").toInt(), selectedRow));
    }
    // The steps' names may hold a file name: an "&" there is no mnemonic.
    const auto menuText = [](QString text) { return text.replace(u'&', QStringLiteral("&&")); };
    m_undo->setText(menuText(m_controller->history().undoText()));
    m_redo->setText(menuText(m_controller->history().redoText()));
    // A checkable action flips itself when triggered: the ledger decides.
    const bool marked = m_controller->isMarkChecked(selectedRow);
    for (QAction *item : std::as_const(m_menuActions)) {
        if (item->isCheckable())
            item->setChecked(marked);
    }
}
