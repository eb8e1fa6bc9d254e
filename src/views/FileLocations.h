// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the Import and Save dialogs open: the folder they were last used in, while it exists;
// otherwise Downloads (where the banks' statements arrive) for Import, Documents for Save, and
// the home folder when those are missing.
namespace FileLocations {

// A saved list's proposed name: the account and the list's own name ("JNB Bankbook 2026-03").
QString exportFileName(const QString &bank, const QString &list);

QString importFolder();
QString saveFolder();
// Keeps the folder of a file chosen.
void rememberImport(const QString &chosenFile);
void rememberSave(const QString &chosenFile);

} // namespace FileLocations
