#pragma once

#include "ledger/Bank.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QFileDialog;
class QSpinBox;
class QLineEdit;
class QMessageBox;
class QPushButton;

// The window-modal input sheets of the main window. Each is opened with open() and tells its
// answer through accepted() and rejected(); the window acts on accepted() only.

// Offers the months that hold entries, and another month of the user's choosing (a year and a
// month, which can name no other thing).
class ChangeMonthSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ChangeMonthSheet(QWidget *parent);
    // The months offered (year * 100 + month), and the one chosen at first: among them, or else
    // as the other month.
    void fill(const QList<int> &months, int shown);
    // The month chosen, year * 100 + month.
    int chosenMonth() const;
    QComboBox *monthList() const { return m_months; }
    QSpinBox *yearField() const { return m_year; }
    QSpinBox *monthField() const { return m_month; }

private:
    void otherChosen();

    QComboBox *m_months;
    QSpinBox *m_year;
    QSpinBox *m_month;
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
