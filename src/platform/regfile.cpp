#include "regfile.h"

#include "storetext.h"

#include <array>
#include <utility>
#include <vector>

namespace doorsel::regfile {
namespace {
using storetext::sameName;
using storetext::storable;

constexpr std::string_view Header = "REGEDIT4";
constexpr std::string_view Eol = "\r\n";

// One line of the file: its text without the line end, and where the next line starts.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        const size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

std::string_view trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// "[key]" gives key; anything else gives nothing.
std::optional<std::string_view> keyOf(std::string_view line)
{
    line = trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return line.substr(1, line.size() - 2);
}

// Reads a quoted string with \\ and \" escapes starting at s[pos] == '"'; moves pos past it.
std::optional<std::string> readQuoted(std::string_view s, size_t& pos)
{
    if (pos >= s.size() || s[pos] != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = pos + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size())
                return std::nullopt;
            out += s[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt; // no closing quote: a truncated line
}

struct Entry {
    std::string name;
    std::optional<std::string> value; // nothing for a value of another type (dword:, hex:)
};

// "Name"="value" or @="value"; nothing for any other line.
std::optional<Entry> entryOf(std::string_view line)
{
    line = trim(line);
    Entry entry;
    size_t pos = 0;
    if (!line.empty() && line[0] == '@') {
        pos = 1;
    } else {
        std::optional<std::string> name = readQuoted(line, pos);
        if (!name)
            return std::nullopt;
        entry.name = std::move(*name);
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return std::nullopt;
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos < line.size() && line[pos] == '"') {
        entry.value = readQuoted(line, pos);
        if (!entry.value || !trim(line.substr(pos)).empty())
            return std::nullopt;
    }
    return entry;
}

std::string quoted(std::string_view s)
{
    std::string out = "\"";
    for (const char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string valueLine(const ValuePath& where, std::string_view value)
{
    return (where.name.empty() ? std::string("@") : quoted(where.name)) + "=" + quoted(value);
}

// Where the lines of the file stand with respect to one key and value.
struct Scan {
    std::vector<Line> lines;
    std::vector<size_t> matches; // lines that set the value
    std::optional<size_t> lastKeyContent; // last non-blank line of the key's last section
};

Scan scan(std::string_view text, const ValuePath& where)
{
    Scan result;
    result.lines = splitLines(text);
    bool inKey = false;
    for (size_t i = 0; i < result.lines.size(); ++i) {
        const std::string_view line = text.substr(result.lines[i].begin, result.lines[i].end - result.lines[i].begin);
        if (const auto key = keyOf(line)) {
            inKey = sameName(*key, where.key);
            if (inKey)
                result.lastKeyContent = i;
            continue;
        }
        if (!inKey)
            continue;
        if (!trim(line).empty())
            result.lastKeyContent = i;
        if (const auto entry = entryOf(line); entry && sameName(entry->name, where.name))
            result.matches.push_back(i);
    }
    return result;
}

// Appends text whose last line is whole: when the file ends without a line end, or with a lone CR,
// that line is ended, so that what follows starts a line of its own.
void appendWithLineEnd(std::string& out, std::string_view text)
{
    if (text.empty() || text.back() == '\n') {
        out.append(text);
        return;
    }
    if (text.back() == '\r')
        text.remove_suffix(1);
    out.append(text).append(Eol);
}

bool startsWithHeader(std::string_view text)
{
    std::string_view first = text.substr(0, text.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.remove_suffix(1);
    first = trim(first);
    return first == Header || first == "Windows Registry Editor Version 5.00";
}

std::string withHeader(std::string text)
{
    if (startsWithHeader(text))
        return text;
    return std::string(Header) + std::string(Eol) + std::string(Eol) + text;
}

} // namespace

std::optional<ValuePath> splitValuePath(std::string_view path)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> roots {{
        {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE"},
        {"HKLM", "HKEY_LOCAL_MACHINE"},
        {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER"},
        {"HKCU", "HKEY_CURRENT_USER"},
        {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT"},
        {"HKCR", "HKEY_CLASSES_ROOT"},
        {"HKEY_USERS", "HKEY_USERS"},
        {"HKU", "HKEY_USERS"},
        {"HKEY_CURRENT_CONFIG", "HKEY_CURRENT_CONFIG"},
        {"HKCC", "HKEY_CURRENT_CONFIG"},
    }};
    const size_t firstSep = path.find('\\');
    if (firstSep == std::string_view::npos)
        return std::nullopt;
    const std::string_view root = path.substr(0, firstSep);
    for (const auto& [alias, full] : roots) {
        if (!sameName(root, alias))
            continue;
        const size_t lastSep = path.rfind('\\');
        ValuePath result;
        result.key = std::string(full) + std::string(path.substr(firstSep, lastSep - firstSep));
        result.name = std::string(path.substr(lastSep + 1));
        return result;
    }
    return std::nullopt;
}

std::optional<std::string> lookup(std::string_view text, const ValuePath& where)
{
    const Scan found = scan(text, where);
    if (found.matches.empty())
        return std::nullopt;
    // As on import, the last line that sets a value wins.
    const Line& line = found.lines[found.matches.back()];
    return entryOf(text.substr(line.begin, line.end - line.begin))->value;
}

std::optional<std::string> withValue(std::string_view text, const ValuePath& where, std::string_view value)
{
    if (!storable(where.key) || !storable(where.name) || !storable(value))
        return std::nullopt;
    const Scan found = scan(text, where);
    const std::string line = valueLine(where, value);
    std::string out;
    if (!found.matches.empty()) {
        const Line& target = found.lines[found.matches.back()];
        if (text.substr(target.begin, target.end - target.begin) == line)
            return std::nullopt;
        out.append(text.substr(0, target.begin)).append(line).append(text.substr(target.end));
    } else if (found.lastKeyContent) {
        const Line& after = found.lines[*found.lastKeyContent];
        appendWithLineEnd(out, text.substr(0, after.next));
        out.append(line).append(Eol).append(text.substr(after.next));
    } else {
        appendWithLineEnd(out, text);
        if (!out.empty())
            out.append(Eol);
        out.append("[").append(where.key).append("]").append(Eol).append(line).append(Eol);
    }
    return withHeader(std::move(out));
}

std::optional<std::string> withoutValue(std::string_view text, const ValuePath& where)
{
    const Scan found = scan(text, where);
    if (found.matches.empty())
        return std::nullopt;
    std::string out;
    size_t copied = 0;
    for (const size_t index : found.matches) {
        const Line& line = found.lines[index];
        out.append(text.substr(copied, line.begin - copied));
        copied = line.next;
    }
    out.append(text.substr(copied));
    return out;
}

} // namespace doorsel::regfile
