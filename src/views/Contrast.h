#pragma once

#include <QList>
#include <QtGlobal>

// Contrast between colours as WCAG measures it, for texts that must stay readable on the
// window's own backgrounds. Colours are 0xRRGGBB: the core has no QColor.
namespace Contrast {

// The relative luminance, from 0 (black) to 1 (white).
double luminance(quint32 rgb);
// (lighter + 0.05) / (darker + 0.05): from 1 (the same) to 21 (black on white).
double ratio(quint32 a, quint32 b);
// The colour nearest to `colour`, moved towards black or white (whichever stands out more from
// the backgrounds), whose contrast with every background is at least `minimum`.
quint32 readableOn(quint32 colour, const QList<quint32> &backgrounds, double minimum = 4.5);
// A translucent colour (0xAARRGGBB) laid over an opaque one: what the eye sees.
quint32 over(quint32 argb, quint32 background);
// The backgrounds a summary's text is drawn on in the ledger table: its two row colours, bare
// and under the marker of marked entries (0xAARRGGBB).
QList<quint32> rowBackgrounds(quint32 base, quint32 alternate, quint32 marker);
// Whether a background is dark: white text stands out more on it than black.
bool isDark(quint32 background);
// The wanted text colour when it reads on the background (4.5:1), otherwise the fallback (the
// style's own text colour for that background).
quint32 readable(quint32 wanted, quint32 background, quint32 fallback);

} // namespace Contrast
