// Window geometry in twips, the unit the window sizes are given in: 15 twips to the pixel.
#pragma once

namespace ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int PixelsFromTwips(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
constexpr int TwipsFromPixels(int pixels) {
    return pixels * kTwipsPerPixel;
}

} // namespace ui
