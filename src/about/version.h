#pragma once

#include <optional>
#include <string>

// Reading the server's version file and telling the user what it means.
namespace doorsel::about {

inline constexpr const char* CheckingCaption = "Checking For Updated Version...";
inline constexpr const char* CheckedCaption = "Version Checked Successfully";
inline constexpr const char* NoUpdateCaption = "No Update Available.";

// The first data item of a version file's text: up to the first comma or the end of the first line
// (CR LF, CR or LF), blanks around it dropped; an item that starts with a double quote runs to the
// closing quote and comes without its quotes. Nothing when the file holds no item.
std::optional<std::string> FirstDataItem(const std::string& text);

// Plain comparison, character code by character code; a text that continues past the end of the
// other is the greater. "2.0.0.1" is newer than "2.0.0", "10.0.0" is not.
bool IsNewerVersion(const std::string& candidate, const std::string& own);

// "New Version (2.1.0) Is Available!"; a version of other than ASCII text is isolated (IsolatedText).
std::string NewVersionCaption(const std::string& version);

// What a finished check shows: the status caption, and whether the download link is shown.
struct CheckOutcome {
    std::string caption;
    bool showDownloadLink = false;
};

// The outcome for the stored version file's text, compared with the program's own version; nothing
// when the file holds no version at all.
std::optional<CheckOutcome> OutcomeOfCheck(const std::string& versionFileText, const std::string& own);

} // namespace doorsel::about
