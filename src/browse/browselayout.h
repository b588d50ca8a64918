#pragma once

#include <optional>
#include <string>

namespace doorsel {

// How the browse window arranges its bottom row for a value of "EnableRandom". Positions are in
// twips, as the form lays them out; the window height is the outer height, title bar and frame included.
struct BrowseLayout {
    bool listCheckBoxes = false;
    bool randomControlsVisible = false; // "Save List" and the instructions above the buttons
    int buttonsTop = 0; // "Set As Logon Screen" and "Close"
    int checkCloseTop = 0;
    int windowHeight = 0;
};

// The layout for the stored value: absent or empty, the number 0 (text that is no number counts as
// 0, like every other flag that is not on), or the number 1. Any other number keeps the window as
// the form lays it out, which is the random-list layout: nothing.
std::optional<BrowseLayout> BrowseLayoutFor(const std::string& enableRandom);

// The form's own layout, which is the random-list one.
BrowseLayout FormBrowseLayout();

// Outer height minus the form's client height: what the title bar and frame take.
inline constexpr int BrowseFrameHeight = 5070 - 4695;

// The text of the label above the list: the folder exactly as stored.
std::string BrowseCaption(const std::string& folderSetting);

} // namespace doorsel
