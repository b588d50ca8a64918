// The "Logon Screen" page: choosing a LogonUI file, putting the system's back, the preview.
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "preview/previewpane.h"

#include <QImage>

#include <filesystem>

namespace doorsel::test {
namespace {

const std::string SetMessage = "LogonUI.exe set successfully!\r\n\r\nLog Off or use WIN+L to test it.";

using Switching = MainWindowTest;

TEST_F(Switching, chosenFileIsStoredTrimmedUnquotedAndWithInnerSpaces)
{
    spit(ConfigPath, "[Options]\r\nLogonScreensFolder=/srv/logons/\r\n");
    open().show();
    shell.answerOpenFile("  /srv/logons/Blue Sky/logon ui.exe  ");
    click(button("btnSelectFile"));

    EXPECT_EQ(ReadRegValue(UIHostPath), "/srv/logons/Blue Sky/logon ui.exe");
    ASSERT_EQ(shell.fileDialogs.size(), 1u);
    EXPECT_EQ(shell.fileDialogs[0].initialFolder, "/srv/logons/");
    EXPECT_EQ(shell.fileDialogs[0].filter, "LogonUI file (*.exe)|*.exe");
    EXPECT_EQ(shell.messages, std::vector<std::string> {SetMessage});
}

TEST_F(Switching, cancelWritesAndShowsNothing)
{
    WriteRegValue(UIHostPath, "/srv/logons/a/logonui.exe");
    open().show();
    for (const char* cancelled : {"", "   "}) {
        shell.answerOpenFile(cancelled);
        click(button("btnSelectFile"));
    }
    EXPECT_EQ(ReadRegValue(UIHostPath), "/srv/logons/a/logonui.exe");
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_EQ(shell.fileDialogs.size(), 2u);
    for (const auto& dialog : shell.fileDialogs)
        EXPECT_EQ(dialog.initialFolder, DefaultLogonScreensFolder()) << "each opening starts in the folder";
}

TEST_F(Switching, successMessageUnlessAlertsAreSwitchedOff)
{
    const struct {
        const char* options;
        bool shown;
    } cases[] = {
        {"AlertYN=1\r\n", false},
        {"AlertYN=0\r\n", true},
        {"AlertYN=\r\n", true},
        {"", true},
    };
    for (const auto& c : cases) {
        spit(ConfigPath, std::string("[Options]\r\n") + c.options);
        open().show();
        shell.messages.clear();
        shell.answerOpenFile("/srv/logons/x.exe");
        click(button("btnSelectFile"));
        EXPECT_EQ(ReadRegValue(UIHostPath), "/srv/logons/x.exe");
        EXPECT_EQ(shell.messages.size(), c.shown ? 1u : 0u) << c.options;
        window.reset();
    }
}

TEST_F(Switching, choosingTheCurrentFileAgainWritesAndTellsAgain)
{
    open().show();
    for (int i = 0; i < 2; ++i) {
        shell.answerOpenFile("/srv/logons/x.exe");
        click(button("btnSelectFile"));
    }
    EXPECT_EQ(ReadRegValue(UIHostPath), "/srv/logons/x.exe");
    EXPECT_EQ(shell.messages.size(), 2u);
}

TEST_F(Switching, resetAlwaysStoresTheSystemsOwnAndAlwaysSaysSo)
{
    spit(ConfigPath, "[Options]\r\nAlertYN=1\r\n");
    WriteRegValue(UIHostPath, "/srv/logons/x.exe");
    open().show();
    click(button("btnResetKey"));
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe");
    click(button("btnResetKey"));
    EXPECT_EQ(ReadRegValue(UIHostPathShort), "logonui.exe");
    EXPECT_EQ(shell.messages, (std::vector<std::string> {"Reset successfully!", "Reset successfully!"}));
}

class Preview : public MainWindowTest {
protected:
    // A logon screen in a folder of its own, with a preview picture beside it.
    std::string logonScreenWithPicture()
    {
        const std::string dir = folder.file("Bliss");
        std::filesystem::create_directories(dir);
        spit(dir + PathSeparator + "logonui.exe", "MZ");
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        EXPECT_TRUE(picture.save(QString::fromStdString(dir + PathSeparator + "preview.bmp")));
        return dir + PathSeparator + "logonui.exe";
    }

    PreviewPane* thumbnail() const { return find<PreviewPane>("picThumb"); }
    bool noPreviewShown() const { return thumbnail()->labelNoPreview()->isVisibleTo(window.get()); }
};

TEST_F(Preview, showsTheCurrentLogonScreenAndOpensItsPictureOnDoubleClick)
{
    // A folder name that is not valid text reaches the opener byte for byte.
    logonScreenWithPicture();
    const std::string odd = folder.file("Bliss " + OddName("\xff\xfe"));
    std::filesystem::rename(pathOf(folder.file("Bliss")), pathOf(odd));
    WriteRegValue(UIHostPath, odd + PathSeparator + "logonui.exe");
    open().show();
    EXPECT_FALSE(noPreviewShown());
    QTest::mouseDClick(thumbnail(), Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(localPathOf(shell.opened[0]), odd + PathSeparator + "preview.bmp") << shell.opened[0];
}

TEST_F(Preview, followsTheLogonScreenAsItIsSetAndReset)
{
    const std::string exe = logonScreenWithPicture();
    open().show();
    EXPECT_TRUE(noPreviewShown());
    shell.answerOpenFile(exe);
    click(button("btnSelectFile"));
    EXPECT_FALSE(noPreviewShown());
    click(button("btnResetKey"));
    EXPECT_TRUE(noPreviewShown());
}

TEST_F(Preview, doubleClickWithoutPictureDoesNothing)
{
    WriteRegValue(UIHostPath, "logonui.exe");
    open().show();
    EXPECT_TRUE(noPreviewShown());
    QTest::mouseDClick(thumbnail(), Qt::LeftButton);
    EXPECT_TRUE(shell.opened.empty());
}

} // namespace
} // namespace doorsel::test
