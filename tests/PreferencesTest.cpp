#include "views/Preferences.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PreferencesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;


private slots:
    void initTestCase()
    {
        // Before anything touches QSettings: it keeps the paths it finds first.
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(u"config"_s).toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_home.filePath(u"data"_s).toLocal8Bit());
    }
    void init()
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, u"Moriva"_s, u"Moriva"_s);
        s.clear();
        s.sync();
    }

    void emptyStoreGivesDefaults()
    {
        const Preferences p = Preferences::read();
        QCOMPARE(p.listOrderRule, 0);
        QCOMPARE(p.tableViewKind, 0);
        QCOMPARE(p.windowStyle, 0);
        QCOMPARE(p.currentBank, 1);
        QCOMPARE(p.checkLatestVersionAtStartup, false);
    }

    void roundTrip()
    {
        Preferences p;
        p.listOrderRule = 1;
        p.tableViewKind = 2;
        p.windowStyle = 1;
        p.currentBank = 2;
        p.checkLatestVersionAtStartup = true;
        QString error;
        QVERIFY2(p.write(&error), qPrintable(error));
        QVERIFY(QFile::exists(m_home.filePath(u"config/Moriva/Moriva.conf"_s)));
        const Preferences q = Preferences::read();
        QCOMPARE(q.listOrderRule, 1);
        QCOMPARE(q.tableViewKind, 2);
        QCOMPARE(q.windowStyle, 1);
        QCOMPARE(q.currentBank, 2);
        QCOMPARE(q.checkLatestVersionAtStartup, true);

    }

    void storedBankZeroReadsAsJnb()
    {
        {
            QSettings s(QSettings::NativeFormat, QSettings::UserScope, u"Moriva"_s, u"Moriva"_s);
            s.setValue(u"MVCurrentBankKind"_s, 0);
            s.setValue(u"MVListOrderRule"_s, 1);
        }
        QCOMPARE(Preferences::read().currentBank, 1);
        QCOMPARE(Preferences::read().listOrderRule, 1);
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
