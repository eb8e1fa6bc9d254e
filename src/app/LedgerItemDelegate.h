#pragma once

#include <QStyledItemDelegate>

struct ColourScheme;

// Draws the ledger cells: marked entries on the marker colour, summaries in their kind's colour.
class LedgerItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    LedgerItemDelegate(const ColourScheme *colours, QObject *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    const ColourScheme *m_colours;
};
