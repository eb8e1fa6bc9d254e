#include "Sheets.h"

#include "views/StringTable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void makeSheet(QDialog *dialog, const QString &name)
{
    dialog->setObjectName(name);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setModal(true);
}
} // namespace

ChangeMonthSheet::ChangeMonthSheet(QWidget *parent)
    : QDialog(parent)
    , m_year(new QLineEdit(this))
    , m_month(new QLineEdit(this))
{
    makeSheet(this, QStringLiteral("changeMonthSheet"));
    setWindowTitle(tr("Show a Month"));
    m_year->setObjectName(QStringLiteral("year"));
    m_month->setObjectName(QStringLiteral("month"));
    auto *form = new QFormLayout;
    form->addRow(tr("Year:"), m_year);
    form->addRow(tr("Month:"), m_month);
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

void ChangeMonthSheet::fill(const QString &year, const QString &month)
{
    m_year->setText(year);
    m_month->setText(month);
    m_year->selectAll();
    m_year->setFocus();
}

QString ChangeMonthSheet::yearText() const
{
    return m_year->text();
}

QString ChangeMonthSheet::monthText() const
{
    return m_month->text();
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
        m_chosen = 1;
        accept();
    });
    connect(m_ebank, &QPushButton::clicked, this, [this] {
        m_chosen = 2;
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

void SelectBankSheet::setCurrentBank(int bank)
{
    m_chosen = 0;
    if (bank == 1 || bank == 2) {
        m_jnb->setEnabled(bank != 1);
        m_ebank->setEnabled(bank != 2);
    }
}
