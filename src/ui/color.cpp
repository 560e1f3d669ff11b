// color: channel arithmetic on 24-bit colours (prefix Color). Portable.
#include "ui/color.h"

#include "base/num.h"
#include "base/utilil.h"

static bool ColorChannelNear(uint32_t a, uint32_t b) {
    return (a > b ? a - b : b - a) <= 10;
}

bool ColorNear(Color a, Color b) {
    return ColorChannelNear(ColorRed(a), ColorRed(b)) && ColorChannelNear(ColorGreen(a), ColorGreen(b)) &&
           ColorChannelNear(ColorBlue(a), ColorBlue(b));
}

static uint32_t ColorScaleChannel(uint32_t channel, int32_t percent) {
    return (uint32_t)ClampValue(NumMulDiv((int32_t)channel, percent, 100), 0, 255);
}

Color ColorScale(Color color, int32_t percent) {
    return ColorRgb(ColorScaleChannel(ColorRed(color), percent),
                    ColorScaleChannel(ColorGreen(color), percent),
                    ColorScaleChannel(ColorBlue(color), percent));
}

Color ColorAverage(Color a, Color b) {
    return ColorRgb((ColorRed(a) + ColorRed(b) + 1) / 2, (ColorGreen(a) + ColorGreen(b) + 1) / 2,
                    (ColorBlue(a) + ColorBlue(b) + 1) / 2);
}
