#include "browse/frmBrowse.h"
#include "gui/loadedbrowse.h"
#include "gui/mainwindow_fixture.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"

#include <QAction>
#include <QTimer>
#include <QTreeView>

#include <filesystem>

namespace doorsel {
namespace {

class MainWindowBrowse : public test::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        const std::filesystem::path exe = std::filesystem::path(folder.path()) / "Logons" / "Bliss" / "logonui.exe";
        std::filesystem::create_directories(exe.parent_path());
        test::spit(exe.string(), "MZ");
        settings::Write(settings::LogonScreensFolder, (std::filesystem::path(folder.path()) / "Logons").string());
        logonScreen = exe.string();
    }

    static std::vector<frmBrowse*> browseWindows()
    {
        std::vector<frmBrowse*> found;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* browse = qobject_cast<frmBrowse*>(w); browse && browse->isVisible())
                found.push_back(browse);
        }
        return found;
    }

    void trayMenu(const char* item) const { window->findChild<QAction*>(QString::fromLatin1(item))->trigger(); }

    std::string logonScreen;
};

TEST_F(MainWindowBrowse, theButtonOpensTheBrowseWindowModally)
{
    open().show();
    bool wasModal = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<frmBrowse*>(QApplication::activeModalWidget())) {
            wasModal = true;
            modal->close();
        }
    });
    watch.start(10);
    click(button("btnBrowse"));
    QTRY_VERIFY(wasModal);
    EXPECT_TRUE(browseWindows().empty());
    window->close();
}

TEST_F(MainWindowBrowse, fromTheTrayItOpensWithoutModalityAndTheButtonBringsItForward)
{
    open().show();
    trayMenu("menuBrowse");
    QTRY_COMPARE(browseWindows().size(), 1u);
    EXPECT_FALSE(browseWindows()[0]->isModal());
    click(button("btnBrowse")); // must not block, nor open a second window
    EXPECT_EQ(browseWindows().size(), 1u);

    // A set from it refreshes the main window and its Options box follows the browse window's box.
    frmBrowse* browse = browseWindows()[0];
    settings::Write(settings::AlertYN, "1");
    browse->findChild<QCheckBox*>("checkClose")->setChecked(true);
    auto* list = browse->findChild<QTreeView*>("listFiles");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(test::Row(*list, 0)).center());
    QTest::mouseClick(browse->findChild<QPushButton*>("btnSetBrowse"), Qt::LeftButton);
    EXPECT_EQ(ReadRegValue(UIHostPath), logonScreen);
    EXPECT_TRUE(check("checkClose")->isChecked());
    EXPECT_TRUE(browseWindows().empty());
    window->close();
}

TEST_F(MainWindowBrowse, closingTheMainWindowWithTheTrayOnClosesTheBrowseWindowToo)
{
    settings::Write(settings::MinimizeToTray, "1");
    open().show();
    trayMenu("menuBrowse");
    QTRY_COMPARE(browseWindows().size(), 1u);
    window->close();
    QApplication::processEvents();
    EXPECT_TRUE(browseWindows().empty());
}

} // namespace
} // namespace doorsel
