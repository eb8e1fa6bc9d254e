#pragma once

#include <QStyledItemDelegate>

struct ColourScheme;

// Draws the ledger cells: marked entries on the marker colour (selected, with bands of it),
// summaries in their kind's colour (on the selection only where it reads) and at 11 points, a
// warning beside the balance of an entry right after a gap in the balances, a small corner mark on
// a summary the user edited. The in-place editor takes the cell's font.
class LedgerItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    LedgerItemDelegate(const ColourScheme *colours, QObject *parent = nullptr);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

    // The summaries' font: the table's own at 11 points, whatever the desktop's size.
    static QFont summaryFont(const QFont &tableFont);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    static constexpr int kMarkBand = 3;   // pixels
    static constexpr int kMarkStripe = 6; // pixels
    static constexpr int kEditedMark = 7; // pixels: the side of the edited summary's corner
    const ColourScheme *m_colours;
};
