#include "RestoreBackupSheet.h"

#include "Sheets.h"
#include "views/Controller.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

RestoreBackupSheet::RestoreBackupSheet(const QList<Backups::Backup> &backups, QWidget *parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_restore(new QPushButton(tr("Restore"), this))
{
    setObjectName(QStringLiteral("restoreBackupSheet"));
    setWindowTitle(tr("Restore Backup"));
    setWindowModality(Qt::WindowModal);
    for (const Backups::Backup &backup : backups) {
        const QString when = QLocale().toString(backup.time, QLocale::ShortFormat);
        qsizetype entries = 0;
        for (const auto &[bank, count] : backup.entries)
            entries += count;
        auto *item = new QListWidgetItem(
            backup.isReadable() ? tr("%1 — %n entries", nullptr, int(entries)).arg(when)
                                : tr("%1 — unreadable").arg(when),
            m_list);
        item->setData(Qt::UserRole, backup.path);
        item->setToolTip(backup.isReadable() ? backup.path : backup.error);
        if (!backup.isReadable())
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->flags() & Qt::ItemIsEnabled) {
            m_list->setCurrentRow(row);
            break;
        }
    }
    m_restore->setObjectName(QStringLiteral("restore"));
    m_restore->setEnabled(m_list->currentItem() != nullptr);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(m_restore, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *item) { m_restore->setEnabled(item != nullptr); });

    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(tr("The ledger database cannot be read; it is kept among the backups "
                                "when another takes its place. Choose the backup that takes its "
                                "place:"),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

QString RestoreBackupSheet::chosenBackup() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void RestoreBackupSheet::reportUnopenedLedger(QWidget *window, Controller *controller)
{
    for (const QString &problem : controller->moveInProblems())
        Sheets::showAlert(window, problem);
    const Controller::LedgerState state = controller->ledgerState();
    if (state == Controller::LedgerState::Open || state == Controller::LedgerState::Closed)
        return;
    QMessageBox *box = Sheets::showAlert(window, controller->ledgerError());
    // Only a damaged database can be replaced; reading the backups is for it alone.
    if (state != Controller::LedgerState::Unreadable)
        return;
    const QList<Backups::Backup> backups = Backups::list(controller->dataFolderPath());
    if (backups.isEmpty())
        return;
    QPushButton *restore = box->addButton(tr("Restore Backup…"), QMessageBox::ActionRole);
    restore->setObjectName(QStringLiteral("restoreBackup"));
    connect(restore, &QPushButton::clicked, window, [window, controller, backups] {
        auto *sheet = new RestoreBackupSheet(backups, window);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        connect(sheet, &QDialog::accepted, window, [window, controller, sheet] {
            QString why;
            if (!controller->restoreBackup(sheet->chosenBackup(), &why))
                Sheets::showAlert(window, why);
        });
        sheet->open();
    });
}
