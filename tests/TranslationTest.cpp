// The Japanese translation: the compiled catalogue is found where the application looks for it,
// every text of the string table is translated, the catalogue source has no unfinished
// message, the window shows Japanese menus and toolbar labels, and the texts that statements
// are matched against stay as they are.

#include "GuiTestSupport.h"
#include "ledger/DataTexts.h"
#include "views/StringTable.h"

#include <QFile>
#include <QLocale>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Texts that are written the same way in Japanese: the banks' own names.
const QStringList kSameInJapanese{u"BankName_JNB"_s, u"BankName_eBANK"_s};

bool hasJapanese(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF)     // hiragana, katakana
            || (u >= 0x4E00 && u <= 0x9FFF)  // kanji
            || (u >= 0xFF00 && u <= 0xFFEF)) // full-width forms
            return true;
    }
    return false;
}

struct TsMessage {
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // the translation's type attribute
};

// The messages of a Qt Linguist catalogue source; empty with the reason on a parse error.
QList<TsMessage> readTs(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<TsMessage> messages;
    QString context;
    TsMessage message;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            message = TsMessage{};
            message.context = context;
        } else if (xml.name() == u"source") {
            message.source = xml.readElementText();
        } else if (xml.name() == u"comment") {
            message.comment = xml.readElementText();
        } else if (xml.name() == u"translation") {
            message.type = xml.attributes().value(u"type"_s).toString();
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages.append(message);
        }
    }
    if (xml.hasError()) {
        *error = xml.errorString();
        return {};
    }
    return messages;
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

    Home m_home;
    QTranslator m_translator;
    QHash<QString, QString> m_english;
    QHash<QString, QString> m_dataTexts;

    static QStringList dataKeys()
    {
        return {u"BalanceInfoHeader_1"_s, u"BalanceInfoHeader_2"_s, u"Operation_Date"_s,
                u"Operation_Time"_s,      u"Yen_Sign"_s,            u"Summary_ATM_1"_s,
                u"Summary_ATM_2"_s,       u"Summary_Commission"_s,  u"Summary_Interest_1"_s,
                u"Summary_Interest_2"_s,  u"Summary_Yahoo"_s,       u"double_quotation"_s};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        for (const QString &key : StringTable::keys())
            m_english.insert(key, StringTable::localizedString(key));
        for (const QString &key : dataKeys())
            m_dataTexts.insert(key, DataTexts::text(key));

        QVERIFY2(QFile::exists(u":/i18n/moriva_ja.qm"_s),
                 "the Japanese catalogue is not among the application's resources");
        QVERIFY(m_translator.load(u":/i18n/moriva_ja.qm"_s));
        QVERIFY(!m_translator.isEmpty());
        QCOMPARE(m_translator.language(), u"ja_JP"_s);
        QVERIFY(QCoreApplication::installTranslator(&m_translator));
    }
    void cleanupTestCase() { QCoreApplication::removeTranslator(&m_translator); }

    void catalogueIsFoundForAJapaneseLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("ja_JP") << u"ja_JP"_s;
        QTest::newRow("ja") << u"ja"_s;
    }
    void catalogueIsFoundForAJapaneseLocale()
    {
        QFETCH(QString, locale);
        // As the application looks for it at start-up.
        QTranslator translator;
        QVERIFY(translator.load(QLocale(locale), u"moriva"_s, u"_"_s, u":/i18n"_s));
        QCOMPARE(translator.filePath(), u":/i18n/moriva_ja.qm"_s);
        QCOMPARE(translator.translate("StringTable", "Import"), u"読み込み"_s);
    }

    void englishLocaleHasNoCatalogue()
    {
        QTranslator translator;
        QVERIFY(!translator.load(QLocale(QLocale::English, QLocale::UnitedStates), u"moriva"_s,
                                 u"_"_s, u":/i18n"_s));
    }

    void everyStringTableTextIsTranslated_data()
    {
        QTest::addColumn<QString>("key");
        const QList<QString> keys = StringTable::keys();
        QVERIFY(keys.size() > 30);
        for (const QString &key : keys)
            QTest::newRow(qPrintable(key)) << key;
    }
    void everyStringTableTextIsTranslated()
    {
        QFETCH(QString, key);
        const QString english = m_english.value(key);
        const QString japanese = StringTable::localizedString(key);
        QVERIFY2(!english.isEmpty(), qPrintable(key));
        QVERIFY(!japanese.isEmpty());
        if (kSameInJapanese.contains(key)) {
            QCOMPARE(japanese, english);
            return;
        }
        QVERIFY2(japanese != english, qPrintable(key + u": "_s + japanese));
        QVERIFY2(hasJapanese(japanese), qPrintable(key + u": "_s + japanese));
        // The arguments of a format survive the translation.
        for (const QString &marker : {u"%1"_s, u"%2"_s})
            QCOMPARE(japanese.contains(marker), english.contains(marker));
    }

    void formatsAreTranslated()
    {
        const QString title = StringTable::windowTitleMonthly(2026, 3);
        QVERIFY2(hasJapanese(title), qPrintable(title));
        QVERIFY2(title.contains(u"2026"_s) && title.contains(u'3') && !title.contains(u'%'),
                 qPrintable(title));
        const QString name = StringTable::balanceFileNameMonthly(2026, 3);
        QVERIFY2(hasJapanese(name) && name.contains(u"03"_s) && !name.contains(u'%'),
                 qPrintable(name));
    }

    void catalogueSourceIsComplete()
    {
        QString error;
        const QList<TsMessage> messages = readTs(QStringLiteral(MORIVA_TS_FILE), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 100);
        QStringList problems;
        for (const TsMessage &m : messages) {
            const QString where = m.context + u": "_s + m.source;
            if (m.type == u"unfinished")
                problems << u"unfinished: "_s + where;
            else if (m.type == u"vanished" || m.type == u"obsolete")
                problems << m.type + u": "_s + where;
            if (m.translation.trimmed().isEmpty())
                problems << u"empty: "_s + where;
            // The compiled catalogue answers what the source says.
            const QByteArray context = m.context.toUtf8();
            const QByteArray source = m.source.toUtf8();
            const QByteArray comment = m.comment.toUtf8();
            const QString compiled = QCoreApplication::translate(
                context.constData(), source.constData(),
                m.comment.isEmpty() ? nullptr : comment.constData());
            if (compiled != m.translation)
                problems << u"not compiled: "_s + where;
            // A menu mnemonic keeps its accelerator.
            if (m.source.contains(u'&') && !m.translation.contains(u'&'))
                problems << u"mnemonic lost: "_s + where;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void windowShowsJapanese()
    {
        App app;
        app.start();
        QStringList menus;
        for (QAction *menu : app.window->menuBar()->actions())
            menus << menu->text();
        QVERIFY(!menus.isEmpty());
        QCOMPARE(menus.first(), u"ファイル(&F)"_s);
        QCOMPARE(menus,
                 (QStringList{u"ファイル(&F)"_s, u"編集(&E)"_s, u"表示(&V)"_s, u"銀行(&B)"_s,
                              u"ヘルプ(&H)"_s}));

        QAction *import = app.window->action(u"import_balance"_s);
        QCOMPARE(import->text(), u"読み込み"_s);
        auto *button = qobject_cast<QToolButton *>(app.window->toolBar()->widgetForAction(import));
        QVERIFY(button);
        QCOMPARE(button->text(), u"読み込み"_s);
        for (QAction *action : app.window->toolBar()->actions()) {
            if (!action->isSeparator())
                QVERIFY2(hasJapanese(action->text()), qPrintable(action->objectName()));
        }
        QVERIFY(hasJapanese(app.window->windowTitle()));
        QVERIFY(hasJapanese(
            app.model()->headerData(BankbookTableModel::SummaryColumn, Qt::Horizontal).toString()));
        // The bank's name is the same in both languages.
        QCOMPARE(app.window->bankNameField()->text(), u"JNB"_s);
        QVERIFY(app.quit());
        m_home.clean();
    }

    void dataTextsStayTheSame_data()
    {
        QTest::addColumn<QString>("key");
        for (const QString &key : dataKeys())
            QTest::newRow(qPrintable(key)) << key;
    }
    void dataTextsStayTheSame()
    {
        QFETCH(QString, key);
        QCOMPARE(DataTexts::text(key), m_dataTexts.value(key));
        QVERIFY(DataTexts::text(key) != key);
    }

    void importUnderTheTranslationFindsTheSameEntries()
    {
        // A statement read under the Japanese texts is the statement read under the English
        // ones: the headers and summaries it is matched against are data texts.
        QCOMPARE(DataTexts::yenSign(), u"円"_s);
        QCOMPARE(DataTexts::priceString(1500), u"1,500円"_s);
        const QString path =
            writeJnbFile(m_home, {{QDate(2026, 3, 5), u"ATM"_s, 1000, 0, 9000},
                                  {QDate(2026, 3, 6), u"利息"_s, 0, 3, 9003}});
        App app;
        app.start();
        QCOMPARE(app.window->importFile(path).added, 2);
        QCOMPARE(app.model()->index(0, BankbookTableModel::SummaryColumn)
                     .data(BankbookTableModel::SummaryKindRole).toInt(),
                 1);
        QCOMPARE(app.model()->index(1, BankbookTableModel::SummaryColumn)
                     .data(BankbookTableModel::SummaryKindRole).toInt(),
                 3);
        QVERIFY(app.quit());
        m_home.clean();
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
