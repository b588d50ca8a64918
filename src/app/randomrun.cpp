#include "randomrun.h"

#include "platform/logonhost.h"
#include "platform/randomlist.h"
#include "platform/registry.h"
#include "platform/settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace doorsel {
namespace {

constexpr long long lowest16 = std::numeric_limits<std::int16_t>::min();
constexpr long long highest16 = std::numeric_limits<std::int16_t>::max();

long long rotationPeriod(const std::string& rotateEvery)
{
    const std::optional<long long> period = settings::NumberOf(rotateEvery);
    // A period of 0 or below is kept: the countdown it starts never picks again, as stored.
    return period && *period > lowest16 && *period <= highest16 ? *period : 1;
}

} // namespace

CountdownStep NextCountdown(const std::string& nextRotation, const std::string& rotateEvery)
{
    if (!nextRotation.empty() && nextRotation != "0") {
        const std::optional<long long> left = settings::NumberOf(nextRotation);
        if (left && *left > lowest16 && *left <= highest16)
            return {false, std::to_string(*left - 1)};
    }
    return {true, std::to_string(rotationPeriod(rotateEvery) - 1)};
}

std::optional<std::string> PickEntry(
    const std::vector<std::string>& entries, const std::function<std::string()>& currentLogonHost, RandomSource& source)
{
    if (entries.empty())
        return std::nullopt;
    const auto last = static_cast<std::int32_t>(
        std::min<size_t>(entries.size() - 1, static_cast<size_t>(std::numeric_limits<std::int32_t>::max())));
    const auto draw = [&] {
        const double index = RandomNumber(last, 0, source);
        return entries[index > 0 ? static_cast<size_t>(index) : 0];
    };
    std::string pick = draw();
    for (int repick = 0; repick < 3 && currentLogonHost() == pick; ++repick)
        pick = draw();
    return pick;
}

void RunRandom(RandomSource& source)
{
    const CountdownStep step
        = NextCountdown(settings::Read(settings::NextRotation), settings::Read(settings::RotateEvery));
    // Stored before the list is read, so a run that sets nothing still restarts the count.
    settings::Write(settings::NextRotation, step.next);
    if (!step.pick)
        return;
    const std::optional<std::vector<std::string>> entries = ReadRandomList();
    if (!entries)
        return;
    const auto currentLogonHost = [] { return ReadRegValue(UIHostPath); };
    const std::optional<std::string> pick = PickEntry(*entries, currentLogonHost, source);
    if (pick && !pick->empty())
        WriteRegValue(UIHostPath, *pick);
}

void RunRandom()
{
    ClockRandom source;
    RunRandom(source);
}

} // namespace doorsel
