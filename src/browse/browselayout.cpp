#include "browselayout.h"

#include "platform/settings.h"

namespace doorsel {

BrowseLayout FormBrowseLayout()
{
    return {true, true, 4095, 4275, 5070};
}

std::optional<BrowseLayout> BrowseLayoutFor(const std::string& enableRandom)
{
    if (enableRandom.empty())
        return BrowseLayout {false, false, 3555, 3735, 4395};
    const double value = settings::ValueOf(enableRandom).value_or(0);
    if (value == 0)
        return BrowseLayout {false, false, 3700, 3885, 4675};
    if (value == 1)
        return FormBrowseLayout();
    return std::nullopt;
}

std::string BrowseCaption(const std::string& folderSetting)
{
    return "Currently browsing \"" + folderSetting + "\" and it's sub-directories.";
}

} // namespace doorsel
