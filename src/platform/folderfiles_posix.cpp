#include "folderfiles.h"

#include <filesystem>
#include <system_error>

namespace doorsel {

std::vector<std::string> NormalFilesIn(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    try {
        std::error_code error;
        fs::directory_iterator it(fs::path(folder), error);
        for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
            std::string name = it->path().filename().string();
            if (name.empty() || name.front() == '.')
                continue;
            // Follows links: a link to a picture shows that picture; a dangling one is skipped.
            std::error_code typeError;
            if (it->is_regular_file(typeError))
                names.push_back(std::move(name));
        }
    } catch (const std::exception&) {
        names.clear();
    }
    return names;
}

} // namespace doorsel
