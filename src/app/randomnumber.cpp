#include "randomnumber.h"

#include <chrono>
#include <cmath>
#include <limits>

namespace doorsel {
namespace {

// splitmix64's output function: spreads every input bit over the whole word.
std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

std::uint64_t ClockRandom::TimeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>((now % days(1)).count());
}

float ClockRandom::uniform()
{
    state = mix(state ^ mix(clock())) + 0x9E3779B97F4A7C15ull;
    // The top 24 bits fill a float's mantissa exactly, so the draw never rounds up to 1.
    return static_cast<float>(mix(state) >> 40) * 0x1p-24f;
}

double RandomNumber(std::int32_t MaxValue, std::int32_t MinValue, RandomSource& source)
{
    const float u = source.uniform();
    const std::int64_t span = std::int64_t {MaxValue} - MinValue + 1;
    if (span > std::numeric_limits<std::int32_t>::max() || span < std::numeric_limits<std::int32_t>::min())
        return 0;
    return std::floor(static_cast<double>(u) * static_cast<double>(span)) + MinValue;
}

} // namespace doorsel
