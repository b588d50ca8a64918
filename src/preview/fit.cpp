#include "fit.h"

#include <algorithm>
#include <cmath>

namespace doorsel {

double roundHalfEven(double value)
{
    const double nearest = std::round(value); // halves away from zero
    if (std::abs(value - std::trunc(value)) == 0.5)
        return 2 * std::round(value / 2);
    return nearest;
}

FitRect FitPicture(double width, double height, double areaWidth, double areaHeight)
{
    const double w = std::max(width, 0.0);
    const double h = std::max(height, 0.0);
    const double tw = std::max(areaWidth, 0.0);
    const double th = std::max(areaHeight, 0.0);

    if (h < th && w < tw)
        return {(tw - w) / 2, roundHalfEven((th - h) / 2), w, h, false};

    // An empty picture in an area with no width or height: nothing to scale, and the rule below would
    // divide zero by zero.
    if (w == 0 && h == 0)
        return {roundHalfEven(tw / 2), roundHalfEven(th / 2), 0, 0, true};

    // The operations and their order follow the drawing rule exactly, so that the rounded values
    // (and the halves among them) come out as it defines.
    double nw = 0;
    double nh = 0;
    if (w > h) {
        nw = tw;
        nh = roundHalfEven(h * (tw / w));
        if (nh > th) {
            nh = th;
            nw = w * (th / h);
        }
    } else {
        nh = th;
        nw = roundHalfEven(w * (th / h));
        if (nw > tw) {
            nw = tw;
            nh = h * (tw / w);
        }
    }
    return {roundHalfEven((tw - nw) / 2), roundHalfEven((th - nh) / 2), roundHalfEven(nw), roundHalfEven(nh), true};
}

PixelRect FitPictureInPixels(int width, int height)
{
    // Pixels become twips at 15 per pixel; the rectangle comes back by dividing by 15 and rounding
    // like the twips themselves (a half-pixel left edge of a centred picture included). A size keeps
    // its own pixel count when unscaled; a scaled one is kept inside the area after rounding.
    const FitRect r
        = FitPicture(static_cast<double>(width) * TwipsPerPixel, static_cast<double>(height) * TwipsPerPixel);
    const auto toPixels = [](double twips) { return static_cast<int>(roundHalfEven(twips / TwipsPerPixel)); };
    const int areaWidth = static_cast<int>(ThumbWidthTwips) / TwipsPerPixel;
    const int areaHeight = static_cast<int>(ThumbHeightTwips) / TwipsPerPixel;

    PixelRect p;
    p.scaled = r.scaled;
    p.x = toPixels(r.x);
    p.y = toPixels(r.y);
    p.width = std::min(toPixels(r.width), areaWidth - p.x);
    p.height = std::min(toPixels(r.height), areaHeight - p.y);
    return p;
}

} // namespace doorsel
