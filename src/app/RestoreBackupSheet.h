#pragma once

#include "ledger/Backups.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// Offers the backups of a damaged ledger, newest first, with the date and the entries of each;
// the chosen one replaces the damaged archive, which is set aside, never deleted.
class RestoreBackupSheet : public QDialog
{
    Q_OBJECT

public:
    RestoreBackupSheet(const QList<Backups::Backup> &backups, QWidget *parent);
    // The path of the backup chosen; empty when none.
    QString chosenBackup() const;
    QListWidget *list() const { return m_list; }
    QPushButton *restoreButton() const { return m_restore; }

private:
    QListWidget *m_list;
    QPushButton *m_restore;
};
