// The autosave: a change reaches the archive a moment later without anyone asking, a save that
// fails keeps the changes and says why, and a save at quit waits for one under way.

#include "TestSupport.h"
#include "ledger/LedgerArchive.h"
#include "views/Controller.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class AutoSaverTest : public QObject
{
    Q_OBJECT

    static QString archiveOf(const Controller &c) { return c.ledger().filePath(); }
    static qsizetype entriesOnDisk(const Controller &c)
    {
        return LedgerArchive::load(archiveOf(c)).items.size();
    }

private slots:
    void changesReachTheArchiveByThemselves()
    {
        QTemporaryDir dir;
        std::unique_ptr<Controller> c = openTestController(dir.filePath(u"data"_s));
        c->setAutoSave(true);
        QStringList lines;
        for (int day = 1; day <= 28; ++day)
            lines << jnbLine(2026, 2, day, 9, 0, 0, 1, u"振込"_s, 0, day, 1000 + day);
        c->importText(u"NBG.csv"_s, lines.join(u'\n'));
        QTRY_COMPARE_WITH_TIMEOUT(entriesOnDisk(*c), 28, 10000);
        // The file is in place a moment before the window's thread hears that it is.
        QTRY_VERIFY_WITH_TIMEOUT(!c->ledger().isModified(), 10000);

        // A steady stream of changes is saved all the same, and the last one too.
        for (int row = 0; row < 5; ++row) {
            c->toggleMark(row);
            QTest::qWait(AutoSaver::kDelayMs / 3);
        }
        c->removeEntry(27);
        QTRY_COMPARE_WITH_TIMEOUT(entriesOnDisk(*c), 27, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!c->ledger().isModified(), 10000);
        const QList<LedgerEntryPtr> saved = LedgerArchive::load(archiveOf(*c)).items;
        QCOMPARE(saved.at(4)->marked(), 1);
    }

    void aFailedSaveKeepsTheChangesAndSaysWhy()
    {
        QTemporaryDir dir;
        std::unique_ptr<Controller> c = openTestController(dir.filePath(u"data"_s));
        c->setAutoSave(true);
        // A folder where the archive goes: no save can put a file there, not even as root.
        QVERIFY(QDir().mkpath(archiveOf(*c) + u"/occupied"_s));
        QSignalSpy failed(c.get(), &Controller::autoSaveFailed);
        c->importText(u"NBG.csv"_s, jnbLine(2026, 3, 5, 9, 0, 0, 1, u"ATM"_s, 1000, 0, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), 10000);
        QVERIFY(failed.first().first().toString().contains(archiveOf(*c)));
        QVERIFY(c->ledger().isModified());

        QVERIFY(QDir(archiveOf(*c)).removeRecursively());
        QString error;
        QVERIFY2(c->saveLedger(&error), qPrintable(error));
        QCOMPARE(entriesOnDisk(*c), 1);
    }
};

QTEST_GUILESS_MAIN(AutoSaverTest)
#include "AutoSaverTest.moc"
