#pragma once

#include <string>
#include <vector>

class QWidget;

namespace doorsel::test {

// The visible buttons, check boxes and labels under root whose caption is cut off, each with the
// room its caption needs and the room it has.
std::vector<std::string> ClippedCaptions(const QWidget& root);

} // namespace doorsel::test
