#pragma once

#include "app/randomnumber.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace doorsel {

// The start-up job behind "-random": count the logons down and, when the count has run out, set a
// logon screen drawn from the random list. Shows nothing; touches only "NextRotation" and UIHost.
// False when the count or the logon screen could not be stored.
bool RunRandom();
bool RunRandom(RandomSource& source);

// What one run does with the countdown: whether it picks, and the "NextRotation" text it stores.
// The stored period "RotateEvery" is used as it is, 0 and below included (that countdown never
// picks again); it counts as 1 only when it is no 16-bit number or cannot be lowered within 16 bits.
// A countdown that is not a 16-bit number, or that cannot be lowered within 16 bits, has run out.
struct CountdownStep {
    bool pick = false;
    std::string next;
};
CountdownStep NextCountdown(const std::string& nextRotation, const std::string& rotateEvery);

// The entry to set: a draw over the whole list, drawn again up to three times while it equals the
// logon screen in use (read anew before each comparison). Only the entries drawn are read, by
// `entry`; one that cannot be read ends the pick with nothing. Nothing for an empty list.
std::optional<std::string> PickEntry(size_t count, const std::function<std::optional<std::string>(size_t)>& entry,
    const std::function<std::string()>& currentLogonHost, RandomSource& source);
// The same over the list file's lines in memory, each drawn one given as the program's text.
std::optional<std::string> PickEntry(const std::vector<std::string_view>& entries,
    const std::function<std::string()>& currentLogonHost, RandomSource& source);

} // namespace doorsel
