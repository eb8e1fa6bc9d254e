#include "ColourScheme.h"

#include "views/Contrast.h"

#include <QPalette>

QColor ColourScheme::readableKindColour(const QColor &wanted, const QPalette &palette) const
{
    const QList<quint32> rows =
        Contrast::rowBackgrounds(palette.color(QPalette::Base).rgb(),
                                 palette.color(QPalette::AlternateBase).rgb(), itemMarker.rgba());
    return QColor::fromRgb(Contrast::readableOn(wanted.rgb(), rows));
}

ColourScheme ColourScheme::forPalette(const QPalette &palette)
{
    ColourScheme scheme;
    // On a dark row the amber would light the row up behind the text.
    if (Contrast::isDark(palette.color(QPalette::Base).rgb()))
        scheme.itemMarker.setAlpha(40);
    for (QColor ColourScheme::*kind : {&ColourScheme::atm, &ColourScheme::commission,
                                       &ColourScheme::interest, &ColourScheme::yahoo})
        scheme.*kind = scheme.readableKindColour(scheme.*kind, palette);
    return scheme;
}

ColourScheme ColourScheme::forChart(const QPalette &palette) const
{
    const ColourScheme defaults = forPalette(palette);
    ColourScheme chart = *this;
    for (QColor ColourScheme::*kind : {&ColourScheme::atm, &ColourScheme::commission,
                                       &ColourScheme::interest, &ColourScheme::yahoo}) {
        if (chart.*kind == defaults.*kind)
            chart.*kind = ColourScheme().*kind;
    }
    return chart;
}

QColor ColourScheme::summaryColour(int kind) const
{
    switch (kind) {
    case 1: return atm;
    case 2: return commission;
    case 3: return interest;
    case 4: return yahoo;
    default: return QColor();
    }
}
