#include "views/Preferences.h"
#include "views/Settings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Settings;

class PreferencesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    // Before anything touches QSettings: it keeps the paths it finds first.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path())); }

    // Bank 0 reads as JNB; other numbers are kept as stored, to be written back unchanged.
    void readAndWriteBack_data()
    {
        QTest::addColumn<QVariantList>("stored"); // in the order of the keys below
        // list order, list mode, window style, bank, update check at start, export encoding
        QTest::addColumn<QList<int>>("read");
        QTest::newRow("nothing stored") << QVariantList() << QList{0, 0, 0, 1, 0, 0, 0};
        QTest::newRow("everything") << QVariantList{1, 2, 1, 2, true, 2, 202603} << QList{1, 2, 1, 2, 1, 2, 202603};
        QTest::newRow("odd numbers") << QVariantList{7, 9, 3, 0, false, 5, 13} << QList{7, 9, 3, 1, 0, 5, 13};
    }
    void readAndWriteBack()
    {
        QFETCH(QVariantList, stored); QFETCH(QList<int>, read);
        const QList<const char *> keys{ListOrderKey, ListModeKey, WindowStyle, CurrentBank,
                                       CheckForUpdatesAtStart, ExportEncoding, MonthShown};
        QSettings s = store();
        s.clear();
        for (int i = 0; i < stored.size(); ++i)
            s.setValue(key(keys[i]), stored[i]);
        s.sync();
        const auto fieldsOf = [](const Preferences &p) {
            return QList{int(p.listOrder), int(p.listMode), p.windowStyle, int(p.bank),
                         int(p.checkForUpdatesAtStart), int(p.exportEncoding), p.month};
        };
        QCOMPARE(fieldsOf(Preferences::read()), read);
        QVERIFY(Preferences::read().write(nullptr));
        s.sync();
        for (const char *name : keys)
            QVERIFY2(s.contains(key(name)), name);
        QCOMPARE(fieldsOf(Preferences::read()), read);
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
