#include "Preferences.h"

#include "Settings.h"

#include <QCoreApplication>

Preferences Preferences::read()
{
    using namespace Settings;
    const QSettings settings = store();
    const auto number = [&settings](const char *name) {
        return settings.value(key(name), 0).toInt();
    };
    Preferences p;
    // Numbers are kept as stored, also unexpected ones, so that writing them back changes
    // nothing; each use treats an unexpected number as the default.
    p.listOrder = Qt::SortOrder(number(ListOrderKey));
    p.listMode = ListMode(number(ListModeKey));
    p.month = number(MonthShown);
    p.windowStyle = number(WindowStyle);
    p.bank = Bank(number(CurrentBank));
    if (p.bank == Bank::None)
        p.bank = Bank::Jnb;
    p.checkForUpdatesAtStart = settings.value(key(CheckForUpdatesAtStart), false).toBool();
    p.exportEncoding = LedgerExport::Encoding(number(ExportEncoding));
    return p;
}

bool Preferences::write(QString *error) const
{
    using namespace Settings;
    QSettings settings = store();
    settings.setValue(key(ListOrderKey), int(listOrder));
    settings.setValue(key(ListModeKey), int(listMode));
    settings.setValue(key(MonthShown), month);
    settings.setValue(key(WindowStyle), windowStyle);
    settings.setValue(key(CurrentBank), int(bank));
    settings.setValue(key(CheckForUpdatesAtStart), checkForUpdatesAtStart);
    settings.setValue(key(ExportEncoding), int(exportEncoding));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        if (error)
            *error = QCoreApplication::translate("Preferences", "Cannot write the settings file %1.")
                         .arg(settings.fileName());
        return false;
    }
    return true;
}
