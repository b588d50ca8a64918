// Links files of any bytes: the box's text has one CR LF before every line and no other line break.
#include "about/linkstext.h"

#include <cstdlib>
#include <string>

using namespace doorsel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string shown = about::LinksText(text);
    if (!shown.empty() && shown.compare(0, 2, "\r\n") != 0)
        std::abort();
    for (size_t i = 0; i < shown.size(); ++i) {
        const bool pairedCr = shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n';
        const bool pairedLf = shown[i] == '\n' && i > 0 && shown[i - 1] == '\r';
        if ((shown[i] == '\r' && !pairedCr) || (shown[i] == '\n' && !pairedLf))
            std::abort();
    }
    return 0;
}
