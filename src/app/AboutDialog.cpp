#include "AboutDialog.h"

#include "UpdateChecker.h"
#include "WindowLooks.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

AboutDialog::AboutDialog(const QString &dataFolder, QWidget *parent)
    : QDialog(parent)
    , m_version(new QLabel(tr("Version %1").arg(UpdateChecker::installedVersion()), this))
    , m_folder(new QLabel(QDir::toNativeSeparators(dataFolder), this))
    , m_open(new QPushButton(tr("Open Data Folder"), this))
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Moriva"));
    setWindowModality(Qt::WindowModal);
    WindowLooks::keepSmall(this);

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/moriva.svg")).pixmap(64, 64));
    auto *name = new QLabel(QStringLiteral("<b style=\"font-size:large\">Moriva</b>"), this);
    m_version->setObjectName(QStringLiteral("version"));
    auto *description =
        new QLabel(tr("A desktop bankbook for one account at JNB and one at eBANK."), this);
    description->setWordWrap(true);
    auto *licence = new QLabel(
        tr("Moriva is free software: you can redistribute it and/or modify it under the terms of "
           "the GNU General Public License, version 3 or (at your option) any later version "
           "(GPL-3.0-or-later). It comes with no warranty."),
        this);
    licence->setObjectName(QStringLiteral("licence"));
    licence->setWordWrap(true);
    // The libraries that ship with Moriva's package, each under its own licence.
    auto *notices = new QLabel(
        tr("Moriva uses Qt (LGPL-3.0 and GPL-3.0, The Qt Company), SQLite (public domain), "
           "libdeflate (MIT, Eric Biggers) and ICU (Unicode licence, Unicode, Inc.)."),
        this);
    notices->setObjectName(QStringLiteral("notices"));
    notices->setWordWrap(true);
    m_folder->setObjectName(QStringLiteral("dataFolder"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_open->setObjectName(QStringLiteral("openDataFolder"));
    m_open->setEnabled(!dataFolder.isEmpty());
    connect(m_open, &QPushButton::clicked, this,
            [dataFolder] { QDesktopServices::openUrl(QUrl::fromLocalFile(dataFolder)); });

    auto *heading = new QVBoxLayout;
    heading->addWidget(name);
    heading->addWidget(m_version);
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);
    auto *folder = new QFormLayout;
    folder->addRow(tr("Data folder:"), m_folder);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_open, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(description);
    layout->addWidget(licence);
    layout->addWidget(notices);
    layout->addLayout(folder);
    layout->addWidget(buttons);
}
