#pragma once

#include <string>

namespace doorsel {

// A line of a text file the program shares with older programs (the random list), as the program's
// own text. On Windows the program's text is UTF-8, but an older program wrote such files in the
// system's ANSI code page, the one a program without our manifest runs in: a line that is not
// valid UTF-8 is read in that code page instead. Elsewhere, and for every valid UTF-8 line, the
// line stays byte for byte as it is.
std::string LegacyLineAsText(std::string line);

} // namespace doorsel
