#include "version.h"

#include "platform/outsidetext.h"

namespace doorsel::about {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A version file saved by a Windows editor may start with a UTF-8 byte-order mark; it is no part of
// the version.
std::string withoutByteOrderMark(const std::string& text)
{
    static const std::string mark = "\xEF\xBB\xBF";
    return text.compare(0, mark.size(), mark) == 0 ? text.substr(mark.size()) : text;
}

} // namespace

std::optional<std::string> FirstDataItem(const std::string& fileText)
{
    const std::string text = withoutByteOrderMark(fileText);
    const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));

    size_t begin = 0;
    while (begin < firstLine.size() && isBlank(firstLine[begin]))
        ++begin;
    if (begin == firstLine.size())
        return std::nullopt;

    if (firstLine[begin] == '"') {
        const size_t close = firstLine.find('"', begin + 1);
        std::string quoted
            = firstLine.substr(begin + 1, close == std::string::npos ? std::string::npos : close - begin - 1);
        if (quoted.empty())
            return std::nullopt;
        return quoted;
    }

    size_t end = firstLine.find(',', begin);
    if (end == std::string::npos)
        end = firstLine.size();
    // Trailing blanks would make "2.0.0 " read as newer than "2.0.0".
    while (end > begin && isBlank(firstLine[end - 1]))
        --end;
    if (end == begin)
        return std::nullopt;
    return firstLine.substr(begin, end - begin);
}

bool IsNewerVersion(const std::string& candidate, const std::string& own)
{
    // std::string compares as unsigned char, so codes above 127 sort after every digit.
    return candidate.compare(own) > 0;
}

std::string NewVersionCaption(const std::string& version)
{
    // The version is the server's text; the words around it are the program's.
    return "New Version (" + IsolatedText(version) + ") Is Available!";
}

std::optional<CheckOutcome> OutcomeOfCheck(const std::string& versionFileText, const std::string& own)
{
    const std::optional<std::string> version = FirstDataItem(versionFileText);
    if (!version)
        return std::nullopt;
    if (IsNewerVersion(*version, own))
        return CheckOutcome {NewVersionCaption(*version), true};
    return CheckOutcome {NoUpdateCaption, false};
}

} // namespace doorsel::about
