#include "platform/logonhost.h"
#include "platform/logonswitch.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(LogonSwitch, chosenNameLosesOnlyTheBlanksAroundIt)
{
    const struct {
        const char* chosen;
        const char* stored;
    } cases[] = {
        {"C:\\Logons\\Bliss\\logonui.exe", "C:\\Logons\\Bliss\\logonui.exe"},
        {"  C:\\My Logons\\a b.exe  ", "C:\\My Logons\\a b.exe"}, {"/opt/logons/x y/ui.exe ", "/opt/logons/x y/ui.exe"},
        {"   ", ""}, {"", ""}, {"\tC:\\a.exe\t", "\tC:\\a.exe\t"}, // only blanks go, as with a dialog's file name
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimChosenName(c.chosen), c.stored) << '"' << c.chosen << '"';
}

TEST(LogonSwitch, setStoresThePathUnquotedAndUnchanged)
{
    test::TestFolder folder;
    const std::string path = "C:\\Program Files\\Logons\\Blue Sky\\logonui.exe";
    SetLogonHost(path);
    EXPECT_EQ(ReadRegValue(UIHostPath), path);
    EXPECT_EQ(ReadRegValue(UIHostPathShort), path);
}

TEST(LogonSwitch, successMessageIsShownUnlessAlertsAreSwitchedOff)
{
    test::TestFolder folder;
    EXPECT_TRUE(SuccessMessageWanted()) << "absent";
    const struct {
        const char* alertYN;
        bool wanted;
    } cases[] = {{"1", false}, {"0", true}, {"", true}, {"yes", true}, {"2", true}};
    for (const auto& c : cases) {
        settings::Write(settings::AlertYN, c.alertYN);
        EXPECT_EQ(SuccessMessageWanted(), c.wanted) << '"' << c.alertYN << '"';
    }
}

} // namespace
} // namespace doorsel
