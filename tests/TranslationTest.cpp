// The Japanese translation, loaded as the application loads it under a Japanese locale: every
// text of the string table translated, no unfinished message in the catalogue source, Japanese
// menus and toolbar labels, and the texts that statements are matched against left as they are.

#include "GuiTestSupport.h"
#include "Translations.h"
#include "ledger/DataTexts.h"
#include "views/StatusTexts.h"
#include "views/StringTable.h"

#include <QLocale>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <QSet>

#include <optional>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

bool hasJapanese(const QString &text)
{
    return text.contains(QRegularExpression(u"[\u3040-\u30ff\u4e00-\u9fff]"_s));
}

const QStringList kDataKeys{
    u"BalanceInfoHeader_1"_s, u"BalanceInfoHeader_2"_s, u"Operation_Date"_s, u"Operation_Time"_s,
    u"Yen_Sign"_s, u"Summary_ATM_1"_s, u"Summary_ATM_2"_s, u"Summary_Commission"_s,
    u"Summary_Interest_1"_s, u"Summary_Interest_2"_s, u"Summary_Yahoo"_s, u"double_quotation"_s};

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

    Home m_home;
    std::optional<Translations> m_translations;
    QHash<QString, QString> m_english; // string-table and data texts before the translation

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        for (const QString &key : StringTable::keys())
            m_english.insert(key, StringTable::localizedString(key));
        for (const QString &key : kDataKeys)
            m_english.insert(key, DataTexts::text(key));
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        m_translations.emplace(QLocale());
        QVERIFY(!QCoreApplication::translate("StringTable", "Delete").startsWith(u'D'));
    }

    // Counts take their Japanese form (the English plural forms: the window's test, which runs
    // in English).
    void countsTakeTheirForm()
    {
        QCOMPARE(StatusTexts::totals(ListTotals{2, 0, 0}), u"2 件 · お支払金額 0円 · お預り金額 0円"_s);
        QCOMPARE(StatusTexts::importCounts(2, 2, 2), u"2 件追加、重複 2 件を省略、2 行を除外"_s);
    }

    void everyStringTableTextIsTranslated()
    {
        for (const QString &key : StringTable::keys()) {
            const QString english = m_english.value(key), japanese = StringTable::localizedString(key);
            // The banks' own names are written the same way in Japanese.
            if (key.startsWith(u"BankName_"_s))
                QCOMPARE(japanese, english);
            else
                QVERIFY2(hasJapanese(japanese), qPrintable(key + u": "_s + japanese));
            // The arguments of a format survive the translation.
            for (const QString &marker : {u"%1"_s, u"%2"_s})
                QVERIFY2(japanese.contains(marker) == english.contains(marker), qPrintable(key));
        }
    }

    void catalogueSourceHasNoUnfinishedMessage()
    {
        // Every message has a translation without a type: not unfinished, vanished or obsolete.
        const QString ts = QString::fromUtf8(readTestFile(QStringLiteral(MORIVA_TS_FILE)));
        const QRegularExpression finished(u"<translation>[^<]+</translation>"_s);
        QCOMPARE(ts.count(finished), ts.count(u"<message>"_s));
        // Counted texts have their forms: Japanese one, English two.
        for (const auto &[file, forms] : {std::pair{QStringLiteral(MORIVA_TS_FILE), 1},
                                          std::pair{QStringLiteral(MORIVA_EN_TS_FILE), 2}}) {
            const QString text = QString::fromUtf8(readTestFile(file));
            const qsizetype counted = text.count(u"<message numerus=\"yes\">"_s);
            QVERIFY(!text.contains(u"unfinished"_s) && !text.contains(u"<numerusform></numerusform>"_s));
            QCOMPARE(text.count(u"<numerusform>"_s), counted * forms);
        }
    }

    void windowShowsJapaneseAndReadsStatementsAsBefore()
    {
        for (const QString &key : kDataKeys)
            QCOMPARE(DataTexts::text(key), m_english.value(key));
        App app;
        app.start();
        // Every menu and menu item has an access letter, "(&X)" after the Japanese text, none
        // twice in its menu.
        static const QRegularExpression letter(u"\\(&([A-Z])\\)"_s);
        for (QAction *menu : app.window->menuBar()->actions()) {
            QVERIFY2(letter.match(menu->text()).hasMatch() && hasJapanese(menu->text()), qPrintable(menu->text()));
            QSet<QString> letters;
            for (QAction *item : menu->menu()->actions()) {
                if (item->isSeparator())
                    continue;
                const QRegularExpressionMatch m = letter.match(item->text());
                QVERIFY2(m.hasMatch() && hasJapanese(item->text()), qPrintable(item->text()));
                QVERIFY2(!letters.contains(m.captured(1)), qPrintable(item->text()));
                letters.insert(m.captured(1));
            }
        }
        for (QAction *action : app.window->toolBar()->actions()) // the toolbar's labels
            QVERIFY2(action->isSeparator() || hasJapanese(action->iconText()), qPrintable(action->iconText()));
        QVERIFY(hasJapanese(app.window->windowTitle()));

        // The texts a statement is matched against are data texts: it is recognised, and its
        // summaries matched, as under the English texts.
        const QString path = writeJnbFile(m_home, {{QDate(2026, 3, 5), u"ATM"_s, 1000, 0, 9000},
                                                   {QDate(2026, 3, 6), u"利息"_s, 0, 3, 9003}});
        QCOMPARE(app.window->importFile(path).added, 2);
        for (int row : {0, 1})
            QCOMPARE(app.model()->index(row, BankbookTableModel::SummaryColumn)
                         .data(BankbookTableModel::SummaryKindRole).toInt(), row ? 3 : 1);
        QCOMPARE(DataTexts::priceString(1500), u"1,500円"_s);
        QVERIFY(app.quit());
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
