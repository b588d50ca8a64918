#include "preview/fit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>

namespace doorsel {
namespace {

// Twips and pixels alike: the same five fields.
template <typename Rect> void expectRect(const Rect& r, const Rect& expected)
{
    EXPECT_EQ(r.x, expected.x);
    EXPECT_EQ(r.y, expected.y);
    EXPECT_EQ(r.width, expected.width);
    EXPECT_EQ(r.height, expected.height);
    EXPECT_EQ(r.scaled, expected.scaled);
}

struct FitCase {
    double width, height;
    FitRect expected;
};

std::ostream& operator<<(std::ostream& out, const FitCase& c)
{
    return out << c.width << " x " << c.height;
}

class FitPictureTwips : public ::testing::TestWithParam<FitCase> { };

TEST_P(FitPictureTwips, drawsWhereTheRuleSays)
{
    const FitCase& c = GetParam();
    const FitRect r = FitPicture(c.width, c.height);
    expectRect(r, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, FitPictureTwips,
    ::testing::Values(
        // Smaller in both directions: own size, centred.
        FitCase {2000, 1000, {1100, 1075, 2000, 1000, false}},
        // Exactly the area's size is not smaller: scaled path, filling it.
        FitCase {4200, 3150, {0, 0, 4200, 3150, true}},
        // Wide: full width; Y = round(787.5) goes to the even 788.
        FitCase {8400, 3150, {0, 788, 4200, 1575, true}},
        // Tall: full height; X = round(1312.5) goes to the even 1312.
        FitCase {3000, 6000, {1312, 0, 1575, 3150, true}},
        // Wider than high but too high once fitted to the width: refitted to the height.
        FitCase {5000, 4500, {350, 0, 3500, 3150, true}},
        // Square counts as high.
        FitCase {5000, 5000, {525, 0, 3150, 3150, true}},
        // Only one direction too large still scales (enlarging the other).
        FitCase {4200, 1000, {0, 1075, 4200, 1000, true}}, FitCase {1000, 3150, {1600, 0, 1000, 3150, true}},
        // Unscaled X is not rounded, Y is (halves to even: 1574.5 -> 1574).
        FitCase {4199, 3149, {0.5, 0, 4199, 3149, false}}, FitCase {15, 1, {2092.5, 1574, 15, 1, false}},
        // Enlarged small-but-not-smaller picture: a tall strip as high as the area.
        FitCase {15, 3150, {2092, 0, 15, 3150, true}}));

INSTANTIATE_TEST_SUITE_P(Degenerate, FitPictureTwips,
    ::testing::Values(FitCase {0, 0, {2100, 1575, 0, 0, false}}, FitCase {0, 5000, {2100, 0, 0, 3150, true}},
        FitCase {5000, 0, {0, 1575, 4200, 0, true}}, FitCase {-15, -15, {2100, 1575, 0, 0, false}},
        FitCase {1e12, 15, {0, 1575, 4200, 0, true}}, FitCase {15, 1e12, {2100, 0, 0, 3150, true}}));

TEST(FitPicture, emptyAreaNeverDividesZeroByZero)
{
    for (const double side : {0.0, 1.0, 5000.0}) {
        const FitRect r = FitPicture(side, side, 0, 0);
        EXPECT_FALSE(std::isnan(r.x) || std::isnan(r.y) || std::isnan(r.width) || std::isnan(r.height)) << side;
        EXPECT_EQ(r.width, 0) << side;
        EXPECT_EQ(r.height, 0) << side;
    }
}

TEST(RoundHalfEven, halvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(787.5), 788);
    EXPECT_EQ(roundHalfEven(1312.5), 1312);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

struct PixelCase {
    int width, height;
    PixelRect expected;
};

std::ostream& operator<<(std::ostream& out, const PixelCase& c)
{
    return out << c.width << " x " << c.height << " px";
}

class FitPicturePixels : public ::testing::TestWithParam<PixelCase> { };

TEST_P(FitPicturePixels, convertsThroughTwipsAndStaysInsideTheArea)
{
    const PixelCase& c = GetParam();
    const PixelRect r = FitPictureInPixels(c.width, c.height);
    expectRect(r, c.expected);
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.x + r.width, 280);
    EXPECT_LE(r.y + r.height, 210);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitPicturePixels,
    ::testing::Values(PixelCase {100, 50, {90, 80, 100, 50, false}}, PixelCase {280, 210, {0, 0, 280, 210, true}},
        PixelCase {6000, 4000, {0, 12, 280, 187, true}}, PixelCase {4000, 6000, {70, 0, 140, 210, true}},
        // Odd leftover width: the half-pixel left edge rounds to even, the width stays the picture's.
        PixelCase {101, 10, {90, 100, 101, 10, false}}, PixelCase {103, 10, {88, 100, 103, 10, false}},
        PixelCase {279, 209, {0, 1, 279, 209, false}}, PixelCase {1, 1, {140, 105, 1, 1, false}},
        PixelCase {0, 0, {140, 105, 0, 0, false}}, PixelCase {INT_MAX, 1, {0, 105, 280, 0, true}},
        PixelCase {1, INT_MAX, {140, 0, 0, 210, true}}, PixelCase {INT_MAX, INT_MAX, {35, 0, 210, 210, true}},
        PixelCase {-5, 7, {140, 101, 0, 7, false}}));

} // namespace
} // namespace doorsel
