#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {
namespace {
double linear(quint32 channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double worstRatio(quint32 colour, const QList<quint32> &backgrounds)
{
    double worst = 21;
    for (quint32 background : backgrounds)
        worst = std::min(worst, ratio(colour, background));
    return worst;
}

// `from` moved step/256 of the way to `to`, channel by channel.
quint32 mix(quint32 from, quint32 to, int step)
{
    quint32 out = 0;
    for (int shift : {16, 8, 0}) {
        const int a = int((from >> shift) & 0xff), b = int((to >> shift) & 0xff);
        out |= quint32(a + (b - a) * step / 256) << shift;
    }
    return out;
}
} // namespace

double luminance(quint32 rgb)
{
    return 0.2126 * linear((rgb >> 16) & 0xff) + 0.7152 * linear((rgb >> 8) & 0xff)
         + 0.0722 * linear(rgb & 0xff);
}

double ratio(quint32 a, quint32 b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

quint32 readableOn(quint32 colour, const QList<quint32> &backgrounds, double minimum)
{
    colour &= 0xffffff;
    if (worstRatio(colour, backgrounds) >= minimum)
        return colour;
    const quint32 target =
        worstRatio(0x000000, backgrounds) >= worstRatio(0xffffff, backgrounds) ? 0x000000 : 0xffffff;
    for (int step = 1; step < 256; ++step) {
        const quint32 moved = mix(colour, target, step);
        if (worstRatio(moved, backgrounds) >= minimum)
            return moved;
    }
    return target;
}

quint32 over(quint32 argb, quint32 background)
{
    const int alpha = int(argb >> 24);
    return mix(background & 0xffffff, argb & 0xffffff, alpha * 256 / 255);
}

QList<quint32> rowBackgrounds(quint32 base, quint32 alternate, quint32 marker)
{
    base &= 0xffffff;
    alternate &= 0xffffff;
    return {base, alternate, over(marker, base), over(marker, alternate)};
}

bool isDark(quint32 background)
{
    return ratio(background, 0xffffff) > ratio(background, 0x000000);
}

quint32 readable(quint32 wanted, quint32 background, quint32 fallback)
{
    return ratio(wanted, background) >= 4.5 ? wanted : fallback;
}

} // namespace Contrast
