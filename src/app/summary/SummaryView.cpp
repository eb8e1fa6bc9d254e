#include "SummaryView.h"

#include "BalanceChart.h"
#include "ColourScheme.h"
#include "SummaryPrinter.h"
#include "views/Controller.h"
#include "views/StatusTexts.h"
#include "views/SummaryModels.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

using namespace PeriodReport;

namespace {

// Draws a kind's name in the colour the preferences give its summaries.
class KindColourDelegate : public QStyledItemDelegate
{
public:
    KindColourDelegate(const ColourScheme *colours, QObject *parent)
        : QStyledItemDelegate(parent), m_colours(colours)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QColor colour =
            m_colours->summaryColour(index.data(KindTableModel::KindRole).toInt());
        if (index.column() == KindTableModel::KindColumn && colour.isValid())
            option->palette.setColor(QPalette::Text, colour);
    }

private:
    const ColourScheme *m_colours;
};

QTableView *makeTable(QAbstractItemModel *model, const QString &name, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setAlternatingRowColors(true);
    return table;
}

constexpr int kNoEnd = -1;

} // namespace

SummaryView::SummaryView(Controller *controller, const ColourScheme *colours, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_colours(colours)
    , m_periods(new PeriodTableModel(this))
    , m_kinds(new KindTableModel(this))
    , m_span(new QComboBox(this))
    , m_from(new QComboBox(this))
    , m_to(new QComboBox(this))
    , m_kindTitle(new QLabel(this))
    , m_chart(new BalanceChart(this))
{
    setObjectName(QStringLiteral("summaryView"));
    m_span->setObjectName(QStringLiteral("summarySpan"));
    m_span->addItem(tr("By month"), int(Span::Month));
    m_span->addItem(tr("By year"), int(Span::Year));
    m_from->setObjectName(QStringLiteral("summaryFrom"));
    m_to->setObjectName(QStringLiteral("summaryTo"));
    auto *save = new QPushButton(tr("Save Chart…"), this);
    save->setObjectName(QStringLiteral("saveChart"));
    connect(save, &QPushButton::clicked, this, &SummaryView::saveChart);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_span);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(tr("From"), this));
    controls->addWidget(m_from);
    controls->addWidget(new QLabel(tr("to"), this));
    controls->addWidget(m_to);
    controls->addStretch(1);
    controls->addWidget(save);

    m_table = makeTable(m_periods, QStringLiteral("summaryTable"), this);
    m_kindTable = makeTable(m_kinds, QStringLiteral("kindTable"), this);
    m_kindTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_kindTable->setItemDelegate(new KindColourDelegate(colours, m_kindTable));
    m_kindTitle->setObjectName(QStringLiteral("kindTitle"));

    auto *kindBox = new QWidget(this);
    auto *kindLayout = new QVBoxLayout(kindBox);
    kindLayout->setContentsMargins(0, 0, 0, 0);
    kindLayout->addWidget(m_kindTitle);
    kindLayout->addWidget(m_kindTable);
    auto *tables = new QSplitter(Qt::Horizontal, this);
    tables->addWidget(m_table);
    tables->addWidget(kindBox);
    tables->setStretchFactor(0, 3);
    tables->setStretchFactor(1, 2);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_chart);
    split->addWidget(tables);
    // The chart first: the tables scroll, the chart cannot.
    m_chart->setMinimumHeight(220);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({3000, 2000});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(controls);
    layout->addWidget(split, 1);

    for (QComboBox *box : {m_span, m_from, m_to})
        connect(box, &QComboBox::activated, this, &SummaryView::applyChoices);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { selectPeriod(current.row()); });
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { openPeriod(index.row()); });
    applyColours();
}

void SummaryView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void SummaryView::markStale()
{
    m_stale = true;
    if (isVisible())
        refresh();
}

void SummaryView::refresh()
{
    m_stale = false;
    m_periods->setMonths(compute(m_controller->database(), m_controller->bank(), Span::Month));
    fillRangeChoices();
    applyChoices();
}

void SummaryView::fillRangeChoices()
{
    // The months that hold entries; a choice that is gone falls back to the ledger's end.
    const int from = m_from->currentData().isValid() ? m_from->currentData().toInt() : kNoEnd;
    const int to = m_to->currentData().isValid() ? m_to->currentData().toInt() : kNoEnd;
    m_from->clear();
    m_to->clear();
    m_from->addItem(tr("the first month"), kNoEnd);
    m_to->addItem(tr("the last month"), kNoEnd);
    for (const Period &m : m_periods->months()) {
        m_from->addItem(PeriodTableModel::periodName(m), m.key());
        m_to->addItem(PeriodTableModel::periodName(m), m.key());
    }
    m_from->setCurrentIndex(qMax(0, m_from->findData(from)));
    m_to->setCurrentIndex(qMax(0, m_to->findData(to)));
}

void SummaryView::applyChoices()
{
    MonthRange range;
    if (const int from = m_from->currentData().toInt(); from != kNoEnd)
        range.first = from;
    if (const int to = m_to->currentData().toInt(); to != kNoEnd)
        range.last = to;
    // A first month chosen after the last: the months between the two all the same.
    if (range.first > range.last)
        std::swap(range.first, range.last);
    m_periods->setSpan(Span(m_span->currentData().toInt()));
    m_periods->setRange(range);
    m_chart->setPeriods(m_periods->periods());
    // The latest period is the one a user looks at first, with the total below it.
    const int last = int(m_periods->periods().size()) - 1;
    if (last >= 0)
        m_table->selectRow(last);
    m_table->scrollToBottom();
    selectPeriod(last);
}

void SummaryView::selectPeriod(int row)
{
    const Period *period = m_periods->periodAt(row);
    m_kinds->setPeriod(period);
    m_kindTitle->setText(period ? tr("By kind, %1").arg(PeriodTableModel::periodName(*period))
                                : tr("By kind"));
}

void SummaryView::openPeriod(int row)
{
    const Period *period = m_periods->periodAt(row);
    if (!period)
        return;
    if (period->month) {
        emit monthRequested(period->year, period->month);
        return;
    }
    // A year opens as its months.
    const int year = period->year;
    m_span->setCurrentIndex(m_span->findData(int(Span::Month)));
    for (int month = 12; month >= 1; --month) {
        if (const int at = m_to->findData(monthKey(year, month)); at >= 0) {
            m_to->setCurrentIndex(at);
            break;
        }
    }
    for (int month = 1; month <= 12; ++month) {
        if (const int at = m_from->findData(monthKey(year, month)); at >= 0) {
            m_from->setCurrentIndex(at);
            break;
        }
    }
    applyChoices();
}

void SummaryView::applyColours()
{
    m_chart->setColours(*m_colours);
    m_kindTable->viewport()->update();
}

QString SummaryView::title() const
{
    return tr("Summary of %1").arg(StatusTexts::bankName(m_controller->bank()));
}

int SummaryView::printTo(QPagedPaintDevice *device)
{
    if (m_stale)
        refresh();
    return SummaryPrinter::print(*m_periods, m_chart, title(), device);
}

void SummaryView::saveChart()
{
    auto *dialog = new QFileDialog(this, tr("Save Chart"), QString(),
                                   tr("PNG image (*.png);;SVG drawing (*.svg)"));
    dialog->setObjectName(QStringLiteral("saveChartDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->selectFile(tr("Summary of %1.png").arg(Banks::name(m_controller->bank())));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &filter) {
        dialog->setDefaultSuffix(filter.contains(u"svg") ? QStringLiteral("svg")
                                                         : QStringLiteral("png"));
    });
    dialog->setDefaultSuffix(QStringLiteral("png"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        QString why;
        if (!saveChartTo(path, &why))
            QMessageBox::warning(this, tr("Save Chart"),
                                 tr("The chart could not be saved. %1").arg(why));
    });
    dialog->open();
}

bool SummaryView::saveChartTo(const QString &path, QString *error)
{
    if (m_stale)
        refresh();
    return m_chart->saveImage(path, error);
}
