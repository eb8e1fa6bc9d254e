// The data folder's helpers: what Moriva creates is its user's alone whatever the umask, and a
// symbolic link is neither created through, narrowed nor followed. Run with umask 0, the most open one.

#include "FileTestSupport.h"
#include "ledger/DataFolder.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class DataFolderTest : public QObject
{
    Q_OBJECT

    mode_t m_umask = 0;

private slots:
    void initTestCase() { m_umask = ::umask(0); }
    void cleanupTestCase() { ::umask(m_umask); }

    void createdFoldersAreTheUsersAlone_data()
    {
        QTest::addColumn<QString>("existing"); // relative to the temporary folder; mode 0755
        QTest::addColumn<QString>("wanted"); QTest::addColumn<QStringList>("created");
        QTest::newRow("with missing parents")
            << QString() << u"home/.local/share/Moriva"_s
            << QStringList{u"home"_s, u"home/.local"_s, u"home/.local/share"_s, u"home/.local/share/Moriva"_s};
        QTest::newRow("already there") << u"Moriva"_s << u"Moriva"_s << QStringList();
    }
    void createdFoldersAreTheUsersAlone()
    {
        QFETCH(QString, existing); QFETCH(QString, wanted); QFETCH(QStringList, created);
        QTemporaryDir dir;
        if (!existing.isEmpty()) {
            QVERIFY(QDir(dir.path()).mkpath(existing));
            QCOMPARE(::chmod(QFile::encodeName(dir.filePath(existing)).constData(), 0755), 0);
        }
        QVERIFY(DataFolder::findOrCreate(dir.filePath(wanted)));
        QVERIFY(QFileInfo(dir.filePath(wanted)).isDir());
        for (const QString &folder : created)
            QCOMPARE(modeOf(dir.filePath(folder)), 0700);
        if (!existing.isEmpty())
            QCOMPARE(modeOf(dir.filePath(existing)), 0755); // the user's choice stays
    }

    void privateFiles_data()
    {
        QTest::addColumn<QString>("before"); // what is at the path: "", "file" or "dangling link"
        QTest::newRow("nothing there") << QString();
        QTest::newRow("a file") << u"file"_s;
        QTest::newRow("a dangling link") << u"dangling link"_s;
    }
    void privateFiles()
    {
        QFETCH(QString, before);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Moriva.sqlite"_s);
        const QString target = dir.filePath(u"elsewhere"_s);
        QVERIFY(before != u"file" || writeTestFile(path, "mine"));
        QVERIFY(before != u"dangling link" || QFile::link(target, path));
        const bool created = before.isEmpty();
        QString error;
        QCOMPARE(DataFolder::createPrivateFile(path, &error), created);
        if (created)
            QCOMPARE(modeOf(path), 0600);
        QCOMPARE(readTestFile(path), QByteArray(before == u"file" ? "mine" : ""));
        QVERIFY(!QFileInfo::exists(target)); // nothing made through the link
    }

    // The window and the tool refuse a linked database through this alone (Backups has more).
    void symlinksAreRefused_data()
    {
        QTest::addColumn<QString>("kind"); QTest::addColumn<bool>("refused");
        QTest::newRow("file") << u"file"_s << false;
        QTest::newRow("link to a file") << u"link"_s << true;
    }
    void symlinksAreRefused()
    {
        QFETCH(QString, kind); QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Backups"_s);
        const QString target = dir.filePath(u"other"_s);
        QVERIFY(writeTestFile(kind == u"file" ? path : target, "x"));
        QVERIFY(kind != u"link" || QFile::link(target, path));
        QString error;
        QCOMPARE(DataFolder::refuseSymlink(path, &error), !refused);
        QCOMPARE(error.contains(path), refused);
    }

    void makePrivateNarrowsAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"export.csv"_s);
        const QString link = dir.filePath(u"link.csv"_s);
        QVERIFY(writeTestFile(path, "x") && QFile::link(path, link));
        QVERIFY(!DataFolder::makePrivate(link, nullptr)); // not through a link
        QCOMPARE(modeOf(path), 0666); // as QFile made it under umask 0
        QVERIFY(DataFolder::makePrivate(path, nullptr));
        QCOMPARE(modeOf(path), 0600);
    }
};

QTEST_GUILESS_MAIN(DataFolderTest)
#include "DataFolderTest.moc"
