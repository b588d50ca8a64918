// Random list files of any bytes: reading the entries and searching the text must never crash,
// hang or leak; every entry is a whole line, and a path written by the list's own writer is found.
#include "browse/randomlist.h"
#include "browse/textsearch.h"
#include "fuzz/fuzzinput.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace doorsel;

namespace {

// The search reads its files from disk, so each input goes through one scratch file.
std::string scratchFolder()
{
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("doorsel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir.string() + "/";
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const std::string query = input.field();
    const std::string text = input.rest();

    for (const std::string& entry : RandomListEntries(text)) {
        if (entry.empty() || entry.find_first_of("\r\n") != std::string::npos)
            std::abort();
    }

    std::ofstream(scratchFolder() + "random.dat", std::ios::binary | std::ios::trunc) << text;
    TextSearch search;
    search.AddFile(scratchFolder(), "random.dat");
    const auto count = search.Find(query);
    if (count < 0 || (!query.empty() && text.find(query) != std::string::npos && count == 0))
        std::abort();

    // What the writer stores for a checked row is found again.
    if (!query.empty() && query.find_first_of(std::string("\r\n\0", 3)) == std::string::npos) {
        const std::string written = RandomListText({{true, query}, {false, "unchecked"}});
        if (RandomListEntries(written) != std::vector<std::string>{query})
            std::abort();
    }
    return 0;
}
