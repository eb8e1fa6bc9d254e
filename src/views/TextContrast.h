#pragma once

// How well a text colour reads on a background, after the WCAG contrast ratio: from 1 (the same
// colour) to 21 (black on white). Colours are 0xRRGGBB values (a QRgb's low 24 bits; alpha is
// ignored), so that the rule needs no GUI library.
namespace TextContrast {

// The least contrast that normal-sized text needs to stay readable.
constexpr double kMinimumRatio = 4.5;

double relativeLuminance(unsigned int rgb);
double ratio(unsigned int first, unsigned int second);
// The wanted text colour when it reads on the background, otherwise the fallback (the style's
// own text colour for that background).
unsigned int readable(unsigned int wanted, unsigned int background, unsigned int fallback);

} // namespace TextContrast
