#include "PreferencesWindow.h"

#include "UpdateChecker.h"
#include "WindowLooks.h"

#include "ColourScheme.h"
#include "views/Controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QColor ColourScheme::*const kWellColours[] = {&ColourScheme::itemMarker, &ColourScheme::atm,
                                              &ColourScheme::commission, &ColourScheme::interest,
                                              &ColourScheme::yahoo};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(40, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // A checkerboard shows through translucent colours.
    for (int x = 0; x < 40; x += 8)
        for (int y = 0; y < 16; y += 8)
            painter.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? Qt::lightGray : Qt::white);
    painter.fillRect(pixmap.rect(), colour);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}
} // namespace

PreferencesWindow::PreferencesWindow(Controller *controller, ColourScheme *colours,
                                     QWidget *parent)
    : QDialog(parent)
    , m_controller(controller)
    , m_colours(colours)
    , m_checkUpdate(new QCheckBox(tr("&Look for a newer version at start-up"), this))
    , m_style(new QButtonGroup(this))
    , m_encoding(new QComboBox(this))
    , m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("preferencesWindow"));
    setWindowTitle(tr("Moriva Preferences"));
    setWindowModality(Qt::WindowModal);
    m_checkUpdate->setObjectName(QStringLiteral("checkUpdate"));
    if (!UpdateChecker::hasAddress()) {
        m_checkUpdate->setEnabled(false);
        m_checkUpdate->setText(tr("&Look for a newer version at start-up (this build has no "
                                  "update address)"));
    }

    auto *styleBox = new QGroupBox(tr("Window style (from the next start)"), this);
    auto *styleLayout = new QVBoxLayout(styleBox);
    const QString styles[] = {tr("S&tandard"), tr("T&inted toolbar and square table corners")};
    for (int style = 0; style < 2; ++style) {
        auto *radio = new QRadioButton(styles[style], styleBox);
        radio->setObjectName(QStringLiteral("windowStyle%1").arg(style));
        m_style->addButton(radio, style);
        styleLayout->addWidget(radio);
    }

    auto *colourBox = new QGroupBox(tr("Colours"), this);
    auto *colourForm = new QFormLayout(colourBox);
    const QString names[] = {tr("&Marked entries:"), tr("&ATM:"), tr("&Commission:"),
                             tr("I&nterest:"), tr("&Yahoo:")};
    for (int i = 0; i < 5; ++i) {
        auto *well = new QPushButton(colourBox);
        well->setObjectName(QStringLiteral("colourWell%1").arg(i));
        well->setIconSize(QSize(40, 16));
        well->setAccessibleName(QString(names[i]).remove(u'&').remove(u':'));
        connect(well, &QPushButton::clicked, this, [this, i] {
            auto *dialog = new QColorDialog(m_colours->*kWellColours[i], this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setOption(QColorDialog::ShowAlphaChannel);
            dialog->setOption(QColorDialog::DontUseNativeDialog);
            connect(dialog, &QColorDialog::currentColorChanged, this,
                    [this, i](const QColor &c) { pickColour(i, c); });
            connect(dialog, &QColorDialog::colorSelected, this,
                    [this, i](const QColor &c) { pickColour(i, c); });
            // The colour is previewed while it is chosen; Cancel puts the one before back.
            connect(dialog, &QDialog::rejected, this,
                    [this, i, before = m_colours->*kWellColours[i]] { pickColour(i, before); });
            dialog->open();
        });
        m_wells.append(well);
        colourForm->addRow(names[i], well);
        refreshWell(i);
    }

    m_encoding->setObjectName(QStringLiteral("exportEncoding"));
    m_encoding->addItem(tr("UTF-8"), 0);
    m_encoding->addItem(tr("UTF-8 with byte-order mark"), 1);
    m_encoding->addItem(tr("Shift_JIS (CP932)"), 2);
    auto *exportForm = new QFormLayout;
    exportForm->addRow(tr("&Encoding of saved lists:"), m_encoding);
    m_note->setObjectName(QStringLiteral("colourNote"));
    m_note->setWordWrap(true);
    m_note->hide();
    colourForm->addRow(m_note);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *reset = buttons->addButton(tr("&Reset Colours"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("resetColours"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(reset, &QPushButton::clicked, this, &PreferencesWindow::resetColours);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_checkUpdate);
    layout->addWidget(styleBox);
    layout->addWidget(colourBox);
    layout->addLayout(exportForm);
    layout->addWidget(buttons);
}

void PreferencesWindow::accept()
{
    changedPreferences();
    QDialog::accept();
    emit preferencesChanged();
}

void PreferencesWindow::reject()
{
    // The colours were previewed in the table: they go back as they were.
    *m_colours = m_coloursBefore;
    QDialog::reject();
    emit preferencesChanged();
}

void PreferencesWindow::resetColours()
{
    const ColourScheme defaults = ColourScheme::forPalette(parentWidget() ? parentWidget()->palette()
                                                                          : palette());
    *m_colours = defaults;
    m_note->hide();
    for (int i = 0; i < m_wells.size(); ++i)
        refreshWell(i);
    emit preferencesChanged();
}

QPushButton *PreferencesWindow::colourWell(int index) const
{
    return m_wells.value(index);
}

void PreferencesWindow::showPreferences()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    m_coloursBefore = *m_colours;
    m_note->hide();
    setPreferenceContents();
    for (int i = 0; i < m_wells.size(); ++i)
        refreshWell(i);
    // Over the main window, not wherever the window manager puts a new window.
    WindowLooks::centreOn(this, parentWidget());
    open();
}

void PreferencesWindow::pickColour(int index, const QColor &colour)
{
    if (index < 0 || index >= m_wells.size() || !colour.isValid())
        return;
    QColor taken = colour;
    m_note->hide();
    if (index > 0) { // a summary kind's text colour, not the marker's background
        const QPalette &rows = parentWidget() ? parentWidget()->palette() : palette();
        taken = m_colours->readableKindColour(colour, rows);
        if (taken != colour) {
            m_note->setText(tr("%1 would be hard to read on the table's rows, so %2 is used "
                               "instead: it stands out at least 4.5 to 1.")
                                .arg(colour.name(QColor::HexArgb), taken.name()));
            m_note->show();
        }
    }
    m_colours->*kWellColours[index] = taken;
    refreshWell(index);
    emit preferencesChanged();
}

void PreferencesWindow::setPreferenceContents()
{
    m_checkUpdate->setChecked(m_controller->checksForUpdatesAtStart());
    if (QAbstractButton *radio = m_style->button(m_controller->windowStyle()))
        radio->setChecked(true);
    m_encoding->setCurrentIndex(qMax(0, m_encoding->findData(int(m_controller->exportEncoding()))));
}

void PreferencesWindow::changedPreferences()
{
    m_controller->setChecksForUpdatesAtStart(m_checkUpdate->isChecked());
    if (m_style->checkedId() >= 0)
        m_controller->setWindowStyle(m_style->checkedId());
    m_controller->setExportEncoding(LedgerExport::Encoding(m_encoding->currentData().toInt()));
}

void PreferencesWindow::refreshWell(int index)
{
    const QColor colour = m_colours->*kWellColours[index];
    m_wells[index]->setIcon(swatch(colour));
    m_wells[index]->setToolTip(colour.name(QColor::HexArgb));
}
