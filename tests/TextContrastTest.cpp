// Whether a text colour reads on a background: the WCAG ratio, and the fallback below 4.5:1.

#include "views/TextContrast.h"

#include <QTest>

class TextContrastTest : public QObject
{
    Q_OBJECT

private slots:
    void kindColoursFallBackWhereTheyDoNotRead_data()
    {
        QTest::addColumn<uint>("text");
        QTest::addColumn<uint>("background");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<bool>("kept"); // otherwise the fallback
        QTest::newRow("black on white") << 0x000000u << 0xffffffu << 21.0 << true;
        QTest::newRow("white on black, alpha ignored") << 0x80ffffffu << 0xff000000u << 21.0 << true;
        QTest::newRow("the same colour") << 0x2980deu << 0x2980deu << 1.0 << false;
        QTest::newRow("#767676 on white: just enough") << 0x767676u << 0xffffffu << 4.54 << true;
        QTest::newRow("#777777 on white: just short") << 0x777777u << 0xffffffu << 4.48 << false;
        QTest::newRow("ATM blue on a blue selection") << 0x2980deu << 0x308cc6u << 1.09 << false;
        QTest::newRow("ATM blue on a dark selection") << 0x2980deu << 0x202020u << 4.06 << false;
        QTest::newRow("interest green on a dark selection") << 0x27a05au << 0x202020u << 4.86 << true;
        QTest::newRow("commission red on black") << 0xd64541u << 0x000000u << 4.79 << true;
    }
    void kindColoursFallBackWhereTheyDoNotRead()
    {
        QFETCH(uint, text);
        QFETCH(uint, background);
        QFETCH(double, ratio);
        QFETCH(bool, kept);
        QVERIFY2(qAbs(TextContrast::ratio(text, background) - ratio) < 0.01,
                 qPrintable(QString::number(TextContrast::ratio(text, background))));
        QCOMPARE(TextContrast::ratio(background, text), TextContrast::ratio(text, background));
        const uint fallback = 0x123456u;
        QCOMPARE(TextContrast::readable(text, background, fallback), kept ? text : fallback);
    }
};

QTEST_GUILESS_MAIN(TextContrastTest)
#include "TextContrastTest.moc"
