#include "CliCommands.h"
#include "CliOutput.h"
#include "CliOptions.h"

#include <QCoreApplication>

#include <csignal>

// moriva-cli: Moriva's ledgers from the command line. See `moriva-cli --help`.
int main(int argc, char **argv)
{
    // A file size limit makes a write fail with its reason rather than end the process unsaid.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("moriva-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORIVA_VERSION));

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    switch (parsed.kind) {
    case ParsedCommandLine::Help:
    case ParsedCommandLine::Version:
        return CliOutput::writeOut(
                   (parsed.text.endsWith(u'\n') ? parsed.text : parsed.text + u'\n').toUtf8())
            ? ExitSuccess
            : ExitFailure;
    case ParsedCommandLine::UsageError:
        CliOutput::printError(parsed.text);
        return ExitUsageError;
    case ParsedCommandLine::Run:
        break;
    }

    const CliRequest &request = parsed.request;
    switch (request.command) {
    case CliRequest::Import:
        return runImport(request.files);
    case CliRequest::List:
        return runList(request.selection, request.format);
    case CliRequest::Export:
        return runExport(request.selection, request.outputPath);
    case CliRequest::ListBackups:
        return runListBackups(request.selection.bank);
    case CliRequest::Restore:
        return runRestore(request.selection.bank, request.outputPath);
    case CliRequest::Check:
        return runCheck();
    case CliRequest::Gaps:
        return runGaps(request.selection.bank, request.format);
    case CliRequest::Report:
        return runReport(request.selection.bank, request.report, request.format);
    }
    return ExitFailure;
}
