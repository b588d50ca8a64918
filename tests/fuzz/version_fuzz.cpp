// Version files of any bytes: the first data item is read without crashing, and the outcome of a
// check is one of the captions the window knows.
#include "about/version.h"
#include "fuzz/fuzzinput.h"

#include <cstdlib>

using namespace doorsel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> item = about::FirstDataItem(text);
    if (item && item->find_first_of("\r\n") != std::string::npos)
        std::abort(); // an item never runs past its line
    if (const auto outcome = about::OutcomeOfCheck(text, "2.0.0")) {
        const bool known = outcome->caption == about::NoUpdateCaption
            || (item && outcome->caption == about::NewVersionCaption(*item));
        if (!known || outcome->showDownloadLink != (outcome->caption != about::NoUpdateCaption))
            std::abort();
    }
    return 0;
}
