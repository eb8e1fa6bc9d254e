#include "BalanceChart.h"

#include "ColourScheme.h"
#include "ledger/AtomicFile.h"
#include "views/ChartAxes.h"
#include "views/SummaryModels.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QCursor>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QLineSeries>
#include <QHelpEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

using PeriodReport::Period;

BalanceChart::BalanceChart(QWidget *parent)
    : QChartView(parent)
{
    setObjectName(QStringLiteral("balanceChart"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    // The amounts' digits grouped as the user's language groups them.
    chart()->setLocalizeNumbers(true);
    chart()->setLocale(QLocale());
    setColours(ColourScheme());
}

void BalanceChart::setPeriods(const QList<Period> &periods, const QStringList &names)
{
    const qsizetype from = std::max<qsizetype>(0, periods.size() - kMaxPeriods);
    m_periods = periods.mid(from);
    m_names = names.mid(from);
    rebuild();
}

void BalanceChart::setColours(const ColourScheme &colours)
{
    m_paidIn = colours.interest;
    m_paidOut = colours.commission;
    m_balance = colours.atm;
    rebuild();
}

void BalanceChart::setDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    // A theme sets the chart's every colour and font: the series' own colours come after it.
    chart()->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart()->setBackgroundRoundness(0);
    rebuild();
}

void BalanceChart::rebuild()
{
    QChart *c = chart();
    c->removeAllSeries();
    m_line = nullptr;
    m_labels = nullptr;
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis), delete axis;
    if (m_periods.isEmpty())
        return;

    qint64 largest = 0;
    for (const Period &p : std::as_const(m_periods))
        largest = std::max({largest, p.sums.paidIn, p.sums.paidOut, qAbs(p.closingBalance)});
    const ChartAxes::AmountUnit unit = ChartAxes::amountUnit(largest);
    // Drawing needs reals; the figures the tooltips show stay the exact integers.
    const auto plotted = [&unit](qint64 amount) { return qreal(amount) / qreal(unit.divisor); };

    // Payments first, as the tables list them.
    auto *paidOut = new QBarSet(tr("Payment"));
    auto *paidIn = new QBarSet(tr("Deposit"));
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
    qreal lowest = 0, highest = 0;
    for (qsizetype i = 0; i < m_periods.size(); ++i) {
        const Period &p = m_periods.at(i);
        paidOut->append(plotted(p.sums.paidOut));
        paidIn->append(plotted(p.sums.paidIn));
        balance->append(qreal(i), plotted(p.closingBalance));
        highest = std::max({highest, plotted(p.sums.paidIn), plotted(p.sums.paidOut),
                            plotted(p.closingBalance)});
        lowest = std::min(lowest, plotted(p.closingBalance));
    }
    auto *bars = new QBarSeries;
    bars->append(paidOut);
    bars->append(paidIn);
    bars->setBarWidth(0.8);
    c->addSeries(bars);
    c->addSeries(balance);

    // One category a period, unlabelled: relabel() puts upright labels where they fit.
    auto *periods = new QBarCategoryAxis;
    for (qsizetype i = 0; i < m_periods.size(); ++i)
        periods->append(QString::number(i));
    periods->setLabelsVisible(false);
    periods->setGridLineVisible(false);
    c->addAxis(periods, Qt::AlignBottom);
    bars->attachAxis(periods);
    balance->attachAxis(periods);

    auto *amounts = new QValueAxis;
    amounts->setRange(lowest, highest);
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->applyNiceNumbers();
    amounts->setTitleText(unit.title);
    c->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(amounts);
    balance->attachAxis(amounts);

    m_line = balance;
    relabel();
}

void BalanceChart::relabel()
{
    if (!m_line)
        return;
    QChart *c = chart();
    if (m_labels)
        c->removeAxis(m_labels), delete m_labels;
    auto *labels = new QCategoryAxis;
    labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    labels->setRange(-0.5, qreal(m_periods.size()) - 0.5);
    labels->setGridLineVisible(false);
    // Before the first layout the plot is about the view less the amounts' labels.
    const qreal plot = c->plotArea().width() > 0 ? c->plotArea().width() : width() * 0.85;
    const QFontMetricsF metrics(labels->labelsFont());
    const auto chosen = ChartAxes::periodLabels(
        m_periods, m_names, plot,
        [&metrics](const QString &text) { return metrics.horizontalAdvance(text); });
    for (const ChartAxes::PeriodLabel &label : chosen)
        labels->append(label.text, qreal(label.index));
    c->addAxis(labels, Qt::AlignBottom);
    m_labels = labels;
}

void BalanceChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    relabel();
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
            generator.setTitle(tr("Balance, payments and deposits"));
            QPainter painter;
            if (!painter.begin(&generator))
                return false;
            paintChart(&painter, rect());
            return painter.end() && device->write(drawing.data()) == drawing.size();
        }
        // Twice the widget's pixels, so that the picture stays sharp when printed or zoomed.
        QImage image(size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.fill(chart()->backgroundBrush().color());
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintChart(&painter, image.rect());
        painter.end();
        return image.save(device, "PNG");
    }, error);
}
