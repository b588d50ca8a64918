#pragma once

namespace doorsel {

// Registers the Tahoma-compatible face that Wine ships, when it is installed, so the windows are
// drawn in the face they were laid out for; otherwise the toolkit falls back to a similar face.
// Returns whether Tahoma is available. Safe to call more than once.
bool RegisterTahoma();

} // namespace doorsel
