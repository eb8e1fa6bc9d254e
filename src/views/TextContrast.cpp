#include "TextContrast.h"

#include <algorithm>
#include <cmath>

namespace TextContrast {

namespace {
// One sRGB channel (0..255) as linear light.
double linear(unsigned int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double relativeLuminance(unsigned int rgb)
{
    return 0.2126 * linear((rgb >> 16) & 0xff) + 0.7152 * linear((rgb >> 8) & 0xff)
        + 0.0722 * linear(rgb & 0xff);
}

double ratio(unsigned int first, unsigned int second)
{
    const double a = relativeLuminance(first), b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

unsigned int readable(unsigned int wanted, unsigned int background, unsigned int fallback)
{
    return ratio(wanted, background) >= kMinimumRatio ? wanted : fallback;
}

} // namespace TextContrast
