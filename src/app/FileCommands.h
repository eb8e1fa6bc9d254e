#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class Controller;
class LedgerStatusBar;
class QWidget;
struct ImportReport;

// The window's Import and Export: the file dialogs, the import of the files chosen or dropped
// with its report in the status bar (and an alert for the files that failed), and the export of
// the shown list.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(QWidget *window, Controller *controller, LedgerStatusBar *status);

    // Imports the files and reports them together; answers a report a file. A long import shows
    // its progress and the window keeps painting and answering other instances meanwhile; files
    // that come then (a second "moriva FILE") wait and are imported after it, answering nothing.
    QList<ImportReport> importFiles(const QStringList &paths);
    // Whether an import is under way: nothing else may change the ledger until it ends.
    bool isImporting() const { return m_importing; }
    // Opens the Import dialog; the files chosen are imported.
    void importStatement();
    // Opens the save dialog for the shown list and writes it to the file chosen.
    void exportList();

signals:
    // An import ended, and no files wait for their turn.
    void importsFinished();

private:
    QWidget *m_window;
    bool m_importing = false;
    QStringList m_waiting;
    Controller *m_controller;
    LedgerStatusBar *m_status;
};
