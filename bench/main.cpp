// moriva-bench: times what the user waits for, end to end, and prints one table with the
// targets beside the figures. Not a test: the figures depend on the machine.
//
//   moriva-bench [--quick] [--runs N] [--cli PATH]
//   moriva-bench --statement FILE [--lines N] [--worst]
//
// Two data sets of JNB statements in CP932 with every field quoted, as the bank writes them:
// "realistic" (a few hundred distinct summaries) and "worst case" (every summary distinct).
// moriva-cli runs as whole processes (import, list); the window's start, search, an edit,
// re-imports and quit run in this process through the Controller, the code the window drives.
//
// --quick     a tenth of the sizes (the targets are for the full sizes)
// --runs N    runs per figure, the median is shown (default 5)
// --cli PATH  the moriva-cli to time (default: the one built beside this benchmark)
// --statement FILE  only writes a realistic (or --worst) statement of N lines (default 200k)

#include "StatementGenerator.h"

#include "ledger/EntryTextCache.h"
#include "ledger/LedgerDatabase.h"
#include "views/Controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct Sizes {
    qint64 ledger = 1'000'000; // the ledger the later steps work on
    qint64 statement = 200'000; // one statement file
};

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ProcessRun {
    double ms = -1;
    double cpuMs = 0; // user and system time: what other load on the machine inflates least
    double peakMiB = 0;
    int exitCode = -1;
};

// Runs a program to its end with the environment given on top of this one's, its output
// thrown away; the wall time and the peak resident memory of the process.
ProcessRun runProcess(const QStringList &programArgs, const QStringList &environment)
{
    // The peak memory is told by /usr/bin/time: a process started from this one counts this
    // one's memory in its own peak, since it shares it until it starts its program.
    static const bool haveTime = QFileInfo(QStringLiteral("/usr/bin/time")).isExecutable();
    QTemporaryFile peakFile;
    QStringList args = programArgs;
    if (haveTime && peakFile.open())
        args = QStringList{QStringLiteral("/usr/bin/time"), QStringLiteral("-f"),
                           QStringLiteral("%M"), QStringLiteral("-o"), peakFile.fileName()}
            + programArgs;
    std::vector<std::string> strings;
    for (const QString &a : args)
        strings.push_back(a.toStdString());
    std::vector<char *> argv;
    for (std::string &s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (const QString &e : environment)
        envStrings.push_back(e.toStdString());
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (std::none_of(envStrings.begin(), envStrings.end(),
                         [&name](const std::string &s) { return s.starts_with(name); }))
            envStrings.push_back(entry);
    }
    std::vector<char *> envp;
    for (std::string &s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        struct rusage usage {};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.ms = double(timer.nsecsElapsed()) / 1e6;
            run.peakMiB = double(usage.ru_maxrss) / 1024.0;
            run.cpuMs = (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6
                         + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec))
                / 1e3;
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            bool ok = false;
            const double kib = haveTime ? peakFile.readAll().trimmed().toDouble(&ok) : 0;
            if (ok)
                run.peakMiB = kib / 1024.0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// A home of its own for each run: the data and settings folders moriva-cli uses.
QStringList homeEnvironment(const QString &home)
{
    return {QStringLiteral("HOME=") + home,
            QStringLiteral("XDG_DATA_HOME=") + home + QStringLiteral("/data"),
            QStringLiteral("XDG_CONFIG_HOME=") + home + QStringLiteral("/config"),
            QStringLiteral("LC_ALL=C.UTF-8")};
}

QString databaseIn(const QString &home)
{
    return home + QStringLiteral("/data/Moriva/") + LedgerDatabase::fileName();
}

// The database and what of its write-ahead log is left beside it.
void copyDatabase(const QString &from, const QString &to)
{
    for (const QString suffix : {QString(), QStringLiteral("-wal")}) {
        QFile::remove(to + suffix);
        if (QFileInfo::exists(from + suffix))
            QFile::copy(from + suffix, to + suffix);
    }
}

struct Figure {
    double value = -1;
    double cpu = -1; // the CPU time of a process, where there is one
    bool failed = false;
};

struct Results {
    Figure import200k, sqlite200k, import1M, peak1M, add200k, listMonth, listSearch;
    Figure windowStart, windowQuit, windowSearch, edit, windowMiB, reimportGrowthMiB;
};

class Bench
{
public:
    Bench(const QString &work, const QString &cli, int runs, const Sizes &sizes)
        : m_work(work), m_cli(cli), m_runs(runs), m_sizes(sizes)
    {
    }

    Results run(bool distinct);

private:
    QString freshHome()
    {
        const QString home = QDir(m_work).filePath(QStringLiteral("home-%1").arg(++m_homes));
        QDir().mkpath(home + QStringLiteral("/data/Moriva"));
        QDir().mkpath(home + QStringLiteral("/config"));
        return home;
    }
    // A fresh home, holding the given database when there is one.
    QString homeWith(const QString &database)
    {
        const QString home = freshHome();
        if (!database.isEmpty())
            copyDatabase(database, databaseIn(home));
        return home;
    }
    Figure timeCli(const QStringList &args, const QString &database, double *peakMiB = nullptr);
    void timeWindow(const QString &database, const QString &keyword, const QString &newFile,
                    Results &r);

    QString m_work, m_cli;
    int m_runs;
    Sizes m_sizes;
    int m_homes = 0;
};

Figure Bench::timeCli(const QStringList &args, const QString &database, double *peakMiB)
{
    std::vector<double> times, cpu, peaks;
    Figure f;
    for (int i = 0; i < m_runs; ++i) {
        const QString home = homeWith(database);
        const ProcessRun run = runProcess(QStringList{m_cli} + args, homeEnvironment(home));
        f.failed = f.failed || run.exitCode != 0;
        times.push_back(run.ms);
        cpu.push_back(run.cpuMs);
        peaks.push_back(run.peakMiB);
        QDir(home).removeRecursively();
    }
    f.value = median(times);
    f.cpu = median(cpu);
    if (peakMiB)
        *peakMiB = median(peaks);
    return f;
}

// The memory the process holds in RAM: its heap and the pages of files it has mapped (the
// database's pages that SQLite keeps count too).
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

double mib(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// What the window does: at start it opens the ledger, shows a list and reads the rows of the
// first screen; a search is typed, an entry marked; at quit it lets the ledger go. Once per data
// set, the statement of new lines is imported, then imported again five times, adding nothing:
// the memory the window holds must not grow with it.
void Bench::timeWindow(const QString &database, const QString &keyword, const QString &newFile,
                       Results &r)
{
    std::vector<double> starts, quits, searches, edits, memory;
    for (int i = 0; i < m_runs; ++i) {
        const QString home = homeWith(database);
        EntryTextCache::instance().clear();
        malloc_trim(0);
        const qint64 residentBefore = residentBytes();
        QElapsedTimer timer;
        timer.start();
        auto controller = std::make_unique<Controller>();
        controller->setDataFolderPath(home + QStringLiteral("/data/Moriva"));
        controller->loadPreferences();
        controller->openDataFolder();
        controller->openLedger();
        controller->start();
        // The first screen of rows, as the table paints them, and the status bar's figures:
        // the list's totals and the balance check.
        qint64 firstRows = 0;
        for (qsizetype row = 0; row < 40; ++row)
            firstRows += controller->view().entryAt(row).id() > 0 ? 1 : 0;
        firstRows += controller->shownTotals().count > 0 ? 0 : 1;
        firstRows += controller->balances().isEmpty() ? 1 : 0;
        starts.push_back(double(timer.nsecsElapsed()) / 1e6);
        const qsizetype entries = controller->database().count(controller->bank());
        r.windowStart.failed = r.windowStart.failed || entries != m_sizes.ledger || firstRows != 40;
        memory.push_back(mib(residentBytes() - residentBefore));

        timer.start();
        const int hits = controller->search(keyword);
        searches.push_back(double(timer.nsecsElapsed()) / 1e6);
        r.windowSearch.failed = r.windowSearch.failed || hits <= 0;
        controller->showActivity();

        // The first change takes the backup; the marks after it are what the user waits for.
        r.edit.failed = r.edit.failed || !controller->toggleMark(0);
        for (int mark = 0; mark < 5; ++mark) {
            timer.start();
            r.edit.failed = r.edit.failed || !controller->toggleMark(1);
            edits.push_back(double(timer.nsecsElapsed()) / 1e6);
        }

        if (i == 0) {
            const ImportReport first = controller->importFile(newFile);
            r.reimportGrowthMiB.failed = first.added != m_sizes.statement;
            malloc_trim(0);
            const qint64 afterFirst = residentBytes();
            for (int again = 0; again < 5; ++again) {
                const ImportReport report = controller->importFile(newFile);
                r.reimportGrowthMiB.failed = r.reimportGrowthMiB.failed || report.added != 0
                    || report.duplicates != m_sizes.statement;
            }
            malloc_trim(0);
            r.reimportGrowthMiB.value = mib(residentBytes() - afterFirst);
        }

        timer.start();
        controller->closeLedger(); // as the window does at quit
        controller.reset();
        quits.push_back(double(timer.nsecsElapsed()) / 1e6);
        QDir(home).removeRecursively();
    }
    r.windowStart.value = median(starts);
    r.windowQuit.value = median(quits);
    r.windowSearch.value = median(searches);
    r.edit.value = median(edits);
    // The most any run took: later runs may find memory that earlier ones gave back.
    r.windowMiB.value = *std::max_element(memory.begin(), memory.end());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Results Bench::run(bool distinct)
{
    Results r;
    const QString dir = QDir(m_work).filePath(distinct ? QStringLiteral("worst")
                                                       : QStringLiteral("realistic"));
    QDir().mkpath(dir);
    // The ledger's lines, then a later statement of new lines.
    StatementGenerator::Options options;
    options.lines = m_sizes.ledger + m_sizes.statement;
    options.quoted = true;
    options.distinctSummaries = distinct;
    const QByteArray all = StatementGenerator(options).cp932();
    const auto [ledgerBytes, newBytes] = StatementGenerator::splitAfter(all, m_sizes.ledger);
    const QString ledgerFile = dir + QStringLiteral("/NBG_ledger.csv");
    const QString newFile = dir + QStringLiteral("/NBG_new.csv");
    if (all.isEmpty() || !writeFile(ledgerFile, ledgerBytes) || !writeFile(newFile, newBytes)) {
        std::fprintf(stderr, "moriva-bench: cannot write the statements in %s\n", qPrintable(dir));
        std::exit(1);
    }

    std::fprintf(stderr, "%s: import of %lld lines...\n", distinct ? "worst case" : "realistic",
                 m_sizes.statement);
    r.import200k = timeCli({QStringLiteral("import"), newFile}, {});
    const QString pipeline = QStringLiteral(MORIVA_BENCH_DIR "/sqlite-pipeline.sh");
    if (!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) {
        std::vector<double> times, cpu;
        for (int i = 0; i < m_runs; ++i) {
            const QString db = dir + QStringLiteral("/bench.db");
            QFile::remove(db);
            const ProcessRun run =
                runProcess({QStringLiteral("sh"), pipeline, newFile, db}, {});
            r.sqlite200k.failed = r.sqlite200k.failed || run.exitCode != 0;
            times.push_back(run.ms);
            cpu.push_back(run.cpuMs);
            QFile::remove(db);
        }
        r.sqlite200k.value = median(times);
        r.sqlite200k.cpu = median(cpu);
    }

    std::fprintf(stderr, "  import of %lld lines...\n", m_sizes.ledger);
    double peak = 0;
    r.import1M = timeCli({QStringLiteral("import"), ledgerFile}, {}, &peak);
    r.peak1M.value = peak;
    r.peak1M.failed = r.import1M.failed;
    // The ledger the later steps start from.
    const QString home = freshHome();
    const QString database = dir + QStringLiteral("/ledger.sqlite");
    runProcess({m_cli, QStringLiteral("import"), ledgerFile}, homeEnvironment(home));
    copyDatabase(databaseIn(home), database);
    QDir(home).removeRecursively();

    std::fprintf(stderr, "  new lines into the ledger, lists...\n");
    r.add200k = timeCli({QStringLiteral("import"), newFile}, database);
    r.listMonth = timeCli({QStringLiteral("list"), QStringLiteral("--bank"), QStringLiteral("jnb"),
                           QStringLiteral("--month"), QStringLiteral("2020-06")},
                          database);
    const QString keyword = StatementGenerator::keywordHittingAboutOnePercent();
    r.listSearch = timeCli({QStringLiteral("list"), QStringLiteral("--bank"), QStringLiteral("jnb"),
                            QStringLiteral("--search"), keyword},
                           database);
    std::fprintf(stderr, "  the window's start, search, marks, re-imports and quit...\n");
    timeWindow(database, keyword, newFile, r);
    return r;
}

QString cell(const Figure &f, const char *unit, int decimals = 0)
{
    if (f.value < 0)
        return QStringLiteral("-");
    const QString cpu = f.cpu >= 0 ? QStringLiteral(" (%1)").arg(f.cpu, 0, 'f', 0) : QString();
    return QStringLiteral("%1 %2%3%4")
        .arg(f.value, 0, 'f', decimals)
        .arg(QLatin1StringView(unit), cpu, f.failed ? QStringLiteral(" FAILED") : QString());
}

QString ratioCell(const Figure &moriva, const Figure &sqlite)
{
    if (moriva.value <= 0 || sqlite.value <= 0)
        return QStringLiteral("-");
    return QStringLiteral("%1x (%2x)")
        .arg(sqlite.value / moriva.value, 0, 'f', 2)
        .arg(moriva.cpu > 0 ? sqlite.cpu / moriva.cpu : 0.0, 0, 'f', 2);
}

QString count(qint64 n)
{
    return n % 1'000'000 == 0 ? QStringLiteral("%1M").arg(n / 1'000'000)
                              : QStringLiteral("%1k").arg(n / 1000);
}

void printTable(const Sizes &s, const Results &real, const Results &worst)
{
    struct Row {
        QString label;
        std::function<QString(const Results &)> cell;
        QString target;
        std::function<bool(const Results &)> met;
    };
    const QString n = count(s.statement), m = count(s.ledger);
    const std::vector<Row> rows{
        {QStringLiteral("moriva-cli import %1, empty ledger").arg(n),
         [](const Results &r) { return cell(r.import200k, "ms"); }, {}, {}},
        {QStringLiteral("  sqlite3 pipeline, same file"),
         [](const Results &r) { return cell(r.sqlite200k, "ms"); }, {}, {}},
        {QStringLiteral("  sqlite3 time / moriva time"),
         [](const Results &r) { return ratioCell(r.import200k, r.sqlite200k); },
         QStringLiteral(">= 1.5x"),
         [](const Results &r) { return r.sqlite200k.value >= 1.5 * r.import200k.value; }},
        {QStringLiteral("moriva-cli import %1, empty ledger").arg(m),
         [](const Results &r) { return cell(r.import1M, "ms"); }, QStringLiteral("<= 3000 ms"),
         [](const Results &r) { return r.import1M.value <= 3000; }},
        {QStringLiteral("  peak memory"), [](const Results &r) { return cell(r.peak1M, "MiB"); },
         QStringLiteral("<= 250 MiB"), [](const Results &r) { return r.peak1M.value <= 250; }},
        {QStringLiteral("%1 new lines into %2").arg(n, m),
         [](const Results &r) { return cell(r.add200k, "ms"); }, QStringLiteral("<= 2000 ms"),
         [](const Results &r) { return r.add200k.value <= 2000; }},
        {QStringLiteral("moriva-cli list --month, %1").arg(m),
         [](const Results &r) { return cell(r.listMonth, "ms"); }, QStringLiteral("<= 100 ms"),
         [](const Results &r) { return r.listMonth.value <= 100; }},
        {QStringLiteral("moriva-cli list --search, %1").arg(m),
         [](const Results &r) { return cell(r.listSearch, "ms"); }, QStringLiteral("<= 300 ms"),
         [](const Results &r) { return r.listSearch.value <= 300; }},
        {QStringLiteral("window start, %1").arg(m),
         [](const Results &r) { return cell(r.windowStart, "ms"); }, QStringLiteral("<= 500 ms"),
         [](const Results &r) { return r.windowStart.value <= 500; }},
        {QStringLiteral("window quit"),
         [](const Results &r) { return cell(r.windowQuit, "ms"); }, QStringLiteral("<= 100 ms"),
         [](const Results &r) { return r.windowQuit.value <= 100; }},
        {QStringLiteral("search in the window, %1").arg(m),
         [](const Results &r) { return cell(r.windowSearch, "ms", 1); }, QStringLiteral("<= 150 ms"),
         [](const Results &r) { return r.windowSearch.value <= 150; }},
        {QStringLiteral("a mark, committed"),
         [](const Results &r) { return cell(r.edit, "ms", 2); }, QStringLiteral("<= 10 ms"),
         [](const Results &r) { return r.edit.value <= 10; }},
        {QStringLiteral("window memory, %1 open").arg(m),
         [](const Results &r) { return cell(r.windowMiB, "MiB"); }, QStringLiteral("<= 200 MiB"),
         [](const Results &r) { return r.windowMiB.value <= 200; }},
        {QStringLiteral("  growth, 5 re-imports of %1").arg(n),
         [](const Results &r) { return cell(r.reimportGrowthMiB, "MiB", 1); },
         QStringLiteral("<= 5 MiB"), [](const Results &r) { return r.reimportGrowthMiB.value <= 5; }},
    };
    const auto line = [](const QString &label, const QString &a, const QString &b,
                         const QString &target, const QString &verdict) {
        std::printf("%s\n", qPrintable(QStringLiteral("%1%2%3  %4%5")
                                           .arg(label, -36)
                                           .arg(a, 20)
                                           .arg(b, 20)
                                           .arg(target, -12)
                                           .arg(verdict)));
    };
    line(QStringLiteral("what the user waits for"), QStringLiteral("realistic"),
         QStringLiteral("worst case"), QStringLiteral("target"), QString());
    std::printf("%s\n", std::string(100, '-').c_str());
    for (const Row &row : rows) {
        QString verdict;
        if (row.met)
            verdict = row.met(real) && row.met(worst) ? QStringLiteral("met")
                                                      : QStringLiteral("MISSED");
        line(row.label, row.cell(real), row.cell(worst), row.target, verdict);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("MorivaBench"));
    QCoreApplication::setApplicationName(QStringLiteral("moriva-bench"));

    Sizes sizes;
    int runs = 5;
    QString statement;
    bool worstCase = false;
    QString cli = QDir(QCoreApplication::applicationDirPath())
                      .filePath(QStringLiteral("../src/cli/moriva-cli"));
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == u"--quick") {
            sizes = {sizes.ledger / 10, sizes.statement / 10};
        } else if (a == u"--runs" && i + 1 < args.size()) {
            runs = qBound(1, args.at(++i).toInt(), 99);
        } else if (a == u"--cli" && i + 1 < args.size()) {
            cli = args.at(++i);
        } else if (a == u"--statement" && i + 1 < args.size()) {
            statement = args.at(++i);
        } else if (a == u"--lines" && i + 1 < args.size()) {
            sizes.statement = qBound(1LL, args.at(++i).toLongLong(), 100'000'000LL);
        } else if (a == u"--worst") {
            worstCase = true;
        } else {
            std::fprintf(stderr, "usage: moriva-bench [--quick] [--runs N] [--cli PATH]\n"
                                 "       moriva-bench --statement FILE [--lines N] [--worst]\n");
            return a == u"--help" || a == u"-h" ? 0 : 2;
        }
    }
    if (!statement.isEmpty()) {
        StatementGenerator::Options options;
        options.lines = sizes.statement;
        options.quoted = true;
        options.distinctSummaries = worstCase;
        const QByteArray bytes = StatementGenerator(options).cp932();
        return !bytes.isEmpty() && writeFile(statement, bytes) ? 0 : 1;
    }
    if (!QFileInfo(cli).isExecutable()) {
        std::fprintf(stderr, "moriva-bench: no moriva-cli at %s (--cli PATH)\n", qPrintable(cli));
        return 2;
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "moriva-bench: no temporary folder: %s\n",
                     qPrintable(work.errorString()));
        return 1;
    }
    // The window's settings go to the temporary folder too.
    qputenv("XDG_CONFIG_HOME", QDir(work.path()).filePath(QStringLiteral("config")).toLocal8Bit());

    Bench bench(work.path(), QFileInfo(cli).absoluteFilePath(), runs, sizes);
    const Results realistic = bench.run(false);
    const Results worst = bench.run(true);

    double load[3] = {};
    if (getloadavg(load, 3) < 1)
        load[0] = -1;
    std::printf("moriva-bench: JNB statements in CP932, quoted fields; realistic: %d distinct "
                "summaries, worst case: every summary distinct; medians of %d runs, wall time "
                "(and CPU time of the process); load average %.2f on %d cores\n\n",
                int(StatementGenerator::catalogue().size()), runs, load[0],
                QThread::idealThreadCount());
    printTable(sizes, realistic, worst);
    return 0;
}
