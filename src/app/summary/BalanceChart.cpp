#include "BalanceChart.h"

#include "ColourScheme.h"
#include "ledger/AtomicFile.h"
#include "views/SummaryModels.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QCursor>
#include <QFileInfo>
#include <QLineSeries>
#include <QHelpEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

using PeriodReport::Period;

namespace {

// Whole yen on the axis, at round steps; the tooltips give the exact figures.
void styleAmountAxis(QValueAxis *axis)
{
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->applyNiceNumbers();
}

} // namespace

BalanceChart::BalanceChart(QWidget *parent)
    : QChartView(parent)
{
    setObjectName(QStringLiteral("balanceChart"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    setColours(ColourScheme());
}

void BalanceChart::setPeriods(const QList<Period> &periods)
{
    m_periods = periods.size() > kMaxPeriods ? periods.mid(periods.size() - kMaxPeriods) : periods;
    rebuild();
}

void BalanceChart::setColours(const ColourScheme &colours)
{
    m_paidIn = colours.interest;
    m_paidOut = colours.commission;
    m_balance = colours.atm;
    rebuild();
}

void BalanceChart::rebuild()
{
    QChart *c = chart();
    c->removeAllSeries();
    m_line = nullptr;
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis), delete axis;
    if (m_periods.isEmpty())
        return;

    auto *paidIn = new QBarSet(tr("Paid in"));
    auto *paidOut = new QBarSet(tr("Paid out"));
    paidIn->setColor(m_paidIn);
    paidIn->setBorderColor(m_paidIn);
    paidOut->setColor(m_paidOut);
    paidOut->setBorderColor(m_paidOut);
    auto *balance = new QLineSeries;
    balance->setName(tr("Closing balance"));
    QPen pen(m_balance);
    pen.setWidthF(2);
    balance->setPen(pen);
    balance->setPointsVisible(m_periods.size() <= 60);
    QStringList names;
    qreal lowest = 0, highest = 0;
    for (qsizetype i = 0; i < m_periods.size(); ++i) {
        const Period &p = m_periods.at(i);
        // Drawing needs reals; the figures shown stay the exact integers.
        paidIn->append(qreal(p.sums.paidIn));
        paidOut->append(qreal(p.sums.paidOut));
        balance->append(qreal(i), qreal(p.closingBalance));
        names.append(PeriodTableModel::periodName(p));
        highest = std::max({highest, qreal(p.sums.paidIn), qreal(p.sums.paidOut)});
        lowest = std::min(lowest, qreal(p.closingBalance));
        highest = std::max(highest, qreal(p.closingBalance));
    }
    auto *bars = new QBarSeries;
    bars->append(paidIn);
    bars->append(paidOut);
    bars->setBarWidth(0.8);
    c->addSeries(bars);
    c->addSeries(balance);

    // One category a period; with many periods their names give way to years.
    auto *periods = new QBarCategoryAxis;
    periods->append(names);
    c->addAxis(periods, Qt::AlignBottom);
    bars->attachAxis(periods);
    balance->attachAxis(periods);
    if (m_periods.size() > 24) {
        periods->setLabelsVisible(false);
        periods->setGridLineVisible(false);
        auto *years = new QCategoryAxis;
        years->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        years->setRange(-0.5, qreal(m_periods.size()) - 0.5);
        const int step = m_periods.size() > 240 ? 5 : 1;
        for (qsizetype i = 0; i < m_periods.size(); ++i) {
            const Period &p = m_periods.at(i);
            const bool startsYear = p.month ? p.month == 1 || i == 0 : true;
            if (startsYear && p.year % step == 0)
                years->append(QString::number(p.year), qreal(i) - 0.5);
        }
        c->addAxis(years, Qt::AlignBottom);
    } else if (m_periods.size() > 8) {
        periods->setLabelsAngle(-90);
    }

    auto *amounts = new QValueAxis;
    amounts->setRange(lowest, highest);
    styleAmountAxis(amounts);
    c->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(amounts);
    balance->attachAxis(amounts);

    m_line = balance;
}

int BalanceChart::periodAt(const QPoint &position) const
{
    if (!m_line)
        return -1;
    const QPointF at = chart()->mapFromScene(mapToScene(position));
    if (!chart()->plotArea().contains(at))
        return -1;
    const int index = qRound(chart()->mapToValue(at, m_line).x());
    return index >= 0 && index < m_periods.size() ? index : -1;
}

bool BalanceChart::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QChartView::viewportEvent(event);
    // The figures of the period under the pointer, anywhere over its bars and its point.
    auto *help = static_cast<QHelpEvent *>(event);
    const int index = periodAt(help->pos());
    if (index < 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), PeriodTableModel::describe(m_periods.at(index)),
                           viewport());
    }
    return true;
}

void BalanceChart::paintChart(QPainter *painter, const QRectF &target)
{
    // The scene is laid out for the widget; painting it into another size scales it.
    render(painter, target, QRect(), Qt::KeepAspectRatio);
}

bool BalanceChart::saveImage(const QString &path, QString *error)
{
    const bool svg = QFileInfo(path).suffix().compare(u"svg", Qt::CaseInsensitive) == 0;
    // Written whole or not at all: a full disk leaves a chart saved there before as it was.
    return AtomicFile::write(path, [this, svg](QIODevice *device) {
        if (svg) {
            // Drawn into memory first: the generator's text stream takes a short write (a full
            // disk) for a whole one, so the bytes that reach the file are counted here.
            QBuffer drawing;
            drawing.open(QIODevice::WriteOnly);
            QSvgGenerator generator;
            generator.setOutputDevice(&drawing);
            generator.setSize(size());
            generator.setViewBox(rect());
            generator.setTitle(tr("Balance and paid in / paid out"));
            QPainter painter;
            if (!painter.begin(&generator))
                return false;
            paintChart(&painter, rect());
            return painter.end() && device->write(drawing.data()) == drawing.size();
        }
        // Twice the widget's pixels, so that the picture stays sharp when printed or zoomed.
        QImage image(size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintChart(&painter, image.rect());
        painter.end();
        return image.save(device, "PNG");
    }, error);
}
