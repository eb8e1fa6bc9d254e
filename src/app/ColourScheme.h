#pragma once

#include <QColor>

// The colours of the ledger table: the background of marked entries and the summary text of
// each summary kind. Kind 0 keeps the table's own text colour, so it reads under any theme.
struct ColourScheme {
    QColor itemMarker{255, 214, 102, 150}; // translucent amber: readable on light and dark
    QColor atm{41, 128, 222};
    QColor commission{214, 69, 65};
    QColor interest{39, 160, 90};
    QColor yahoo{156, 89, 209};

    // The summary colour of a kind; invalid for kind 0 and unknown kinds.
    QColor summaryColour(int kind) const;
};
