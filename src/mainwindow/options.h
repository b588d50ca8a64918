#pragma once

#include <string>

// The rules of the Options page that do not need a window: what the page shows for a stored value,
// what Save stores for what the page shows, and the start-up entries Save keeps in the Run key.
namespace doorsel::options {

inline constexpr const char* BrowseCaptionPlain = "Browse Your LogonUI Files...";
inline constexpr const char* BrowseCaptionRandom = "Browse Your LogonUI Files and Edit Your Random LogonUI List...";
inline constexpr const char* FolderChooserTitle = "Select your default logon screen folder:";

// The main page's browse button also edits the random list while random selection is on.
const char* BrowseCaption(bool randomOn);

// What the count box shows for the stored "RotateEvery": the stored digits, or "1" when nothing
// usable is stored ("", "0", or a hand-edited value the two-digit box could not hold).
std::string RotateEveryShown(const std::string& stored);

// What Save stores for the text of the count box. A count from 1 up is kept as typed ("07" stays
// "07") and the countdown starts one below it; an empty box, 0, or anything that is not such a count
// stores "1" and "0", so the next random run picks.
struct RotationCounts {
    std::string rotateEvery;
    std::string nextRotation;
};
RotationCounts CountsToSave(const std::string& countText);

// The folder written on first start: the Windows folder, "Resources", and a trailing separator.
std::string DefaultLogonScreensFolder();

// The running program's full path in double quotes, as the Run key starts it, and the two commands
// Save registers there.
std::string QuotedExecutablePath();
std::string RandomRunCommand(); // ... -random
std::string StartupRunCommand(); // ... -minimized

} // namespace doorsel::options
