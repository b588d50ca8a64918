#include "urlname.h"

#include "platform/appinfo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace doorsel::about {
namespace {

std::string upper(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, with or without an extension.
bool isDeviceName(const std::string& name)
{
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    const std::string stem = upper(name.substr(0, name.find('.')));
    if (std::find(plain.begin(), plain.end(), stem) != plain.end())
        return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '1'
        && stem[3] <= '9';
}

} // namespace

std::string FileNameFromUrl(const std::string& url)
{
    const size_t slash = url.rfind('/');
    return slash == std::string::npos ? std::string() : url.substr(slash + 1);
}

bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    const bool badCharacter = std::any_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 0x20 || code == 0x7F || c == '/' || c == '\\' || c == ':';
    });
    return !badCharacter && !isDeviceName(name);
}

std::optional<std::string> DownloadPath(const std::string& url, const std::string& folder)
{
    const std::string name = FileNameFromUrl(url);
    if (folder.empty() || !IsSafeFileName(name))
        return std::nullopt;
    return folder + PathSeparator + name;
}

} // namespace doorsel::about
