// color: arithmetic on 24-bit colours (prefix Color), for lighter and darker shades and blends. A colour is
// the system's 32-bit form: red in the low byte, green in the second, blue in the third. Portable.
#pragma once

#include <cstdint>

typedef uint32_t Color;

inline Color ColorRgb(uint32_t red, uint32_t green, uint32_t blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
inline uint32_t ColorRed(Color c) {
    return c & 0xFF;
}
inline uint32_t ColorGreen(Color c) {
    return c >> 8 & 0xFF;
}
inline uint32_t ColorBlue(Color c) {
    return c >> 16 & 0xFF;
}

// Each of the three channels differs by at most 10.
bool ColorNear(Color a, Color b);
// Each channel times percent / 100, rounded to nearest and kept within 0..255.
Color ColorScale(Color color, int32_t percent);
// Each channel (a + b + 1) / 2.
Color ColorAverage(Color a, Color b);
