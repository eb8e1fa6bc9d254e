#pragma once

#include "ledger/Bank.h"

#include <QDialog>

#include <functional>

class QFileDialog;
class QLineEdit;
class QMessageBox;
class QPushButton;

// The window-modal input sheets of the main window. Each is opened with open() and tells its
// answer through accepted() and rejected(); the window acts on accepted() only.

// Asks for a year and a month; filled with today's year and month when opened. Texts that name
// no month are refused with a warning, and the sheet stays open.
class ChangeMonthSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ChangeMonthSheet(QWidget *parent);
    void accept() override;
    void fill(const QString &year, const QString &month);
    QString yearText() const;
    QString monthText() const;
    QLineEdit *yearField() const { return m_year; }
    QLineEdit *monthField() const { return m_month; }

private:
    QLineEdit *m_year;
    QLineEdit *m_month;
};

// Asks for a keyword; keeps the last one typed for the next search.
class SearchSheet : public QDialog
{
    Q_OBJECT
public:
    explicit SearchSheet(QWidget *parent);
    QString keyword() const;
    QLineEdit *keywordField() const { return m_keyword; }

private:
    QLineEdit *m_keyword;
};

// Offers the bank that is not current; Return chooses it.
class SelectBankSheet : public QDialog
{
    Q_OBJECT
public:
    explicit SelectBankSheet(QWidget *parent);
    // Enables the button of the bank that is not current.
    void setCurrentBank(Bank bank);
    Bank chosenBank() const { return m_chosen; }
    QPushButton *jnbButton() const { return m_jnb; }
    QPushButton *ebankButton() const { return m_ebank; }

private:
    QPushButton *m_jnb;
    QPushButton *m_ebank;
    Bank m_chosen = Bank::None;
};

namespace Sheets {
// The warning sheet: a message and an OK button.
QMessageBox *showAlert(QWidget *parent, const QString &message);
// A delete confirmation sheet whose default button, also meant by Escape, keeps the data;
// onDelete runs only for its delete button.
QMessageBox *confirmDeletion(QWidget *parent, const QString &name, const QString &message,
                             QStringView deleteKey, const QString &deleteButtonName,
                             std::function<void()> onDelete);
// The Import dialog (the platform's), for one statement file or several, in the folder last
// imported from, else Downloads; it tells the files chosen through filesSelected().
QFileDialog *openStatementDialog(QWidget *parent);
// At quit, when the data could not be saved: answers whether to try again (otherwise the window
// stays open). Waits for the answer.
bool askToRetrySave(QWidget *parent, const QString &why);
} // namespace Sheets
