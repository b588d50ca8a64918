#include "profile_text.h"

#include "filestore.h"
#include "profile.h"
#include "storetext.h"

#include <string_view>
#include <utility>

namespace doorsel::profile {
namespace {

using std::string_view;
using storetext::sameName;
using storetext::storable;

constexpr string_view Eol = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

string_view trimLeft(string_view s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return s.substr(i);
}

string_view trimRight(string_view s)
{
    size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

string_view trim(string_view s)
{
    return trimRight(trimLeft(s));
}

// The Windows functions take C strings, so an argument ends at its first NUL.
string_view cString(string_view s)
{
    return s.substr(0, s.find('\0'));
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

enum class LineKind { Blank, Header, Entry };

struct Line {
    size_t begin = 0; // first byte of the line
    size_t end = 0; // where its line break starts (or the end of the text)
    size_t next = 0; // first byte of the following line
    LineKind kind = LineKind::Blank;
    string_view name; // section name of a header, key name of an entry; trimmed
    string_view value; // trimmed text after the first '='
    bool hasValue = false; // the entry holds a '='; entries without one are never read

    bool terminated() const { return next > end; }
};

void classify(string_view content, Line& line)
{
    const string_view text = trimLeft(content);
    if (trimRight(text).empty()) {
        line.kind = LineKind::Blank;
        return;
    }
    // A header's name runs to the last ']', so "[a]b]" names "a]b"; a '[' without any ']' is an entry.
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != string_view::npos) {
            line.kind = LineKind::Header;
            line.name = trim(text.substr(1, close - 1));
            return;
        }
    }
    line.kind = LineKind::Entry;
    const size_t equals = text.find('=');
    if (equals == string_view::npos) {
        line.name = trimRight(text);
        return;
    }
    line.name = trimRight(text.substr(0, equals));
    line.value = trim(text.substr(equals + 1));
    line.hasValue = true;
}

// Walks a file's text line by line. CR LF, LF, CR and CR CR LF each end a line; a NUL ends what
// is parsed of its line, and the bytes after it up to the line break are skipped.
class LineScanner {
public:
    explicit LineScanner(string_view content)
        : text(content)
    {
    }

    bool next(Line& line)
    {
        if (pos >= text.size())
            return false;
        line = Line {};
        line.begin = pos;
        line.end = pos;
        while (line.end < text.size() && !isLineBreak(text[line.end]))
            ++line.end;
        line.next = line.end + breakLength(line.end);
        pos = line.next;
        const string_view whole = text.substr(line.begin, line.end - line.begin);
        classify(cString(whole), line);
        return true;
    }

private:
    size_t breakLength(size_t at) const
    {
        const string_view rest = text.substr(at);
        if (rest.empty())
            return 0;
        if (rest.substr(0, 2) == "\r\n")
            return 2;
        if (rest.substr(0, 3) == "\r\r\n")
            return 3;
        return 1;
    }

    string_view text;
    size_t pos = 0;
};

// The value of key in the first copy of section; only that copy is searched, and its first match wins.
std::optional<string_view> findValue(string_view text, string_view section, string_view key)
{
    LineScanner scanner(text);
    Line line;
    bool inSection = false;
    while (scanner.next(line)) {
        if (line.kind == LineKind::Header) {
            if (inSection)
                return std::nullopt;
            inSection = sameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Entry && line.hasValue && sameName(line.name, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

// Where a write lands: the line that holds the key, or else the end of the section's last
// non-blank line (a new key goes there, so blank lines between sections stay between them).
struct WriteTarget {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    Line lastLine;
};

WriteTarget findTarget(string_view text, string_view section, string_view key)
{
    WriteTarget target;
    LineScanner scanner(text);
    Line line;
    while (scanner.next(line)) {
        if (line.kind == LineKind::Header) {
            if (target.sectionFound)
                break;
            if (sameName(line.name, section)) {
                target.sectionFound = true;
                target.lastLine = line;
            }
            continue;
        }
        if (!target.sectionFound || line.kind == LineKind::Blank)
            continue;
        // Unlike a read, a write also takes a line without '=' as the key.
        if (sameName(line.name, key)) {
            target.keyLine = line;
            break;
        }
        target.lastLine = line;
    }
    return target;
}

std::string entryLine(string_view key, string_view value)
{
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(Eol);
    return line;
}

std::string sectionLines(string_view section, string_view key, string_view value)
{
    std::string lines = "[";
    lines.append(section).append("]").append(Eol);
    return lines + entryLine(key, value);
}

std::string spliced(string_view text, size_t from, size_t to, string_view insert)
{
    std::string result;
    result.reserve(text.size() - (to - from) + insert.size());
    result.append(text.substr(0, from)).append(insert).append(text.substr(to));
    return result;
}

WriteOutcome replaceLine(string_view text, const Line& line, string_view value)
{
    if (line.hasValue && line.value == value)
        return {true, std::nullopt};
    // The file's spelling of the key stays; the line keeps its own line break.
    std::string replacement(line.name);
    replacement.append("=").append(value);
    if (text.substr(line.begin, line.end - line.begin) == replacement)
        return {true, std::nullopt};
    return {true, spliced(text, line.begin, line.end, replacement)};
}

} // namespace

std::string readString(const std::optional<std::string>& text, const std::string& section, const std::string& key,
    const std::string& defaultValue, unsigned size)
{
    if (size == 0)
        return {};
    std::optional<string_view> found;
    if (text)
        found = findValue(*text, trim(cString(section)), trim(cString(key)));
    string_view result = found ? *found : trimRight(cString(defaultValue));
    // One pair of matching quotes around the whole value is dropped, before the buffer cuts it.
    if (result.size() >= 2 && (result.front() == '"' || result.front() == '\'') && result.back() == result.front())
        result = result.substr(1, result.size() - 2);
    return std::string(result.substr(0, size - 1));
}

WriteOutcome writeString(const std::optional<std::string>& text, const std::string& section, const std::string& key,
    const std::string& value)
{
    // A line break written raw would let a value inject sections and keys.
    if (!storable(section) || !storable(key) || !storable(value))
        return {};
    // Leading whitespace of the names and the value is dropped and trailing whitespace kept, as the Windows
    // functions write them; reads trim both ends anyway.
    const string_view sectionName = trimLeft(section);
    const string_view keyName = trimLeft(key);
    const string_view newValue = trimLeft(value);
    if (!text)
        return {true, sectionLines(sectionName, keyName, newValue)};

    const string_view current = *text;
    const WriteTarget target = findTarget(current, trimRight(sectionName), trimRight(keyName));
    if (target.keyLine)
        return replaceLine(current, *target.keyLine, newValue);

    std::string insert;
    size_t at = current.size();
    if (target.sectionFound) {
        at = target.lastLine.next;
        if (!target.lastLine.terminated())
            insert.append(Eol);
        insert += entryLine(keyName, newValue);
    } else {
        if (!current.empty() && !isLineBreak(current.back()))
            insert.append(Eol);
        insert += sectionLines(sectionName, keyName, newValue);
    }
    return {true, spliced(current, at, at, insert)};
}

std::string readFileValue(const std::string& section, const std::string& key, const std::string& defaultValue,
    unsigned size, const std::string& file)
{
    return readString(ReadStoreFile(file), section, key, defaultValue, size);
}

bool updateFileValue(
    const std::string& section, const std::string& key, const ValueFor& valueFor, const std::string& file)
{
    if (!storable(section) || !storable(key))
        return false;
    bool alreadyStored = false;
    const bool written = UpdateStoreFile(file, [&](const std::optional<std::string>& current) {
        const std::optional<std::string> value = valueFor(current);
        if (!value || !storable(*value))
            return std::optional<std::string>();
        WriteOutcome outcome = writeString(current, section, key, *value);
        alreadyStored = outcome.ok && !outcome.text;
        return std::move(outcome.text);
    });
    return written || alreadyStored;
}

bool writeFileValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file)
{
    return updateFileValue(
        section, key, [&](const std::optional<std::string>&) { return std::optional<std::string>(value); }, file);
}

} // namespace doorsel::profile

namespace doorsel {

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file)
{
    return profile::readFileValue(section, key, "", 255, file);
}

bool WriteIniValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file)
{
    return profile::writeFileValue(section, key, value, file);
}

} // namespace doorsel
