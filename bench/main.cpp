// moriva-bench: times the core on synthetic JNB statements of 10 thousand, 100 thousand and a
// million lines and prints a table. Not a test: the figures depend on the machine.
//
//   moriva-bench [--quick] [--lines N]... [--quoted] [--cp932]
//
// --quick      only 10k and 100k lines
// --lines N    this many lines (may be given more than once) instead of the default sizes
// --quoted     every field of the statement in quotation marks
// --cp932      the statement file in CP932 (windows-31j) instead of UTF-8

#include "ledger/BalanceChain.h"
#include "StatementGenerator.h"

#include "ledger/EntryTextCache.h"
#include "ledger/LedgerOrdering.h"
#include "views/Controller.h"
#include "views/Preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// What the targets ask of a million-line ledger on the reference machine (2 cores).
constexpr double kTargetImportLinesPerSecond = 1'000'000;
constexpr double kTargetSaveMs = 500;
constexpr double kTargetLoadMs = 500;
constexpr double kTargetSearchMs = 50;
constexpr double kTargetBytesPerEntry = 400;

struct Memory {
    qint64 heap = 0; // bytes the allocator has handed out and not taken back
    qint64 rss = 0;  // resident set, bytes
};

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    // Files under /proc report a size of 0: read them whole rather than up to atEnd().
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

Memory memoryNow()
{
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    return Memory{qint64(info.uordblks + info.hblkhd), residentBytes()};
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Wall-clock time, and the CPU time of this thread, which other load on the machine
// (builds, tests) inflates much less.
struct Stopwatch {
    QElapsedTimer wall;
    double cpuStart = 0;
    void start()
    {
        cpuStart = threadCpuMs();
        wall.start();
    }
    double wallMs() const { return msSince(wall); }
    double cpuMs() const { return threadCpuMs() - cpuStart; }
};

// Best of a few runs of a cheap operation.
double bestMs(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, msSince(timer));
    }
    return best;
}

struct Result {
    qint64 lines = 0;
    double generateMs = 0;
    qint64 statementBytes = 0;
    double importMs = 0;
    double importCpuMs = 0;
    int added = 0;
    double reimportMs = 0;
    double reimportCpuMs = 0;
    int duplicates = 0;
    double saveMs = 0;
    double saveCpuMs = 0;
    qint64 archiveBytes = 0;
    double loadMs = 0;
    double loadCpuMs = 0;
    int loaded = 0;
    double sortDescendingMs = 0;
    double sortAscendingMs = 0;
    double searchHitMs = 0;
    int searchHits = 0;
    double searchMissMs = 0;
    double balanceCheckMs = 0;
    int searchMisses = 0;
    double heapPerEntryImported = 0;
    double rssPerEntryImported = 0;
    double heapPerEntryLoaded = 0;
    double rssPerEntryLoaded = 0;
    bool ok = true;
    QString problem;
};

void fail(Result &r, const QString &why)
{
    if (r.ok)
        r.problem = why;
    r.ok = false;
}

Result run(qint64 lines, bool quoted, bool cp932, const QString &workDir)
{
    Result r;
    r.lines = lines;
    const QString runDir = QDir(workDir).filePath(QStringLiteral("run-%1").arg(lines));
    QDir().mkpath(runDir);
    const QString statementPath = QDir(runDir).filePath(QStringLiteral("NBG_bench.csv"));
    const QString dataDir = QDir(runDir).filePath(QStringLiteral("data"));

    {
        QElapsedTimer timer;
        timer.start();
        StatementGenerator::Options options;
        options.lines = lines;
        options.quoted = quoted;
        const StatementGenerator generator(options);
        const QByteArray bytes = cp932 ? generator.cp932() : generator.utf8();
        if (bytes.isEmpty()) {
            fail(r, QStringLiteral("the statement could not be generated (no CP932 codec?)"));
            return r;
        }
        QFile file(statementPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            fail(r, QStringLiteral("cannot write %1").arg(statementPath));
            return r;
        }
        r.statementBytes = bytes.size();
        r.generateMs = msSince(timer);
    }

    // Start from a clean process-wide text cache, as a fresh application would.
    EntryTextCache::instance().clear();
    const Memory before = memoryNow();
    {
        Controller controller;
        controller.setDataFolderPath(dataDir);
        controller.setPreferences(Preferences{});
        if (!controller.openDataFolder()) {
            fail(r, QStringLiteral("no data folder at %1").arg(dataDir));
            return r;
        }
        controller.openLedger();
        if (!controller.ledger().isOpen()) {
            fail(r, QStringLiteral("the ledger did not open: %1").arg(controller.ledger().error()));
            return r;
        }

        Stopwatch timer;
        timer.start();
        ImportReport report = controller.importFile(statementPath);
        r.importMs = timer.wallMs();
        r.importCpuMs = timer.cpuMs();
        r.added = report.added;
        if (report.status != ImportReport::Imported || report.added != lines)
            fail(r, QStringLiteral("first import added %1 of %2 lines (%3)")
                        .arg(report.added)
                        .arg(lines)
                        .arg(report.error));

        const Memory imported = memoryNow();
        r.heapPerEntryImported = double(imported.heap - before.heap) / double(lines);
        r.rssPerEntryImported = double(imported.rss - before.rss) / double(lines);

        timer.start();
        report = controller.importFile(statementPath);
        r.reimportMs = timer.wallMs();
        r.reimportCpuMs = timer.cpuMs();
        r.duplicates = report.duplicates;
        if (report.added != 0 || report.duplicates != lines)
            fail(r, QStringLiteral("second import added %1, found %2 duplicates")
                        .arg(report.added)
                        .arg(report.duplicates));

        QString error;
        timer.start();
        if (!controller.saveLedger(&error))
            fail(r, QStringLiteral("save failed: %1").arg(error));
        r.saveMs = timer.wallMs();
        r.saveCpuMs = timer.cpuMs();
        r.archiveBytes = QFileInfo(controller.ledger().filePath()).size();

        controller.closeLedger();
        EntryTextCache::instance().clear();
        const Memory closed = memoryNow();
        timer.start();
        controller.openLedger();
        r.loadMs = timer.wallMs();
        r.loadCpuMs = timer.cpuMs();
        r.loaded = int(controller.ledger().size());
        if (!controller.ledger().isOpen() || r.loaded != lines)
            fail(r, QStringLiteral("load gave %1 entries: %2")
                        .arg(r.loaded)
                        .arg(controller.ledger().error()));
        const Memory loaded = memoryNow();
        r.heapPerEntryLoaded = double(loaded.heap - closed.heap) / double(lines);
        r.rssPerEntryLoaded = double(loaded.rss - closed.rss) / double(lines);

        // The activity list is shown; each change of order sorts the whole ledger.
        r.sortDescendingMs = 1e300;
        r.sortAscendingMs = 1e300;
        for (int i = 0; i < 3; ++i) {
            timer.start();
            controller.reverseOrder();
            const double first = timer.wallMs();
            timer.start();
            controller.reverseOrder();
            const double second = timer.wallMs();
            const bool firstWasDescending = controller.view().order() == Qt::AscendingOrder;
            r.sortDescendingMs =
                std::min(r.sortDescendingMs, firstWasDescending ? first : second);
            r.sortAscendingMs = std::min(r.sortAscendingMs, firstWasDescending ? second : first);
        }

        const QString hit = StatementGenerator::keywordHittingAboutOnePercent();
        const QString miss = StatementGenerator::keywordHittingNothing();
        r.searchHitMs = bestMs(3, [&] { r.searchHits = controller.search(hit); });
        r.searchMissMs = bestMs(3, [&] { r.searchMisses = controller.search(miss); });
        r.balanceCheckMs = bestMs(3, [&] { (void)BalanceChain::check(controller.ledger().entries()); });
        if (r.searchHits == 0 || r.searchMisses != 0)
            fail(r, QStringLiteral("search found %1 and %2").arg(r.searchHits).arg(r.searchMisses));

        controller.closeLedger();
    }
    QDir(runDir).removeRecursively();
    return r;
}

QString formatCount(qint64 n)
{
    if (n >= 1'000'000 && n % 1'000'000 == 0)
        return QStringLiteral("%1M").arg(n / 1'000'000);
    if (n >= 1000 && n % 1000 == 0)
        return QStringLiteral("%1k").arg(n / 1000);
    return QString::number(n);
}

QString rate(double lines, double ms)
{
    if (ms <= 0)
        return QStringLiteral("-");
    const double perSecond = lines / (ms / 1000.0);
    if (perSecond >= 1e6)
        return QStringLiteral("%1 M/s").arg(perSecond / 1e6, 0, 'f', 2);
    return QStringLiteral("%1 k/s").arg(perSecond / 1e3, 0, 'f', 0);
}

QString ms(double value)
{
    return QStringLiteral("%1 ms").arg(value, 0, 'f', value < 10 ? 2 : 1);
}

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / 1e6, 0, 'f', 2);
}

QString bytesPerEntry(double value)
{
    return QStringLiteral("%1 B").arg(value, 0, 'f', 0);
}

void printTable(const std::vector<Result> &results)
{
    struct Row {
        QString label;
        std::function<QString(const Result &)> cell;
        QString target;
    };
    const std::vector<Row> rows{
        {QStringLiteral("statement file"), [](const Result &r) { return megabytes(r.statementBytes); }, {}},
        {QStringLiteral("import, empty ledger"), [](const Result &r) { return rate(r.lines, r.importMs); },
         QStringLiteral(">= 1 M/s")},
        {QStringLiteral("  time"), [](const Result &r) { return ms(r.importMs); }, {}},
        {QStringLiteral("  cpu time"), [](const Result &r) { return ms(r.importCpuMs); }, {}},
        {QStringLiteral("  lines/s by cpu time"), [](const Result &r) { return rate(r.lines, r.importCpuMs); }, {}},
        {QStringLiteral("import, all duplicates"), [](const Result &r) { return rate(r.lines, r.reimportMs); }, {}},
        {QStringLiteral("  time"), [](const Result &r) { return ms(r.reimportMs); }, {}},
        {QStringLiteral("  cpu time"), [](const Result &r) { return ms(r.reimportCpuMs); }, {}},
        {QStringLiteral("archive save"), [](const Result &r) { return ms(r.saveMs); }, QStringLiteral("<= 500 ms")},
        {QStringLiteral("  cpu time"), [](const Result &r) { return ms(r.saveCpuMs); }, {}},
        {QStringLiteral("archive load"), [](const Result &r) { return ms(r.loadMs); }, QStringLiteral("<= 500 ms")},
        {QStringLiteral("  cpu time"), [](const Result &r) { return ms(r.loadCpuMs); }, {}},
        {QStringLiteral("archive size"), [](const Result &r) { return megabytes(r.archiveBytes); }, {}},
        {QStringLiteral("  per entry"), [](const Result &r) { return QStringLiteral("%1 B").arg(double(r.archiveBytes) / double(r.lines), 0, 'f', 1); }, {}},
        {QStringLiteral("sort, newest first"), [](const Result &r) { return ms(r.sortDescendingMs); }, {}},
        {QStringLiteral("sort, oldest first"), [](const Result &r) { return ms(r.sortAscendingMs); }, {}},
        {QStringLiteral("search, ~1% hits"), [](const Result &r) { return ms(r.searchHitMs); }, QStringLiteral("<= 50 ms")},
        {QStringLiteral("  hits"), [](const Result &r) { return QStringLiteral("%1 (%2%)").arg(r.searchHits).arg(100.0 * r.searchHits / double(r.lines), 0, 'f', 2); }, {}},
        {QStringLiteral("search, no hit"), [](const Result &r) { return ms(r.searchMissMs); }, QStringLiteral("<= 50 ms")},
        {QStringLiteral("balance check"), [](const Result &r) { return ms(r.balanceCheckMs); }, QStringLiteral("<= 200 ms")},
        {QStringLiteral("heap/entry, imported"), [](const Result &r) { return bytesPerEntry(r.heapPerEntryImported); }, QStringLiteral("<= 400 B")},
        {QStringLiteral("RSS/entry, imported"), [](const Result &r) { return bytesPerEntry(r.rssPerEntryImported); }, {}},
        {QStringLiteral("heap/entry, loaded"), [](const Result &r) { return bytesPerEntry(r.heapPerEntryLoaded); }, QStringLiteral("<= 400 B")},
        {QStringLiteral("RSS/entry, loaded"), [](const Result &r) { return bytesPerEntry(r.rssPerEntryLoaded); }, {}},
    };

    const int labelWidth = 24;
    const int cellWidth = 16;
    std::string line = QStringLiteral("%1").arg(QStringLiteral("lines"), -labelWidth).toStdString();
    for (const Result &r : results)
        line += QStringLiteral("%1").arg(formatCount(r.lines), cellWidth).toStdString();
    line += QStringLiteral("  %1").arg(QStringLiteral("target (1M)")).toStdString();
    std::printf("%s\n%s\n", line.c_str(), std::string(line.size(), '-').c_str());
    for (const Row &row : rows) {
        line = QStringLiteral("%1").arg(row.label, -labelWidth).toStdString();
        for (const Result &r : results)
            line += QStringLiteral("%1").arg(r.ok || r.lines ? row.cell(r) : QStringLiteral("-"), cellWidth).toStdString();
        if (!row.target.isEmpty())
            line += QStringLiteral("  %1").arg(row.target).toStdString();
        std::printf("%s\n", line.c_str());
    }
    for (const Result &r : results) {
        if (!r.ok)
            std::printf("\n%s lines: FAILED: %s\n", qPrintable(formatCount(r.lines)),
                        qPrintable(r.problem));
    }
}

void printVerdicts(const std::vector<Result> &results)
{
    for (const Result &r : results) {
        if (r.lines != 1'000'000)
            continue;
        const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
        std::printf("\nTargets at 1M lines:\n");
        std::printf("  import >= 1M lines/s      %s\n",
                    verdict(r.lines / (r.importMs / 1000.0) >= kTargetImportLinesPerSecond));
        std::printf("  save <= 500 ms            %s\n", verdict(r.saveMs <= kTargetSaveMs));
        std::printf("  load <= 500 ms            %s\n", verdict(r.loadMs <= kTargetLoadMs));
        std::printf("  search <= 50 ms           %s\n",
                    verdict(std::max(r.searchHitMs, r.searchMissMs) <= kTargetSearchMs));
        std::printf("  <= 400 bytes per entry   %s\n",
                    verdict(std::max(r.heapPerEntryImported, r.heapPerEntryLoaded)
                            <= kTargetBytesPerEntry));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("MorivaBench"));
    QCoreApplication::setApplicationName(QStringLiteral("moriva-bench"));

    std::vector<qint64> sizes;
    bool quick = false, quoted = false, cp932 = false;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == u"--quick") {
            quick = true;
        } else if (a == u"--quoted") {
            quoted = true;
        } else if (a == u"--cp932") {
            cp932 = true;
        } else if (a == u"--lines" && i + 1 < args.size()) {
            bool ok = false;
            const qint64 n = args.at(++i).toLongLong(&ok);
            if (!ok || n <= 0 || n > 100'000'000) {
                std::fprintf(stderr, "moriva-bench: bad line count %s\n", qPrintable(args.at(i)));
                return 2;
            }
            sizes.push_back(n);
        } else {
            std::fprintf(stderr,
                         "usage: moriva-bench [--quick] [--lines N]... [--quoted] [--cp932]\n");
            return a == u"--help" || a == u"-h" ? 0 : 2;
        }
    }
    if (sizes.empty())
        sizes = quick ? std::vector<qint64>{10'000, 100'000}
                      : std::vector<qint64>{10'000, 100'000, 1'000'000};

    QTemporaryDir workDir;
    if (!workDir.isValid()) {
        std::fprintf(stderr, "moriva-bench: no temporary folder: %s\n",
                     qPrintable(workDir.errorString()));
        return 1;
    }

    double load[3] = {};
    if (getloadavg(load, 3) < 1)
        load[0] = -1;
    std::printf("moriva-bench: JNB statements, %s, %s fields, %d distinct summaries; load average "
                "%.2f on %d cores (wall times suffer when it is above the core count)\n\n",
                cp932 ? "CP932" : "UTF-8", quoted ? "quoted" : "bare",
                int(StatementGenerator::catalogue().size()), load[0], QThread::idealThreadCount());
    std::vector<Result> results;
    bool allOk = true;
    for (qint64 n : sizes) {
        std::fprintf(stderr, "running %s lines...\n", qPrintable(formatCount(n)));
        results.push_back(run(n, quoted, cp932, workDir.path()));
        allOk = allOk && results.back().ok;
    }
    printTable(results);
    printVerdicts(results);
    return allOk ? 0 : 1;
}
