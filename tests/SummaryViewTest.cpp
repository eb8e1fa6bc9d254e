// SPDX-License-Identifier: GPL-3.0-or-later
// The Summary in the real window: the range boxes by month and by year, a backwards range turned
// round, what an empty ledger shows, and the span and range kept for the next start.

#include "GuiTestSupport.h"
#include "summary/BalanceChart.h"
#include "summary/SummaryView.h"
#include "summary/ViewSwitcher.h"
#include "views/SummaryModels.h"

#include <QComboBox>
#include <QStatusBar>
#include <QTableView>

using namespace GuiTest;

namespace {

// Two years and a quarter of months.
QList<Operation> wideMonths()
{
    QList<Operation> operations;
    int balance = 900'000'000;
    for (int i = 0; i < 27; ++i) {
        const QDate day(2024, 1, 10);
        balance -= 12'345'678;
        operations.append({day.addMonths(i), u"ATM引出し"_s, 12'345'678, 0, balance});
    }
    return operations;
}

} // namespace

class SummaryViewTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    SummaryView *summary() const { return m_app.window->views()->summary(); }
    QComboBox *box(const char *name) const
    {
        return summary()->findChild<QComboBox *>(QString::fromLatin1(name));
    }
    // Chooses an item as the user does, by its text.
    void choose(const char *name, const QString &text) const
    {
        QComboBox *combo = box(name);
        const int at = combo->findText(text);
        QVERIFY2(at >= 0, qPrintable(text));
        combo->setCurrentIndex(at);
        emit combo->activated(at);
    }
    bool startWith(const QList<Operation> &operations)
    {
        if (!m_app.startWith(m_home, operations))
            return false;
        m_app.window->views()->summaryAction()->trigger();
        return summary()->isVisible();
    }

private slots:
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void cleanup() { m_app.quit(); m_home.clean(); }

    void rangeBoxesFollowTheSpan()
    {
        QVERIFY(startWith(wideMonths()));
        choose("summaryFrom", u"2025/06"_s);
        choose("summaryTo", u"2024/03"_s);
        // Backwards: shown the right way round.
        QCOMPARE(box("summaryFrom")->currentText(), u"2024/03"_s);
        QCOMPARE(box("summaryTo")->currentText(), u"2025/06"_s);
        QCOMPARE(summary()->periods()->periods().size(), 16);
        // By year the boxes hold years, and cover the months' years whole.
        choose("summarySpan", u"By year"_s);
        QCOMPARE(box("summaryFrom")->currentText(), u"2024"_s);
        QCOMPARE(box("summaryTo")->currentText(), u"2025"_s);
        choose("summaryTo", u"2026"_s);
        // The status bar gives the Summary's figures while it is shown.
        QVERIFY(m_app.window->statusBar()->findChild<QLabel *>(u"totals"_s)->text().startsWith(
            u"2024 to 2026: 27 entries"_s));

        // Kept for the next start.
        QVERIFY(m_app.quit());
        m_app.start();
        m_app.window->views()->summaryAction()->trigger();
        QCOMPARE(box("summarySpan")->currentText(), u"By year"_s);
        QCOMPARE(box("summaryFrom")->currentText(), u"2024"_s);
        QCOMPARE(box("summaryTo")->currentText(), u"2026"_s);
    }

    void anEmptyLedgerShowsAHint()
    {
        QVERIFY(startWith({}));
        QVERIFY(summary()->findChild<QLabel *>(u"summaryEmptyHint"_s)->isVisible());
        QVERIFY(!summary()->findChild<QPushButton *>(u"saveChart"_s)->isEnabled());
        QVERIFY(!summary()->chart()->isVisible());
    }
};

QTEST_MAIN(SummaryViewTest)
#include "SummaryViewTest.moc"
