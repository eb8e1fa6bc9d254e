// Drives the window's changes through Controller, as the window does, at random and as fast as
// it can, for the kill trial (trials/change-kill-trial.sh; not run by CI):
//
//   XDG_DATA_HOME=... change-driver WORKDIR SEED
//
// Before each change it prints a line {"begin": EFFECTS, "what": ...} and after the change
// returned {"done": EFFECTS}, each line flushed at once. EFFECTS is a list of what the change
// must have left in the database:
//   ["mark", id, 0|1]            ["summary", id, text | null (the bank's text)]
//   ["note", id, text]           ["del", [id, ...]]
//   ["put", [[id, bank, marked, summary | null, note], ...]]      (an undone deletion)
//   ["new", bank, [id, ...]]     (an import: unmarked entries with the bank's texts, no note)
//   ["import", [{"file": tag, "bank": bank, "expect": n}, ...]]   (only in "begin": the files
//                                 in flight, each all there or not at all, in that order)
// A change the database refused prints {"failed": reason} and ends the run (exit 3); a
// disagreement between the controller and this program's model prints {"fault": ...} (exit 4).
//
// The model starts from what the database holds when the driver starts, which the trial has
// checked already. Its own undo stack mirrors the controller's to know what undo and redo do.

#include "views/Controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QUndoStack>

#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <set>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Entry {
    int bank = 0;
    int marked = 0;
    std::optional<QString> summary; // none: the bank's text
    QString note;
    QString imported; // the bank's text, which names the file and the line
};

struct Step {
    enum Kind { Edit, Mark, Removal, Import } kind;
    QString stepText;
    qint64 id = 0;
    bool summaryField = true;
    std::optional<QString> before, after; // edits
    int markBefore = 0, markAfter = 0;
    QList<qint64> ids;
    std::map<qint64, Entry> out; // the entries while they are out of the ledger
};

std::mt19937_64 rng;
int pick(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); }

void emitLine(const QJsonObject &o)
{
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fault(const QString &what)
{
    emitLine({{u"fault"_s, what}});
    std::exit(4);
}

// A list of one effect (braces alone would copy the effect instead).
QJsonArray one(const QJsonArray &effect)
{
    QJsonArray list;
    list.append(effect);
    return list;
}

int bankNumber(Bank b) { return b == Bank::Ebank ? 2 : 1; }

class Driver
{
public:
    Driver(Controller &c, const QString &work)
        : m_c(c)
        , m_work(work)
    {
        QObject::connect(&c, &Controller::changeFailed, [](const QString &error) {
            emitLine({{u"failed"_s, error}});
            std::exit(3);
        });
        for (Bank b : {Bank::Jnb, Bank::Ebank}) {
            const QList<qint64> ids = c.database().entryIds(b, EntryFilter::all(), Qt::AscendingOrder);
            for (const LedgerEntry &e : c.database().entries(ids))
                m_model[e.id()] = fromEntry(e);
        }
        // Statement files of earlier runs may be imported again.
        for (const QFileInfo &f : QDir(work).entryInfoList({u"*.csv"_s}, QDir::Files, QDir::Name))
            m_files.append(f.absoluteFilePath());
        m_next = int(m_files.size());
    }

    void step()
    {
        const int r = pick(1000);
        if (r < 100)
            import();
        else if (r < 350)
            mark();
        else if (r < 470)
            edit(true);
        else if (r < 590)
            edit(false);
        else if (r < 620)
            revert();
        else if (r < 720)
            removeOne();
        else if (r < 730)
            removeAll();
        else if (r < 880)
            undo();
        else if (r < 980)
            redo();
        else
            m_c.switchBank(m_c.bank() == Bank::Jnb ? Bank::Ebank : Bank::Jnb);
    }

private:
    static Entry fromEntry(const LedgerEntry &e)
    {
        Entry m;
        m.bank = bankNumber(e.account());
        m.marked = e.marked();
        if (e.isSummaryEdited())
            m.summary = e.summary();
        m.note = e.details();
        m.imported = e.importedSummary();
        return m;
    }

    // ---- the mirror of the undo stack
    void push(Step s)
    {
        m_stack.erase(m_stack.begin() + m_index, m_stack.end());
        m_stack.push_back(std::move(s));
        if (m_stack.size() > 100)
            m_stack.erase(m_stack.begin());
        m_index = int(m_stack.size());
        agree();
    }
    void agree()
    {
        const QUndoStack &u = m_c.undoStack();
        if (u.count() != int(m_stack.size()) || u.index() != m_index)
            fault(u"undo stack: controller %1 steps at %2, model %3 at %4"_s.arg(u.count())
                      .arg(u.index()).arg(m_stack.size()).arg(m_index));
        if (m_index > 0 && u.undoText() != m_stack[size_t(m_index - 1)].stepText)
            fault(u"undo text: controller \"%1\", model \"%2\""_s.arg(u.undoText(),
                                                                      m_stack[size_t(m_index - 1)].stepText));
    }

    // ---- effects: printed and applied to the model
    static QJsonValue text(const std::optional<QString> &t) { return t ? QJsonValue(*t) : QJsonValue(); }
    QJsonArray putEffect(const std::map<qint64, Entry> &entries)
    {
        QJsonArray list;
        for (const auto &[id, e] : entries)
            list.append(QJsonArray{id, e.bank, e.marked, text(e.summary), e.note});
        return QJsonArray{u"put"_s, list};
    }
    static QJsonArray idList(const QList<qint64> &ids)
    {
        QJsonArray a;
        for (qint64 id : ids)
            a.append(id);
        return a;
    }
    void begin(const QJsonArray &effects, const QString &what)
    {
        emitLine({{u"begin"_s, effects}, {u"what"_s, what}});
    }
    void done(const QJsonArray &effects) { emitLine({{u"done"_s, effects}}); }

    qint64 idAt(int row) const { return m_c.view().idAt(row); }
    int randomRow() const { return m_c.view().rowCount() ? pick(int(m_c.view().rowCount())) : -1; }
    Entry &known(qint64 id)
    {
        auto it = m_model.find(id);
        if (it == m_model.end())
            fault(u"row shows id %1, which the model does not hold"_s.arg(id));
        return it->second;
    }

    void mark()
    {
        const int row = randomRow();
        if (row < 0)
            return;
        const qint64 id = idAt(row);
        Entry &e = known(id);
        const int after = e.marked ? 0 : 1;
        const QJsonArray effects = one(QJsonArray{u"mark"_s, id, after});
        begin(effects, u"toggleMark"_s);
        if (!m_c.toggleMark(row))
            fault(u"toggleMark(%1) answered false"_s.arg(row));
        Step s{Step::Mark, after ? u"Mark"_s : u"Unmark"_s};
        s.id = id;
        s.markBefore = e.marked;
        s.markAfter = after;
        e.marked = after;
        done(effects);
        push(std::move(s));
    }

    QString newText()
    {
        static const QStringList pieces{u"メモ"_s, u"ﾛｰｿﾝ"_s, u"NETFLIX.COM"_s, u"\"quoted\""_s,
                                        u"a, b; c"_s, u"家賃 ４月分"_s, u"𠮷野家"_s, u"tab\there"_s};
        return pieces[pick(int(pieces.size()))] + u' ' + QString::number(++m_texts);
    }

    void edit(bool summaryField)
    {
        const int row = randomRow();
        if (row < 0)
            return;
        const qint64 id = idAt(row);
        Entry &e = known(id);
        const QString value = (!summaryField && pick(5) == 0 && !e.note.isEmpty()) ? QString() : newText();
        const QJsonArray effects = one(summaryField ? QJsonArray{u"summary"_s, id, value}
                                                     : QJsonArray{u"note"_s, id, value});
        begin(effects, summaryField ? u"editEntry summary"_s : u"editEntry details"_s);
        if (!m_c.editEntry(row, summaryField ? u"summary" : u"details", value))
            fault(u"editEntry(%1) answered false"_s.arg(row));
        Step s{Step::Edit, summaryField ? u"Edit of Summary"_s : u"Edit of Details"_s};
        s.id = id;
        s.summaryField = summaryField;
        if (summaryField) {
            s.before = e.summary;
            e.summary = value == e.imported ? std::nullopt : std::optional<QString>(value);
            s.after = e.summary;
        } else {
            s.before = e.note;
            e.note = value;
            s.after = value;
        }
        done(effects);
        push(std::move(s));
    }

    void revert()
    {
        const int row = randomRow();
        if (row < 0)
            return;
        const qint64 id = idAt(row);
        Entry &e = known(id);
        if (!e.summary)
            return;
        const QJsonArray effects = one(QJsonArray{u"summary"_s, id, QJsonValue()});
        begin(effects, u"revertSummary"_s);
        if (!m_c.revertSummary(row))
            fault(u"revertSummary(%1) answered false"_s.arg(row));
        Step s{Step::Edit, u"Revert to Bank's Text"_s};
        s.id = id;
        s.before = e.summary;
        e.summary.reset();
        done(effects);
        push(std::move(s));
    }

    void takeOut(Step &s, const QList<qint64> &ids)
    {
        s.out.clear();
        for (qint64 id : ids) {
            if (auto it = m_model.find(id); it != m_model.end()) {
                s.out[id] = it->second;
                m_model.erase(it);
            }
        }
    }
    void putBack(Step &s)
    {
        for (const auto &[id, e] : s.out)
            m_model[id] = e;
        s.out.clear();
    }

    void removeOne()
    {
        const int row = randomRow();
        if (row < 0)
            return;
        const qint64 id = idAt(row);
        known(id);
        const QJsonArray effects = one(QJsonArray{u"del"_s, QJsonArray{id}});
        begin(effects, u"removeEntry"_s);
        if (!m_c.removeEntry(row))
            fault(u"removeEntry(%1) answered false"_s.arg(row));
        Step s{Step::Removal, u"Delete"_s};
        s.ids = {id};
        takeOut(s, s.ids);
        done(effects);
        push(std::move(s));
    }

    void removeAll()
    {
        QList<qint64> ids;
        for (const auto &[id, e] : m_model)
            if (e.bank == bankNumber(m_c.bank()))
                ids.append(id);
        if (ids.isEmpty())
            return;
        const QJsonArray effects = one(QJsonArray{u"del"_s, idList(ids)});
        begin(effects, u"removeAllEntries"_s);
        m_c.removeAllEntries();
        if (m_c.database().count(m_c.bank()) != 0)
            fault(u"removeAllEntries left entries"_s);
        Step s{Step::Removal, u"Delete All"_s};
        s.ids = ids;
        takeOut(s, ids);
        done(effects);
        push(std::move(s));
    }

    // What undoing (or redoing) the step does, as effects.
    QJsonArray effectsOf(Step &s, bool undo)
    {
        switch (s.kind) {
        case Step::Mark:
            return one(QJsonArray{u"mark"_s, s.id, undo ? s.markBefore : s.markAfter});
        case Step::Edit: {
            const std::optional<QString> &t = undo ? s.before : s.after;
            return one(s.summaryField ? QJsonArray{u"summary"_s, s.id, text(t)}
                                   : QJsonArray{u"note"_s, s.id, t.value_or(QString())});
        }
        case Step::Removal:
        case Step::Import:
            if ((s.kind == Step::Removal) == undo)
                return one(putEffect(s.out));
            QList<qint64> present;
            for (qint64 id : s.ids)
                if (m_model.count(id))
                    present.append(id);
            return one(QJsonArray{u"del"_s, idList(present)});
        }
        return {};
    }
    void apply(Step &s, bool undo)
    {
        switch (s.kind) {
        case Step::Mark:
            known(s.id).marked = undo ? s.markBefore : s.markAfter;
            break;
        case Step::Edit:
            if (s.summaryField)
                known(s.id).summary = undo ? s.before : s.after;
            else
                known(s.id).note = (undo ? s.before : s.after).value_or(QString());
            break;
        case Step::Removal:
        case Step::Import:
            if ((s.kind == Step::Removal) == undo)
                putBack(s);
            else
                takeOut(s, s.ids);
            break;
        }
    }

    void undo()
    {
        if (m_index == 0) {
            if (m_c.undo())
                fault(u"undo answered true with nothing to undo"_s);
            return;
        }
        Step &s = m_stack[size_t(m_index - 1)];
        const QJsonArray effects = effectsOf(s, true);
        begin(effects, u"undo "_s + s.stepText);
        if (!m_c.undo())
            fault(u"undo answered false"_s);
        apply(s, true);
        --m_index;
        done(effects);
        agree();
    }

    void redo()
    {
        if (m_index == int(m_stack.size())) {
            if (m_c.redo())
                fault(u"redo answered true with nothing to redo"_s);
            return;
        }
        Step &s = m_stack[size_t(m_index)];
        const QJsonArray effects = effectsOf(s, false);
        begin(effects, u"redo "_s + s.stepText);
        if (!m_c.redo())
            fault(u"redo answered false"_s);
        apply(s, false);
        ++m_index;
        done(effects);
        agree();
    }

    // ---- imports
    // A new statement file of unique lines (a few are no operation and are rejected).
    QString writeStatement()
    {
        const bool ebank = pick(3) == 0;
        const int n = 1 + pick(pick(4) == 0 ? 3000 : 300);
        const QString tag = u"s%1n%2r%3"_s.arg(m_next++, 4, 10, QChar(u'0')).arg(n).arg(pick(1000000));
        const QString path = QDir(m_work).filePath((ebank ? u"eBANK_"_s : u"NBG_"_s) + tag + u".csv"_s);
        QStringList lines;
        lines << (ebank ? u"\"取引日\",\"入出金(円)\",\"残高(円)\",\"入出金先内容\""_s
                        : u"操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),"
                          u"取引順番号,摘要,お支払金額,お預り金額,残高"_s);
        const int month = 1 + pick(12);
        int balance = 1000000;
        for (int i = 0; i < n; ++i) {
            const QString summary = u"振込 %1 L%2"_s.arg(tag).arg(i);
            const int amount = 1 + pick(50000);
            balance -= amount;
            if (ebank)
                lines << u"\"2026%1%2\",\"-%3\",\"%4\",\"%5\""_s.arg(month, 2, 10, QChar(u'0'))
                             .arg(1 + i % 28, 2, 10, QChar(u'0')).arg(amount).arg(balance).arg(summary);
            else
                lines << u"\"2026\",\"%1\",\"%2\",\"%3\",\"%4\",\"%5\",\"%6\",\"%7\",\"%8\",\"0\",\"%9\""_s
                             .arg(month).arg(1 + i % 28).arg(i % 24).arg(i % 60).arg(pick(60))
                             .arg(i).arg(summary).arg(amount).arg(balance);
            if (pick(100) == 0) // no calendar date: rejected
                lines << (ebank ? u"\"20260230\",\"-1\",\"1\",\"x\""_s
                                : u"\"2026\",\"2\",\"30\",\"1\",\"1\",\"1\",\"1\",\"x\",\"1\",\"0\",\"1\""_s);
        }
        const QString text = lines.join(u"\r\n"_s) + u"\r\n"_s;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            fault(u"cannot write "_s + path);
        f.write(pick(2) ? text.toUtf8() : QByteArray(QStringEncoder("windows-31j").encode(text)));
        f.close();
        m_files.append(path);
        return path;
    }

    static QString tagOf(const QString &path)
    {
        QString name = QFileInfo(path).completeBaseName();
        return name.mid(name.indexOf(u'_') + 1);
    }
    // How many of the file's lines the ledger lacks (the tag says how many it has).
    int missingLines(const QString &path)
    {
        const QString tag = tagOf(path);
        const int lines = tag.section(u'n', 1).section(u'r', 0, 0).toInt();
        std::set<QString> present;
        for (const auto &[id, e] : m_model)
            if (e.imported.contains(tag + u" L"_s))
                present.insert(e.imported);
        return lines - int(present.size());
    }

    void import()
    {
        QStringList paths;
        const int files = pick(5) == 0 ? 2 : 1;
        for (int i = 0; i < files; ++i)
            paths << (m_files.isEmpty() || pick(10) < 7 ? writeStatement() : m_files[pick(int(m_files.size()))]);
        if (files == 2 && paths[0] == paths[1])
            paths.removeLast();
        QJsonArray inFlight;
        QList<int> expect;
        for (const QString &p : paths) {
            expect << missingLines(p);
            inFlight.append(QJsonObject{{u"file"_s, tagOf(p)},
                                        {u"bank"_s, p.contains(u"eBANK") ? 2 : 1},
                                        {u"expect"_s, expect.last()}});
        }
        begin(one(QJsonArray{u"import"_s, inFlight}), u"importFiles"_s);
        std::set<qint64> before;
        for (const auto &[id, e] : m_model)
            before.insert(id);
        const QList<ImportReport> reports = m_c.importFiles(paths);
        int added = 0;
        for (int i = 0; i < reports.size(); ++i) {
            if (reports[i].status != ImportReport::Imported)
                fault(u"import of %1: status %2: %3"_s.arg(paths[i]).arg(reports[i].status).arg(reports[i].error));
            if (reports[i].added != expect[i])
                fault(u"import of %1 added %2, %3 were missing"_s.arg(paths[i]).arg(reports[i].added).arg(expect[i]));
            added += reports[i].added;
        }
        // The new entries, as the database lists them (the ids are its to give).
        QJsonArray effects;
        QList<qint64> all;
        for (Bank b : {Bank::Jnb, Bank::Ebank}) {
            QList<qint64> fresh, unknown;
            for (qint64 id : m_c.database().entryIds(b, EntryFilter::all(), Qt::AscendingOrder))
                if (!before.count(id))
                    unknown.append(id);
            for (const LedgerEntry &e : m_c.database().entries(unknown)) {
                fresh.append(e.id());
                Entry m = fromEntry(e);
                if (m.marked || m.summary || !m.note.isEmpty())
                    fault(u"a new entry %1 is not as the bank gave it"_s.arg(e.id()));
                m_model[e.id()] = m;
            }
            if (!fresh.isEmpty())
                effects.append(QJsonArray{u"new"_s, bankNumber(b), idList(fresh)});
            all += fresh;
        }
        if (all.size() != added)
            fault(u"the imports reported %1 added, the database holds %2 new"_s.arg(added).arg(all.size()));
        done(effects);
        if (added > 0) {
            int withEntries = 0;
            QString name;
            for (int i = 0; i < reports.size(); ++i)
                if (reports[i].added > 0) {
                    ++withEntries;
                    name = QFileInfo(paths[i]).fileName();
                }
            Step s{Step::Import, withEntries == 1 ? u"Import of %1 (%2 entries)"_s.arg(name).arg(added)
                                                   : u"Import of %1 files (%2 entries)"_s.arg(withEntries).arg(added)};
            s.ids = all;
            push(std::move(s));
        }
    }

    Controller &m_c;
    QString m_work;
    std::map<qint64, Entry> m_model;
    std::vector<Step> m_stack;
    int m_index = 0;
    QStringList m_files;
    int m_next = 0;
    int m_texts = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: change-driver WORKDIR SEED [STEPS]\n");
        return 2;
    }
    rng.seed(args[2].toULongLong());
    const long long steps = args.size() > 3 ? args[3].toLongLong() : -1;
    Controller c;
    c.loadPreferences();
    if (!c.openDataFolder())
        return emitLine({{u"failed"_s, u"no data folder"_s}}), 3;
    c.openLedger();
    if (!c.isLedgerOpen())
        return emitLine({{u"failed"_s, c.ledgerError()}}), 3;
    c.start();
    QDir().mkpath(args[1]);
    Driver d(c, args[1]);
    emitLine({{u"started"_s, true}});
    for (long long i = 0; steps < 0 || i < steps; ++i)
        d.step();
    c.closeLedger();
    return 0;
}
