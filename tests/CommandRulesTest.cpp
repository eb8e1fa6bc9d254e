// SPDX-License-Identifier: GPL-3.0-or-later
// When the window's commands are enabled: each command's rule from the command table, and the
// ledger's commands off while the Summary stands in for the table.

#include "views/CommandRules.h"
#include "views/Commands.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class CommandRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void enabling_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("state"); // the State's fields that are true, by name
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char *command, const char *state, bool enabled) {
            QTest::addRow("%s, %s", command, *state ? state : "nothing")
                << QString::fromLatin1(command) << QString::fromLatin1(state) << enabled;
        };
        row("import_balance", "", true);
        row("save_balance", "", false);
        row("save_balance", "entries", true);
        row("delete_all", "entries summary", true);
        row("mark_balance", "entries", false);
        row("mark_balance", "entries selection", true);
        row("delete_balance", "entries selection", true);
        row("revert_summary", "entries selection", false);
        row("revert_summary", "entries selection edited", true);
        row("move_next_month", "entries next", true);
        row("move_prev_month", "entries next", false);
        row("move_prev_month", "entries previous", true);
        row("change_month", "entries summary", false);
        row("summary", "summary", true);
        row("undo", "undo summary", true);
        row("redo", "redo", true);
        row("balance_gaps", "", false);
        row("balance_gaps", "entries summary", true);
        row("rejected_lines", "rejected", true);
    }
    void enabling()
    {
        QFETCH(QString, command); QFETCH(QString, state); QFETCH(bool, enabled);
        const QStringList on = state.split(u' ', Qt::SkipEmptyParts);
        CommandRules::State s;
        s.hasEntries = on.contains(u"entries"_s);
        s.hasSelection = on.contains(u"selection"_s);
        s.summaryEdited = on.contains(u"edited"_s);
        s.canUndo = on.contains(u"undo"_s);
        s.canRedo = on.contains(u"redo"_s);
        s.summaryShown = on.contains(u"summary"_s);
        s.hasRejectedLines = on.contains(u"rejected"_s);
        s.hasPreviousMonth = on.contains(u"previous"_s);
        s.hasNextMonth = on.contains(u"next"_s);
        QVERIFY(Commands::find(command));
        QCOMPARE(CommandRules::isEnabled(command, s), enabled);
    }

    // Every menu's access letters differ, in the language the test runs in (English; the
    // Japanese ones are checked with the window).
    void accessLettersDiffer()
    {
        QHash<Commands::Menu, QSet<QChar>> letters;
        for (const Commands::Command &command : Commands::all()) {
            const QString text = Commands::menuText(command);
            const qsizetype at = text.indexOf(u'&');
            QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
            const QChar letter = text.at(at + 1).toLower();
            QVERIFY2(!letters[command.menu].contains(letter), qPrintable(text));
            letters[command.menu].insert(letter);
        }
    }
};

QTEST_GUILESS_MAIN(CommandRulesTest)
#include "CommandRulesTest.moc"
