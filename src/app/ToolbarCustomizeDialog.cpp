#include "ToolbarCustomizeDialog.h"

#include "views/ToolbarItems.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int IdRole = Qt::UserRole + 1;

// The toolbar list: reorders by dragging inside it and takes items dragged from the list of
// allowed items, as copies, so that the allowed list always offers everything.
class ArrangementList : public QListWidget
{
public:
    explicit ArrangementList(QWidget *parent)
        : QListWidget(parent)
    {
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }
    std::function<void(const QString &, int)> insertFromOutside;

protected:
    void dropEvent(QDropEvent *event) override
    {
        auto *source = qobject_cast<QListWidget *>(event->source());
        if (source && source != this && source->currentItem()) {
            const QModelIndex at = indexAt(event->position().toPoint());
            insertFromOutside(source->currentItem()->data(IdRole).toString(),
                              at.isValid() ? at.row() : count());
            event->setDropAction(Qt::CopyAction);
            event->accept();
            return;
        }
        QListWidget::dropEvent(event);
    }
};
} // namespace

ToolbarCustomizeDialog::ToolbarCustomizeDialog(const QStringList &arrangement, Describe describe,
                                               QWidget *parent)
    : QDialog(parent)
    , m_describe(std::move(describe))
    , m_available(new QListWidget(this))
{
    setObjectName(QStringLiteral("customizeToolbarSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Customize Toolbar"));

    auto *toolbar = new ArrangementList(this);
    m_toolbar = toolbar;
    m_available->setObjectName(QStringLiteral("availableItems"));
    m_toolbar->setObjectName(QStringLiteral("toolbarItems"));
    m_available->setDragDropMode(QAbstractItemView::DragOnly);
    m_available->setDefaultDropAction(Qt::CopyAction);
    toolbar->insertFromOutside = [this](const QString &id, int row) {
        if (!ToolbarItems::isRepeatable(id) && this->arrangement().contains(id))
            return;
        m_toolbar->insertItem(row, makeItem(id));
        m_toolbar->setCurrentRow(row);
        refreshAvailable();
    };
    connect(m_available, &QListWidget::itemDoubleClicked, this, [this] { addSelected(); });
    connect(m_toolbar, &QListWidget::itemDoubleClicked, this, [this] { removeSelected(); });

    const auto button = [this](const QString &text, const QString &name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton *add = button(tr("Add →"), QStringLiteral("add"));
    QPushButton *remove = button(tr("← Remove"), QStringLiteral("remove"));
    QPushButton *up = button(tr("Move Up"), QStringLiteral("up"));
    QPushButton *down = button(tr("Move Down"), QStringLiteral("down"));
    QPushButton *restore = button(tr("Restore Default"), QStringLiteral("restoreDefault"));
    connect(add, &QPushButton::clicked, this, &ToolbarCustomizeDialog::addSelected);
    connect(remove, &QPushButton::clicked, this, &ToolbarCustomizeDialog::removeSelected);
    connect(up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    connect(restore, &QPushButton::clicked, this, &ToolbarCustomizeDialog::restoreDefault);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addSpacing(12);
    middle->addWidget(up);
    middle->addWidget(down);
    middle->addStretch();
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Available items:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Toolbar:"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_toolbar, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(restore);
    bottom->addStretch();
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    for (const QString &id : ToolbarItems::allowedItems())
        m_available->addItem(makeItem(id));
    setArrangement(arrangement);
    for (QListWidget *list : {m_available, m_toolbar}) {
        list->setIconSize(QSize(24, 24));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideRight);
    }
    resize(600, 480);
}

QListWidgetItem *ToolbarCustomizeDialog::makeItem(const QString &identifier) const
{
    const auto [label, icon] = m_describe(identifier);
    auto *item = new QListWidgetItem(icon, label);
    item->setData(IdRole, identifier);
    return item;
}

QStringList ToolbarCustomizeDialog::arrangement() const
{
    QStringList ids;
    for (int i = 0; i < m_toolbar->count(); ++i)
        ids.append(m_toolbar->item(i)->data(IdRole).toString());
    return ids;
}

void ToolbarCustomizeDialog::setArrangement(const QStringList &arrangement)
{
    m_toolbar->clear();
    for (const QString &id : arrangement)
        m_toolbar->addItem(makeItem(id));
    refreshAvailable();
}

void ToolbarCustomizeDialog::refreshAvailable()
{
    // Own items already on the toolbar are shown but cannot be added a second time.
    const QStringList used = arrangement();
    for (int i = 0; i < m_available->count(); ++i) {
        QListWidgetItem *item = m_available->item(i);
        const QString id = item->data(IdRole).toString();
        const bool usable = ToolbarItems::isRepeatable(id) || !used.contains(id);
        item->setFlags(usable ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled)
                              : Qt::NoItemFlags);
    }
}

void ToolbarCustomizeDialog::addSelected()
{
    QListWidgetItem *item = m_available->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const int row = m_toolbar->currentRow() >= 0 ? m_toolbar->currentRow() + 1 : m_toolbar->count();
    m_toolbar->insertItem(row, makeItem(item->data(IdRole).toString()));
    m_toolbar->setCurrentRow(row);
    refreshAvailable();
}

void ToolbarCustomizeDialog::removeSelected()
{
    const int row = m_toolbar->currentRow();
    if (row < 0)
        return;
    delete m_toolbar->takeItem(row);
    refreshAvailable();
}

void ToolbarCustomizeDialog::moveSelected(int delta)
{
    const int row = m_toolbar->currentRow();
    const int target = row + delta;
    if (row < 0 || target < 0 || target >= m_toolbar->count())
        return;
    QListWidgetItem *item = m_toolbar->takeItem(row);
    m_toolbar->insertItem(target, item);
    m_toolbar->setCurrentRow(target);
}

void ToolbarCustomizeDialog::restoreDefault()
{
    setArrangement(ToolbarItems::defaultArrangement());
}
