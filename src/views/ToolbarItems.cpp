#include "ToolbarItems.h"

#include "Commands.h"

#include <QSet>

namespace ToolbarItems {

QStringList ownItems()
{
    // The commands with a toolbar label of their own.
    QStringList items;
    for (const Commands::Command &command : Commands::all()) {
        if (command.label)
            items.append(QString::fromUtf16(command.identifier));
    }
    return items;
}

QStringList defaultArrangement()
{
    const QString separator = QStringLiteral("separator");
    return {QStringLiteral("select_bank"),  QStringLiteral("import_balance"),
            QStringLiteral("save_balance"), separator,
            QStringLiteral("list"),         QStringLiteral("list_order"),
            QStringLiteral("search"),       QStringLiteral("summary"),
            separator,                      QStringLiteral("change_month"), QStringLiteral("move_prev_month"),
            QStringLiteral("move_next_month"), separator,
            QStringLiteral("mark_balance"), QStringLiteral("delete_balance")};
}

QStringList allowedItems()
{
    return {QStringLiteral("select_bank"),    QStringLiteral("import_balance"),
            QStringLiteral("save_balance"),   QStringLiteral("list"),
            QStringLiteral("list_order"),     QStringLiteral("search"),
            QStringLiteral("change_month"),   QStringLiteral("move_prev_month"),
            QStringLiteral("move_next_month"), QStringLiteral("mark_balance"),
            QStringLiteral("delete_balance"), QStringLiteral("delete_all"),
            QStringLiteral("preferences"),    QStringLiteral("summary"),
            QStringLiteral("separator"),
            QStringLiteral("print"),          QStringLiteral("space"),
            QStringLiteral("flexible_space"), QStringLiteral("customize")};
}

bool isStandardItem(const QString &identifier)
{
    return identifier == u"separator" || identifier == u"space" || identifier == u"flexible_space"
           || identifier == u"print" || identifier == u"customize";
}

bool isRepeatable(const QString &identifier)
{
    return identifier == u"separator" || identifier == u"space" || identifier == u"flexible_space";
}

QStringList sanitized(const QStringList &stored, bool storedPresent)
{
    if (!storedPresent)
        return defaultArrangement();
    const QStringList allowed = allowedItems();
    QSet<QString> seen;
    QStringList result;
    for (const QString &id : stored) {
        if (!allowed.contains(id))
            continue;
        if (!isRepeatable(id) && seen.contains(id))
            continue;
        seen.insert(id);
        result.append(id);
    }
    return result;
}

} // namespace ToolbarItems
