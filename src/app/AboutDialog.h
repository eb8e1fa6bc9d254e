#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Help › About Moriva: the version, the licence, and where the ledgers are kept, with a button
// that opens that folder in the file manager.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(const QString &dataFolder, QWidget *parent);

    QLabel *versionLabel() const { return m_version; }
    QLabel *dataFolderLabel() const { return m_folder; }
    QPushButton *openFolderButton() const { return m_open; }

private:
    QLabel *m_version;
    QLabel *m_folder;
    QPushButton *m_open;
};
