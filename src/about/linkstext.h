#pragma once

#include <string>

namespace doorsel::about {

// The links box's text for the links file's text: CR LF before every line, so it starts with a line
// break and ends without one. Lines end at CR LF, a lone CR or a lone LF; the last may lack its end.
// "a\r\nb" gives "\r\na\r\nb"; an empty file gives "".
std::string LinksText(const std::string& fileText);

} // namespace doorsel::about
