// Reading a statement refuses at once what cannot be one, so that it can neither hang nor fill
// the memory, and reads a regular file whole.

#include "FileTestSupport.h"
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
        QTest::newRow("too large") << u"large"_s << u"larger than any statement"_s;
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
        else if (kind == u"large") {
            QFile file(path); // sparse: no disk is used
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(StatementFile::kMaxBytes + 1));
        }
        StatementFile file;
        QString error;
        QVERIFY(!file.open(path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void readsARegularFileWhole_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("cutShort"); // by another program once the file is open
        QTest::newRow("statement cut short") << QByteArray(70000, 'x') << true;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void readsARegularFileWhole()
    {
        QFETCH(QByteArray, content); QFETCH(bool, cutShort);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"NBG.csv"_s);
        QVERIFY(writeTestFile(path, content));
        StatementFile file;
        QString error;
        QVERIFY2(file.open(path, &error), qPrintable(error));
        QVERIFY(!cutShort || QFile::resize(path, 1));
        QCOMPARE(file.bytes().toByteArray(), content);
        // Moved (as into an import), the bytes stay where they were until let go of.
        const QByteArrayView before = file.bytes();
        StatementFile moved = std::move(file);
        QCOMPARE(moved.bytes().data(), before.data());
        QCOMPARE(moved.bytes().size(), content.size());
    }
};

QTEST_GUILESS_MAIN(StatementFileTest)
#include "StatementFileTest.moc"
