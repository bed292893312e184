#pragma once

#include <cmath>

// Twips, the unit the windows and grids were designed in, and pixels at 96 dpi.
namespace tarvela::grid {

inline constexpr int kTwipsPerPixel = 15;

// Whole pixels of a width in twips (the fraction dropped).
inline constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}
inline constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}
// The nearest pixel to a position worked out in twips.
inline int nearestPixel(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace tarvela::grid
