#pragma once

#include <cstdint>

namespace doorsel {

// Where the random run's draws come from; tests pass a seeded or scripted source.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A draw uniform in [0, 1), in single precision.
    virtual float uniform() = 0;
};

// The program's generator: before every draw it mixes the time of day into its running state. The
// sequence is never restarted, so draws within one clock tick still differ, and two processes
// started at different moments take different paths.
class ClockRandom final : public RandomSource {
public:
    // A reading of the clock; any unit serves as long as it changes with time.
    using Clock = std::uint64_t (*)();
    static std::uint64_t TimeOfDay(); // since midnight (UTC), at the clock's full resolution

    explicit ClockRandom(Clock reading = TimeOfDay)
        : clock(reading)
    {
    }
    float uniform() override;

private:
    Clock clock;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
};

// A whole number r with MinValue <= r <= MaxValue: floor(u * span) + MinValue for a fresh draw u,
// where span = MaxValue - MinValue + 1. A span beyond 32 bits gives 0.
double RandomNumber(std::int32_t MaxValue, std::int32_t MinValue, RandomSource& source);

} // namespace doorsel
