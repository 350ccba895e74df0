// Window geometry is designed in twips; at 96 dots per inch 15 twips make one pixel.
#pragma once

#include <QRect>
#include <cmath>

namespace tabulon {

inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace tabulon
