#include "platform/filestore.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

namespace doorsel {
namespace {

std::wstring accessRules(const std::wstring& file)
{
    DWORD size = 0;
    GetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::string descriptor(size, '\0');
    wchar_t* text = nullptr;
    if (!GetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)
        || !ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return L"?";
    std::wstring rules = text;
    LocalFree(text);
    return rules;
}

// What an administrator set on a store stays when the program replaces it: its attributes, and
// access rules of its own instead of the folder's (here: administrators and the system may change
// it, everyone may read it). A rename alone would give the new file the folder's defaults. (Wine
// derives the access rules from the Unix mode, so there only the attributes can differ.)
TEST(FileStoreWin, aReplacedStoreKeepsItsAttributesAndAccessRules)
{
    test::TestFolder folder;
    const std::string path = folder.file("config.ini");
    const std::wstring file = test::pathOf(path).wstring();
    ASSERT_TRUE(ReplaceStoreFile(path, "first"));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    PSECURITY_DESCRIPTOR own = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FR;;;WD)", SDDL_REVISION_1, &own, nullptr));
    ASSERT_TRUE(SetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, own));
    LocalFree(own);
    const std::wstring rules = accessRules(file);

    ASSERT_TRUE(ReplaceStoreFile(path, "second"));
    EXPECT_EQ(ReadStoreFile(path), "second");
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
        static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(accessRules(file), rules);
}

} // namespace
} // namespace doorsel
