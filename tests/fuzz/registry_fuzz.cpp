// The registry store of any bytes: parsing and rewriting must never crash, hang or leak, a value
// written reads back, and a removed value is gone.
#include "fuzz/fuzzinput.h"
#include "platform/regfile.h"

#include <cstdlib>

using namespace doorsel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const std::string path = "HKLM\\" + input.field() + "\\" + input.field();
    const std::string value = input.field();
    const std::string text = input.rest();

    const auto where = regfile::splitValuePath(path);
    if (!where)
        return 0;
    (void)regfile::lookup(text, *where);

    if (const auto written = regfile::withValue(text, *where, value)) {
        if (regfile::lookup(*written, *where) != value)
            std::abort();
    }
    if (const auto removed = regfile::withoutValue(text, *where)) {
        if (regfile::lookup(*removed, *where))
            std::abort();
    }
    return 0;
}
