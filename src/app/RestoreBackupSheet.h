#pragma once

#include "ledger/Backups.h"

#include <QDialog>

class Controller;
class QListWidget;
class QPushButton;

// Offers the backups of a damaged ledger, newest first, with the date and the entries of each;
// the chosen one replaces the damaged database, which is kept among the backups, never deleted.
class RestoreBackupSheet : public QDialog
{
    Q_OBJECT

public:
    RestoreBackupSheet(const QList<Backups::Backup> &backups, QWidget *parent);

    // Says in a sheet on the window why the ledger is not open; a damaged ledger with backups
    // gets a Restore Backup button that opens this sheet, and the backup chosen is restored.
    static void reportUnopenedLedger(QWidget *window, Controller *controller);
    // The path of the backup chosen; empty when none.
    QString chosenBackup() const;
    QListWidget *list() const { return m_list; }
    QPushButton *restoreButton() const { return m_restore; }

private:
    QListWidget *m_list;
    QPushButton *m_restore;
};
