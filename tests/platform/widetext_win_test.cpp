#include "platform/randomlist.h"
#include "platform/widetext.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <optional>

#include <windows.h>

namespace doorsel::widetext {
namespace {

// The manifest gives the test programs the code page doorsel.exe has, so every name is UTF-8 here.
TEST(WideText, theProcessCodePageIsUtf8)
{
    EXPECT_EQ(GetACP(), 65001u);
}

// In a code page other than UTF-8 (the system's own, where it ignores the manifest), a name the code
// page cannot hold, or holds only as a look-alike, or whose bytes hold a separator that is none,
// gives nothing.
TEST(WideText, namesConvertExactlyOrNotAtAll)
{
    const struct {
        const wchar_t* name;
        unsigned codePage;
        std::optional<std::string> bytes;
    } cases[] = {
        {L"caf\u00e9.exe", 1252, "caf\xe9.exe"},
        {L"\u03a9.exe", 1252, std::nullopt}, // not "O.exe"
        {L"\u03bb.exe", 1252, std::nullopt}, // not "?.exe"
        {L"\u0100pp", 1252, std::nullopt}, // not "App"
        {L"\u0141ukasz", 1252, std::nullopt}, // not "Lukasz"
        {L"..\uff3cOutside", 1252, std::nullopt}, // not "..\\Outside"
        {L"\uff8a", 932, "\xca"}, // a half-width katakana: one byte
        {L"\u8868", 932, std::nullopt}, // bytes 95 5C: a backslash that is none
        {L"\u8868", CP_UTF8, "\xe8\xa1\xa8"},
        {L"..\uff3cOutside", CP_UTF8, "..\xef\xbc\xbcOutside"},
        {L"\xd800.exe", CP_UTF8, std::nullopt}, // a lone surrogate, which NTFS allows
        {L".", CP_UTF8, std::nullopt},
        {L"..", CP_UTF8, std::nullopt},
        {L"a\\b", CP_UTF8, std::nullopt},
        {L"a/b", CP_UTF8, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NarrowName(c.name, c.codePage), c.bytes) << c.codePage << ' ' << testing::PrintToString(c.name);

    // And back: bytes that are no text in the code page, or whose separators are none, name no file.
    EXPECT_EQ(Widen("caf\xe9", 1252), L"caf\u00e9");
    EXPECT_EQ(Widen("C:\\\x95\x5c", 932), std::nullopt);
    EXPECT_EQ(Widen("caf\xe9", CP_UTF8), std::nullopt);
}

// A list an older program wrote in the system's ANSI code page (here Windows-1252) keeps its
// entries; lines that are UTF-8, and bytes that are text in neither, stay as they are.
TEST(RandomListFile, aLineThatIsNotUtf8IsReadInTheSystemsAnsiCodePage)
{
    test::TestFolder folder;
    test::spit(RandomListPath(), "C:\\Logons\\Caf\xe9\\a.exe\r\nC:\\Logons\\\xce\xbb\\b.exe\r\n");
    const std::vector<std::string> expected = {"C:\\Logons\\Caf\xc3\xa9\\a.exe", "C:\\Logons\\\xce\xbb\\b.exe"};
    EXPECT_EQ(ReadRandomList(), expected);
    // The random run reads its pick on its own, and must read it the same way.
    const RandomListReader list;
    EXPECT_EQ(list.Entry(0), expected[0]);
    EXPECT_EQ(list.Entry(1), expected[1]);
}

} // namespace
} // namespace doorsel::widetext
