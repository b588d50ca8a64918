#include "lookup.h"

#include "platform/appinfo.h"
#include "platform/folderlist.h"
#include "platform/logonhost.h"

#include <algorithm>
#include <string_view>

namespace doorsel {
namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), lowerAscii);
    return text;
}

bool endsWithNoCase(const std::string& name, std::string_view suffix)
{
    return name.size() >= suffix.size() && lowered(name.substr(name.size() - suffix.size())) == suffix;
}

// Case-insensitive order; names that differ only in case keep a fixed order by their bytes.
bool lessNoCase(const std::string& a, const std::string& b)
{
    const std::string la = lowered(a);
    const std::string lb = lowered(b);
    return la != lb ? la < lb : a < b;
}

} // namespace

std::string FolderOfExecutable(const std::string& executablePath)
{
    const auto last = executablePath.rfind(PathSeparator);
    if (last == std::string::npos)
        return executablePath + PathSeparator;
    return executablePath.substr(0, last + 1);
}

bool IsSystemLogonScreen(const std::string& folder)
{
    return folder == std::string(DefaultLogonHost) + PathSeparator;
}

std::string FindPreviewPicture(const std::string& folder)
{
    std::vector<std::string> names;
    for (FolderEntry& entry : ListFolder(folder)) {
        if (entry.isNormalFile)
            names.push_back(std::move(entry.name));
    }
    for (const std::string_view extension : {".jpg", ".jpeg", ".bmp"}) {
        const std::string* first = nullptr;
        for (const std::string& name : names) {
            if (endsWithNoCase(name, extension) && (first == nullptr || lessNoCase(name, *first)))
                first = &name;
        }
        if (first != nullptr)
            return folder + *first;
    }
    return "";
}

} // namespace doorsel
