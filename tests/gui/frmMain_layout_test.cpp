// What the user sees: every caption fits its control, every control lies inside the window, and
// (when DOORSEL_SCREENSHOT_DIR names a folder) pictures of every page of the three windows for a
// person to look at.
#include "about/frmAbout.h"
#include "browse/frmBrowse.h"
#include "browse/frmSearching.h"
#include "gui/captionfit.h"
#include "gui/loadedbrowse.h"
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/settings.h"

#include <QStyle>

#include <filesystem>

namespace doorsel::test {
namespace {

class Layout : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (!RegisterTahoma())
            GTEST_SKIP() << "the window is laid out for Tahoma, which is not installed";
    }

    void save(const char* name) const { save(*window, name); }
    static void save(QWidget& shown, const std::string& name)
    {
        const QByteArray dir = qgetenv("DOORSEL_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        const QString path = QString::fromLocal8Bit(dir) + QLatin1Char('/') + QString::fromStdString(name);
        EXPECT_TRUE(shown.grab().save(path)) << path.toStdString();
    }

    std::vector<std::string> clippedCaptions() const { return ClippedCaptions(*window); }

    // Controls that stick out of their page or out of the window.
    QStringList misplaced() const
    {
        QStringList out;
        const QRect client = window->rect();
        for (const char* frameName : {"frameUI_0", "frameUI_1"}) {
            const QFrame* frame = find<QFrame>(frameName);
            if (!client.contains(frame->geometry()))
                out << frame->objectName();
            for (const QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!frame->rect().contains(w->geometry()))
                    out << w->objectName();
            }
        }
        return out;
    }
};

TEST_F(Layout, logonScreenPageCaptionsFit)
{
    open().show();
    EXPECT_EQ(clippedCaptions(), std::vector<std::string>());
    EXPECT_EQ(misplaced(), QStringList());
    save("main-logon-screen.png");

    // The longer caption of the browse button, too.
    window.reset();
    spit(ConfigPath, "[Options]\r\nEnableRandom=1\r\n");
    open().show();
    EXPECT_EQ(clippedCaptions(), std::vector<std::string>());
    save("main-logon-screen-random.png");
}

TEST_F(Layout, optionsPageCaptionsFit)
{
    for (const char* random : {"0", "1"}) {
        spit(ConfigPath, std::string("[Options]\r\nEnableRandom=") + random + "\r\nRotateEvery=12\r\n");
        open().show();
        showOptionsPage();
        EXPECT_EQ(clippedCaptions(), std::vector<std::string>()) << "random " << random;
        save(*random == '1' ? "main-options-random-on.png" : "main-options-random-off.png");
        window.reset();
    }
}

// The other windows: the browse window in its three layouts, the progress of its walk, and both pages
// of the About window.
TEST_F(Layout, browseAndAboutWindowsCaptionsFit)
{
    const std::string logons = folder.file("Logons");
    for (const char* name : {"Bliss", "Harbour Lights"}) {
        std::filesystem::create_directories(logons + "/" + name);
        spit(logons + "/" + name + "/logonui.exe", "MZ");
    }
    spit(ConfigPath, "[Options]\r\nLogonScreensFolder=" + logons + "\r\n");
    open();
    for (const char* random : {"", "0", "1"}) {
        settings::Write(settings::EnableRandom, random);
        frmBrowse browse(shell, *window, window.get());
        ASSERT_TRUE(Loaded(browse));
        browse.show();
        EXPECT_EQ(ClippedCaptions(browse), std::vector<std::string>()) << "random " << random;
        save(browse, std::string("browse-random-") + (*random != 0 ? random : "absent") + ".png");
    }
    // The progress window of a long walk, with paths longer than its lines.
    const std::string deep = logons + "/Collections/A Collection With A Long Name/Harbour Lights At Night/Old/";
    frmSearching searching(deep + "Newer", window.get());
    searching.showProgress(1234, deep + "Variant 17/");
    searching.show();
    EXPECT_EQ(ClippedCaptions(searching), std::vector<std::string>());
    save(searching, "searching.png");
    frmAbout about(shell, window.get());
    about.show();
    auto* pages = about.findChild<QTabWidget*>("tabsAbout");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        EXPECT_EQ(ClippedCaptions(about), std::vector<std::string>()) << "page " << page;
        save(about, "about-page-" + std::to_string(page + 1) + ".png");
    }
}

// Whatever face is installed: the three windows draw their text at the same size, and every check
// box is tall enough for the square the style draws.
TEST_F(MainWindowTest, everyWindowSharesTheTextSizeAndCheckBoxesHoldTheirSquare)
{
    open();
    frmBrowse browse(shell, *window, window.get());
    frmAbout about(shell, window.get());
    frmSearching searching("/Logons", window.get());
    for (const QWidget* form : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&browse),
             static_cast<QWidget*>(&about), static_cast<QWidget*>(&searching)}) {
        const std::string name = form->objectName().toStdString();
        EXPECT_EQ(form->font().pointSizeF(), 8.25) << name;
        for (const QCheckBox* box : form->findChildren<QCheckBox*>()) {
            EXPECT_GE(box->height(), box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box))
                << name << ' ' << box->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace doorsel::test
