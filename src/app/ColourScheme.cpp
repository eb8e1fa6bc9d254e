#include "ColourScheme.h"

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
