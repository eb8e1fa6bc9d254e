#pragma once

// Helpers shared by the tests that drive the main window: a private home for the settings and
// ledgers, statement files as the banks write them, the application's start and quit, and
// lookups of the sheets and dialogs the window opens.

#include "BankbookTableView.h"
#include "BankbookWindow.h"
#include "Sheets.h"
#include "TestSupport.h"
#include "views/BankbookTableModel.h"
#include "views/Controller.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>

#include <memory>

namespace GuiTest {

using namespace Qt::StringLiterals;

// One operation of a statement.
struct Operation {
    QDate date;
    QString summary;
    int payment = 0;
    int deposit = 0;
    int balance = 0;
    QTime time = QTime(9, 5, 0);
};

// The home, data, configuration and runtime folders of the application under test.
class Home
{
public:
    // Points HOME and the XDG folders at a fresh temporary folder; call before anything reads
    // QSettings or QStandardPaths.
    bool setUp()
    {
        if (!m_root.isValid())
            return false;
        const QDir root(m_root.path());
        for (const char *sub : {"home", "data", "config", "runtime", "statements"}) {
            if (!root.mkpath(QString::fromLatin1(sub)))
                return false;
        }
        for (const auto &[variable, sub] : {std::pair{"HOME", u"home"}, {"XDG_DATA_HOME", u"data"},
                                            {"XDG_CONFIG_HOME", u"config"}, {"XDG_RUNTIME_DIR", u"runtime"}})
            qputenv(variable, QFile::encodeName(path(sub)));
        return QFile::setPermissions(path(u"runtime"),
                                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(QStringView sub) const { return QDir(m_root.path()).filePath(sub.toString()); }
    QString dataFolder() const { return path(u"data/Moriva"); }
    QString database() const { return QDir(dataFolder()).filePath(LedgerDatabase::fileName()); }
    QString settingsFile() const { return path(u"config/Moriva/Moriva.conf"); }
    QString statement(const QString &name) const { return QDir(path(u"statements")).filePath(name); }

    // Forgets every setting, ledger and file a test left behind.
    void clean()
    {
        for (const char *sub : {"data", "config", "statements", "home"}) {
            QDir dir(path(QString::fromLatin1(sub)));
            dir.removeRecursively();
            QDir().mkpath(dir.path());
        }
    }

private:
    QTemporaryDir m_root;
};

inline QString jnbStatement(const QList<Operation> &operations)
{
    QStringList lines{
        u"操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高"_s};
    int order = 0;
    for (const Operation &op : operations) {
        lines << jnbLine(op.date.year(), op.date.month(), op.date.day(), op.time.hour(),
                         op.time.minute(), op.time.second(), ++order, op.summary, op.payment,
                         op.deposit, op.balance);
    }
    return lines.join(u"\r\n") + u"\r\n"_s;
}

// A JNB statement file (CP932, its name carries "NBG"); answers its path.
inline QString writeJnbFile(const Home &home, const QList<Operation> &operations,
                            const QString &name = u"NBG_2026.csv"_s)
{
    const QString path = home.statement(name);
    return writeTestFile(path, toCp932(jnbStatement(operations))) ? path : QString();
}

// An eBANK statement file (UTF-8, its name carries "eBANK"); answers its path.
inline QString writeEbankFile(const Home &home, const QList<Operation> &operations,
                              const QString &name = u"eBANK_2026.csv"_s)
{
    QStringList lines{u"取引日,入出金(円),残高(円),入出金先内容"_s};
    for (const Operation &op : operations) {
        lines << ebankLine(op.date.year(), op.date.month(), op.date.day(),
                           op.payment ? -op.payment : op.deposit, op.balance, op.summary);
    }
    const QString path = home.statement(name);
    return writeTestFile(path, (lines.join(u"\r\n") + u"\r\n"_s).toUtf8()) ? path : QString();
}

// The application as main() builds it.
struct App {
    std::unique_ptr<Controller> controller;
    std::unique_ptr<BankbookWindow> window;

    void start()
    {
        controller = std::make_unique<Controller>();
        controller->loadPreferences();
        controller->openDataFolder();
        controller->openLedger();
        window = std::make_unique<BankbookWindow>(controller.get());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("the main window was not exposed");
        window->startUp();
    }

    // Starts with the operations imported from a JNB statement (none: an empty ledger) and the
    // window active, for its shortcuts; false when any did not come in.
    bool startWith(const Home &home, const QList<Operation> &operations)
    {
        const QString path = operations.isEmpty() ? QString() : writeJnbFile(home, operations);
        start();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get())
            && (operations.isEmpty() || window->importFile(path).added == operations.size());
    }

    // Closes the window (which saves) and lets both go, as quitting does.
    bool quit()
    {
        const bool closed = !window || window->close();
        window.reset();
        controller.reset();
        return closed;
    }

    BankbookTableView *table() const { return window->table(); }
    QAbstractItemModel *model() const { return window->table()->model(); }
    int rows() const { return model()->rowCount(); }
    QString summaryAt(int row) const { return model()->index(row, BankbookTableModel::SummaryColumn).data().toString(); }
    bool markedAt(int row) const { return model()->index(row, 0).data(BankbookTableModel::MarkedRole).toBool(); }
    void trigger(const QString &id) const { window->action(id)->trigger(); }
};

// The visible child of the parent of that type and name, waiting for it to appear; nullptr when
// none appears.
template <class T>
T *visibleChild(QObject *parent, const QString &name = QString())
{
    T *found = nullptr;
    (void)QTest::qWaitFor([&] {
        found = nullptr;
        for (T *child : parent->findChildren<T *>(name)) {
            if (child->isVisible()) {
                found = child;
                return true;
            }
        }
        return false;
    });
    return found;
}

// Selects the file in a file dialog and accepts it, as its Open or Save button does.
inline void chooseFile(QFileDialog *dialog, const QString &path)
{
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog's override is protected
}

// Whether a widget that deletes itself on close is gone.
inline bool waitDeleted(QObject *object)
{
    QPointer<QObject> guard(object);
    return QTest::qWaitFor([&] { return guard.isNull(); });
}

} // namespace GuiTest
