#pragma once

#include <QColor>

class QPalette;

// The colours of the ledger table: the background of marked entries and the summary text of
// each summary kind. Kind 0 keeps the table's own text colour, so it reads under any theme.
struct ColourScheme {
    QColor itemMarker{255, 214, 102, 150}; // translucent amber: readable on light and dark
    QColor atm{41, 128, 222};
    QColor commission{214, 69, 65};
    QColor interest{39, 160, 90};
    QColor yahoo{156, 89, 209};

    // The design colours above made to read at 4.5:1 on the palette's table rows, marked or
    // not: darker under a light theme, lighter under a dark one, with a fainter marker there.
    static ColourScheme forPalette(const QPalette &palette);
    // A kind's colour as it reads on those rows: itself when it does, otherwise the nearest
    // colour that does (opaque: a translucent text fades into the row).
    QColor readableKindColour(const QColor &wanted, const QPalette &palette) const;

    // The colours for the Summary's chart, whose bars need no text's contrast: the design colours
    // where these are the palette's defaults, the user's own choices as they are.
    ColourScheme forChart(const QPalette &palette) const;

    // The summary colour of a kind; invalid for kind 0 and unknown kinds.
    QColor summaryColour(int kind) const;
};
