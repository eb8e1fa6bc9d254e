#include "WindowActions.h"

#include "BankbookWindow.h"
#include "ToolbarCustomizeDialog.h"
#include "views/Commands.h"
#include "views/Controller.h"
#include "views/Settings.h"
#include "views/StringTable.h"
#include "views/ToolbarItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
QString text(QStringView key)
{
    return StringTable::localizedString(key);
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

void WindowActions::createActions()
{
    // What each command does; "summary" and "show_ledger" are the view switcher's to connect,
    // "showToolbar" is the toolbar's own toggle.
    const QHash<QString, std::function<void()>> run{
        {u"import_balance"_s, [w = m_window] { w->importStatement(); }},
        {u"save_balance"_s, [w = m_window] { w->exportList(); }},
        {u"print"_s, [w = m_window] { w->print(); }},
        {u"preferences"_s, [w = m_window] { w->showPreferences(); }},
        {u"quit"_s, [w = m_window] { w->close(); }},
        {u"undo"_s, [c = m_controller] { c->undo(); }},
        {u"redo"_s, [c = m_controller] { c->redo(); }},
        {u"mark_balance"_s, [w = m_window] { w->toggleMark(); }},
        {u"delete_balance"_s, [w = m_window] { w->removeSelectedEntry(); }},
        {u"revert_summary"_s, [w = m_window] { w->revertSummary(); }},
        {u"list"_s, [w = m_window] { w->switchList(); }},
        {u"list_order"_s, [w = m_window] { w->reverseOrder(); }},
        {u"change_month"_s, [w = m_window] { w->changeMonth(); }},
        {u"move_prev_month"_s, [w = m_window] { w->showPreviousMonth(); }},
        {u"move_next_month"_s, [w = m_window] { w->showNextMonth(); }},
        {u"move_this_month"_s, [w = m_window] { w->showThisMonth(); }},
        {u"search"_s, [w = m_window] { w->search(); }},
        {u"customize"_s, [this] { customizeToolbar(); }},
        {u"select_bank"_s, [w = m_window] { w->selectBank(); }},
        {u"balance_gaps"_s, [w = m_window] { w->showBalanceGaps(); }},
        {u"rejected_lines"_s, [w = m_window] { w->showRejectedLines(); }},
        {u"delete_all"_s, [w = m_window] { w->removeAllEntries(); }},
        {u"checkForUpdates"_s, [w = m_window] { w->showUpdateSheet(); }},
        {u"about"_s, [w = m_window] { w->showAbout(); }},
    };
    for (const Commands::Command &command : Commands::all()) {
        const QString id = QString::fromUtf16(command.identifier);
        auto *action = new QAction(Commands::menuText(command), this);
        action->setObjectName(id);
        action->setData(id);
        if (command.icon)
            action->setIcon(iconFor(QString::fromUtf16(command.icon)));
        // The toolbar's label: the short one, or the menu's without its access letter and "…".
        action->setIconText(command.label ? text(command.label)
                                          : QString(action->text())
                                                .remove(QRegularExpression(u"\\(&.\\)"_s))
                                                .remove(u'&')
                                                .remove(u'…'));
        if (command.toolTip) {
            action->setToolTip(text(command.toolTip));
            action->setStatusTip(text(command.toolTip));
        }
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.shortcut),
                                                          QKeySequence::PortableText));
        if (const auto slot = run.value(id))
            connect(action, &QAction::triggered, this, slot);
        m_actions.insert(id, action);
    }
    // Mark shows whether the selected entry is marked; updateEnabled() keeps that true.
    action(u"mark_balance"_s)->setCheckable(true);
    action(u"preferences"_s)->setMenuRole(QAction::PreferencesRole);
    action(u"quit"_s)->setMenuRole(QAction::QuitRole);
    action(u"about"_s)->setMenuRole(QAction::AboutRole);
    m_contextMenu = new QMenu(m_window);
    m_contextMenu->setObjectName(u"ledgerContextMenu"_s);
    for (const char16_t *id : {u"mark_balance", u"delete_balance", u"revert_summary"})
        m_contextMenu->addAction(action(QString::fromUtf16(id)));
}

void WindowActions::createToolBar()
{
    m_toolBar = m_window->addToolBar(Settings::key(Settings::ToolbarArrangement));
    m_toolBar->setObjectName(QStringLiteral("MorivaToolToolbar"));
    m_toolBar->setAccessibleName(tr("Toolbar"));
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
    const Commands::Command *command = Commands::find(id);
    return {command && command->label ? item->toolTip() : item->iconText(), item->icon()};
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
    action(u"showToolbar"_s)->trigger();
}

void WindowActions::saveToolbarVisibility() const
{
    QSettings settings = Settings::store();
    settings.setValue(Settings::key(Settings::ToolbarVisible), m_toolBar->isVisible());
}

void WindowActions::createMenus(QMenuBar *bar)
{
    // The toolbar's own toggle stays checked while the toolbar is shown, however it came to be
    // shown or hidden; a toolbar hidden before its first showing has not told it yet.
    QAction *toggle = m_toolBar->toggleViewAction();
    QAction *row = m_actions.take(u"showToolbar"_s);
    toggle->setText(row->text());
    toggle->setObjectName(row->objectName());
    toggle->setShortcut(row->shortcut());
    toggle->setChecked(!m_toolBar->isHidden());
    m_actions.insert(toggle->objectName(), toggle);
    delete row;

    using enum Commands::Menu;
    QHash<Commands::Menu, QMenu *> menus;
    for (const Commands::Menu menu : {File, Edit, View, Bank, Help})
        menus.insert(menu, bar->addMenu(Commands::menuTitle(menu)));
    for (const Commands::Command &command : Commands::all()) {
        QMenu *menu = menus.value(command.menu);
        if (!menu)
            continue;
        if (command.separatorBefore && !menu->isEmpty())
            menu->addSeparator();
        menu->addAction(action(QString::fromUtf16(command.identifier)));
    }
}

void WindowActions::updateEnabled(int selectedRow, bool summaryShown, bool hasRejectedLines)
{
    // While the Summary is shown the table's selection is out of sight: nothing acts on it.
    m_state = m_controller->commandState(summaryShown ? -1 : selectedRow);
    m_state.summaryShown = summaryShown;
    m_state.hasRejectedLines = hasRejectedLines;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(CommandRules::isEnabled(it.key(), m_state));
    // The steps' names ("Undo Import of NBG.csv") keep the plain command's access letter; an "&"
    // in a file name is no access letter.
    const auto stepText = [](QString name, const char16_t *id) {
        name.replace(u'&', u"&&"_s);
        const QString plain = Commands::menuText(*Commands::find(id));
        static const QRegularExpression suffix(u"\\(&.\\)$"_s);
        const QRegularExpressionMatch letter = suffix.match(plain);
        return letter.hasMatch() ? name + letter.captured() : u'&' + name;
    };
    action(u"undo"_s)->setText(stepText(m_controller->undoText(), u"undo"));
    action(u"redo"_s)->setText(stepText(m_controller->redoText(), u"redo"));
    // A checkable action flips itself when triggered: the ledger decides.
    action(u"mark_balance"_s)->setChecked(
        !summaryShown && m_controller->isMarkChecked(selectedRow));
}

bool WindowActions::isEnabled(const QString &identifier) const
{
    return CommandRules::isEnabled(identifier, m_state);
}
