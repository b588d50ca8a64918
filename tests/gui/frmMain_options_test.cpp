// The "Options" page: Save with its counts and start-up entries, Cancel, and the folder button.
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"

namespace doorsel::test {
namespace {

class Options : public MainWindowTest {
protected:
    void openOptions()
    {
        open().show();
        showOptionsPage();
        ASSERT_EQ(visiblePage(), 2);
    }

    void setCount(const char* text)
    {
        QLineEdit* count = edit("txtRotateEvery");
        count->clear();
        QTest::keyClicks(count, text);
    }

    void tick(const char* box, bool on)
    {
        if (check(box)->isChecked() != on)
            click(check(box));
    }

    static std::string quotedProgram()
    {
        const std::string exe = ExecutablePath();
        return '"' + ProgramFolder() + PathSeparator + exe.substr(exe.find_last_of(PathSeparator) + 1) + '"';
    }
};

TEST_F(Options, saveWithRandomSelectionStoresTheCountAndStartsTheCountdown)
{
    const struct {
        const char* typed;
        const char* rotateEvery;
        const char* nextRotation;
    } cases[] = {{"3", "3", "2"}, {"", "1", "0"}, {"0", "1", "0"}, {"07", "07", "6"}, {"99", "99", "98"}};
    for (const auto& c : cases) {
        openOptions();
        tick("checkRandom", true);
        setCount(c.typed);
        click(button("btnSaveOptions"));
        EXPECT_EQ(settings::Read(settings::EnableRandom), "1");
        EXPECT_EQ(settings::Read(settings::RotateEvery), c.rotateEvery) << '"' << c.typed << '"';
        EXPECT_EQ(settings::Read(settings::NextRotation), c.nextRotation) << '"' << c.typed << '"';
        EXPECT_EQ(ReadRegValue(RunValueRandomPath()), quotedProgram() + " -random");
        EXPECT_EQ(button("btnBrowse")->text(), "Browse Your LogonUI Files and Edit Your Random LogonUI List...");
        EXPECT_EQ(visiblePage(), 1);
        window.reset();
    }
}

TEST_F(Options, saveWithRandomSelectionOffRemovesItsStartEntryAndKeepsTheCounts)
{
    spit(ConfigPath, "[Options]\r\nEnableRandom=1\r\nRotateEvery=5\r\nNextRotation=3\r\n");
    WriteRegValue(RunValueRandomPath(), "\"old\" -random");
    openOptions();
    tick("checkRandom", false);
    setCount("");
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::EnableRandom), "0");
    EXPECT_EQ(settings::Read(settings::RotateEvery), "5");
    EXPECT_EQ(settings::Read(settings::NextRotation), "3");
    EXPECT_EQ(ReadRegValue(RunValueRandomPath()), "");
    EXPECT_EQ(button("btnBrowse")->text(), "Browse Your LogonUI Files...");
}

TEST_F(Options, runAtStartupAddsAndRemovesTheMinimisedStartEntry)
{
    openOptions();
    tick("checkRunAtStartup", true);
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::RunAtStartup), "1");
    EXPECT_EQ(ReadRegValue(RunValueStartupPath()), quotedProgram() + " -minimized");

    showOptionsPage();
    tick("checkRunAtStartup", false);
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::RunAtStartup), "0");
    EXPECT_EQ(ReadRegValue(RunValueStartupPath()), "");
}

TEST_F(Options, saveWritesEveryFlagFromItsBox)
{
    openOptions();
    tick("checkClose", true);
    tick("checkAlert", true);
    tick("checkMinimize", true);
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::CloseBrowse), "1");
    EXPECT_EQ(settings::Read(settings::AlertYN), "1");
    EXPECT_EQ(settings::Read(settings::MinimizeToTray), "1");
    EXPECT_EQ(settings::Read(settings::EnableRandom), "0");
    EXPECT_EQ(settings::Read(settings::RunAtStartup), "0");
    EXPECT_EQ(settings::Read(settings::RotateEvery), "") << "counts are stored only with random selection on";
    EXPECT_EQ(settings::Read(settings::NextRotation), "");

    showOptionsPage();
    tick("checkClose", false);
    tick("checkAlert", false);
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::CloseBrowse), "0");
    EXPECT_EQ(settings::Read(settings::AlertYN), "0");
    EXPECT_EQ(settings::Read(settings::MinimizeToTray), "1");
}

TEST_F(Options, cancelWritesNothingKeepsTheEditsAndReturnsToTheFirstPage)
{
    spit(ConfigPath, "[Options]\r\nLogonScreensFolder=/srv/logons/\r\nMinimizeToTray=1\r\n");
    openOptions();
    const std::string before = slurp(ConfigPath);
    tick("checkMinimize", false);
    tick("checkRandom", true);
    tick("checkRunAtStartup", true);
    shell.answerFolder("/srv/other");
    click(button("btnGetFolder"));
    click(button("btnCancelOptions"));

    EXPECT_EQ(visiblePage(), 1);
    EXPECT_EQ(slurp(ConfigPath), before);
    EXPECT_FALSE(exists(RegistryStorePath()));
    EXPECT_FALSE(check("checkMinimize")->isChecked()) << "edits stay on screen, unsaved";
    EXPECT_EQ(edit("txtLogonScreenFolder")->text(), "/srv/other");
}

TEST_F(Options, folderButtonFillsTheBoxAndSaveStoresIt)
{
    openOptions();
    shell.answerFolder("/srv/logon screens");
    click(button("btnGetFolder"));
    EXPECT_EQ(shell.folderTitles, std::vector<std::string> {"Select your default logon screen folder:"});
    EXPECT_EQ(edit("txtLogonScreenFolder")->text(), "/srv/logon screens");

    shell.answerFolder("");
    click(button("btnGetFolder"));
    EXPECT_EQ(edit("txtLogonScreenFolder")->text(), "/srv/logon screens") << "cancel keeps the box";

    EXPECT_EQ(settings::Read(settings::LogonScreensFolder), DefaultLogonScreensFolder()) << "nothing before Save";
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::LogonScreensFolder), "/srv/logon screens");
}

TEST_F(Options, folderThatIsNotValidTextSurvivesSaveUnchanged)
{
    const std::string oddFolder = "/srv/logons/caf\xE9/"; // Latin-1, not UTF-8
    spit(ConfigPath, "[Options]\r\nLogonScreensFolder=" + oddFolder + "\r\n");
    openOptions();
    click(button("btnSaveOptions"));
    EXPECT_EQ(settings::Read(settings::LogonScreensFolder), oddFolder);
}

TEST_F(Options, folderBoxIsReadOnly)
{
    openOptions();
    EXPECT_TRUE(edit("txtLogonScreenFolder")->isReadOnly());
    QTest::keyClicks(edit("txtLogonScreenFolder"), "x");
    EXPECT_EQ(edit("txtLogonScreenFolder")->text().toStdString(), DefaultLogonScreensFolder());
}

} // namespace
} // namespace doorsel::test
