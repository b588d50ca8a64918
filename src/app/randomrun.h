#pragma once

namespace doorsel {

// The start-up job behind "-random": count the logons down and, when the count has run out, set a
// logon screen drawn from the random list. Shows nothing.
void RunRandom();

} // namespace doorsel
