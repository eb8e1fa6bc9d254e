// SPDX-License-Identifier: GPL-3.0-or-later
// The Import and Save List dialogs of the real window: where they open, what they remember, the
// name Save proposes and the two forms a list is saved in.

#include "GuiTestSupport.h"

#include <QFileDialog>

using namespace GuiTest;

class FileCommandsTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    QFileDialog *opened(const QString &command, const QString &name)
    {
        m_app.trigger(command);
        return visibleChild<QFileDialog>(m_app.window.get(), name);
    }
    static QString folderOf(const QFileDialog *dialog)
    {
        return QFileInfo(dialog->directory().absolutePath()).canonicalFilePath();
    }

private slots:
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void cleanup() { m_app.quit(); m_home.clean(); }

    // Downloads first, where the banks' statements arrive; then the folder last imported from.
    void importOpensWhereStatementsAre()
    {
        QVERIFY(QDir().mkpath(m_home.path(u"home/Downloads")));
        const QString statement = writeJnbFile(m_home, {{QDate(2026, 3, 2), u"ATM"_s, 1000, 0, 9000}});
        m_app.start();
        QFileDialog *dialog = opened(u"import_balance"_s, u"importDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(folderOf(dialog), QFileInfo(m_home.path(u"home/Downloads")).canonicalFilePath());
        chooseFile(dialog, statement);
        QTRY_COMPARE(m_app.rows(), 1);
        QVERIFY(m_app.quit());
        m_app.start();
        dialog = opened(u"import_balance"_s, u"importDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(folderOf(dialog), QFileInfo(m_home.path(u"statements")).canonicalFilePath());
    }

    // The name holds the account; the spreadsheet form, once chosen, comes first next time, in
    // the folder saved to.
    void saveListProposesANameAndRemembersTheForm()
    {
        QVERIFY(m_app.startWith(m_home, {{QDate(2026, 3, 2), u"ATM"_s, 1000, 0, 9000}}));
        QFileDialog *dialog = opened(u"save_balance"_s, u"saveDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(dialog->nameFilters().size(), 2);
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().constFirst());
        QVERIFY2(dialog->selectedFiles().value(0).endsWith(u"/JNB Bankbook.csv"_s),
                 qPrintable(dialog->selectedFiles().value(0)));
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        const QString path = m_home.path(u"statements/list.csv");
        chooseFile(dialog, path);
        QFile saved(path);
        QTRY_VERIFY(saved.exists());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("\xEF\xBB\xBF" "Date,Time,Summary,Payment,Deposit,"));

        dialog = opened(u"save_balance"_s, u"saveDialog"_s);
        QVERIFY(dialog);
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().at(1));
        QCOMPARE(folderOf(dialog), QFileInfo(m_home.path(u"statements")).canonicalFilePath());
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
