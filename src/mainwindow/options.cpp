#include "options.h"

#include "platform/appinfo.h"
#include "platform/settings.h"
#include "platform/windowsdir.h"

#include <cstdint>
#include <limits>

namespace doorsel::options {

namespace {

// The box admits two digits; a stored count the box could not show is not shown cut short.
constexpr size_t CountBoxLength = 2;

bool allDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

const char* BrowseCaption(bool randomOn)
{
    return randomOn ? BrowseCaptionRandom : BrowseCaptionPlain;
}

std::string RotateEveryShown(const std::string& stored)
{
    if (stored.empty() || stored == "0" || stored.size() > CountBoxLength || !allDigits(stored))
        return "1";
    return stored;
}

RotationCounts CountsToSave(const std::string& countText)
{
    // Counts are 16-bit numbers wherever they are read; anything beyond cannot be a count.
    const auto count = settings::NumberOf(countText);
    if (!count || *count < 1 || *count > std::numeric_limits<std::int16_t>::max())
        return {"1", "0"};
    return {countText, std::to_string(*count - 1)};
}

std::string DefaultLogonScreensFolder()
{
    return GetWindowsDir() + PathSeparator + "Resources" + PathSeparator;
}

std::string QuotedExecutablePath()
{
    const std::string exe = ExecutablePath();
    const size_t cut = exe.find_last_of(PathSeparator);
    const std::string name = cut == std::string::npos ? exe : exe.substr(cut + 1);
    return '"' + ProgramFolder() + PathSeparator + name + '"';
}

std::string RandomRunCommand()
{
    return QuotedExecutablePath() + " -random";
}

std::string StartupRunCommand()
{
    return QuotedExecutablePath() + " -minimized";
}

} // namespace doorsel::options
