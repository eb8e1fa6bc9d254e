#pragma once

#include "CliOptions.h"

// The exit statuses of moriva-cli.
enum CliExitStatus : int { ExitSuccess = 0, ExitFailure = 1, ExitUsageError = 2 };

// Each command drives a Controller the way the desktop app does, reports on stdout and stderr
// and answers the exit status. The ledger and the data folder lock are released on return.

// Imports the files into their banks' ledgers, then saves the ledger and the preferences as the
// app does at quit.
int runImport(const QStringList &files);
// Prints the selected list; writes nothing to the data folder or the preferences.
int runList(const ListSelection &selection, ListFormat format);
// Writes the selected list as the app's "Save List" does, in the stored export encoding.
int runExport(const ListSelection &selection, const QString &outputPath);
// Lists the bank's backups, newest first: file, date, entries.
int runListBackups(Bank bank);
// Replaces the bank's archive by the named backup or the newest readable one.
int runRestore(Bank bank, const QString &backup);
// Verifies both banks' archives: failure when one is damaged.
int runCheck();
// Prints the gaps in the selected bank's balances; success whether or not there are any.
int runGaps(Bank bank, ListFormat format);
// Prints the selected bank's totals by period (or by summary kind); an empty range is no failure.
int runReport(Bank bank, const ReportSelection &report, ListFormat format);
