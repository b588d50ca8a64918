#include "platform/filestore.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(FileStore, updateCreatesReplacesAndLeavesNoTemporaryBehind)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.txt");

    EXPECT_FALSE(readFile(path).has_value());
    EXPECT_TRUE(updateFile(path, [](const std::optional<std::string>& current) {
        EXPECT_FALSE(current.has_value());
        return std::optional<std::string>("first");
    }));
    EXPECT_EQ(readFile(path).value_or("?"), "first");

    EXPECT_TRUE(updateFile(path, [](const std::optional<std::string>& current) {
        return std::optional<std::string>(current.value_or("") + "+second");
    }));
    EXPECT_EQ(readFile(path).value_or("?"), "first+second");
    EXPECT_FALSE(test::exists(path + ".tmp"));
}

TEST(FileStore, editThatDeclinesLeavesTheFileAsItWas)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.txt");
    test::spit(path, "old bytes\r\n");
    EXPECT_FALSE(updateFile(path, [](const std::optional<std::string>&) { return std::optional<std::string>(); }));
    EXPECT_EQ(test::slurp(path), "old bytes\r\n");
}

TEST(FileStore, missingFolderFailsWithoutCreatingAnything)
{
    test::TestFolder folder;
    const std::string path = folder.file("no-such-folder") + "/store.txt";
    EXPECT_FALSE(replaceFile(path, "x"));
    EXPECT_FALSE(test::exists(folder.file("no-such-folder")));
}

TEST(FileStore, binaryContentRoundTripsExactly)
{
    test::TestFolder folder;
    const std::string path = folder.file("store.bin");
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += std::string("\0\r\n\x1a", 4);
    ASSERT_TRUE(replaceFile(path, bytes));
    EXPECT_EQ(readFile(path).value_or(""), bytes);
}

} // namespace
} // namespace doorsel
