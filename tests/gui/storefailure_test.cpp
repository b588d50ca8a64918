// A change that could not be stored is never reported as done: one message says what failed and why.
#include "browse/frmBrowse.h"
#include "gui/loadedbrowse.h"
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/randomlist.h"
#include "platform/registry.h"
#include "platform/settings.h"

#include <QTreeView>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace doorsel::test {
namespace {

using StoreFailure = MainWindowTest;

TEST_F(StoreFailure, isReportedInsteadOfSuccess)
{
    const std::string logons = folder.file("Logons");
    fs::create_directory(logons);
    spit(logons + "/a.exe", "MZ");
    const std::string notChanged
        = "The logon screen could not be changed: registry.reg in the program folder is not a file.";
    const std::string notSaved = "The settings could not be saved: ";

    const struct {
        const char* what;
        std::string store;
        std::function<void()> act;
        std::string message;
    } cases[] = {
        {"select", RegistryStorePath(),
            [&] {
                shell.answerOpenFile("/srv/x.exe");
                click(button("btnSelectFile"));
            },
            notChanged},
        {"reset", RegistryStorePath(), [&] { click(button("btnResetKey")); }, notChanged},
        {"browse", RegistryStorePath(),
            [&] {
                frmBrowse browse(shell, *window, window.get());
                ASSERT_TRUE(Loaded(browse));
                browse.findChild<QCheckBox*>("checkClose")->setChecked(true);
                browse.show();
                auto* list = browse.findChild<QTreeView*>("listFiles");
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(Row(*list, 0)).center());
                click(browse.findChild<QPushButton*>("btnSetBrowse"));
                EXPECT_TRUE(browse.isVisible()) << "nothing was set, so the window stays";
            },
            notChanged},
        {"save list", RandomListPath(),
            [&] {
                settings::Write(settings::EnableRandom, "1");
                frmBrowse browse(shell, *window, window.get());
                ASSERT_TRUE(Loaded(browse));
                browse.show();
                click(browse.findChild<QPushButton*>("btnSave"));
            },
            "The random list could not be saved: random.dat in the program folder is not a file."},
        {"save settings", ConfigPath, [&] { click(button("btnSaveOptions")); },
            notSaved + "config.ini in the program folder is not a file."},
        {"save start-up entry", RegistryStorePath(),
            [&] {
                check("checkRunAtStartup")->setChecked(true);
                click(button("btnSaveOptions"));
            },
            notSaved + "registry.reg in the program folder is not a file."},
    };
    for (const auto& c : cases) {
        // On Windows the registry is the system's own, with no file of the program's to refuse.
        if (c.store.empty())
            continue;
        // "AlertYN" silences successes only. A folder where the store's file should be cannot be
        // replaced, not even by an administrator.
        spit(ConfigPath, "[Options]\r\nAlertYN=1\r\nLogonScreensFolder=" + logons + "\r\n");
        open().show();
        fs::remove(c.store);
        fs::create_directory(c.store);
        shell.messages.clear();
        c.act();
        EXPECT_EQ(shell.messages, std::vector<std::string> {c.message}) << c.what;
        window.reset();
        fs::remove_all(c.store);
    }
}

} // namespace
} // namespace doorsel::test
