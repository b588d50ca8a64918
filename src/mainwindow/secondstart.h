#pragma once

#include <functional>

class QObject;

namespace doorsel {

class WindowInstance;

// Calls `comeForward` on the window's own thread each time another start of the window mode asks,
// for as long as `owner` lives.
void AnswerSecondStarts(WindowInstance& instance, QObject& owner, std::function<void()> comeForward);

} // namespace doorsel
