// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include <QCoreApplication>

namespace Commands {
namespace {

using enum Rule;
using enum Menu;

// clang-format off
const QList<Command> kCommands{
    // identifier, menu text, toolbar label, tooltip, icon, shortcut, rule, menu, separator, ledger only
    {u"import_balance", QT_TRANSLATE_NOOP("Commands", "&Import…"), u"Import", u"ImportBalance", u"import_balance", "Ctrl+O", Always, File, false, false},
    {u"save_balance", QT_TRANSLATE_NOOP("Commands", "&Save List…"), u"SaveInfo", u"SaveBalance", u"save_balance", "Ctrl+S", NeedsEntries, File, false, true},
    {u"print", QT_TRANSLATE_NOOP("Commands", "&Print…"), nullptr, nullptr, u"print", "Ctrl+P", Always, File, true, false},
    {u"preferences", QT_TRANSLATE_NOOP("Commands", "Pr&eferences…"), u"Preferences", u"ShowPreferences", u"preferences", "Ctrl+,", Always, File, true, false},
    {u"quit", QT_TRANSLATE_NOOP("Commands", "&Quit"), nullptr, nullptr, nullptr, "Ctrl+Q", Always, File, true, false},

    {u"undo", QT_TRANSLATE_NOOP("Commands", "&Undo"), nullptr, nullptr, nullptr, "Ctrl+Z", CanUndo, Edit, false, false},
    {u"redo", QT_TRANSLATE_NOOP("Commands", "&Redo"), nullptr, nullptr, nullptr, "Ctrl+Shift+Z; Ctrl+Y", CanRedo, Edit, false, false},
    {u"mark_balance", QT_TRANSLATE_NOOP("Commands", "&Mark"), u"Mark", u"MarkBalance", u"mark_balance", "Ctrl+M", NeedsSelection, Edit, true, true},
    {u"delete_balance", QT_TRANSLATE_NOOP("Commands", "&Delete…"), u"Delete", u"DeleteBalance", u"delete_balance", "Del", NeedsSelection, Edit, false, true},
    {u"revert_summary", QT_TRANSLATE_NOOP("Commands", "Re&vert to Bank's Text"), nullptr, nullptr, nullptr, "", NeedsEditedSummary, Edit, true, true},

    {u"show_ledger", QT_TRANSLATE_NOOP("Commands", "&Ledger"), nullptr, nullptr, nullptr, "Ctrl+1", Always, View, false, false},
    {u"summary", QT_TRANSLATE_NOOP("Commands", "S&ummary"), nullptr, nullptr, u"summary", "Ctrl+2", Always, View, false, false},
    {u"list", QT_TRANSLATE_NOOP("Commands", "S&witch List"), u"List", u"SwitchList", u"switch_list", "Ctrl+L", Always, View, true, true},
    {u"list_order", QT_TRANSLATE_NOOP("Commands", "Reverse &Order"), u"ListOrder", u"ChangeListOrder", u"list_order", "Ctrl+R", NeedsEntries, View, false, true},
    {u"change_month", QT_TRANSLATE_NOOP("Commands", "&Go to Month…"), u"ChangeMonth", u"ChangeMonthList", u"change_month", "Ctrl+G", NeedsEntries, View, true, true},
    {u"move_prev_month", QT_TRANSLATE_NOOP("Commands", "&Previous Month"), u"PrevMonth", u"MovePrevMonth", u"move_prev_month", "Alt+Left", HasPreviousMonth, View, false, true},
    {u"move_next_month", QT_TRANSLATE_NOOP("Commands", "&Next Month"), u"NextMonth", u"MoveNextMonth", u"move_next_month", "Alt+Right", HasNextMonth, View, false, true},
    {u"move_this_month", QT_TRANSLATE_NOOP("Commands", "&This Month"), nullptr, nullptr, nullptr, "Ctrl+T", NeedsEntries, View, false, true},
    {u"search", QT_TRANSLATE_NOOP("Commands", "&Search…"), u"Search", u"SearchBalance", u"search", "Ctrl+F", NeedsEntries, View, true, true},
    {u"showToolbar", QT_TRANSLATE_NOOP("Commands", "Show Tool&bar"), nullptr, nullptr, nullptr, "Ctrl+Alt+T", Always, View, true, false},
    {u"customize", QT_TRANSLATE_NOOP("Commands", "&Customize Toolbar…"), nullptr, nullptr, u"customize", "", Always, View, false, false},

    // Choose Bank comes first and is always on: Alt+B, Return never reaches Delete All.
    {u"select_bank", QT_TRANSLATE_NOOP("Commands", "&Choose Bank…"), u"Bank", u"SelectBank", u"select_bank", "Ctrl+B", Always, Bank, false, false},
    {u"balance_gaps", QT_TRANSLATE_NOOP("Commands", "Balance &Gaps…"), nullptr, nullptr, nullptr, "", NeedsEntries, Bank, true, false},
    {u"rejected_lines", QT_TRANSLATE_NOOP("Commands", "&Rejected Lines…"), nullptr, nullptr, nullptr, "", HasRejectedLines, Bank, false, false},
    {u"delete_all", QT_TRANSLATE_NOOP("Commands", "Delete &All Entries…"), u"DeleteAll", u"DeleteAllBalance", u"delete_all", "", NeedsEntries, Bank, true, false},

    {u"checkForUpdates", QT_TRANSLATE_NOOP("Commands", "Check for &Updates…"), nullptr, nullptr, nullptr, "", Always, Help, false, false},
    {u"about", QT_TRANSLATE_NOOP("Commands", "&About Moriva…"), nullptr, nullptr, nullptr, "", Always, Help, true, false},
};
// clang-format on

} // namespace

const QList<Command> &all()
{
    return kCommands;
}

const Command *find(QStringView identifier)
{
    for (const Command &command : kCommands) {
        if (identifier == QStringView(command.identifier))
            return &command;
    }
    return nullptr;
}

QString menuText(const Command &command)
{
    return QCoreApplication::translate("Commands", command.menuText);
}

QString menuTitle(Menu menu)
{
    switch (menu) {
    case File: return QCoreApplication::translate("Commands", "&File");
    case Edit: return QCoreApplication::translate("Commands", "&Edit");
    case View: return QCoreApplication::translate("Commands", "&View");
    case Bank: return QCoreApplication::translate("Commands", "&Bank");
    case Help: return QCoreApplication::translate("Commands", "&Help");
    case None: break;
    }
    return QString();
}

} // namespace Commands
