// moriva-cli end to end, in a temporary HOME on real statement files, archives and settings.
// What it prints, writes and exits with is shared with scripts, so the bytes are checked.

#include "TestSupport.h"
#include "ledger/DataFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

struct CliRun { int exitCode = -1; QByteArray out, err; };

// Three JNB operations, two in March; quoted and bare fields mixed as the bank's files do.
const QString kJnbStatement = u"操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),"
                              u"操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高\r\n"
                              u"2026,3,5,9,5,0,1,\"ATM引出し\",10000,0,90000\r\n"
                              u"\"2026\",\"3\",\"6\",\"12\",\"0\",\"0\",\"2\",\"セブン銀行 手数料\","
                              u"\"110\",\"0\",\"89890\"\r\n"
                              u"2026,4,1,0,0,0,3,利息,0,5,89895\r\n"_s;
// Two eBANK operations and a line whose date is cut short, which is rejected.
const QString kEbankStatement = u"取引日,入出金(円),残高(円),入出金先内容\n"
                                u"\"20260305\",\"-1500\",\"900\",\"AMAZON, INC\"\n"
                                u"\"20260310\",\"2400\",\"3300\",\"振込 ヤマダ\"\n"
                                u"\"2026\",\"-100\",\"800\",\"short date\"\n"_s;

// The ledgers above as the app exports them, oldest first.
const QString kJnbMar5 = u"2026/03/05,09:05:00,ATM引出し,10000,0,90000,\r"_s;
const QString kJnbMar6 = u"2026/03/06,12:00:00,セブン銀行 手数料,110,0,89890,\r"_s;
const QString kJnbApr1 = u"2026/04/01,00:00:00,利息,0,5,89895,\r"_s;
const QString kEbank =
    u"2026/03/05,,\"AMAZON, INC\",1500,0,900,\r2026/03/10,,振込 ヤマダ,0,2400,3300,\r"_s;
const QString kImported = u"NBG_2026.csv: JNB, 3 added, 0 duplicates, 0 rejected\n"
                          u"eBANK_2026.csv: eBANK, 2 added, 0 duplicates, 1 rejected\n"_s;
const QByteArray kRejected = "moriva-cli: eBANK_2026.csv: line 4: “2026” is not a date\n";

enum Trouble { StatementUnusable, DamagedDatabase, OtherProcessHoldsTheLock, SaveFails };

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_home;

    QString path(const QString &name) const { return m_home->filePath(name); }
    QString database() const { return path(u"data/Moriva/Moriva.sqlite"_s); }
    // The database as stored, its log included.
    QByteArray storedDatabase() const
    {
        return readTestFile(database()) + '|' + readTestFile(database() + u"-wal"_s);
    }
    void setSetting(const QString &key, int value) const
    {
        QSettings(path(u"config/Moriva/Moriva.conf"_s), QSettings::IniFormat).setValue(key, value);
    }
    // The ledgers and the settings, as stored.
    QByteArray stored() const
    {
        return storedDatabase() + '|' + readTestFile(path(u"config/Moriva/Moriva.conf"_s));
    }
    // Runs moriva-cli; a file size limit above 0 makes longer writes fail, even as root.
    CliRun run(const QStringList &arguments, rlim_t fileSizeLimit = 0,
               const QString &stdoutFile = QString()) const
    {
        QProcess process;
        if (!stdoutFile.isEmpty())
            process.setStandardOutputFile(stdoutFile);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home->path());
        env.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_home->path());
        process.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (fileSizeLimit > 0 && ::setrlimit(RLIMIT_FSIZE, &limit) == 0)
                std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        });
        process.start(QStringLiteral(MORIVA_CLI_PATH), arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    bool writeStatements() const
    {
        return writeTestFile(path(u"NBG_2026.csv"_s), toCp932(kJnbStatement))
            && writeTestFile(path(u"eBANK_2026.csv"_s), kEbankStatement.toUtf8());
    }
    // Imports both statements; true when each file's line tells what came in.
    bool importStatements() const
    {
        const CliRun r = writeStatements()
            ? run({u"import"_s, u"NBG_2026.csv"_s, u"eBANK_2026.csv"_s}) : CliRun();
        return r.exitCode == 0 && r.out == kImported.toUtf8() && r.err == kRejected;
    }

private slots:
    void init() { QVERIFY(m_home.emplace().isValid()); }

    void listAndExportWriteTheSelectedList_data()
    {
        QTest::addColumn<QStringList>("arguments"); // export writes out.csv
        QTest::addColumn<int>("storedOrder");       // "MVListOrderRule": 1 is newest first
        QTest::addColumn<int>("encoding");          // "MVExportEncoding"
        QTest::addColumn<QByteArray>("expected");
        const QStringList jnb{u"--bank"_s, u"jnb"_s}, csv{u"list"_s, u"--format"_s, u"csv"_s};
        const QStringList march{u"--month"_s, u"2026-03"_s, u"--order"_s, u"desc"_s};
        const QStringList exportJnb{u"export"_s, u"out.csv"_s, u"--bank"_s, u"jnb"_s};
        const QByteArray all = (kJnbMar5 + kJnbMar6 + kJnbApr1).toUtf8();
        // Kanji, kana and the yen sign take two terminal columns: the amounts still line up.
        QTest::newRow("table") << QStringList{u"list"_s} + jnb << 0 << 0 << QByteArray(
            "Date        Time      Summary             Payment  Deposit   Balance  Details  *\n"
            "2026/03/05  09:05:00  ATM引出し          10,000円           90,000円\n"
            "2026/03/06  12:00:00  セブン銀行 手数料     110円           89,890円\n"
            "2026/04/01  00:00:00  利息                             5円  89,895円\n");
        QTest::newRow("stored order") << csv + jnb << 1 << 0
                                      << (kJnbApr1 + kJnbMar6 + kJnbMar5).toUtf8();
        QTest::newRow("month") << csv + jnb + march << 0 << 0 << (kJnbMar6 + kJnbMar5).toUtf8();
        QTest::newRow("search") << csv + QStringList{u"--search"_s, u"AMAZON, INC"_s} << 0 << 0
                                << kEbank.section(u'\r', 0, 0).append(u'\r').toUtf8();
        QTest::newRow("stdout stays UTF-8") << csv + jnb << 0 << 2 << all;
        QTest::newRow("export, UTF-8") << exportJnb << 0 << 0 << all;
        QTest::newRow("export, UTF-8 with a BOM") << exportJnb << 0 << 1 << "\xEF\xBB\xBF" + all;
        QTest::newRow("export, Shift_JIS") << exportJnb << 0 << 2
                                           << toCp932(kJnbMar5 + kJnbMar6 + kJnbApr1);
    }
    void listAndExportWriteTheSelectedList()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, storedOrder);
        QFETCH(int, encoding);
        QFETCH(QByteArray, expected);
        QVERIFY(importStatements());
        setSetting(u"MVListOrderRule"_s, storedOrder);
        setSetting(u"MVExportEncoding"_s, encoding);
        const QByteArray before = stored();
        const CliRun r = run(arguments);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        // Exported files end their lines with CR; a list on a terminal or a pipe with LF.
        QCOMPARE(arguments[0] == u"export" ? readTestFile(path(u"out.csv"_s)) : r.out,
                 arguments[0] == u"export" ? expected : QByteArray(expected).replace('\r', '\n'));
        QCOMPARE(stored(), before); // listing and exporting change no ledger and no setting
    }

    void listJsonCarriesEveryField()
    {
        // An entry whose every field differs from its default, kept as the app keeps it.
        LedgerEntry e;
        e.setYear(2026), e.setMonth(2), e.setDay(28), e.setHour(23), e.setMinute(59);
        e.setSecond(58), e.setOrderNumber(7), e.setPayment(1200), e.setDeposit(3);
        e.setBalance(45678), e.setSummaryKind(2), e.setStatus(1), e.setMarked(1);
        e.setDate(u"2026/02/28"_s), e.setTime(u"23:59:58"_s), e.setPaymentPrice(u"1,200円"_s);
        e.setDepositPrice(u"3円"_s), e.setBalancePrice(u"45,678円"_s);
        e.setSummary(u"振込手数料"_s), e.setDetails(u"家賃の \"振込\""_s);
        {
            LedgerDatabase db;
            QList<LedgerEntry> entries{e};
            QVERIFY(openTestDatabase(db, path(u"data/Moriva"_s), nullptr)
                    && db.insertEntries(Bank::Ebank, entries, nullptr));
        }

        const CliRun r = run({u"list"_s, u"--bank"_s, u"ebank"_s, u"--format"_s, u"json"_s});
        QCOMPARE(r.exitCode, 0);
        const QByteArray expected = QByteArray(
            "[{'balance': 45678, 'balance_price': '45,678円', 'deposit': 3, 'deposit_price': '3円',"
            " 'details': '家賃の \\'振込\\'', 'id': 1, 'marked': 1, 'operation_date': '2026/02/28',"
            " 'operation_day': 28, 'operation_hour': 23, 'operation_minute': 59,"
            " 'operation_month': 2, 'operation_order': 7, 'operation_second': 58,"
            " 'operation_time': '23:59:58', 'operation_year': 2026, 'payment': 1200,"
            " 'payment_price': '1,200円', 'status': 1, 'summary': '振込手数料', 'summary_kind': 2}]")
            .replace('\'', '"');
        QVERIFY(QJsonDocument::fromJson(expected).isArray());
        QCOMPARE(QJsonDocument::fromJson(r.out), QJsonDocument::fromJson(expected));
        // An empty list is an empty JSON array.
        QCOMPARE(run({u"list"_s, u"--search"_s, u"zzz"_s, u"--format"_s, u"json"_s}).out,
                 QByteArray("[\n]\n"));
    }

    // Continuous balances, then a line whose balance is 8,895円 short of the one before.
    void gapsAreListed()
    {
        QVERIFY(importStatements());
        QCOMPARE(run({u"gaps"_s, u"--bank"_s, u"ebank"_s}).out,
                 QByteArray("Balances continuous from 2026/03/05 to 2026/03/10\n"));
        QVERIFY(writeTestFile(path(u"NBG_04.csv"_s),
                              toCp932(jnbLine(2026, 4, 2, 10, 0, 0, 4, u"x"_s, 1000, 0, 80000))));
        QCOMPARE(run({u"import"_s, u"NBG_04.csv"_s}).exitCode, 0);
        QCOMPARE(run({u"gaps"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"json"_s}).out,
                 QByteArray("[\n    {\n        \"after_date\": \"2026/04/01\",\n"
                            "        \"after_time\": \"00:00:00\",\n"
                            "        \"before_date\": \"2026/04/02\",\n"
                            "        \"before_time\": \"10:00:00\",\n"
                            "        \"expected_balance\": 88895,\n"
                            "        \"balance\": 80000,\n"
                            "        \"difference\": -8895\n    }\n]\n"));
        QCOMPARE(run({u"gaps"_s, u"--format"_s, u"csv"_s}).out,
                 "after_date,after_time,before_date,before_time,expected_balance,balance,"
                 "difference\n2026/04/01,00:00:00,2026/04/02,10:00:00,88895,80000,-8895\n");
        QCOMPARE(run({u"gaps"_s}).out,
                 u"After       Time      Before      Time      Expected   Balance  Difference\n"
                 "2026/04/01  00:00:00  2026/04/02  10:00:00  88,895円  80,000円    -8,895円\n"_s.toUtf8());
    }

    void reportSumsByPeriod_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("storedOrder"); // "MVListOrderRule": 1 is newest first
        QTest::addColumn<QByteArray>("expected");
        const QStringList jnb{u"report"_s, u"--bank"_s, u"jnb"_s, u"--format"_s};
        const QByteArray months(
            "[\n    {\n        \"period\": \"2026-03\",\n        \"entries\": 2,\n"
            "        \"paid_out\": 10110,\n        \"paid_in\": 0,\n        \"net\": -10110,\n"
            "        \"closing_balance\": 89890\n    },\n"
            "    {\n        \"period\": \"2026-04\",\n        \"entries\": 1,\n"
            "        \"paid_out\": 0,\n        \"paid_in\": 5,\n        \"net\": 5,\n"
            "        \"closing_balance\": 89895\n    }\n]\n");
        QTest::newRow("months") << jnb + QStringList{u"json"_s} << 0 << months;
        // Stored newest first: the year still closes on its last entry.
        QTest::newRow("years") << jnb + QStringList{u"csv"_s, u"--by"_s, u"year"_s} << 1
                               << QByteArray("period,entries,paid_out,paid_in,net,closing_balance\n"
                                             "2026,3,10110,5,-10105,89895\n");
        QTest::newRow("kinds of one month")
            << jnb + QStringList{u"csv"_s, u"--by"_s, u"kind"_s, u"--from"_s, u"2026-03"_s,
                                 u"--to"_s, u"2026-03"_s}
            << 0
            << QByteArray("period,kind,entries,paid_out,paid_in,net\n2026-03,atm,1,10000,0,-10000\n"
                          "2026-03,commission,1,110,0,-110\n");
        QTest::newRow("table, current bank")
            << QStringList{u"report"_s} << 0
            << u"Period   Entries  Paid out  Paid in    Net  Closing balance\n"
               "2026-03        2   1,500円  2,400円  900円          3,300円\n"_s.toUtf8();
    }
    void reportSumsByPeriod()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, storedOrder);
        QFETCH(QByteArray, expected);
        QVERIFY(importStatements());
        setSetting(u"MVListOrderRule"_s, storedOrder);
        const QByteArray before = stored();
        const CliRun r = run(arguments);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, expected);
        QCOMPARE(stored(), before);
    }

    void usageHelpAndVersion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // how stdout starts; usage errors print nothing there
        QTest::newRow("--version") << QStringList{u"--version"_s} << 0
                                   << QByteArray("moriva-cli " MORIVA_VERSION "\n");
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << QByteArray("Usage: ");
        // One of each command's mistakes, the dates' among them.
        const QList<QStringList> errors{
            {}, {u"show"_s}, {u"list"_s, u"--month"_s, u"2026-13"_s},
            {u"list"_s, u"--month"_s, u"2026-03"_s, u"--search"_s, u"ATM"_s}, {u"import"_s},
            {u"export"_s, u"a.csv"_s, u"--format"_s, u"json"_s}, {u"gaps"_s, u"NBG_2026.csv"_s},
            {u"report"_s, u"--from"_s, u"2026-04"_s, u"--to"_s, u"2026-03"_s}};
        for (const QStringList &arguments : errors)
            QTest::addRow("%s", qPrintable(arguments.join(u' '))) << arguments << 2 << QByteArray();
    }
    void usageHelpAndVersion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        const CliRun r = run(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.out.startsWith(out) && (exitCode == 0) == !r.out.isEmpty(), r.out.constData());
        // A usage error is one line on stderr.
        QVERIFY2(exitCode ? r.err.startsWith("moriva-cli: ") && r.err.count('\n') == 1
                          : r.err.isEmpty(), r.err.constData());
        // Nothing was opened, so nothing was made.
        QVERIFY(!QFileInfo::exists(path(u"data"_s)) && !QFileInfo::exists(path(u"config"_s)));
    }

    // A damaged database is told by check, and replaced by its newest backup, the damaged file
    // kept among the backups.
    void damagedDatabaseIsRestoredFromItsBackup()
    {
        QVERIFY(importStatements());
        QCOMPARE(run({u"check"_s}).out,
                 QByteArray("JNB: 3 entries\neBANK: 2 entries\nThe ledger database is sound.\n"));
        QVERIFY(writeTestFile(path(u"NBG_2026-05.csv"_s), toCp932(jnbLine(2026, 5, 1, 9, 0, 0, 1, u"利息"_s, 0, 1, 89896))));
        QCOMPARE(run({u"import"_s, u"NBG_2026-05.csv"_s}).exitCode, 0); // backs up the ledger of 3
        QByteArray damaged = readTestFile(database());
        damaged.replace(0, 16, "not SQLite at al");
        QVERIFY(writeTestFile(database(), damaged));
        CliRun r = run({u"check"_s});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.startsWith("The ledger database is damaged: "), r.out);
        r = run({u"backups"_s, u"--bank"_s, u"jnb"_s});
        QVERIFY2(r.out.startsWith("Moriva 2") && r.out.split('\n').value(0).endsWith("\t3 entries"), r.out);
        r = run({u"restore"_s});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("(JNB: 3 entries, eBANK: 2 entries)"), r.out);
        const QStringList replaced =
            QDir(path(u"data/Moriva/Backups"_s)).entryList({u"Moriva replaced *.sqlite"_s});
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(readTestFile(path(u"data/Moriva/Backups/"_s + replaced.first())), damaged);
    }

    // Output that cannot be written fails the command with the system's reason.
    void lostOutputFails()
    {
        QVERIFY(importStatements());
        const CliRun r = run({u"list"_s}, 0, u"/dev/full"_s);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("No space left on device"), r.err.constData());
    }

    // Each rejected line is named, up to 1,000 a file, then how many more there were.
    void rejectedLinesAreNamedUpToAThousand()
    {
        QByteArray bytes;
        for (int i = 0; i < 1003; ++i)
            bytes += "\"2026\",\"" + QByteArray::number(i) + "\",\"900\",\"x\"\n";
        QVERIFY(writeTestFile(path(u"eBANK_x.csv"_s), bytes));
        const CliRun r = run({u"import"_s, u"eBANK_x.csv"_s});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.err.trimmed().split('\n');
        QCOMPARE(lines.size(), 1001);
        QCOMPARE(lines.at(999), QByteArray("moriva-cli: eBANK_x.csv: line 1000: “2026” is not a date"));
        QCOMPARE(lines.at(1000), QByteArray("moriva-cli: eBANK_x.csv: 3 more lines rejected"));
    }

    // JSON is written an entry at a time; many entries still make one well-formed array.
    void jsonOfManyEntriesIsWellFormed()
    {
        QStringList lines;
        for (int i = 0; i < 20000; ++i)
            lines << jnbLine(2000 + i / 3000, 1 + i / 250 % 12, 1 + i % 28, 9, 0, 0, i,
                             u"振込"_s, i, 0, 1000000 - i);
        QVERIFY(writeTestFile(path(u"NBG_x.csv"_s), toCp932(lines.join(u"\r\n"_s))));
        QCOMPARE(run({u"import"_s, u"NBG_x.csv"_s}).exitCode, 0);
        const CliRun r = run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"json"_s});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json.array().size(), 20000);
    }

    void troubleIsReportedAndTheLedgersKept_data()
    {
        QTest::addColumn<int>("trouble");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("error"); // what stderr names
        const QString nbg = u"NBG_2026.csv"_s, ebank = u"eBANK_2026.csv"_s;
        // An unusable file between two statements: the others still come in.
        QTest::newRow("names neither bank") << int(StatementUnusable)
            << QStringList{u"import"_s, nbg, u"statement.csv"_s, ebank} << kImported
            << QByteArray("statement.csv");
        QTest::newRow("damaged database, import") << int(DamagedDatabase)
            << QStringList{u"import"_s, nbg, ebank} << QString() << nbg.toUtf8();
        QTest::newRow("locked") << int(OtherProcessHoldsTheLock)
            << QStringList{u"import"_s, nbg, ebank} << QString() << QByteArray("Moriva.lock");
        QTest::newRow("save fails") << int(SaveFails)
            << QStringList{u"import"_s, u"NBG_2026-05.csv"_s} << QString() // nothing kept: no success
            << QByteArray("not imported");
    }
    void troubleIsReportedAndTheLedgersKept()
    {
        QFETCH(int, trouble);
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        QFETCH(QByteArray, error);
        QVERIFY(writeStatements());
        QVERIFY(writeTestFile(path(u"statement.csv"_s), kJnbStatement.toUtf8()));
        if (trouble == DamagedDatabase)
            QVERIFY(writeTestFile(database(), "not a ledger at all\n"));
        else if (trouble != StatementUnusable)
            QVERIFY(importStatements());
        setSetting(u"MVCurrentBankKind"_s, 1);
        // Three hundred more JNB operations, so that an import has much to save.
        QStringList may;
        for (int i = 0; i < 300; ++i)
            may << jnbLine(2026, 5, 1 + i % 28, 10, i % 60, 0, 4 + i, u"ATM入金"_s, 0, 1, 90000 + i);
        QVERIFY(writeTestFile(path(u"NBG_2026-05.csv"_s), toCp932(may.join(u"\r\n"))));
        const QByteArray before = stored(), storedBefore = storedDatabase();

        QLockFile lock(path(u"data/Moriva/Moriva.lock"_s)); // another Moriva process
        QVERIFY(trouble != OtherProcessHoldsTheLock || lock.tryLock(0));
        // The file size limit lets the lock and the settings be written, not the grown ledger.
        const CliRun r = run(arguments, trouble == SaveFails ? 4096 : 0);
        lock.unlock();
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(QString::fromUtf8(r.out), out);
        QVERIFY2(r.err.contains(error) && r.err.startsWith("moriva-cli: "), r.err.constData());
        if (trouble == StatementUnusable) { // one line names the file, one the rejected line
            QCOMPARE(r.err.count('\n'), 2);
            QCOMPARE(run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"csv"_s}).out,
                     (kJnbMar5 + kJnbMar6 + kJnbApr1).toUtf8().replace('\r', '\n'));
        } else { // the ledger stays as it was
            QCOMPARE(storedDatabase(), storedBefore);
            QVERIFY(trouble == DamagedDatabase || stored() == before);
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "CliTest.moc"
