// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileLocations.h"

#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileLocations {
namespace {

QString firstFolder(const char *key, QStandardPaths::StandardLocation fallback)
{
    const QString remembered = Settings::store().value(Settings::key(key)).toString();
    for (const QString &folder :
         {remembered, QStandardPaths::writableLocation(fallback), QDir::homePath()}) {
        // The standard location may be the home folder itself when it lacks the folder.
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

void remember(const char *key, const QString &chosenFile)
{
    Settings::store().setValue(Settings::key(key), QFileInfo(chosenFile).absolutePath());
}

} // namespace

QString exportFileName(const QString &bank, const QString &list)
{
    //: A saved list's proposed name: the account (%1) and the list's name (%2).
    return QCoreApplication::translate("FileLocations", "%1 %2").arg(bank, list);
}

QString importFolder()
{
    return firstFolder(Settings::ImportFolder, QStandardPaths::DownloadLocation);
}

QString saveFolder()
{
    return firstFolder(Settings::SaveFolder, QStandardPaths::DocumentsLocation);
}

void rememberImport(const QString &chosenFile)
{
    remember(Settings::ImportFolder, chosenFile);
}

void rememberSave(const QString &chosenFile)
{
    remember(Settings::SaveFolder, chosenFile);
}

} // namespace FileLocations
