#pragma once

#include <string>

namespace doorsel {

// Text from outside the program (a server's answer, a name on disk), made safe to stand inside a
// sentence of the program's own: UTF-8 text that is not all ASCII comes without its bidirectional
// controls and inside a first-strong isolate, so that neither a right-to-left override nor
// right-to-left letters can reorder the words around it. ASCII text comes back unchanged, as do
// bytes that are not UTF-8.
std::string IsolatedText(const std::string& text);

} // namespace doorsel
