// Contrast as WCAG measures it, and text colours made readable on the window's backgrounds.

#include "views/Contrast.h"

#include <QTest>

#include <algorithm>

class ContrastTest : public QObject
{
    Q_OBJECT

private slots:
    // The ratio of two colours, and whether a summary's kind colour stays as it is on the
    // selection (it reads at 4.5 or more) or gives way to the fallback.
    void ratios_data()
    {
        QTest::addColumn<quint32>("a"); QTest::addColumn<quint32>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << 0x000000u << 0xffffffu << 21.0;
        QTest::newRow("#767676 on white: just enough") << 0x767676u << 0xffffffu << 4.54;
        QTest::newRow("#777777 on white: just short") << 0x777777u << 0xffffffu << 4.48;
        QTest::newRow("alpha ignored") << 0x80ffffffu << 0xff000000u << 21.0;
        QTest::newRow("ATM blue on a blue selection") << 0x2980deu << 0x308cc6u << 1.09;
        QTest::newRow("interest green on a dark selection") << 0x27a05au << 0x202020u << 4.86;
    }
    void ratios()
    {
        QFETCH(quint32, a); QFETCH(quint32, b); QFETCH(double, ratio);
        QVERIFY2(qAbs(Contrast::ratio(a, b) - ratio) < 0.01,
                 qPrintable(QString::number(Contrast::ratio(a, b))));
        const quint32 fallback = 0x123456u;
        QCOMPARE(Contrast::readable(a, b, fallback), ratio >= 4.5 ? a : fallback);
    }

    void readableColours_data()
    {
        QTest::addColumn<quint32>("colour"); QTest::addColumn<QList<quint32>>("backgrounds");
        QTest::addColumn<int>("direction"); // -1 darker, 0 kept, 1 lighter
        // A disabled label's grey on the tinted toolbar's gradient, light and dark themes.
        QTest::newRow("grey on a light tint") << 0xbebebeu << QList<quint32>{0xcacacau, 0xa0a0a0u} << -1;
        QTest::newRow("grey on a dark tint") << 0x6e6e6eu << QList<quint32>{0x3c3c3cu, 0x202020u} << 1;
        QTest::newRow("already readable") << 0x202020u << QList<quint32>{0xefefefu} << 0;
        QTest::newRow("no background") << 0x123456u << QList<quint32>{} << 0;
    }
    void readableColours()
    {
        QFETCH(quint32, colour); QFETCH(QList<quint32>, backgrounds); QFETCH(int, direction);
        const quint32 readable = Contrast::readableOn(colour, backgrounds);
        for (quint32 background : backgrounds)
            QVERIFY(Contrast::ratio(readable, background) >= 4.5);
        if (direction == 0) {
            QCOMPARE(readable, colour);
            return;
        }
        QCOMPARE(Contrast::luminance(readable) > Contrast::luminance(colour), direction > 0);
        // Moved no further than needed: a step back towards the colour falls short again.
        const quint32 back = (((readable >> 16 & 0xff) + (colour >> 16 & 0xff)) / 2) << 16
                           | (((readable >> 8 & 0xff) + (colour >> 8 & 0xff)) / 2) << 8
                           | ((readable & 0xff) + (colour & 0xff)) / 2;
        QVERIFY(std::ranges::any_of(backgrounds, [back](quint32 background) {
            return Contrast::ratio(back, background) < 4.5;
        }));
    }
};

QTEST_MAIN(ContrastTest)
#include "ContrastTest.moc"
