#include "storetext.h"

namespace doorsel::storetext {
namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool storable(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

} // namespace doorsel::storetext
