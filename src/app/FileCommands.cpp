#include "FileCommands.h"

#include "LedgerStatusBar.h"
#include "Sheets.h"
#include "views/Controller.h"
#include "views/StatusTexts.h"
#include "views/StringTable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

FileCommands::FileCommands(QWidget *window, Controller *controller, LedgerStatusBar *status)
    : QObject(window)
    , m_window(window)
    , m_controller(controller)
    , m_status(status)
{
}

QList<ImportReport> FileCommands::importFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return {};
    QList<StatusTexts::FileImport> imports;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // One step for Undo, however many files.
    const QList<ImportReport> done = m_controller->importFiles(paths);
    for (qsizetype i = 0; i < paths.size(); ++i)
        imports.append({QFileInfo(paths.at(i)).fileName(), done.value(i)});
    QGuiApplication::restoreOverrideCursor();
    m_status->showImport(imports);
    if (const QString failures = StatusTexts::importFailures(imports); !failures.isEmpty())
        Sheets::showAlert(m_window, failures);
    QList<ImportReport> reports;
    for (const StatusTexts::FileImport &i : std::as_const(imports))
        reports << i.report;
    return reports;
}

void FileCommands::importStatement()
{
    connect(Sheets::openStatementDialog(m_window), &QFileDialog::filesSelected, this,
            [this](const QStringList &paths) { importFiles(paths); });
}

void FileCommands::exportList()
{
    auto *dialog = new QFileDialog(m_window, StringTable::localizedString(u"BalanceFileSave"),
                                   QDir::homePath(), tr("CSV files (*.csv)"));
    dialog->setObjectName(QStringLiteral("saveDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->selectFile(m_controller->proposedExportFileName() + QStringLiteral(".csv"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        QString why;
        if (m_controller->exportShownList(path, &why))
            m_status->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 5000);
        else
            Sheets::showAlert(m_window, why);
    });
    dialog->open();
}
