#include "app/randomnumber.h"
#include "support/scriptedrandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace doorsel {
namespace {

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

TEST(RandomNumber, floorsTheDrawTimesTheSpanAndAddsTheLowEnd)
{
    const float justBelowOne = std::nextafter(1.0f, 0.0f);
    const struct {
        std::int32_t max, min;
        float u;
        double expected;
    } cases[] = {
        {0, 0, 0.0f, 0},
        {0, 0, justBelowOne, 0},
        {4, 0, 0.0f, 0},
        {4, 0, 0.5f, 2},
        {4, 0, 0.7999f, 3},
        {4, 0, 0.8f, 4},
        {4, 0, justBelowOne, 4},
        {10, 5, 0.5f, 8},
        {-1, -3, 0.5f, -2},
        {int32Max - 1, 0, justBelowOne, int32Max - 1 - 127}, // the draw has 24 bits
        {int32Max, 1, 0.5f, 1073741824.0},
    };
    for (const auto& c : cases) {
        test::ScriptedRandom source({c.u});
        EXPECT_EQ(RandomNumber(c.max, c.min, source), c.expected) << c.max << ' ' << c.min << ' ' << c.u;
    }
}

TEST(RandomNumber, aSpanBeyond32BitsGivesZero)
{
    const struct {
        std::int32_t max, min;
    } cases[] = {{int32Max, 0}, {int32Max, int32Min}, {0, int32Min}, {-1, int32Min}, {int32Min, int32Max}};
    for (const auto& c : cases) {
        test::ScriptedRandom source({0.75f});
        EXPECT_EQ(RandomNumber(c.max, c.min, source), 0) << c.max << ' ' << c.min;
    }
}

TEST(ClockRandom, drawsLieInTheUnitIntervalAndCoverTheRangeEvenly)
{
    ClockRandom source;
    int counts[5] = {};
    for (int i = 0; i < 5000; ++i) {
        const double r = RandomNumber(4, 0, source);
        ASSERT_TRUE(r >= 0 && r <= 4 && r == std::floor(r)) << r;
        ++counts[static_cast<int>(r)];
    }
    // 1,000 expected each, with a standard deviation near 28: the bounds never fail by chance.
    for (int count : counts)
        EXPECT_NEAR(count, 1000, 250);
}

TEST(ClockRandom, drawsWithinOneClockTickStillDiffer)
{
    // A generator restarted from the clock on every call would repeat itself here.
    ClockRandom frozen([]() -> std::uint64_t { return 43200'000'000'000; });
    std::set<float> seen;
    for (int i = 0; i < 10000; ++i)
        seen.insert(frozen.uniform());
    // Of 2^24 possible values, 10,000 draws share about three by chance.
    EXPECT_GT(seen.size(), 9950u);
}

TEST(ClockRandom, followsTheClock)
{
    ClockRandom morning([]() -> std::uint64_t { return 1; });
    ClockRandom evening([]() -> std::uint64_t { return 2; });
    int same = 0;
    for (int i = 0; i < 100; ++i)
        same += morning.uniform() == evening.uniform();
    EXPECT_LT(same, 3);
}

} // namespace
} // namespace doorsel
