// The preferences window driven as a user drives it: the check box, the window style and the
// export encoding reach the controller only by the save button and are kept; a stored colour is
// read exactly or not at all, and one picked in a well's dialog takes effect at once and is kept.

#include "GuiTestSupport.h"
#include "PreferencesWindow.h"
#include "views/Settings.h"

#include <QColorDialog>
#include <QComboBox>
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

    // It opens over the main window, wherever that is.
    void opensCentredOnTheMainWindow()
    {
        m_app.start();
        m_app.window->setGeometry(60, 40, 700, 520);
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        const QPoint offset = prefs->frameGeometry().center() - m_app.window->frameGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 3 && qAbs(offset.y()) <= 3, qPrintable(u"%1, %2"_s.arg(offset.x()).arg(offset.y())));
    }

    void settingReachesTheControllerOnlyBySave_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("written");
        using namespace Settings;
        QTest::newRow("update check")
            << u"checkUpdate"_s << 1 << key(CheckForUpdatesAtStart) << u"true"_s;
        QTest::newRow("tinted style") << u"windowStyle1"_s << 1 << key(WindowStyle) << u"1"_s;
        QTest::newRow("UTF-8, BOM") << u"exportEncoding"_s << 1 << key(ExportEncoding) << u"1"_s;
        QTest::newRow("Shift_JIS") << u"exportEncoding"_s << 2 << key(ExportEncoding) << u"2"_s;
    }
    void settingReachesTheControllerOnlyBySave()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(QString, key);
        QFETCH(QString, written);
        // The window is filled from the controller each time it is shown.
        const auto shownAgain = [this, &control] {
            PreferencesWindow *p = shownPreferences();
            if (!p)
                return -1;
            if (auto *box = p->findChild<QComboBox *>(control))
                return box->currentData().toInt();
            return int(p->findChild<QAbstractButton *>(control)->isChecked());
        };
        const auto change = [this, &control, value] {
            PreferencesWindow *p = m_app.window->preferencesWindow();
            if (auto *box = p->findChild<QComboBox *>(control))
                box->setCurrentIndex(box->findData(value));
            else
                QTest::mouseClick(p->findChild<QAbstractButton *>(control), Qt::LeftButton);
        };

        m_app.start();
        QCOMPARE(shownAgain(), 0);
        // Changed and closed without saving: nothing reaches the controller.
        change();
        QVERIFY(m_app.window->preferencesWindow()->close());
        QCOMPARE(shownAgain(), 0);
        // Changed and saved: the controller takes it, and quitting keeps it.
        change();
        QTest::mouseClick(m_app.window->preferencesWindow()->findChild<QPushButton *>(u"save"_s),
                          Qt::LeftButton);
        QCOMPARE(shownAgain(), value);
        QVERIFY(m_app.quit());
        QCOMPARE(Settings::store().value(key).toString(), written);
        m_app.start();
        QCOMPARE(shownAgain(), value);
    }

    void colourIsReadPickedAndKept_data()
    {
        QTest::addColumn<int>("well");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QColor>("read"); // invalid: the design colour
        QTest::addColumn<QColor>("picked");
        const QColor fine = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 0.4f);
        QTest::newRow("marker: 16 bits a channel")
            << 0 << QVariant(encoded(fine)) << fine << QColor(0, 0, 255, 64);
        QTest::newRow("ATM: garbage") << 1 << QVariant(u"garbage"_s) << QColor() << QColor(1, 2, 3);
        QTest::newRow("commission: empty")
            << 2 << QVariant(QByteArray()) << QColor() << QColor(250, 0, 125, 1);
        QTest::newRow("interest: number") << 3 << QVariant(42) << QColor() << QColor(0, 255, 0, 0);
        QTest::newRow("Yahoo: a colour and more")
            << 4 << QVariant(encoded(Qt::blue) + "\7") << QColor() << QColor(200, 100, 0, 220);
        QTest::newRow("marker: an invalid colour")
            << 0 << QVariant(encoded(QColor())) << QColor() << QColor(Qt::red);
    }
    void colourIsReadPickedAndKept()
    {
        QFETCH(int, well);
        QFETCH(QVariant, stored);
        QFETCH(QColor, read);
        QFETCH(QColor, picked);
        Settings::store().setValue(Settings::key(kColourKeys[well]), stored);
        m_app.start();
        QCOMPARE(m_app.window->colours().*kColours[well],
                 read.isValid() ? read : ColourScheme().*kColours[well]);

        // A colour chosen in the well's dialog is in use at once, without save.
        PreferencesWindow *prefs = shownPreferences();
        QVERIFY(prefs);
        const QColor before = m_app.window->colours().*kColours[well];
        QTest::mouseClick(prefs->colourWell(well), Qt::LeftButton);
        auto *dialog = visibleChild<QColorDialog>(prefs);
        QVERIFY(dialog);
        dialog->setCurrentColor(picked); // previewed, then cancelled: the colour before is back
        QCOMPARE(m_app.window->colours().*kColours[well], picked);
        dialog->reject();
        QCOMPARE(m_app.window->colours().*kColours[well], before);
        QVERIFY(waitDeleted(dialog));
        QTest::mouseClick(prefs->colourWell(well), Qt::LeftButton);
        dialog = visibleChild<QColorDialog>(prefs);
        QVERIFY(dialog);
        dialog->setCurrentColor(picked);
        dialog->accept();
        QCOMPARE(m_app.window->colours().*kColours[well], picked);
        QCOMPARE(prefs->colourWell(well)->toolTip(), picked.name(QColor::HexArgb));
        QVERIFY(prefs->close());
        QVERIFY(m_app.quit());
        m_app.start();
        QCOMPARE(m_app.window->colours().*kColours[well], picked);
    }
};

QTEST_MAIN(PreferencesWindowTest)
#include "PreferencesWindowTest.moc"
