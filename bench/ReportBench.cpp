// moriva-report-bench: times the period totals of a ledger of a million generated JNB entries,
// by month, by year and over one year's range, oldest and newest first. Not a test: the
// figures depend on the machine.
//
//   moriva-report-bench [--lines N]

#include "StatementGenerator.h"

#include "ledger/PeriodReport.h"
#include "views/Controller.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// What a report of a million entries may take on the reference machine.
constexpr double kTargetReportMs = 100;

// Best of five runs; the period count keeps the work from being optimised away.
double bestReportMs(const Ledger &ledger, PeriodReport::Span span,
                    const PeriodReport::MonthRange &range, qsizetype *periods)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        *periods = PeriodReport::compute(ledger, span, range).size();
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
    Controller c;
    c.setDataFolderPath(dir.filePath(QStringLiteral("data")));
    Preferences prefs;
    prefs.bank = Bank::Jnb;
    c.setPreferences(prefs);
    if (!dir.isValid() || !c.openDataFolder())
        return 1;
    c.openLedger();
    StatementGenerator::Options options;
    options.lines = lines;
    c.importText(QStringLiteral("NBG_bench.csv"), StatementGenerator(options).text());
    std::printf("Period totals over %lld entries (target %.0f ms)\n",
                static_cast<long long>(c.ledger().size()), kTargetReportMs);

    bool ok = c.ledger().size() == lines;
    const PeriodReport::MonthRange oneYear{PeriodReport::monthKey(options.firstYear + 1, 1),
                                           PeriodReport::monthKey(options.firstYear + 1, 12)};
    for (const bool newestFirst : {false, true}) {
        if (newestFirst)
            c.reverseOrder();
        const struct {
            const char *name;
            PeriodReport::Span span;
            PeriodReport::MonthRange range;
        } cases[] = {{"by month", PeriodReport::Span::Month, {}},
                     {"by year", PeriodReport::Span::Year, {}},
                     {"one year's months", PeriodReport::Span::Month, oneYear}};
        for (const auto &each : cases) {
            qsizetype periods = 0;
            const double ms = bestReportMs(c.ledger(), each.span, each.range, &periods);
            ok = ok && ms <= kTargetReportMs && periods > 0;
            std::printf("  %-13s %-18s %8.1f ms  %5lld periods\n",
                        newestFirst ? "newest first" : "oldest first", each.name, ms,
                        static_cast<long long>(periods));
        }
    }
    std::printf("%s\n", ok ? "report: within target" : "report: OVER TARGET");
    c.closeLedger();
    return ok ? 0 : 1;
}
