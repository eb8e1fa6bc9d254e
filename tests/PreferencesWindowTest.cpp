// The preferences window driven as a user drives it: the check box, the window style and the
// export encoding reach the controller only by the OK button and are kept; a stored colour is
// read exactly or not at all, and one picked in a well's dialog takes effect at once and is kept.

#include "GuiTestSupport.h"
#include "PreferencesWindow.h"
#include "views/Settings.h"

#include <QColorDialog>
#include <QDataStream>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

QColor ColourScheme::*const kColours[] = {&ColourScheme::itemMarker, &ColourScheme::atm,
                                          &ColourScheme::commission, &ColourScheme::interest,
                                          &ColourScheme::yahoo};
const char *const kColourKeys[] = {Settings::MarkerColour, Settings::AtmColour,
                                   Settings::CommissionColour, Settings::InterestColour,
                                   Settings::YahooColour};

QByteArray encoded(const QColor &colour)
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << colour; // the same in every Qt 6 stream version
    return data;
}

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
        return prefs && QTest::qWaitForWindowExposed(prefs) ? prefs : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        // A start with the check turned on must not reach the network.
        qputenv("MORIVA_VERSION_URL", "http://127.0.0.1:9/version.txt");
    }
    void cleanup() { m_app.quit(); m_home.clean(); }

    void colourIsReadPickedAndKept_data()
    {
        QTest::addColumn<int>("well"); QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QColor>("read"); // invalid: the default colour
        QTest::addColumn<QColor>("picked");
        QTest::addColumn<bool>("reads"); // on the table's rows, as picked
        // A colour read exactly and a pick that reads; something else refused, and a pick made
        // to read.
        const QColor fine = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 0.4f);
        QTest::newRow("marker: 16 bits a channel")
            << 0 << QVariant(encoded(fine)) << fine << QColor(0, 0, 255, 64) << true;
        QTest::newRow("ATM: the former default, stored by an earlier version")
            << 1 << QVariant(encoded(QColor(41, 128, 222))) << QColor() << QColor(0, 0, 128)
            << true;
        QTest::newRow("interest: number; a light green pick")
            << 3 << QVariant(42) << QColor() << QColor(0, 255, 0) << false;
    }
    void colourIsReadPickedAndKept()
    {
        QFETCH(int, well); QFETCH(QVariant, stored); QFETCH(QColor, read); QFETCH(QColor, picked);
        QFETCH(bool, reads);
        Settings::store().setValue(Settings::key(kColourKeys[well]), stored);
        m_app.start();
        const ColourScheme defaults = ColourScheme::forPalette(m_app.window->palette());
        QCOMPARE(m_app.window->colours().*kColours[well],
                 read.isValid() ? read : defaults.*kColours[well]);

        // A colour chosen in the well's dialog is in use at once, without save.
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        QTest::mouseClick(prefs->colourWell(well), Qt::LeftButton);
        auto *dialog = visibleChild<QColorDialog>(prefs);
        QVERIFY(dialog);
        dialog->setCurrentColor(picked);
        dialog->accept();
        // A summary colour that would not read is made to, and the dialog says why.
        const QColor taken = m_app.window->colours().*kColours[well];
        QCOMPARE(taken == picked, reads);
        QCOMPARE(prefs->colourNote()->isVisible(), !reads);
        QTest::mouseClick(prefs->findChild<QPushButton *>(u"ok"_s), Qt::LeftButton);
        QVERIFY(m_app.quit());
        m_app.start();
        QCOMPARE(m_app.window->colours().*kColours[well], taken);
    }

    // Changes reach the controller by OK only, and are kept for the next start; Cancel leaves
    // every setting and colour as it was. The window shows the controller's
    // settings each time it opens.
    void settingsChangeByOkOnly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << u"ok"_s;
        QTest::newRow("Cancel") << u"cancel"_s;
    }
    void settingsChangeByOkOnly()
    {
        QFETCH(QString, how);
        const QColor chosen(10, 20, 30);
        Settings::store().setValue(Settings::key(Settings::AtmColour), encoded(chosen));
        m_app.start();
        const auto settings = [this] {
            const ColourScheme &c = m_app.window->colours();
            return QVariantList{m_app.controller->checksForUpdatesAtStart(),
                                m_app.controller->windowStyle(),
                                int(m_app.controller->exportEncoding()), c.itemMarker, c.atm,
                                c.commission, c.interest, c.yahoo};
        };
        // The update check, the tinted style and the export encoding as the window shows them.
        const auto shown = [this] {
            PreferencesWindow *p = shownPreferences();
            if (!p)
                return QVariantList();
            return QVariantList{p->findChild<QAbstractButton *>(u"checkUpdate"_s)->isChecked(),
                                p->findChild<QAbstractButton *>(u"windowStyle1"_s)->isChecked(),
                                p->findChild<QComboBox *>(u"exportEncoding"_s)->currentData()};
        };
        const QVariantList before = settings();
        QCOMPARE(before.at(4).value<QColor>(), chosen);
        const QVariantList unchanged{false, false, 0}, changed{true, true, 2};
        QCOMPARE(shown(), unchanged);
        PreferencesWindow *prefs = m_app.window->preferencesWindow();
        QTest::mouseClick(prefs->findChild<QAbstractButton *>(u"checkUpdate"_s), Qt::LeftButton);
        QTest::mouseClick(prefs->findChild<QAbstractButton *>(u"windowStyle1"_s), Qt::LeftButton);
        auto *encoding = prefs->findChild<QComboBox *>(u"exportEncoding"_s);
        encoding->setCurrentIndex(encoding->findData(2)); // Shift_JIS
        for (int well = 0; well < 5; ++well)
            prefs->pickColour(well, QColor(200, 180, 20 * well));
        QTest::mouseClick(prefs->findChild<QPushButton *>(u"resetColours"_s), Qt::LeftButton);
        QVERIFY(settings() != before);
        QTest::mouseClick(prefs->findChild<QPushButton *>(how), Qt::LeftButton);
        QVERIFY(!prefs->isVisible());
        if (how != u"ok") {
            QCOMPARE(settings(), before);
            QCOMPARE(shown(), unchanged);
            return;
        }
        QCOMPARE(shown(), changed);
        QVERIFY(m_app.quit());
        QVERIFY(!Settings::store().contains(Settings::key(Settings::AtmColour))); // the defaults again
        m_app.start();
        QCOMPARE(shown(), changed);
    }
};

QTEST_MAIN(PreferencesWindowTest)
#include "PreferencesWindowTest.moc"
