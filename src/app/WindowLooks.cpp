#include "WindowLooks.h"

#include "views/BankbookTableModel.h"
#include "views/Contrast.h"
#include "views/Settings.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>

using namespace Qt::StringLiterals;
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QTableView>
#include <QToolBar>

namespace WindowLooks {
namespace {
// Room for the window icon and the close button beside the title, with the window manager's
// margins.
constexpr int kTitleBarButtons = 140;

// Keeps a small dialog at the size its contents and its title ask for. A window that cannot be
// resized gets no maximise button from any window manager, even from those that ignore the
// hint that asks for none.
class TitleFitter : public QObject
{
public:
    explicit TitleFitter(QDialog *dialog)
        : QObject(dialog)
    {
        dialog->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::Show)
            fit(static_cast<QDialog *>(watched));
        return false;
    }

private:
    void fit(QDialog *dialog)
    {
        auto *layout = qobject_cast<QBoxLayout *>(dialog->layout());
        if (!layout) {
            dialog->setMinimumWidth(titleBarWidth(dialog));
            return;
        }
        if (!m_titleRoom) {
            // As wide as the title bar needs, and no height: the layout's width follows it.
            m_titleRoom = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
            layout->addItem(m_titleRoom);
            layout->setSizeConstraint(QLayout::SetFixedSize);
        }
        m_titleRoom->changeSize(titleBarWidth(dialog) - layout->contentsMargins().left()
                                    - layout->contentsMargins().right(),
                                0, QSizePolicy::Fixed, QSizePolicy::Fixed);
        layout->invalidate();
        layout->activate();
    }

    QSpacerItem *m_titleRoom = nullptr;
};
} // namespace

void applyTintedStyle(QToolBar *toolBar, QTableView *table)
{
    const QPalette palette = toolBar->palette();
    const QList<quint32> tint{palette.color(QPalette::Midlight).rgb() & 0xffffff,
                              palette.color(QPalette::Mid).rgb() & 0xffffff};
    // The style's grey for disabled text fades into the gradient: darken (or lighten) it until
    // it reads at 4.5:1 on both ends.
    const QColor disabled = QColor::fromRgb(Contrast::readableOn(
        palette.color(QPalette::Disabled, QPalette::ButtonText).rgb(), tint));
    toolBar->setStyleSheet(
        QStringLiteral("QToolBar#MorivaToolToolbar { border: none; padding: 4px;"
                       " background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 palette(midlight), stop:1 palette(mid)); }"
                       " QToolBar#MorivaToolToolbar QToolButton:disabled { color: %1; }")
            .arg(disabled.name()));
    toolBar->setProperty("disabledTextColour", disabled);
    table->setFrameShape(QFrame::NoFrame);
}

void keepSmall(QDialog *dialog)
{
    dialog->setWindowFlags((dialog->windowFlags()
                            & ~(Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint))
                           | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint);
    new TitleFitter(dialog);
}

int titleBarWidth(const QWidget *window)
{
    QFont font = QApplication::font();
    font.setBold(true);
    QString title = window->windowTitle();
    if (!QGuiApplication::applicationDisplayName().isEmpty())
        title += QStringLiteral(" — ") + QGuiApplication::applicationDisplayName();
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
}

void centreOn(QWidget *window, const QWidget *over)
{
    if (!over)
        return;
    window->adjustSize();
    QRect frame(QPoint(), window->size());
    frame.moveCenter(over->frameGeometry().center());
    if (const QScreen *screen = over->screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(qBound(available.left(), frame.left(),
                              qMax(available.left(), available.right() - frame.width())));
        frame.moveTop(qBound(available.top(), frame.top(),
                             qMax(available.top(), available.bottom() - frame.height())));
    }
    window->move(frame.topLeft());
}

void restoreLayout(QMainWindow *window, QTableView *table)
{
    const QSettings settings = Settings::store();
    window->restoreGeometry(settings.value(Settings::key(Settings::WindowGeometry)).toByteArray());
    const QByteArray header = settings.value(Settings::key(Settings::TableColumns)).toByteArray();
    if (header.isEmpty() || !table->horizontalHeader()->restoreState(header)) {
        // Wide enough for a date, a time and large amounts in the table's font, whatever its
        // size: a larger font (a theme's, HiDPI) never cuts them.
        const int widths[] = {96, 76, 270, 100, 100, 110, 160};
        const QString widest[] = {u"0000/00/00"_s, u"00:00:00"_s, QString(), u"99,999,999円"_s,
                                  u"99,999,999円"_s, u"-999,999,999円"_s, QString()};
        const QFontMetrics metrics(table->font());
        for (int c = 0; c < BankbookTableModel::ColumnCount; ++c)
            table->setColumnWidth(c, qMax(widths[c], metrics.horizontalAdvance(widest[c]) + 16));
    }
    // Layouts saved before Summary and Details shared the extra width stretched the last column.
    table->horizontalHeader()->setStretchLastSection(false);
}

void saveLayout(const QMainWindow *window, const QTableView *table)
{
    QSettings settings = Settings::store();
    settings.setValue(Settings::key(Settings::WindowGeometry), window->saveGeometry());
    settings.setValue(Settings::key(Settings::TableColumns),
                      table->horizontalHeader()->saveState());
}

} // namespace WindowLooks
