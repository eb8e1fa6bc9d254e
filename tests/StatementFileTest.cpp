// Reading a statement refuses at once what cannot be one, so that it can neither hang nor fill
// the memory, and reads a regular file whole.

#include "TestSupport.h"
#include "import/StatementFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class StatementFileTest : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo") << u"fifo"_s << u"not a regular file"_s;
        QTest::newRow("device behind a link") << u"device"_s << u"not a regular file"_s;
        QTest::newRow("folder") << u"folder"_s << u"folder"_s;
        QTest::newRow("too large") << u"large"_s << u"larger than any statement"_s;
        QTest::newRow("missing") << u"missing"_s << u"Cannot open"_s;
    }
    void refusesWhatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"x_NBG.csv"_s);
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"device")
            QVERIFY(QFile::link(u"/dev/zero"_s, path));
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == u"large") {
            QFile file(path); // sparse: no disk is used
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(StatementFile::kMaxBytes + 1));
        }
        StatementFile file;
        QString error;
        QVERIFY(!file.open(path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(file.bytes().isEmpty());
    }

    void readsARegularFileWhole_data()
    {
        QTest::addColumn<QString>("path"); // empty: a file written here
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("cutShort"); // by another program once the file is open
        QTest::newRow("statement") << QString() << toCp932(u"操作日(年)\r\n\"2026\",\"3\"\r\n"_s) << false;
        QTest::newRow("statement cut short") << QString() << QByteArray(70000, 'x') << true;
        QTest::newRow("empty") << QString() << QByteArray() << false;
        // A file that claims no size, yet gives bytes when read.
        QFile version(u"/proc/version"_s);
        QVERIFY(version.open(QIODevice::ReadOnly));
        QTest::newRow("/proc") << version.fileName() << version.readAll() << false;
    }
    void readsARegularFileWhole()
    {
        QFETCH(QString, path); QFETCH(QByteArray, content); QFETCH(bool, cutShort);
        QTemporaryDir dir;
        if (path.isEmpty()) {
            path = dir.filePath(u"NBG.csv"_s);
            QVERIFY(writeTestFile(path, content));
        }
        StatementFile file;
        QString error;
        QVERIFY2(file.open(path, &error), qPrintable(error));
        QVERIFY(!cutShort || QFile::resize(path, 1));
        QCOMPARE(file.bytes().toByteArray(), content);
        // Moved (as into an import), the bytes stay where they were until let go of.
        const QByteArrayView before = file.bytes();
        StatementFile moved = std::move(file);
        QCOMPARE(moved.bytes().data(), before.data());
        QCOMPARE(moved.bytes().toByteArray(), content);
        moved.close();
        QVERIFY(moved.bytes().isEmpty());
    }
};

QTEST_GUILESS_MAIN(StatementFileTest)
#include "StatementFileTest.moc"
