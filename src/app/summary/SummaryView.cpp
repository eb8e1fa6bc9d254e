#include "SummaryView.h"

#include "BalanceChart.h"
#include "ColourScheme.h"
#include "SummaryPrinter.h"
#include "views/Contrast.h"
#include "views/Controller.h"
#include "views/Settings.h"
#include "views/StatusTexts.h"
#include "views/SummaryModels.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
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

QTableView *makeTable(QAbstractItemModel *model, const QString &name, const QString &accessibleName,
                      QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    // Every figure whole: columns as wide as their widest cell or heading, every row measured
    // (the total, the widest, is last); a narrow window scrolls sideways instead.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setResizeContentsPrecision(-1);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setAlternatingRowColors(true);
    return table;
}

constexpr int kNoEnd = -1;

int settingOr(const char *key, int fallback)
{
    return Settings::store().value(Settings::key(key), fallback).toInt();
}

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
    , m_emptyHint(new QLabel(this))
    , m_content(new QWidget(this))
    , m_save(new QPushButton(tr("Save Chart…"), this))
    , m_chart(new BalanceChart(this))
    , m_fromKey(settingOr(Settings::SummaryFrom, kNoEnd))
    , m_toKey(settingOr(Settings::SummaryTo, kNoEnd))
{
    setObjectName(QStringLiteral("summaryView"));
    m_span->setObjectName(QStringLiteral("summarySpan"));
    m_span->setAccessibleName(tr("Totals by"));
    m_span->addItem(tr("By month"), int(Span::Month));
    m_span->addItem(tr("By year"), int(Span::Year));
    m_span->setCurrentIndex(qMax(0, m_span->findData(settingOr(Settings::SummarySpan, 0))));
    m_from->setObjectName(QStringLiteral("summaryFrom"));
    m_to->setObjectName(QStringLiteral("summaryTo"));
    m_save->setObjectName(QStringLiteral("saveChart"));
    connect(m_save, &QPushButton::clicked, this, &SummaryView::saveChart);

    auto *fromLabel = new QLabel(tr("&From"), this);
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(tr("&to"), this);
    toLabel->setBuddy(m_to);
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_span);
    controls->addSpacing(12);
    controls->addWidget(fromLabel);
    controls->addWidget(m_from);
    controls->addWidget(toLabel);
    controls->addWidget(m_to);
    controls->addStretch(1);
    controls->addWidget(m_save);

    m_table = makeTable(m_periods, QStringLiteral("summaryTable"), tr("Periods"), this);
    m_table->installEventFilter(this);
    m_kindTable = makeTable(m_kinds, QStringLiteral("kindTable"), tr("By kind"), this);
    m_kindTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_kindTable->setItemDelegate(new KindColourDelegate(colours, m_kindTable));
    m_kindTitle->setObjectName(QStringLiteral("kindTitle"));
    m_chart->setAccessibleName(tr("Balance chart"));
    m_emptyHint->setObjectName(QStringLiteral("summaryEmptyHint"));
    m_emptyHint->setText(tr("No entries yet. Import a statement (File › Import…) and its months "
                            "are summed up here."));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->hide(); // until an empty ledger is read

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
    auto *contentLayout = new QVBoxLayout(m_content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(split);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(controls);
    layout->addWidget(m_content, 1);
    layout->addWidget(m_emptyHint, 1);

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

void SummaryView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColours();
}

bool SummaryView::eventFilter(QObject *watched, QEvent *event)
{
    // Return on a period opens it, as a double click does.
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openPeriod(m_table->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
    const bool empty = m_periods->months().isEmpty();
    m_emptyHint->setVisible(empty);
    m_content->setVisible(!empty);
    for (QWidget *control : std::initializer_list<QWidget *>{m_span, m_from, m_to, m_save})
        control->setEnabled(!empty);
    showRange();
}

void SummaryView::fillRangeChoices()
{
    const bool years = Span(m_span->currentData().toInt()) == Span::Year;
    m_from->clear();
    m_to->clear();
    m_from->addItem(years ? tr("the first year") : tr("the first month"), kNoEnd);
    m_to->addItem(years ? tr("the last year") : tr("the last month"), kNoEnd);
    int year = 0;
    for (const Period &m : m_periods->months()) {
        if (!years) {
            m_from->addItem(PeriodTableModel::periodName(m), m.key());
            m_to->addItem(PeriodTableModel::periodName(m), m.key());
        } else if (m.year != year) {
            year = m.year;
            m_from->addItem(QString::number(year), monthKey(year, 1));
            m_to->addItem(QString::number(year), monthKey(year, 12));
        }
    }
    // The boxes show the periods the range starts and ends in; a range of months shown by year
    // covers their whole years. Both boxes list the same periods.
    int from = 0, to = 0;
    for (int i = 1; i < m_from->count(); ++i) {
        const int start = m_from->itemData(i).toInt();
        const int end = years ? start + 11 : start;
        if (m_fromKey != kNoEnd && !from && end >= m_fromKey)
            from = i;
        if (m_toKey != kNoEnd && start <= m_toKey)
            to = i;
    }
    m_from->setCurrentIndex(from);
    m_to->setCurrentIndex(to);
}

void SummaryView::applyChoices()
{
    m_fromKey = m_from->currentData().toInt();
    m_toKey = m_to->currentData().toInt();
    // A first period chosen after the last: the boxes show the range the right way round.
    if (m_fromKey != kNoEnd && m_toKey != kNoEnd && m_fromKey > m_toKey) {
        const bool years = Span(m_span->currentData().toInt()) == Span::Year;
        const int first = years ? m_toKey - 11 : m_toKey;
        m_toKey = years ? m_fromKey + 11 : m_fromKey;
        m_fromKey = first;
    }
    saveChoices();
    showRange();
}

void SummaryView::showRange()
{
    fillRangeChoices();
    MonthRange range;
    if (m_fromKey != kNoEnd)
        range.first = m_fromKey;
    if (m_toKey != kNoEnd)
        range.last = m_toKey;
    m_periods->setSpan(Span(m_span->currentData().toInt()));
    m_periods->setRange(range);
    m_chart->setPeriods(m_periods->periods(), m_periods->periodLabels());
    // The latest period is the one a user looks at first, with the total below it.
    const int last = int(m_periods->periods().size()) - 1;
    if (last >= 0)
        m_table->selectRow(last);
    m_table->scrollToBottom();
    selectPeriod(last);
    emit figuresChanged();
}

void SummaryView::saveChoices() const
{
    QSettings settings = Settings::store();
    settings.setValue(Settings::key(Settings::SummarySpan), m_span->currentData().toInt());
    settings.setValue(Settings::key(Settings::SummaryFrom), m_fromKey);
    settings.setValue(Settings::key(Settings::SummaryTo), m_toKey);
}

QString SummaryView::statusText() const
{
    return m_periods->statusText();
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
    m_span->setCurrentIndex(m_span->findData(int(Span::Month)));
    m_fromKey = monthKey(period->year, 1);
    m_toKey = monthKey(period->year, 12);
    saveChoices();
    showRange();
}

void SummaryView::applyColours()
{
    m_chart->setDark(Contrast::isDark(palette().color(QPalette::Base).rgb()));
    m_chart->setColours(m_colours->forChart(palette()));
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
