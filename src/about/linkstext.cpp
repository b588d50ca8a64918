#include "linkstext.h"

namespace doorsel::about {

std::string LinksText(const std::string& fileText)
{
    std::string text;
    text.reserve(fileText.size() + 2);
    size_t pos = 0;
    while (pos < fileText.size()) {
        const size_t end = fileText.find_first_of("\r\n", pos);
        text += "\r\n";
        if (end == std::string::npos) {
            text.append(fileText, pos);
            break;
        }
        text.append(fileText, pos, end - pos);
        pos = end + 1;
        if (fileText[end] == '\r' && pos < fileText.size() && fileText[pos] == '\n')
            ++pos;
    }
    return text;
}

} // namespace doorsel::about
