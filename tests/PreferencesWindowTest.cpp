// The preferences window and the settings store behind it, driven as a user drives them: the
// values of a first start, the keys written at quit, colours that read back exactly, a stored
// colour that cannot be decoded, the copies that only the save button hands to the controller,
// and colours that take effect at once.

#include "GuiTestSupport.h"
#include "LedgerItemDelegate.h"
#include "PreferencesWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

QColor ColourScheme::*const kColours[] = {&ColourScheme::itemMarker, &ColourScheme::atm,
                                          &ColourScheme::commission, &ColourScheme::interest,
                                          &ColourScheme::yahoo};
const QStringList kColourKeys{u"MVItemMakerColor"_s, u"MVATMInfoColor"_s,
                              u"MVCommissionInfoColor"_s, u"MVInterestInfoColor"_s,
                              u"MVYahooInfoColor"_s};

QColor decodedColour(const QByteArray &data)
{
    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_6_0);
    QColor colour;
    stream >> colour;
    return stream.status() == QDataStream::Ok ? colour : QColor();
}

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Moriva"_s, u"Moriva"_s);
}

// The table's delegate, opened up to answer how it would draw a cell.
class DelegateProbe : public LedgerItemDelegate
{
public:
    using LedgerItemDelegate::LedgerItemDelegate;
    QStyleOptionViewItem optionFor(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option;
    }
};

} // namespace

class PreferencesWindowTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    PreferencesWindow *shownPreferences()
    {
        m_app.trigger(u"preferences"_s);
        PreferencesWindow *prefs = m_app.window->preferencesWindow();
        if (!prefs || !QTest::qWaitForWindowExposed(prefs))
            return nullptr;
        return prefs;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        // A start with the check turned on must not reach the network.
        qputenv("MORIVA_VERSION_URL", "http://127.0.0.1:9/version.txt");
        QCOMPARE(store().fileName(), m_home.settingsFile());
    }
    void cleanup()
    {
        m_app.quit();
        m_home.clean();
    }

    void firstStartGivesDefaultsAndQuitWritesEveryKey()
    {
        QVERIFY(!QFile::exists(m_home.settingsFile()));
        m_app.start();
        QCOMPARE(m_app.controller->listOrderRule(), 0);
        QCOMPARE(m_app.controller->preferences().tableViewKind, 0);
        QCOMPARE(m_app.controller->windowStyle(), 0);
        QCOMPARE(m_app.controller->currentBank(), 1);
        QCOMPARE(m_app.controller->checkLatestVersionAtStartup(), false);
        QCOMPARE(m_app.controller->exportEncoding(), 0);
        const ColourScheme design;
        for (QColor ColourScheme::*colour : kColours)
            QCOMPARE(m_app.window->colours().*colour, design.*colour);

        // The window shows the values in use.
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        QCOMPARE(prefs->objectName(), u"preferencesWindow"_s);
        QVERIFY(!prefs->findChild<QCheckBox *>(u"checkUpdate"_s)->isChecked());
        QVERIFY(prefs->findChild<QRadioButton *>(u"windowStyle0"_s)->isChecked());
        QVERIFY(!prefs->findChild<QRadioButton *>(u"windowStyle1"_s)->isChecked());
        QCOMPARE(prefs->windowStyleGroup()->checkedId(), 0);
        QCOMPARE(prefs->findChild<QComboBox *>(u"exportEncoding"_s)->currentData().toInt(), 0);
        for (int i = 0; i < 5; ++i) {
            QPushButton *well = prefs->findChild<QPushButton *>(u"colourWell%1"_s.arg(i));
            QVERIFY(well);
            QCOMPARE(well, prefs->colourWell(i));
            QCOMPARE(well->toolTip(), (design.*kColours[i]).name(QColor::HexArgb));
        }
        prefs->close();

        QVERIFY(m_app.quit());
        QVERIFY(QFile::exists(m_home.settingsFile()));
        const QSettings written(m_home.settingsFile(), QSettings::IniFormat);
        const QList<std::pair<QString, QString>> expected{
            {u"MVListOrderRule"_s, u"0"_s},       {u"MVBankbookTableViewKind"_s, u"0"_s},
            {u"MVBankbookWindowStyle"_s, u"0"_s}, {u"MVCurrentBankKind"_s, u"1"_s},
            {u"MVCheckLatestVersionAtStartup"_s, u"false"_s}, {u"MVExportEncoding"_s, u"0"_s}};
        for (const auto &[key, value] : expected) {
            QVERIFY2(written.contains(key), qPrintable(key));
            QCOMPARE(written.value(key).toString(), value);
        }
        for (int i = 0; i < 5; ++i) {
            const QString &key = kColourKeys[i];
            QVERIFY2(written.contains(key), qPrintable(key));
            const QVariant value = written.value(key);
            QCOMPARE(value.typeId(), QMetaType::QByteArray);
            QCOMPARE(decodedColour(value.toByteArray()), design.*kColours[i]);
        }
    }

    void pickedColoursReadBackExactly_data()
    {
        QTest::addColumn<int>("well");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("marker, translucent") << 0 << QColor(10, 20, 30, 40);
        QTest::newRow("ATM, opaque") << 1 << QColor(1, 2, 3);
        QTest::newRow("commission, nearly clear") << 2 << QColor(250, 0, 125, 1);
        QTest::newRow("interest, clear") << 3 << QColor(0, 255, 0, 0);
        QTest::newRow("Yahoo, fine alpha") << 4 << QColor::fromRgbF(0.1f, 0.2f, 0.3f, 0.4f);
    }
    void pickedColoursReadBackExactly()
    {
        QFETCH(int, well);
        QFETCH(QColor, colour);
        m_app.start();
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        prefs->pickColour(well, colour);
        QCOMPARE(m_app.window->colours().*kColours[well], colour);
        QVERIFY(m_app.quit());

        m_app.start();
        const ColourScheme design;
        for (int i = 0; i < 5; ++i) {
            const QColor expected = i == well ? colour : design.*kColours[i];
            const QColor actual = m_app.window->colours().*kColours[i];
            QCOMPARE(actual, expected);
            QCOMPARE(actual.alpha(), expected.alpha());
            QCOMPARE(actual.rgba64(), expected.rgba64());
        }
        prefs = shownPreferences();
        QVERIFY(prefs);
        QCOMPARE(prefs->colourWell(well)->toolTip(), colour.name(QColor::HexArgb));
    }

    void undecodableColourKeepsTheDesignColour_data()
    {
        QTest::addColumn<int>("well");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("garbage bytes") << 1 << QVariant(QByteArray("garbage"));
        QTest::newRow("empty") << 0 << QVariant(QByteArray());
        QTest::newRow("a number") << 2 << QVariant(42);
        QTest::newRow("a colour name") << 3 << QVariant(u"#ff0000"_s);
        QByteArray trailing;
        {
            QDataStream stream(&trailing, QIODevice::WriteOnly);
            stream.setVersion(QDataStream::Qt_6_0);
            stream << QColor(1, 2, 3) << qint32(7);
        }
        QTest::newRow("a colour with bytes after it") << 4 << QVariant(trailing);
        QByteArray invalid;
        {
            QDataStream stream(&invalid, QIODevice::WriteOnly);
            stream.setVersion(QDataStream::Qt_6_0);
            stream << QColor();
        }
        QTest::newRow("an invalid colour") << 0 << QVariant(invalid);
    }
    void undecodableColourKeepsTheDesignColour()
    {
        QFETCH(int, well);
        QFETCH(QVariant, stored);
        {
            QSettings settings = store();
            settings.setValue(kColourKeys[well], stored);
        }
        m_app.start();
        const ColourScheme design;
        for (int i = 0; i < 5; ++i)
            QCOMPARE(m_app.window->colours().*kColours[i], design.*kColours[i]);
        QVERIFY(m_app.quit());
        // Quitting writes the colour in use in place of what could not be read.
        const QSettings written(m_home.settingsFile(), QSettings::IniFormat);
        QCOMPARE(decodedColour(written.value(kColourKeys[well]).toByteArray()),
                 design.*kColours[well]);
    }

    void copiesReachTheControllerOnlyBySave()
    {
        m_app.start();
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        auto *check = prefs->findChild<QCheckBox *>(u"checkUpdate"_s);
        auto *style1 = prefs->findChild<QRadioButton *>(u"windowStyle1"_s);
        auto *encoding = prefs->findChild<QComboBox *>(u"exportEncoding"_s);
        QVERIFY(check && style1 && encoding);

        // Changed and closed without saving: nothing reaches the controller.
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(check->isChecked());
        QTest::mouseClick(style1, Qt::LeftButton);
        QVERIFY(style1->isChecked());
        encoding->setCurrentIndex(encoding->findData(2));
        QVERIFY(prefs->close());
        QVERIFY(!prefs->isVisible());
        QCOMPARE(m_app.controller->checkLatestVersionAtStartup(), false);
        QCOMPARE(m_app.controller->windowStyle(), 0);
        QCOMPARE(m_app.controller->exportEncoding(), 0);

        // Shown again: the copies of the values in use.
        prefs = shownPreferences();
        QVERIFY(prefs);
        QVERIFY(!check->isChecked());
        QVERIFY(!style1->isChecked());
        QCOMPARE(prefs->windowStyleGroup()->checkedId(), 0);
        QCOMPARE(encoding->currentData().toInt(), 0);

        // Changed and saved: the controller takes them and the window goes away.
        QSignalSpy changed(prefs, &PreferencesWindow::preferencesChanged);
        QTest::mouseClick(check, Qt::LeftButton);
        QTest::mouseClick(style1, Qt::LeftButton);
        encoding->setCurrentIndex(encoding->findData(2));
        QTest::mouseClick(prefs->findChild<QPushButton *>(u"save"_s), Qt::LeftButton);
        QVERIFY(!prefs->isVisible());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_app.controller->checkLatestVersionAtStartup(), true);
        QCOMPARE(m_app.controller->windowStyle(), 1);
        QCOMPARE(m_app.controller->exportEncoding(), 2);

        QVERIFY(m_app.quit());
        const QSettings written(m_home.settingsFile(), QSettings::IniFormat);
        QCOMPARE(written.value(u"MVCheckLatestVersionAtStartup"_s).toString(), u"true"_s);
        QCOMPARE(written.value(u"MVBankbookWindowStyle"_s).toInt(), 1);
        QCOMPARE(written.value(u"MVExportEncoding"_s).toInt(), 2);

        // The next start shows what was saved.
        m_app.start();
        QCOMPARE(m_app.controller->checkLatestVersionAtStartup(), true);
        prefs = shownPreferences();
        QVERIFY(prefs);
        QVERIFY(prefs->checkUpdateBox()->isChecked());
        QCOMPARE(prefs->windowStyleGroup()->checkedId(), 1);
        QCOMPARE(prefs->exportEncodingBox()->currentData().toInt(), 2);
    }

    void pickedColourTakesEffectWithoutSave()
    {
        const QString path = writeJnbFile(
            m_home, {{QDate(2026, 3, 5), u"ATM"_s, 1000, 0, 9000},
                     {QDate(2026, 3, 6), u"給与"_s, 0, 5000, 14000}});
        m_app.start();
        QCOMPARE(m_app.window->importFile(path).added, 2);
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        QSignalSpy changed(prefs, &PreferencesWindow::preferencesChanged);

        const QColor atm(200, 100, 0, 220);
        prefs->pickColour(1, atm);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_app.window->colours().atm, atm);
        QCOMPARE(m_app.window->colours().summaryColour(1), atm);
        QCOMPARE(prefs->colourWell(1)->toolTip(), atm.name(QColor::HexArgb));
        // The table draws the ATM summary in it, and a marked row on the marker colour.
        QVERIFY(qobject_cast<LedgerItemDelegate *>(m_app.table()->itemDelegate()));
        const DelegateProbe probe(&m_app.window->colours());
        const QModelIndex atmSummary = m_app.model()->index(0, BankbookTableModel::SummaryColumn);
        QCOMPARE(atmSummary.data(BankbookTableModel::SummaryKindRole).toInt(), 1);
        QCOMPARE(probe.optionFor(atmSummary).palette.color(QPalette::Text), atm);
        const QColor marker(0, 0, 255, 64);
        prefs->pickColour(0, marker);
        QCOMPARE(changed.count(), 2);
        m_app.table()->selectRow(1);
        m_app.trigger(u"mark_balance"_s);
        QVERIFY(m_app.markedAt(1));
        QCOMPARE(probe.optionFor(m_app.model()->index(1, 0)).backgroundBrush.color(), marker);

        // An invalid colour or well changes nothing.
        prefs->pickColour(1, QColor());
        prefs->pickColour(5, Qt::red);
        prefs->pickColour(-1, Qt::red);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(m_app.window->colours().atm, atm);

        // Closing the window without save keeps the colour, and quitting stores it.
        QVERIFY(prefs->close());
        QCOMPARE(m_app.window->colours().atm, atm);
        QVERIFY(m_app.quit());
        m_app.start();
        QCOMPARE(m_app.window->colours().atm, atm);
        QCOMPARE(m_app.window->colours().itemMarker, marker);
    }
};

QTEST_MAIN(PreferencesWindowTest)
#include "PreferencesWindowTest.moc"
