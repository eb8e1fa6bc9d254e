#include "CliOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("moriva-cli", text);
}

const QString kDescription = u"Imports bank statements into Moriva's ledgers and prints or "
                             u"exports their entries.\n"
                             u"\n"
                             u"Commands:\n"
                             u"  import FILE...   import JNB (\"NBG\" in the path) and eBANK "
                             u"(\"eBANK\" in the path) statement files\n"
                             u"  list             print the entries of a ledger\n"
                             u"  export OUT.csv   write the entries of a ledger as CSV\n"
                             u"  backups          list the backups of the ledger database\n"
                             u"  restore [BACKUP] replace the ledger database by its newest "
                             u"readable backup, or the one named\n"
                             u"  check            verify the ledger database\n"
                             u"  gaps             list where a ledger's balances do not follow "
                             u"one another (statement lines missing)\n"
                             u"  report           totals of a ledger by month, year or summary "
                             u"kind: entries, paid out, paid in, net, closing balance\n"
                             u"\n"
                             u"list and export show the whole ledger, one month (--month) or the "
                             u"entries whose summary holds a keyword (--search).\n"
                             u"\n"
                             u"Exit status: 0 success, 1 failure, 2 usage error."_s;

ParsedCommandLine usageError(const QString &message)
{
    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::UsageError;
    parsed.text = message;
    return parsed;
}

std::optional<Bank> bankFromName(const QString &name)
{
    if (name.compare(u"jnb", Qt::CaseInsensitive) == 0)
        return Bank::Jnb;
    if (name.compare(u"ebank", Qt::CaseInsensitive) == 0)
        return Bank::Ebank;
    return std::nullopt;
}

// "YYYY-MM" (or "YYYY-M") with a month from 1 to 12.
bool parseMonth(const QString &text, int *year, int *month)
{
    static const QRegularExpression pattern(u"^(\\d{4})-(\\d{1,2})$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *year = match.captured(1).toInt();
    *month = match.captured(2).toInt();
    return *year >= 1 && *month >= 1 && *month <= 12;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption bank(u"bank"_s, tr("The ledger to use (default: the current bank)."),
                                  u"jnb|ebank"_s);
    const QCommandLineOption month(u"month"_s, tr("Show the entries of one month."),
                                   u"YYYY-MM"_s);
    const QCommandLineOption search(u"search"_s,
                                    tr("Show the entries whose summary holds the keyword."),
                                    u"KEYWORD"_s);
    const QCommandLineOption order(
        u"order"_s, tr("Oldest first (asc) or newest first (desc); default: the stored order."),
        u"asc|desc"_s);
    const QCommandLineOption format(
        u"format"_s, tr("How list, gaps and report print (default: table)."), u"csv|json|table"_s);
    const QCommandLineOption by(u"by"_s, tr("What report sums by (default: month)."),
                                u"month|year|kind"_s);
    const QCommandLineOption from(u"from"_s, tr("The first month report covers."), u"YYYY-MM"_s);
    const QCommandLineOption to(u"to"_s, tr("The last month report covers."), u"YYYY-MM"_s);
    parser.addOptions({bank, month, search, order, format, by, from, to});
    parser.addPositionalArgument(u"command"_s,
                                 tr("import, list, export, backups, restore, check, gaps or report."));
    parser.addPositionalArgument(u"arguments"_s,
                                 tr("The statement files, or the CSV file to write."),
                                 u"[FILE...|OUT.csv]"_s);

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        ParsedCommandLine parsed;
        parsed.kind = ParsedCommandLine::Help;
        parsed.text = parser.helpText();
        return parsed;
    }
    if (parser.isSet(version)) {
        ParsedCommandLine parsed;
        parsed.kind = ParsedCommandLine::Version;
        parsed.text = QCoreApplication::applicationName() + u' '
                      + QCoreApplication::applicationVersion();
        return parsed;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(tr("No command given; try --help."));
    const QString command = positional.takeFirst();

    ParsedCommandLine parsed;
    CliRequest &request = parsed.request;
    if (command != u"report") {
        for (const QCommandLineOption &option : {by, from, to}) {
            if (parser.isSet(option))
                return usageError(tr("%1 takes no --%2.").arg(command, option.names().constFirst()));
        }
    }
    if (command == u"import") {
        request.command = CliRequest::Import;
        for (const QCommandLineOption &option : {bank, month, search, order, format}) {
            if (parser.isSet(option))
                return usageError(tr("import takes no --%1: the bank is told by each file's path.")
                                      .arg(option.names().constFirst()));
        }
        if (positional.isEmpty())
            return usageError(tr("import needs at least one statement file."));
        if (positional.contains(QString()))
            return usageError(tr("import was given an empty file name."));
        request.files = positional;
        return parsed;
    }
    if (command == u"backups" || command == u"restore" || command == u"check") {
        request.command = command == u"backups" ? CliRequest::ListBackups
                          : command == u"restore" ? CliRequest::Restore
                                                  : CliRequest::Check;
        for (const QCommandLineOption &option : {month, search, order, format}) {
            if (parser.isSet(option))
                return usageError(tr("%1 takes no --%2.").arg(command, option.names().constFirst()));
        }
        if (request.command == CliRequest::Check && parser.isSet(bank))
            return usageError(tr("check verifies both ledgers: it takes no --bank."));
        const qsizetype allowed = request.command == CliRequest::Restore ? 1 : 0;
        if (positional.size() > allowed)
            return usageError(tr("%1: unexpected \"%2\".").arg(command, positional.at(allowed)));
        if (!positional.isEmpty())
            request.outputPath = positional.first();
    } else if (command == u"gaps") {
        request.command = CliRequest::Gaps;
        for (const QCommandLineOption &option : {month, search, order}) {
            if (parser.isSet(option))
                return usageError(tr("%1 takes no --%2.").arg(command, option.names().constFirst()));
        }
        if (!positional.isEmpty())
            return usageError(tr("%1: unexpected \"%2\".").arg(command, positional.first()));
    } else if (command == u"report") {
        request.command = CliRequest::Report;
        for (const QCommandLineOption &option : {month, search, order}) {
            if (parser.isSet(option))
                return usageError(tr("%1 takes no --%2.").arg(command, option.names().constFirst()));
        }
        if (!positional.isEmpty())
            return usageError(tr("%1: unexpected \"%2\".").arg(command, positional.first()));
        ReportSelection &report = request.report;
        const QString span = parser.value(by);
        if (span == u"year")
            report.span = PeriodReport::Span::Year;
        else if (span == u"kind")
            report.byKind = true;
        else if (parser.isSet(by) && span != u"month")
            return usageError(tr("Unknown --by \"%1\"; use month, year or kind.").arg(span));
        const std::pair<const QCommandLineOption *, qint64 *> ends[] = {
            {&from, &report.range.first}, {&to, &report.range.last}};
        for (const auto &[end, key] : ends) {
            int year = 0, monthNumber = 0;
            if (!parser.isSet(*end))
                continue;
            if (!parseMonth(parser.value(*end), &year, &monthNumber))
                return usageError(tr("Invalid month \"%1\"; use YYYY-MM with a month from 01 to 12.")
                                      .arg(parser.value(*end)));
            *key = PeriodReport::monthKey(year, monthNumber);
        }
        if (report.range.first > report.range.last)
            return usageError(tr("--from %1 is after --to %2.").arg(parser.value(from),
                                                                     parser.value(to)));
    } else if (command == u"list") {
        request.command = CliRequest::List;
        if (!positional.isEmpty())
            return usageError(tr("list takes no file: unexpected \"%1\".").arg(positional.first()));
    } else if (command == u"export") {
        request.command = CliRequest::Export;
        if (positional.size() != 1)
            return usageError(tr("export needs exactly one output file."));
        if (parser.isSet(format))
            return usageError(tr("export always writes CSV: it takes no --format."));
        request.outputPath = positional.first();
    } else {
        return usageError(
            tr("Unknown command \"%1\"; the commands are import, list, export, backups, restore, "
               "check, gaps and report.")
                .arg(command));
    }

    ListSelection &selection = request.selection;
    if (parser.isSet(bank)) {
        const std::optional<Bank> b = bankFromName(parser.value(bank));
        if (!b)
            return usageError(tr("Unknown bank \"%1\"; use jnb or ebank.").arg(parser.value(bank)));
        selection.bank = *b;
    }
    if (parser.isSet(month) && parser.isSet(search))
        return usageError(tr("--month and --search cannot be used together."));
    if (parser.isSet(month)
        && !parseMonth(parser.value(month), &selection.year, &selection.month))
        return usageError(tr("Invalid month \"%1\"; use YYYY-MM with a month from 01 to 12.")
                              .arg(parser.value(month)));
    if (parser.isSet(search)) {
        if (parser.value(search).isEmpty())
            return usageError(tr("--search needs a keyword."));
        selection.keyword = parser.value(search);
    }
    if (parser.isSet(order)) {
        const QString rule = parser.value(order);
        if (rule == u"asc")
            selection.order = Qt::AscendingOrder;
        else if (rule == u"desc")
            selection.order = Qt::DescendingOrder;
        else
            return usageError(tr("Unknown order \"%1\"; use asc or desc.").arg(rule));
    }
    if (parser.isSet(format)) {
        const std::optional<ListFormat> f = listFormatFromName(parser.value(format));
        if (!f)
            return usageError(
                tr("Unknown format \"%1\"; use csv, json or table.").arg(parser.value(format)));
        request.format = *f;
    }
    return parsed;
}
