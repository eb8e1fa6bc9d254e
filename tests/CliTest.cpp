// moriva-cli end to end: the real executable, run with HOME and the XDG folders in a temporary
// folder, on real statement files, archives and settings.

#include "TestSupport.h"
#include "ledger/DataFolder.h"
#include "ledger/LedgerArchive.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QStringList errLines() const
    {
        return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts);
    }
};

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

// The JNB ledger above as the app exports it, oldest first.
const QString kJnbMar5 = u"2026/03/05,09:05:00,ATM引出し,10000,0,90000,\r"_s;
const QString kJnbMar6 = u"2026/03/06,12:00:00,セブン銀行 手数料,110,0,89890,\r"_s;
const QString kJnbApr1 = u"2026/04/01,00:00:00,利息,0,5,89895,\r"_s;
const QString kEbankMar5 = u"2026/03/05,,\"AMAZON, INC\",1500,0,900,\r"_s;
const QString kEbankMar10 = u"2026/03/10,,振込 ヤマダ,0,2400,3300,\r"_s;

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importReportsEachFileAndSavesAsTheAppDoes();
    void importGoesOnPastAFileItCannotUse_data();
    void importGoesOnPastAFileItCannotUse();

    void listShowsTheSelectedList_data();
    void listShowsTheSelectedList();
    void listCsvIsTheExportFile();
    void exportUsesTheStoredEncoding_data();
    void exportUsesTheStoredEncoding();
    void listJsonCarriesEveryField();
    void listTableLinesUpWideCharacters();
    void listAndExportChangeNothingInTheDataFolder();
    void exportReportsAFileItCannotWrite();

    void usageErrors_data();
    void usageErrors();
    void helpAndVersion();

    void damagedArchiveIsNeverOverwritten();
    void lockedDataFolderIsReported_data();
    void lockedDataFolderIsReported();
    void failedSaveKeepsTheOldArchive_data();
    void failedSaveKeepsTheOldArchive();

private:
    CliRun run(const QStringList &arguments);
    QString path(const QString &name) const { return m_home->filePath(name); }
    QString dataFolder() const { return path(u"data/Moriva"_s); }
    QString archivePath(int bank) const
    {
        return dataFolder() + u'/' + DataFolder::archiveFileName(bank);
    }
    QString settingsPath() const { return path(u"config/Moriva/Moriva.conf"_s); }
    void writeStatements();
    void importStatements();
    // Every file of the data and settings folders with its bytes.
    QMap<QString, QByteArray> snapshot() const;

    std::unique_ptr<QTemporaryDir> m_home;
};

void CliTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

void CliTest::cleanup()
{
    // A folder a test made read-only must be removable again.
    QFile::setPermissions(dataFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                            | QFileDevice::ExeOwner);
    m_home.reset();
}

CliRun CliTest::run(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, m_home->path());
    env.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
    env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_home->path());
    process.start(QStringLiteral(MORIVA_CLI_PATH), arguments);
    CliRun result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void CliTest::writeStatements()
{
    QVERIFY(writeTestFile(path(u"NBG_2026.csv"_s), toCp932(kJnbStatement)));
    QVERIFY(writeTestFile(path(u"eBANK_2026.csv"_s), kEbankStatement.toUtf8()));
}

void CliTest::importStatements()
{
    writeStatements();
    const CliRun r = run({u"import"_s, u"NBG_2026.csv"_s, u"eBANK_2026.csv"_s});
    QCOMPARE(r.exitCode, 0);
}

QMap<QString, QByteArray> CliTest::snapshot() const
{
    QMap<QString, QByteArray> files;
    for (const QString &folder : {path(u"data"_s), path(u"config"_s)}) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            files.insert(file, readTestFile(file));
        }
    }
    return files;
}

// ---------------------------------------------------------------- import

void CliTest::importReportsEachFileAndSavesAsTheAppDoes()
{
    writeStatements();
    CliRun r = run({u"import"_s, u"NBG_2026.csv"_s, u"eBANK_2026.csv"_s});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(QString::fromUtf8(r.out),
             u"NBG_2026.csv: JNB, 3 added, 0 duplicates, 0 rejected\n"
             u"eBANK_2026.csv: eBANK, 2 added, 0 duplicates, 1 rejected\n"_s);
    QVERIFY(QFile::exists(archivePath(1)));
    QVERIFY(QFile::exists(archivePath(2)));
    // As at the app's quit: the bank of the last file is the current one now.
    QCOMPARE(QSettings(settingsPath(), QSettings::IniFormat).value(u"MVCurrentBankKind"_s).toInt(),
             2);

    // Importing the same statement again adds nothing.
    r = run({u"import"_s, u"NBG_2026.csv"_s});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromUtf8(r.out), u"NBG_2026.csv: JNB, 0 added, 3 duplicates, 0 rejected\n"_s);
    r = run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"csv"_s});
    QCOMPARE(QString::fromUtf8(r.out), kJnbMar5 + kJnbMar6 + kJnbApr1);
}

void CliTest::importGoesOnPastAFileItCannotUse_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content"); // null: no file at all

    QTest::newRow("names neither bank") << u"statement.csv"_s << kJnbStatement.toUtf8();
    QTest::newRow("empty") << u"empty_NBG.csv"_s << QByteArray("");
    QTest::newRow("missing") << u"missing_eBANK.csv"_s << QByteArray();
}

void CliTest::importGoesOnPastAFileItCannotUse()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    writeStatements();
    if (!content.isNull())
        QVERIFY(writeTestFile(path(fileName), content));

    const CliRun r = run({u"import"_s, u"NBG_2026.csv"_s, fileName, u"eBANK_2026.csv"_s});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(QString::fromUtf8(r.out),
             u"NBG_2026.csv: JNB, 3 added, 0 duplicates, 0 rejected\n"
             u"eBANK_2026.csv: eBANK, 2 added, 0 duplicates, 1 rejected\n"_s);
    const QStringList errors = r.errLines();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(fileName), qPrintable(errors.first()));

    QCOMPARE(run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"csv"_s}).out,
             (kJnbMar5 + kJnbMar6 + kJnbApr1).toUtf8());
    QCOMPARE(run({u"list"_s, u"--bank"_s, u"ebank"_s, u"--format"_s, u"csv"_s}).out,
             (kEbankMar5 + kEbankMar10).toUtf8());
}

// ---------------------------------------------------------------- list and export

void CliTest::listShowsTheSelectedList_data()
{
    QTest::addColumn<int>("storedOrderRule");
    QTest::addColumn<QStringList>("selectors");
    QTest::addColumn<QString>("expected");

    // The last import was eBANK's, so eBANK is the current bank.
    QTest::newRow("current bank, stored order")
        << 0 << QStringList{} << kEbankMar5 + kEbankMar10;
    QTest::newRow("whole ledger") << 0 << QStringList{u"--bank"_s, u"jnb"_s}
                                  << kJnbMar5 + kJnbMar6 + kJnbApr1;
    QTest::newRow("newest first")
        << 0 << QStringList{u"--bank"_s, u"jnb"_s, u"--order"_s, u"desc"_s}
        << kJnbApr1 + kJnbMar6 + kJnbMar5;
    QTest::newRow("stored newest first")
        << 1 << QStringList{u"--bank"_s, u"jnb"_s} << kJnbApr1 + kJnbMar6 + kJnbMar5;
    QTest::newRow("stored newest first, asked oldest first")
        << 1 << QStringList{u"--bank"_s, u"jnb"_s, u"--order"_s, u"asc"_s}
        << kJnbMar5 + kJnbMar6 + kJnbApr1;
    QTest::newRow("month") << 0 << QStringList{u"--bank"_s, u"jnb"_s, u"--month"_s, u"2026-03"_s}
                           << kJnbMar5 + kJnbMar6;
    QTest::newRow("month newest first")
        << 0
        << QStringList{u"--bank"_s, u"jnb"_s, u"--month"_s, u"2026-03"_s, u"--order"_s, u"desc"_s}
        << kJnbMar6 + kJnbMar5;
    QTest::newRow("month without entries")
        << 0 << QStringList{u"--bank"_s, u"jnb"_s, u"--month"_s, u"2025-03"_s} << QString();
    QTest::newRow("search")
        << 0 << QStringList{u"--bank"_s, u"jnb"_s, u"--search"_s, u"手数料"_s} << kJnbMar6;
    QTest::newRow("search with a comma")
        << 0 << QStringList{u"--search"_s, u"AMAZON, INC"_s} << kEbankMar5;
    QTest::newRow("search without hits")
        << 0 << QStringList{u"--bank"_s, u"jnb"_s, u"--search"_s, u"zzz"_s} << QString();
}

void CliTest::listShowsTheSelectedList()
{
    QFETCH(int, storedOrderRule);
    QFETCH(QStringList, selectors);
    QFETCH(QString, expected);
    importStatements();
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(u"MVListOrderRule"_s, storedOrderRule);
    }

    const CliRun r = run(QStringList{u"list"_s, u"--format"_s, u"csv"_s} + selectors);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(QString::fromUtf8(r.out), expected);
}

void CliTest::listCsvIsTheExportFile()
{
    importStatements();
    const QList<QStringList> selections{
        {u"--bank"_s, u"jnb"_s},
        {u"--bank"_s, u"ebank"_s},
        {u"--bank"_s, u"jnb"_s, u"--month"_s, u"2026-03"_s, u"--order"_s, u"desc"_s},
    };
    for (const QStringList &selectors : selections) {
        const CliRun listed = run(QStringList{u"list"_s, u"--format"_s, u"csv"_s} + selectors);
        QCOMPARE(listed.exitCode, 0);
        const CliRun exported = run(QStringList{u"export"_s, u"out.csv"_s} + selectors);
        QCOMPARE(exported.exitCode, 0);
        QCOMPARE(exported.err, QByteArray());
        const QByteArray file = readTestFile(path(u"out.csv"_s));
        QCOMPARE(file, listed.out);
        QVERIFY(file.endsWith('\r'));
        QVERIFY(!file.contains('\n'));
    }
}

void CliTest::exportUsesTheStoredEncoding_data()
{
    QTest::addColumn<int>("encoding"); // "MVExportEncoding"
    QTest::newRow("UTF-8 with a byte-order mark") << 1;
    QTest::newRow("Shift_JIS") << 2;
}

void CliTest::exportUsesTheStoredEncoding()
{
    QFETCH(int, encoding);
    importStatements();
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(u"MVExportEncoding"_s, encoding);
    }
    const QString text = kJnbMar5 + kJnbMar6 + kJnbApr1;
    // The list on stdout stays UTF-8 whatever the encoding of export files.
    QCOMPARE(run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--format"_s, u"csv"_s}).out, text.toUtf8());
    QCOMPARE(run({u"export"_s, u"out.csv"_s, u"--bank"_s, u"jnb"_s}).exitCode, 0);
    QCOMPARE(readTestFile(path(u"out.csv"_s)),
             encoding == 1 ? "\xEF\xBB\xBF" + text.toUtf8() : toCp932(text));
}

void CliTest::listJsonCarriesEveryField()
{
    // An entry whose every field differs from its default, kept as the app keeps it.
    LedgerEntryPtr entry = LedgerEntry::create();
    entry->setYear(2026);
    entry->setMonth(2);
    entry->setDay(28);
    entry->setHour(23);
    entry->setMinute(59);
    entry->setSecond(58);
    entry->setOrderNumber(7);
    entry->setPayment(1200);
    entry->setDeposit(3);
    entry->setBalance(45678);
    entry->setSummaryKind(2);
    entry->setStatus(1);
    entry->setMarked(1);
    entry->setDate(u"2026/02/28"_s);
    entry->setTime(u"23:59:58"_s);
    entry->setPaymentPrice(u"1,200円"_s);
    entry->setDepositPrice(u"3円"_s);
    entry->setBalancePrice(u"45,678円"_s);
    entry->setSummary(u"振込手数料"_s);
    entry->setImportedSummary(u"振込手数料"_s);
    entry->setDetails(u"家賃の \"振込\""_s);
    QVERIFY(DataFolder::findOrCreate(dataFolder()));
    QString why;
    QVERIFY2(LedgerArchive::save(archivePath(2), {entry}, &why), qPrintable(why));

    const CliRun r = run({u"list"_s, u"--bank"_s, u"ebank"_s, u"--format"_s, u"json"_s});
    QCOMPARE(r.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document.isArray());
    QCOMPARE(document.array().size(), 1);
    const QJsonObject expected{
        {u"operation_year"_s, 2026},       {u"operation_month"_s, 2},
        {u"operation_day"_s, 28},          {u"operation_hour"_s, 23},
        {u"operation_minute"_s, 59},       {u"operation_second"_s, 58},
        {u"operation_order"_s, 7},         {u"payment"_s, 1200},
        {u"deposit"_s, 3},                 {u"balance"_s, 45678},
        {u"summary_kind"_s, 2},            {u"status"_s, 1},
        {u"marked"_s, 1},                  {u"operation_date"_s, u"2026/02/28"_s},
        {u"operation_time"_s, u"23:59:58"_s}, {u"payment_price"_s, u"1,200円"_s},
        {u"deposit_price"_s, u"3円"_s},    {u"balance_price"_s, u"45,678円"_s},
        {u"summary"_s, u"振込手数料"_s},   {u"details"_s, u"家賃の \"振込\""_s},
    };
    QCOMPARE(document.array().first().toObject(), expected);

    // The mark shows in the table too; an empty list is an empty JSON array.
    QVERIFY(run({u"list"_s, u"--bank"_s, u"ebank"_s}).out.trimmed().endsWith('*'));
    const CliRun none = run({u"list"_s, u"--bank"_s, u"ebank"_s, u"--search"_s, u"zzz"_s,
                             u"--format"_s, u"json"_s});
    QCOMPARE(QJsonDocument::fromJson(none.out).array(), QJsonArray());
}

void CliTest::listTableLinesUpWideCharacters()
{
    importStatements();
    const CliRun r = run({u"list"_s, u"--bank"_s, u"jnb"_s});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4); // the column titles and three entries
    QVERIFY(lines[0].startsWith(u"Date"));

    // Kanji, kana and the yen sign take two columns in a terminal: the balance column, whose
    // values are right-aligned after the summaries, ends in the same terminal column on each line.
    const auto columnsUpTo = [](const QString &line, const QString &text) {
        const qsizetype end = line.indexOf(text) + text.size();
        int columns = 0;
        for (qsizetype i = 0; i < end; ++i)
            columns += line[i].unicode() >= 0x1100 ? 2 : 1;
        return columns;
    };
    const int edge = columnsUpTo(lines[0], u"Balance"_s);
    QCOMPARE(columnsUpTo(lines[1], u"90,000円"_s), edge);
    QCOMPARE(columnsUpTo(lines[2], u"89,890円"_s), edge);
    QCOMPARE(columnsUpTo(lines[3], u"89,895円"_s), edge);
}

void CliTest::listAndExportChangeNothingInTheDataFolder()
{
    importStatements();
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(u"MVBankbookTableViewKind"_s, 1);
    }
    const QMap<QString, QByteArray> before = snapshot();
    QCOMPARE(run({u"list"_s, u"--bank"_s, u"jnb"_s, u"--month"_s, u"2026-03"_s, u"--order"_s,
                  u"desc"_s})
                 .exitCode,
             0);
    QCOMPARE(run({u"list"_s, u"--search"_s, u"AMAZON"_s, u"--format"_s, u"json"_s}).exitCode, 0);
    QCOMPARE(run({u"export"_s, u"out.csv"_s, u"--bank"_s, u"jnb"_s}).exitCode, 0);
    QCOMPARE(snapshot(), before);
}

void CliTest::exportReportsAFileItCannotWrite()
{
    importStatements();
    const CliRun r = run({u"export"_s, u"no/such/folder/out.csv"_s});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.errLines().size(), 1);
    QVERIFY2(r.errLines().first().contains(u"no/such/folder/out.csv"), r.err.constData());
}

// ---------------------------------------------------------------- usage

void CliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("no command") << QStringList{};
    QTest::newRow("unknown command") << QStringList{u"show"_s};
    QTest::newRow("unknown option") << QStringList{u"list"_s, u"--colour"_s};
    QTest::newRow("month 13") << QStringList{u"list"_s, u"--month"_s, u"2026-13"_s};
    QTest::newRow("month 0") << QStringList{u"list"_s, u"--month"_s, u"2026-00"_s};
    QTest::newRow("month not a date") << QStringList{u"list"_s, u"--month"_s, u"abc"_s};
    QTest::newRow("month without value") << QStringList{u"list"_s, u"--month"_s};
    QTest::newRow("unknown bank") << QStringList{u"list"_s, u"--bank"_s, u"mizuho"_s};
    QTest::newRow("month and search")
        << QStringList{u"list"_s, u"--month"_s, u"2026-03"_s, u"--search"_s, u"ATM"_s};
    QTest::newRow("empty keyword") << QStringList{u"list"_s, u"--search"_s, u""_s};
    QTest::newRow("unknown order") << QStringList{u"list"_s, u"--order"_s, u"newest"_s};
    QTest::newRow("unknown format") << QStringList{u"list"_s, u"--format"_s, u"xml"_s};
    QTest::newRow("list with a file") << QStringList{u"list"_s, u"NBG_2026.csv"_s};
    QTest::newRow("import without files") << QStringList{u"import"_s};
    QTest::newRow("import with a selector")
        << QStringList{u"import"_s, u"--bank"_s, u"jnb"_s, u"NBG_2026.csv"_s};
    QTest::newRow("export without a file") << QStringList{u"export"_s};
    QTest::newRow("export with two files") << QStringList{u"export"_s, u"a.csv"_s, u"b.csv"_s};
    QTest::newRow("export with a format")
        << QStringList{u"export"_s, u"a.csv"_s, u"--format"_s, u"json"_s};
}

void CliTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    writeStatements();
    const CliRun r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.errLines().size(), 1);
    QVERIFY(r.err.startsWith("moriva-cli: "));
    // Nothing was opened, so nothing was made.
    QVERIFY(!QFileInfo::exists(path(u"data"_s)));
    QVERIFY(!QFileInfo::exists(path(u"config"_s)));
}

void CliTest::helpAndVersion()
{
    CliRun r = run({u"--version"_s});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("moriva-cli " MORIVA_VERSION "\n"));

    r = run({u"--help"_s});
    QCOMPARE(r.exitCode, 0);
    for (const char *word : {"import", "list", "export", "--bank", "--month", "--search",
                             "--order", "--format"})
        QVERIFY2(r.out.contains(word), word);
}

// ---------------------------------------------------------------- data folder troubles

void CliTest::damagedArchiveIsNeverOverwritten()
{
    writeStatements();
    const QByteArray garbage("not a ledger at all\n");
    QVERIFY(writeTestFile(archivePath(1), garbage)); // JNB, the current bank by default

    CliRun r = run({u"list"_s});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.errLines().size(), 1);
    QVERIFY2(r.err.contains("BankbookArchive(JNB).mvrk"), r.err.constData());

    // The eBANK file still goes in; the JNB one is refused and its archive stays as it was.
    r = run({u"import"_s, u"NBG_2026.csv"_s, u"eBANK_2026.csv"_s});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(QString::fromUtf8(r.out),
             u"eBANK_2026.csv: eBANK, 2 added, 0 duplicates, 1 rejected\n"_s);
    QVERIFY2(r.err.contains("NBG_2026.csv"), r.err.constData());
    QCOMPARE(readTestFile(archivePath(1)), garbage);

    r = run({u"import"_s, u"NBG_2026.csv"_s});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(readTestFile(archivePath(1)), garbage);

    QCOMPARE(run({u"list"_s, u"--bank"_s, u"ebank"_s, u"--format"_s, u"csv"_s}).out,
             (kEbankMar5 + kEbankMar10).toUtf8());
    QCOMPARE(run({u"list"_s, u"--bank"_s, u"jnb"_s}).exitCode, 1);
}

void CliTest::lockedDataFolderIsReported_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("import") << QStringList{u"import"_s, u"NBG_2026.csv"_s};
    QTest::newRow("list") << QStringList{u"list"_s};
}

void CliTest::lockedDataFolderIsReported()
{
    QFETCH(QStringList, arguments);
    importStatements();
    const QMap<QString, QByteArray> before = snapshot();

    // Another Moriva process holds the ledgers.
    QLockFile lock(dataFolder() + u"/Moriva.lock"_s);
    QVERIFY(lock.tryLock(0));
    const CliRun r = run(arguments);
    lock.unlock();

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.errLines().size(), 1);
    QVERIFY2(r.err.contains("Moriva.lock"), r.err.constData());
    QCOMPARE(snapshot(), before);
}

void CliTest::failedSaveKeepsTheOldArchive_data()
{
    QTest::addColumn<bool>("wholeFolder"); // else only the archive file is read-only
    QTest::newRow("read-only data folder") << true;
    QTest::newRow("read-only archive") << false;
}

void CliTest::failedSaveKeepsTheOldArchive()
{
    QFETCH(bool, wholeFolder);
    writeStatements();
    QCOMPARE(run({u"import"_s, u"NBG_2026.csv"_s}).exitCode, 0);
    const QByteArray archive = readTestFile(archivePath(1));
    QVERIFY(!archive.isEmpty());

    // One more operation, so that the import has something to save.
    QVERIFY(writeTestFile(path(u"NBG_2026-05.csv"_s),
                          toCp932(u"2026,5,1,10,0,0,4,ATM入金,0,1000,90895\r\n"_s)));
    const QString locked = wholeFolder ? dataFolder() : archivePath(1);
    const QFileDevice::Permissions readOnly =
        wholeFolder ? QFileDevice::ReadOwner | QFileDevice::ExeOwner : QFileDevice::ReadOwner;
    QVERIFY(QFile::setPermissions(locked, readOnly));
    {
        QFile probe(wholeFolder ? dataFolder() + u"/probe"_s : archivePath(1));
        if (probe.open(QIODevice::Append)) {
            probe.close();
            if (wholeFolder)
                probe.remove();
            QSKIP("Permissions do not stop writes here (running as root?)");
        }
    }

    const CliRun r = run({u"import"_s, u"NBG_2026-05.csv"_s});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.err.isEmpty());
    if (wholeFolder) // not even the lock file can be made there
        QVERIFY2(r.err.contains(dataFolder().toUtf8()), r.err.constData());
    else
        QVERIFY2(r.err.contains("not saved"), r.err.constData());
    QCOMPARE(readTestFile(archivePath(1)), archive);
}

QTEST_GUILESS_MAIN(CliTest)
#include "CliTest.moc"
