#include "FileCommands.h"

#include "LedgerStatusBar.h"
#include "Sheets.h"
#include "views/Controller.h"
#include "views/FileLocations.h"
#include "views/Settings.h"
#include "views/StatusTexts.h"
#include "views/StringTable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QTimer>

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
    if (m_importing) {
        m_waiting += paths;
        return {};
    }
    m_importing = true;
    QList<StatusTexts::FileImport> imports;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Shown when the import takes a while; window-modal, so that the window takes no input
    // while the events are let through.
    QProgressDialog progress(m_window);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setRange(0, 1000);
    progress.setMinimumDuration(400);
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    m_controller->setImportProgress([&](const QString &path, qint64 done, qint64 total) {
        if (sinceEvents.elapsed() < 40)
            return;
        sinceEvents.restart();
        progress.setLabelText(tr("Importing %1…").arg(QFileInfo(path).fileName()));
        progress.setValue(total > 0 ? int(done * 1000 / total) : 0);
        // Paints, the other instances' requests, termination signals; no input before the
        // dialog shows, and none to the window after.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    // One step for Undo, however many files.
    const QList<ImportReport> done = m_controller->importFiles(paths);
    m_controller->setImportProgress({});
    progress.close();
    for (qsizetype i = 0; i < paths.size(); ++i)
        imports.append({QFileInfo(paths.at(i)).fileName(), done.value(i)});
    QGuiApplication::restoreOverrideCursor();
    m_importing = false;
    // The files that came meanwhile, each batch as it came together.
    if (!m_waiting.isEmpty())
        QTimer::singleShot(0, this, [this] { importFiles(std::exchange(m_waiting, {})); });
    else
        QTimer::singleShot(0, this, [this] {
            if (!m_importing)
                emit importsFinished();
        });
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
    // Moriva's own CSV (as every version wrote it, in the encoding the preferences give) or one
    // for spreadsheets; the form chosen last comes first.
    const QStringList forms{tr("CSV as Moriva writes it (*.csv)"),
                            tr("CSV for spreadsheets, with a header row (*.csv)")};
    const QString name = FileLocations::exportFileName(StatusTexts::bankName(m_controller->bank()),
                                                       m_controller->proposedExportFileName());
    auto *dialog = new QFileDialog(m_window, StringTable::localizedString(u"BalanceFileSave"),
                                   QDir(FileLocations::saveFolder()).filePath(name + QStringLiteral(".csv")),
                                   forms.join(u";;"));
    dialog->setObjectName(QStringLiteral("saveDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setWindowModality(Qt::WindowModal);
    QSettings settings = Settings::store();
    dialog->selectNameFilter(forms.value(settings.value(Settings::key(Settings::SaveFormat)).toInt(),
                                         forms.constFirst()));
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog, forms](const QString &path) {
        const bool spreadsheet = dialog->selectedNameFilter() == forms.value(1);
        Settings::store().setValue(Settings::key(Settings::SaveFormat), spreadsheet ? 1 : 0);
        FileLocations::rememberSave(path);
        QString why;
        const bool saved =
            spreadsheet ? LedgerExport::saveSpreadsheet(path, m_controller->view().entries(), &why)
                        : m_controller->exportShownList(path, &why);
        if (saved)
            m_status->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 5000);
        else
            Sheets::showAlert(m_window, why);
    });
    dialog->open();
}
