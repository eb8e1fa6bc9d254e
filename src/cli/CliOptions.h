#pragma once

#include "ListFormats.h"
#include "ledger/Bank.h"
#include "ledger/PeriodReport.h"

#include <QString>
#include <QStringList>

#include <optional>

// Which entries `list` and `export` show and in what order. Everything left unset comes from
// the preferences: the current bank and the list order rule.
struct ListSelection {
    Bank bank = Bank::None; // none: the current bank
    int year = 0;          // with month: the monthly list of that month
    int month = 0;         // 0 when no month was asked for
    std::optional<QString> keyword; // the search list of that keyword
    std::optional<Qt::SortOrder> order;
};

// What `report` sums: by month or year, or by summary kind within each month, over a range.
struct ReportSelection {
    PeriodReport::Span span = PeriodReport::Span::Month;
    bool byKind = false;
    PeriodReport::MonthRange range;
};

struct CliRequest {
    enum Command { Import, List, Export, ListBackups, Restore, Check, Gaps, Report };
    Command command = List;
    QStringList files;  // import: the statement files
    QString outputPath; // export: the CSV file to write; restore: the backup, if one is named
    ListSelection selection;
    ReportSelection report;
    ListFormat format = ListFormat::Table;
};

// What the command line asks for: a command to run, the help or version text to print, or a
// usage error (text holds the message).
struct ParsedCommandLine {
    enum Kind { Run, Help, Version, UsageError };
    Kind kind = Run;
    CliRequest request;
    QString text;
};

ParsedCommandLine parseCommandLine(const QStringList &arguments);
