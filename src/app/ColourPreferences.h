#pragma once

struct ColourScheme;

// The five colours in the settings store, each under its own key as data (a QColor written
// with QDataStream), so that a colour reads back exactly as it was, alpha included. A stored
// value that cannot be decoded leaves the colour as it is.
//
// Only the colours the user chose are kept: a colour left at its default follows the theme
// (see ColourScheme::forPalette). Earlier versions stored every colour; a stored design colour
// is taken for a default.
namespace ColourPreferences {
void read(ColourScheme *colours);
void write(const ColourScheme &colours, const ColourScheme &defaults);
} // namespace ColourPreferences
