#include "StatusMessageLabel.h"

#include <QPainter>
#include <QStyle>

StatusMessageLabel::StatusMessageLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize StatusMessageLabel::minimumSizeHint() const
{
    // Room for the start of a message; the rest is elided.
    return {fontMetrics().averageCharWidth() * 12, QLabel::minimumSizeHint().height()};
}

void StatusMessageLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                          shown, foregroundRole());
}
