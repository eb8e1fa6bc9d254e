#include "Preferences.h"

#include <QCoreApplication>
#include <QSettings>

Preferences Preferences::read()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Moriva"),
                          QStringLiteral("Moriva"));
    Preferences p;
    p.listOrderRule = store.value(QStringLiteral("MVListOrderRule"), 0).toInt();
    p.tableViewKind = store.value(QStringLiteral("MVBankbookTableViewKind"), 0).toInt();
    p.windowStyle = store.value(QStringLiteral("MVBankbookWindowStyle"), 0).toInt();
    p.currentBank = store.value(QStringLiteral("MVCurrentBankKind"), 0).toInt();
    if (p.currentBank == 0)
        p.currentBank = 1;
    p.checkLatestVersionAtStartup =
        store.value(QStringLiteral("MVCheckLatestVersionAtStartup"), false).toBool();
    p.exportEncoding = store.value(QStringLiteral("MVExportEncoding"), 0).toInt();
    return p;
}

bool Preferences::write(QString *error) const
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Moriva"),
                    QStringLiteral("Moriva"));
    store.setValue(QStringLiteral("MVListOrderRule"), listOrderRule);
    store.setValue(QStringLiteral("MVBankbookTableViewKind"), tableViewKind);
    store.setValue(QStringLiteral("MVBankbookWindowStyle"), windowStyle);
    store.setValue(QStringLiteral("MVCurrentBankKind"), currentBank);
    store.setValue(QStringLiteral("MVCheckLatestVersionAtStartup"), checkLatestVersionAtStartup);
    store.setValue(QStringLiteral("MVExportEncoding"), exportEncoding);
    store.sync();
    if (store.status() != QSettings::NoError) {
        if (error)
            *error = QCoreApplication::translate("Preferences", "Cannot write the settings file %1.")
                         .arg(store.fileName());
        return false;
    }
    return true;
}
