#include "platform/profile_kernel32.h"
#include "platform/profile_text.h"
#include "platform/profile_vectors.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <map>

namespace doorsel::profile {
namespace {

using test::ProfileVector;

// Vectors on which the program follows Windows, where the kernel32 under test may be Wine's. None
// of them is in the data file today; they are listed so that one added later is not misread.
const std::map<std::string, std::string> departures = {
    {"G9-04", "UTF-8 BOM before the first header: Windows and we read it as part of that line; Wine skips it"},
    {"G9-14", "UTF-8 BOM before the first header: Windows and we append a second section; Wine uses the first"},
    {"G9-19", "UTF-8 BOM before the first header: Windows and we append a second section; Wine uses the first"},
    {"G11-07", "a write keeps the text after a NUL on other lines on Windows and here; Wine drops it"},
    {"G8-07", "Wine loses the last character when exactly size - 1 of them sit inside quotes"},
    {"G2-03", "a delete, which the program never does (and Windows creates an empty file there)"},
    {"G2-04", "a delete, which the program never does (and Windows creates an empty file there)"},
    {"G11-11", "a name listing, which the program never asks for"},
    {"G11-17", "the cache-flush request, which the program never makes (and Windows returns TRUE)"},
    // The vectors were taken in code page 1252; the program's is UTF-8, in which kernel32 reads these
    // bytes as U+FFFD, where we keep them as they are.
    {"G10-10", "bytes that are no UTF-8: kernel32 reads them back as U+FFFD"},
    {"G11-05", "bytes that are no UTF-8: kernel32 reads both names as Cl and U+FFFD, which match"},
};

bool holdsLineBreakOrNul(const std::optional<std::string>& s)
{
    return s && s->find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

std::optional<std::string> fileContent(const std::string& path)
{
    return test::exists(path) ? std::optional(test::slurp(path)) : std::nullopt;
}

class Kernel32Profile : public ::testing::TestWithParam<ProfileVector> { };

TEST_P(Kernel32Profile, agreesWithOurImplementation)
{
    const ProfileVector& v = GetParam();
    SCOPED_TRACE(v.desc);
    if (const auto departure = departures.find(v.id); departure != departures.end())
        GTEST_SKIP() << departure->second;
    if (!v.section || !v.key || !(v.isRead() ? v.defaultValue : v.string))
        GTEST_SKIP() << "NULL arguments (deletes, listings) are not used by the program";
    if (!v.isRead() && (holdsLineBreakOrNul(v.section) || holdsLineBreakOrNul(v.key) || holdsLineBreakOrNul(v.string)))
        GTEST_SKIP() << "we refuse a line break or NUL in a write, where kernel32 writes it raw";

    test::TestFolder folder;
    const std::string path = folder.file(v.id + ".ini");
    if (v.before)
        test::spit(path, *v.before);

    if (v.isRead()) {
        const std::string theirs = test::kernel32::readString(v.section, v.key, v.defaultValue, v.size, path);
        EXPECT_EQ(readString(v.before, *v.section, *v.key, *v.defaultValue, v.size), theirs);
        return;
    }

    const bool theirOk = test::kernel32::writeString(v.section, v.key, v.string, path);
    const WriteOutcome ours = writeString(v.before, *v.section, *v.key, *v.string);
    EXPECT_EQ(ours.ok, theirOk);

    // Each result is read back from a fresh copy, and kernel32 must also read our file as we do.
    const std::optional<std::string> theirText = fileContent(path);
    const std::optional<std::string> ourText = ours.text ? ours.text : v.before;
    const std::string theirCopy = folder.file("theirs.ini");
    const std::string ourCopy = folder.file("ours.ini");
    if (theirText)
        test::spit(theirCopy, *theirText);
    if (ourText)
        test::spit(ourCopy, *ourText);
    const std::string theirReadBack = test::kernel32::readString(v.section, v.key, "<default>", 8192, theirCopy);
    EXPECT_EQ(readString(ourText, *v.section, *v.key, "<default>", 8192), theirReadBack);
    EXPECT_EQ(test::kernel32::readString(v.section, v.key, "<default>", 8192, ourCopy), theirReadBack);
}

INSTANTIATE_TEST_SUITE_P(All, Kernel32Profile, ::testing::ValuesIn(test::profileVectors().vectors),
    [](const ::testing::TestParamInfo<ProfileVector>& info) { return test::testNameOf(info.param.id); });

} // namespace
} // namespace doorsel::profile
