// Settings files of any bytes: reading and writing must never crash, hang or leak, a refused write
// changes nothing, and a value that was written reads back.
#include "fuzz/fuzzinput.h"
#include "platform/profile_text.h"

#include <cstdlib>

using namespace doorsel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const std::string section = input.field();
    const std::string key = input.field();
    const std::string value = input.field();
    const std::string text = input.rest();

    (void)profile::readString(text, section, key, "dflt", 255);
    (void)profile::readString(text, section, key, "", 0);
    (void)profile::readString(std::nullopt, section, key, "", 255);

    const profile::WriteOutcome outcome = profile::writeString(text, section, key, value);
    const bool breaks = (section + key + value).find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
    if (breaks && (outcome.ok || outcome.text))
        std::abort(); // a line break or NUL must never reach the file
    if (outcome.text)
        (void)profile::readString(*outcome.text, section, key, "", 255);
    return 0;
}
