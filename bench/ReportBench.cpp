// moriva-report-bench: times the period totals of a ledger of a million generated JNB entries,
// by month, by year and over one year's range, read from the ledger database. Not a test: the
// figures depend on the machine.
//
//   moriva-report-bench [--lines N]

#include "StatementGenerator.h"

#include "import/StatementImporter.h"
#include "ledger/LedgerDatabase.h"
#include "ledger/PeriodReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// What a report of a million entries may take on the reference machine.
constexpr double kTargetReportMs = 100;

// Best of five runs; the period count keeps the work from being optimised away.
double bestReportMs(const LedgerDatabase &database, PeriodReport::Span span,
                    const PeriodReport::MonthRange &range, qsizetype *periods)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        *periods = PeriodReport::compute(database, Bank::Jnb, span, range).size();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qint64 lines = 1'000'000;
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--lines")); at > 0 && at + 1 < args.size())
        lines = args.at(at + 1).toLongLong();

    QTemporaryDir dir;
    LedgerDatabase database;
    QString error;
    if (!dir.isValid()
        || !database.open(dir.filePath(LedgerDatabase::fileName()), SqlConnection::Access::ReadWrite,
                          &error)) {
        std::fprintf(stderr, "moriva-report-bench: %s\n", qPrintable(error));
        return 1;
    }
    StatementGenerator::Options options;
    options.lines = lines;
    {
        LedgerDatabase::Import import(database, Bank::Jnb);
        StatementImporter(&import).importText(StatementGenerator(options).text(), Bank::Jnb);
        if (!import.commit(&error)) {
            std::fprintf(stderr, "moriva-report-bench: %s\n", qPrintable(error));
            return 1;
        }
    }
    const qsizetype entries = database.count(Bank::Jnb);
    std::printf("Period totals over %lld entries (target %.0f ms)\n",
                static_cast<long long>(entries), kTargetReportMs);

    bool ok = entries == lines;
    const PeriodReport::MonthRange oneYear{PeriodReport::monthKey(options.firstYear + 1, 1),
                                           PeriodReport::monthKey(options.firstYear + 1, 12)};
    const struct {
        const char *name;
        PeriodReport::Span span;
        PeriodReport::MonthRange range;
    } cases[] = {{"by month", PeriodReport::Span::Month, {}},
                 {"by year", PeriodReport::Span::Year, {}},
                 {"one year's months", PeriodReport::Span::Month, oneYear}};
    for (const auto &each : cases) {
        qsizetype periods = 0;
        const double ms = bestReportMs(database, each.span, each.range, &periods);
        ok = ok && ms <= kTargetReportMs && periods > 0;
        std::printf("  %-18s %8.1f ms  %5lld periods\n", each.name, ms,
                    static_cast<long long>(periods));
    }
    std::printf("%s\n", ok ? "report: within target" : "report: OVER TARGET");
    database.close();
    return ok ? 0 : 1;
}
