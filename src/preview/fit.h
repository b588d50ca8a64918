#pragma once

namespace doorsel {

// Every window position is measured in twips, 15 to a pixel at 96 DPI.
inline constexpr int TwipsPerPixel = 15;

// The thumbnail area: 280 x 210 pixels.
inline constexpr double ThumbWidthTwips = 4200;
inline constexpr double ThumbHeightTwips = 3150;

// Where a picture is drawn in the thumbnail area, in twips. `x` may carry half a twip: a picture
// drawn at its own size is centred horizontally without rounding. Everything else is whole twips.
struct FitRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool scaled = false;
};

// The same rectangle in pixels of the area.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool scaled = false;
};

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), whatever
// the floating-point environment says.
double roundHalfEven(double value);

// FitPicture's geometry for a picture of width x height in an area of areaWidth x areaHeight (all in
// twips). A picture smaller than the area in both directions keeps its size and is centred; any
// other is shrunk or enlarged, keeping its aspect ratio, until it touches two opposite edges, and is
// centred in the other direction. Sizes below zero count as zero.
FitRect FitPicture(
    double width, double height, double areaWidth = ThumbWidthTwips, double areaHeight = ThumbHeightTwips);

// FitPicture for a picture measured in pixels, drawn in the 280 x 210 pixel area.
PixelRect FitPictureInPixels(int width, int height);

} // namespace doorsel
