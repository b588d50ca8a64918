#include "app/uninstall.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "support/logonhostlock.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(Uninstall, removesBothRunValuesAndRestoresTheSystemLogonScreen)
{
    test::LogonHostLock logonHostLock;
    test::TestFolder folder;
    WriteRegValue(RunValueRandomPath(), "\"x\" -random");
    WriteRegValue(RunValueStartupPath(), "\"x\" -minimized");
    WriteRegValue(UIHostPath, "C:\\Logons\\Bliss\\logonui.exe");
    WriteRegValue(std::string(RunKey) + "Other", "keep me");

    RunUninstall();

    EXPECT_EQ(ReadRegValue(RunValueRandomPath()), "");
    EXPECT_EQ(ReadRegValue(RunValueStartupPath()), "");
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe");
    EXPECT_EQ(ReadRegValue(std::string(RunKey) + "Other"), "keep me");
    DeleteRegValue(std::string(RunKey) + "Other");
}

TEST(Uninstall, withoutRunValuesStillRestoresTheSystemLogonScreen)
{
    test::LogonHostLock logonHostLock;
    test::TestFolder folder;
    DeleteRegValue(RunValueRandomPath());
    DeleteRegValue(RunValueStartupPath());
    WriteRegValue(UIHostPath, "C:\\a.exe");
    RunUninstall();
    EXPECT_EQ(ReadRegValue(UIHostPathShort), "logonui.exe");
}

} // namespace
} // namespace doorsel
