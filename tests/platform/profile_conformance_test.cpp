#include "platform/profile_text.h"

#include "platform/profile_vectors.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <set>

namespace doorsel::profile {
namespace {

using test::ProfileVector;

// The lines of a text, each with its line break (LF, CR LF, or a CR alone).
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if ((text[i] == '\r' && !crlf) || text[i] == '\n') {
            lines.push_back(text.substr(begin, i + 1 - begin));
            begin = i + 1;
        }
    }
    if (begin < text.size())
        lines.push_back(text.substr(begin));
    return lines;
}

std::string withoutBreak(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

// Where the reference rewrote the whole file: ours must be `before` unchanged, or with one line
// replaced, or new lines put in at one place (the last line may first gain its missing line break), and each line
// written must be one the reference wrote too.
::testing::AssertionResult changesOnlyTheTargetLine(
    const std::string& before, const std::string& ours, const std::string& reference)
{
    // Writing the value a key already holds may leave the file exactly as it was.
    if (ours == before)
        return ::testing::AssertionSuccess();
    const std::vector<std::string> old = linesOf(before);
    const std::vector<std::string> now = linesOf(ours);
    size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix
        && old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    std::vector<std::string> removed(old.begin() + prefix, old.end() - suffix);
    std::vector<std::string> added(now.begin() + prefix, now.end() - suffix);
    if (removed.size() == 1 && !added.empty() && added.front() == removed.front() + "\r\n"
        && prefix + 1 == old.size()) {
        removed.clear();
        added.erase(added.begin());
    }
    if (removed.size() > 1 || added.empty() || added.size() > 2 || (removed.size() == 1 && added.size() != 1))
        return ::testing::AssertionFailure() << "more than the target line changed: " << ::testing::PrintToString(ours);

    std::set<std::string> referenceLines;
    for (const std::string& line : linesOf(reference))
        referenceLines.insert(withoutBreak(line));
    for (const std::string& line : added) {
        if (!referenceLines.count(withoutBreak(line)))
            return ::testing::AssertionFailure() << "wrote " << ::testing::PrintToString(line) << ", expected one of "
                                                 << ::testing::PrintToString(reference);
    }
    return ::testing::AssertionSuccess();
}

std::optional<std::string> fileContent(const std::string& path)
{
    return test::exists(path) ? std::optional(test::slurp(path)) : std::nullopt;
}

TEST(ProfileVectorFile, isReadWhole)
{
    const test::ProfileVectorFile& file = test::profileVectors();
    EXPECT_TRUE(file.errors.empty()) << ::testing::PrintToString(file.errors);
    ASSERT_FALSE(file.vectors.empty());
    std::set<std::string> ids;
    for (const ProfileVector& v : file.vectors)
        EXPECT_TRUE(ids.insert(v.id).second) << "duplicate id " << v.id;
}

void checkRead(const ProfileVector& v)
{
    ASSERT_TRUE(v.section && v.key && v.defaultValue) << "NULL arguments are not used by the program";

    const std::string value = readString(v.before, *v.section, *v.key, *v.defaultValue, v.size);
    EXPECT_EQ(static_cast<long>(value.size()), v.ret);
    EXPECT_EQ(value, v.out);

    test::TestFolder folder;
    const std::string path = folder.file(v.id + ".ini");
    if (v.before)
        test::spit(path, *v.before);
    EXPECT_EQ(readFileValue(*v.section, *v.key, *v.defaultValue, v.size, path), value);
    EXPECT_EQ(fileContent(path), v.before) << "a read changed the file";
}

void checkWrite(const ProfileVector& v)
{
    ASSERT_TRUE(v.section && v.key && v.string) << "deletes are not used by the program";

    const WriteOutcome outcome = writeString(v.before, *v.section, *v.key, *v.string);
    EXPECT_EQ(outcome.ok, v.ret != 0);
    const std::optional<std::string> after = outcome.text ? outcome.text : v.before;
    if (v.roundtrip != "no") {
        EXPECT_EQ(after, v.after);
    } else {
        ASSERT_TRUE(v.before && v.after && after);
        EXPECT_TRUE(changesOnlyTheTargetLine(*v.before, *after, *v.after));
    }
    if (v.rbRet) {
        const std::string readBack = readString(after, *v.section, *v.key, "<default>", 8192);
        EXPECT_EQ(static_cast<long>(readBack.size()), *v.rbRet);
        EXPECT_EQ(readBack, v.rbOut);
    }

    test::TestFolder folder;
    const std::string path = folder.file(v.id + ".ini");
    if (v.before)
        test::spit(path, *v.before);
    EXPECT_EQ(writeFileValue(*v.section, *v.key, *v.string, path), outcome.ok);
    EXPECT_EQ(fileContent(path), after);
}

class ProfileVectors : public ::testing::TestWithParam<ProfileVector> { };

// Each vector runs on the text and again on a file.
TEST_P(ProfileVectors, matchTheReference)
{
    const ProfileVector& v = GetParam();
    SCOPED_TRACE(v.desc);
    if (v.isRead())
        checkRead(v);
    else
        checkWrite(v);
}

INSTANTIATE_TEST_SUITE_P(All, ProfileVectors, ::testing::ValuesIn(test::profileVectors().vectors),
    [](const ::testing::TestParamInfo<ProfileVector>& info) { return test::testNameOf(info.param.id); });

} // namespace
} // namespace doorsel::profile
