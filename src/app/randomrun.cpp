#include "randomrun.h"

#include "platform/legacytext.h"
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

std::optional<std::string> PickEntry(size_t count, const std::function<std::optional<std::string>(size_t)>& entry,
    const std::function<std::string()>& currentLogonHost, RandomSource& source)
{
    if (count == 0)
        return std::nullopt;
    const auto last = static_cast<std::int32_t>(
        std::min<size_t>(count - 1, static_cast<size_t>(std::numeric_limits<std::int32_t>::max())));
    const auto draw = [&] {
        const double index = RandomNumber(last, 0, source);
        return entry(index > 0 ? static_cast<size_t>(index) : 0);
    };
    std::optional<std::string> pick = draw();
    for (int repick = 0; repick < 3 && pick && currentLogonHost() == *pick; ++repick)
        pick = draw();
    return pick;
}

std::optional<std::string> PickEntry(const std::vector<std::string_view>& entries,
    const std::function<std::string()>& currentLogonHost, RandomSource& source)
{
    return PickEntry(
        entries.size(),
        [&](size_t index) { return std::optional<std::string>(LegacyLineAsText(std::string(entries[index]))); },
        currentLogonHost, source);
}

bool RunRandom(RandomSource& source)
{
    // The count is read and stored under one lock: runs started together each count one logon.
    // Stored before the list is read, so a run that sets nothing still restarts the count.
    std::optional<CountdownStep> step;
    const bool counted = settings::Update(settings::NextRotation, [&](const settings::Reader& read) {
        step = NextCountdown(read(settings::NextRotation), read(settings::RotateEvery));
        return std::optional<std::string>(step->next);
    });
    if (!step)
        return false;
    if (!step->pick)
        return counted;
    const RandomListReader list;
    const std::optional<size_t> count = list.Count();
    if (!count || *count == 0)
        return counted;
    // Drawn against the logon screen stored at that moment, which no other writer changes before
    // the pick is stored.
    const bool set = UpdateRegValue(UIHostPath, [&](const std::string& current) {
        std::optional<std::string> pick = PickEntry(
            *count, [&](size_t index) { return list.Entry(index); }, [&] { return current; }, source);
        return pick && !pick->empty() ? pick : std::nullopt;
    });
    return counted && set;
}

bool RunRandom()
{
    ClockRandom source;
    return RunRandom(source);
}

} // namespace doorsel
