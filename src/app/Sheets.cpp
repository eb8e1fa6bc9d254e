#include "Sheets.h"

#include "WindowLooks.h"
#include "views/LedgerView.h"
#include "views/FileLocations.h"
#include "views/StringTable.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
void makeSheet(QDialog *dialog, const QString &name)
{
    dialog->setObjectName(name);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setModal(true);
    WindowLooks::keepSmall(dialog);
}
} // namespace

ChangeMonthSheet::ChangeMonthSheet(QWidget *parent)
    : QDialog(parent)
    , m_months(new QComboBox(this))
    , m_year(new QSpinBox(this))
    , m_month(new QSpinBox(this))
{
    makeSheet(this, QStringLiteral("changeMonthSheet"));
    setWindowTitle(tr("Show a Month"));
    m_months->setObjectName(QStringLiteral("months"));
    m_year->setObjectName(QStringLiteral("year"));
    m_month->setObjectName(QStringLiteral("month"));
    m_year->setRange(1, 9999);
    m_month->setRange(1, 12);
    m_months->setAccessibleName(tr("Month"));
    m_year->setAccessibleName(tr("Year"));
    m_month->setAccessibleName(tr("Month of the year"));
    connect(m_months, &QComboBox::currentIndexChanged, this, &ChangeMonthSheet::otherChosen);
    auto *other = new QHBoxLayout;
    other->addWidget(m_year);
    other->addWidget(m_month);
    auto *form = new QFormLayout;
    form->addRow(tr("Month:"), m_months);
    form->addRow(tr("Another month:"), other);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *move = buttons->addButton(tr("Show"), QDialogButtonBox::AcceptRole);
    move->setObjectName(QStringLiteral("move"));
    move->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void ChangeMonthSheet::fill(const QList<int> &months, int shown)
{
    m_months->clear();
    for (int month : months)
        m_months->addItem(StringTable::monthName(month / 100, month % 100), month);
    m_months->addItem(tr("Another month"), 0);
    m_year->setValue(shown / 100);
    m_month->setValue(shown % 100);
    const int at = m_months->findData(shown);
    m_months->setCurrentIndex(at >= 0 ? at : m_months->count() - 1);
    otherChosen();
    m_months->setFocus();
}

void ChangeMonthSheet::otherChosen()
{
    const bool other = m_months->currentData().toInt() == 0;
    m_year->setEnabled(other);
    m_month->setEnabled(other);
}

int ChangeMonthSheet::chosenMonth() const
{
    const int listed = m_months->currentData().toInt();
    return listed != 0 ? listed : m_year->value() * 100 + m_month->value();
}

SearchSheet::SearchSheet(QWidget *parent)
    : QDialog(parent)
    , m_keyword(new QLineEdit(this))
{
    makeSheet(this, QStringLiteral("searchSheet"));
    setWindowTitle(tr("Search"));
    m_keyword->setObjectName(QStringLiteral("keyword"));
    m_keyword->setMinimumWidth(260);
    m_keyword->setClearButtonEnabled(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *search = buttons->addButton(tr("Search"), QDialogButtonBox::AcceptRole);
    search->setObjectName(QStringLiteral("search"));
    search->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Find entries whose summary contains:"), this));
    layout->addWidget(m_keyword);
    layout->addWidget(buttons);
}

QString SearchSheet::keyword() const
{
    return m_keyword->text();
}

SelectBankSheet::SelectBankSheet(QWidget *parent)
    : QDialog(parent)
    , m_jnb(new QPushButton(StringTable::localizedString(u"BankName_JNB"), this))
    , m_ebank(new QPushButton(StringTable::localizedString(u"BankName_eBANK"), this))
{
    makeSheet(this, QStringLiteral("selectBankSheet"));
    setWindowTitle(tr("Choose a Bank"));
    m_jnb->setObjectName(QStringLiteral("jnb"));
    m_ebank->setObjectName(QStringLiteral("ebank"));
    connect(m_jnb, &QPushButton::clicked, this, [this] {
        m_chosen = Bank::Jnb;
        accept();
    });
    connect(m_ebank, &QPushButton::clicked, this, [this] {
        m_chosen = Bank::Ebank;
        accept();
    });
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *banks = new QHBoxLayout;
    banks->addWidget(m_jnb);
    banks->addWidget(m_ebank);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Show the ledger of:"), this));
    layout->addLayout(banks);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void SelectBankSheet::setCurrentBank(Bank bank)
{
    m_chosen = Bank::None;
    if (Banks::isBank(bank)) {
        m_jnb->setEnabled(bank != Bank::Jnb);
        m_ebank->setEnabled(bank != Bank::Ebank);
        QPushButton *offered = bank == Bank::Jnb ? m_ebank : m_jnb;
        offered->setDefault(true);
        offered->setFocus();
    }
}

namespace Sheets {

QMessageBox *showAlert(QWidget *parent, const QString &message)
{
    auto *box = new QMessageBox(QMessageBox::Warning, StringTable::localizedString(u"Warning"),
                                message, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->open();
    return box;
}

QMessageBox *confirmDeletion(QWidget *parent, const QString &name, const QString &message,
                             QStringView deleteKey, const QString &deleteButtonName,
                             std::function<void()> onDelete)
{
    const auto text = [](QStringView key) { return StringTable::localizedString(key); };
    auto *box = new QMessageBox(QMessageBox::Warning, text(u"Warning"), message,
                                QMessageBox::NoButton, parent);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton *keep = box->addButton(text(u"DontDelete"), QMessageBox::RejectRole);
    QPushButton *remove = box->addButton(text(deleteKey), QMessageBox::DestructiveRole);
    keep->setObjectName(QStringLiteral("dontDelete"));
    remove->setObjectName(deleteButtonName);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [remove, onDelete](QAbstractButton *button) {
                         if (button == remove)
                             onDelete();
                     });
    box->open();
    return box;
}

QFileDialog *openStatementDialog(QWidget *parent)
{
    auto *dialog = new QFileDialog(
        parent, StringTable::localizedString(u"BankbookFileOpen"), FileLocations::importFolder(),
        QCoreApplication::translate("Sheets", "Statement files (*.csv);;All files (*)"));
    dialog->setObjectName(QStringLiteral("importDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QFileDialog::filesSelected, dialog, [](const QStringList &files) {
        if (!files.isEmpty())
            FileLocations::rememberImport(files.constFirst());
    });
    dialog->open();
    return dialog;
}

bool askToRetrySave(QWidget *parent, const QString &why)
{
    // The texts keep the window's translation context, where they were first written.
    QMessageBox box(QMessageBox::Critical, StringTable::localizedString(u"Warning"),
                    QCoreApplication::translate("BankbookWindow",
                                                "Moriva could not save your data."),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("saveFailedSheet"));
    box.setInformativeText(why.trimmed());
    QPushButton *retry =
        box.addButton(QCoreApplication::translate("BankbookWindow", "Try Again"),
                      QMessageBox::AcceptRole);
    box.addButton(QCoreApplication::translate("BankbookWindow", "Stay Open"),
                  QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}

} // namespace Sheets
