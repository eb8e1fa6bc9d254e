#include "UpdateSheet.h"

#include "UpdateChecker.h"
#include "WindowLooks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

UpdateSheet::UpdateSheet(UpdateChecker *checker, QWidget *parent)
    : QDialog(parent)
    , m_checker(checker)
    , m_message(new QLabel(this))
{
    setObjectName(QStringLiteral("updateSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Software Update"));
    WindowLooks::keepSmall(this);
    m_message->setObjectName(QStringLiteral("updateMessage"));
    m_message->setTextFormat(Qt::PlainText); // the published text is never markup
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(340);
    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto *title = new QLabel(tr("Software Update"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    title->setFont(bold);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *page = buttons->addButton(tr("Moriva Page"), QDialogButtonBox::ActionRole);
    QPushButton *home = buttons->addButton(tr("Home Page"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    page->setObjectName(QStringLiteral("programPage"));
    home->setObjectName(QStringLiteral("homePage"));
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    // A build that looks for no updates has no pages to offer either.
    page->setVisible(UpdateChecker::hasAddress());
    home->setVisible(UpdateChecker::hasAddress());
    connect(page, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(UpdateChecker::programPageUrl()); });
    connect(home, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(UpdateChecker::homePageUrl()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(m_message);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);

    connect(m_checker, &UpdateChecker::finished, this, [this](const VersionCheck::Outcome &o) {
        m_message->setText(o.message);
    });
}

void UpdateSheet::showAboutUpdateWindow()
{
    if (!UpdateChecker::hasAddress()) {
        m_message->setText(tr("This build of Moriva has no address to look for updates at."));
        open();
        return;
    }
    m_message->setText(tr("Looking for a newer version…"));
    open();
    m_checker->checkLatestVersion();
}

void UpdateSheet::showOutcome(const VersionCheck::Outcome &outcome)
{
    m_message->setText(outcome.message);
    open();
}
