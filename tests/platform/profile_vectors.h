#pragma once

// Reader for tests/data/profile-vectors.txt: blocks of "<field> <value>" lines from "id" to "end",
// values being quoted byte strings with C escapes, NULL, ABSENT, a number, "-" or free text.

#include "support/testfolder.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace doorsel::test {

struct ProfileVector {
    std::string id;
    std::string op; // "read" or "write"
    std::string desc;
    std::optional<std::string> before; // nothing: the file is absent
    std::optional<std::string> after;
    std::optional<std::string> section, key, defaultValue, string; // nothing: a NULL argument
    unsigned size = 0;
    long ret = 0;
    std::string out;
    std::string roundtrip; // "yes", "no" or "-"
    std::optional<long> rbRet;
    std::string rbOut;

    bool isRead() const { return op == "read"; }
};

// Test output names a vector by its id.
inline void PrintTo(const ProfileVector& v, std::ostream* os)
{
    *os << v.id;
}

struct ProfileVectorFile {
    std::vector<ProfileVector> vectors;
    std::vector<std::string> errors; // one per line that could not be understood
};

namespace detail {

inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A double-quoted value with \r \n \t \" \\ and \xHH escapes; nothing when it is malformed.
inline std::optional<std::string> unquote(const std::string& text)
{
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return std::nullopt;
    std::string bytes;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        switch (const char e = text[++i]) {
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 't':
            bytes += '\t';
            break;
        case '"':
        case '\\':
            bytes += e;
            break;
        case 'x': {
            if (i + 3 >= text.size())
                return std::nullopt;
            const int hi = hexDigit(text[i + 1]);
            const int lo = hexDigit(text[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            bytes += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

} // namespace detail

inline ProfileVectorFile loadProfileVectors(const std::string& path)
{
    ProfileVectorFile file;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.errors.push_back("cannot open " + path);
        return file;
    }
    std::map<std::string, std::string> fields;
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) { file.errors.push_back("line " + std::to_string(number) + ": " + why); };
    // A field that is a byte string or NULL/ABSENT; false when it is neither.
    auto bytes = [&](const std::string& name, std::optional<std::string>& target) {
        const auto it = fields.find(name);
        if (it == fields.end())
            return true;
        if (it->second == "NULL" || it->second == "ABSENT") {
            target.reset();
            return true;
        }
        target = detail::unquote(it->second);
        return target.has_value();
    };
    auto numberOf = [&](const std::string& name) { return std::strtol(fields[name].c_str(), nullptr, 10); };

    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        if (line != "end") {
            const size_t space = line.find(' ');
            const std::string name = line.substr(0, space);
            if (name == "id")
                fields.clear();
            fields[name] = space == std::string::npos ? "" : line.substr(space + 1);
            continue;
        }
        ProfileVector v;
        v.id = fields["id"];
        v.op = fields["op"];
        v.desc = fields["desc"];
        std::optional<std::string> out, rbOut;
        if (!bytes("before", v.before) || !bytes("after", v.after) || !bytes("section", v.section)
            || !bytes("key", v.key) || !bytes("default", v.defaultValue) || !bytes("string", v.string)
            || !bytes("out", out) || !bytes("rb_out", rbOut)) {
            fail("bad byte string in " + v.id);
            continue;
        }
        if (v.id.empty() || (v.op != "read" && v.op != "write")) {
            fail("vector without id or op: '" + v.id + "'");
            continue;
        }
        v.out = out.value_or("");
        v.rbOut = rbOut.value_or("");
        v.size = static_cast<unsigned>(numberOf("size"));
        v.ret = numberOf("ret");
        v.roundtrip = fields["roundtrip"];
        if (fields.count("rb_ret"))
            v.rbRet = numberOf("rb_ret");
        file.vectors.push_back(std::move(v));
    }
    return file;
}

// The vectors of the tests' data folder, read once.
inline const ProfileVectorFile& profileVectors()
{
    static const ProfileVectorFile file = loadProfileVectors(testData("profile-vectors.txt"));
    return file;
}

// A vector id as a test name ("G1-01" -> "G1_01").
inline std::string testNameOf(const std::string& id)
{
    std::string name = id;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

} // namespace doorsel::test
