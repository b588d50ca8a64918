// The three windows as a user without a mouse, and a screen reader, meet them.
#include "about/frmAbout.h"
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "gui/loadedbrowse.h"
#include "mainwindow/appfonts.h"
#include "mainwindow/frmMain.h"
#include "platform/appinfo.h"
#include "platform/fileurl.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "support/fakeshell.h"
#include "support/guitest.h"
#include "support/httpserver.h"
#include "support/testfolder.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace doorsel::test {
namespace {

// A tab bar is announced by its current tab, every other control by its own name.
QString accessibleName(QWidget& control)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&control);
    if (iface == nullptr)
        return {};
    if (qobject_cast<QTabBar*>(&control) != nullptr && iface->focusChild() != nullptr)
        iface = iface->focusChild();
    return iface->text(QAccessible::Name).trimmed();
}

// The tab widget's own bar goes by the tab widget's name.
QString nameOf(const QWidget& control)
{
    if (qobject_cast<const QTabBar*>(&control) != nullptr && control.parentWidget() != nullptr)
        return control.parentWidget()->objectName();
    return control.objectName();
}

// Whether a band in the highlight colour, two pixels wide, runs round the focused control (round
// the current tab, on a tab bar), clear of it by a pixel.
bool ringed(QWidget& window, QWidget& control)
{
    QRect area = control.rect();
    if (auto* bar = qobject_cast<QTabBar*>(&control))
        area = bar->tabRect(bar->currentIndex());
    area = QRect(control.mapTo(&window, area.topLeft()), area.size());
    const QImage shot = window.grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    const QColor ring = window.palette().color(QPalette::Highlight);
    const QPoint middle = area.center();
    for (const int out : {2, 3}) {
        for (const QPoint at : {QPoint(middle.x(), area.top() - out), QPoint(middle.x(), area.bottom() + out),
                 QPoint(area.left() - out, middle.y()), QPoint(area.right() + out, middle.y())}) {
            if (shot.pixelColor((QPointF(at) * scale).toPoint()) != ring)
                return false;
        }
    }
    return true;
}

// Logon screens to browse (one with a preview picture, one without), the one with a picture in
// force, random selection on so that every control shows, and a server offering a newer version.
// The cases' steps reach the fixture through a reference to it, so its parts are public.
class KeyboardAccess : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterTahoma();
        const std::string logons = folder.file("Logons");
        const std::string bliss = logons + PathSeparator + "Bliss" + PathSeparator;
        std::filesystem::create_directories(bliss);
        std::filesystem::create_directories(logons + PathSeparator + "Plain");
        spit(bliss + "logonui.exe", "MZ");
        spit(logons + PathSeparator + "Plain" + PathSeparator + "setup.exe", "MZ");
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(bliss + "preview.bmp")));
        picturePath = bliss + "preview.bmp";
        WriteRegValue(UIHostPath, bliss + "logonui.exe");
        settings::Write(settings::LogonScreensFolder, logons);
        settings::Write(settings::EnableRandom, "1");
        settings::Write(settings::RotateEvery, "3");
        settings::Write(settings::UpdateServer, server.base());
        server.serve("/doorsel/CurrentVersion.dat", "9.9.9");
    }

    void TearDown() override
    {
        for (QWidget* window : {static_cast<QWidget*>(main.get()), static_cast<QWidget*>(browse.get()),
                 static_cast<QWidget*>(about.get())}) {
            if (window != nullptr)
                window->hide();
        }
    }

    static void activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget& openMain()
    {
        main = std::make_unique<frmMain>(shell, ShowAbout);
        activate(*main);
        return *main;
    }

    QWidget& openBrowse()
    {
        browse = std::make_unique<frmBrowse>(shell, owner);
        EXPECT_TRUE(Loaded(*browse));
        activate(*browse);
        return *browse;
    }

    // With the update check done, so that the new version's link shows too.
    QWidget& openAbout()
    {
        about = std::make_unique<frmAbout>(shell);
        activate(*about);
        QTest::mouseClick(control(*about, "btnCheckForUpdate"), Qt::LeftButton);
        EXPECT_TRUE(control(*about, "labelClickToDownload")->isVisible());
        return *about;
    }

    static QWidget* control(QWidget& window, const char* name) { return controlOf(window, name); }

    // Puts the focus on a control as Tab would, and presses a key there.
    static void press(QWidget& window, const char* name, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = control(window, name);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }

    // Selects a browse row by the keyboard: the list's current row follows the arrow keys.
    void selectRow(const char* file)
    {
        auto* list = controlOf<QTreeView>(*browse, "listFiles");
        const QModelIndexList rows
            = list->model()->match(Row(*list, 0), Qt::DisplayRole, QLatin1String(file), -1, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << file;
        list->setCurrentIndex(rows.front());
    }

    static int currentPage(QWidget& window, const char* tabs)
    {
        return controlOf<QTabWidget>(window, tabs)->currentIndex() + 1;
    }

    TestFolder folder;
    HttpServer server;
    FakeShell shell;
    NoOwner owner;
    std::string picturePath;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<frmBrowse> browse;
    std::unique_ptr<frmAbout> about;
};

TEST_F(KeyboardAccess, tabGoesRoundEveryPageInOrderAndEveryStopIsNamedAndRinged)
{
    struct Case {
        const char* page;
        std::function<QWidget&(KeyboardAccess&)> open;
        const char* start; // where the walk starts
        const char* order; // the stops, from the start round to it again
    };
    const Case cases[] = {
        {"main, Logon Screen", &KeyboardAccess::openMain, "tabUI",
            "tabUI btnSelectFile btnBrowse btnResetKey btnAbout btnExit picThumb"},
        {"main, Options",
            [](KeyboardAccess& t) -> QWidget& {
                QWidget& window = t.openMain();
                controlOf<QTabWidget>(window, "tabUI")->setCurrentIndex(1);
                return window;
            },
            "tabUI",
            "tabUI txtLogonScreenFolder btnGetFolder checkClose checkAlert checkMinimize checkRandom txtRotateEvery "
            "checkRunAtStartup btnCancelOptions btnSaveOptions"},
        {"browse", &KeyboardAccess::openBrowse, "btnSetBrowse",
            "btnSetBrowse picThumb listFiles btnClose checkClose btnSave"},
        {"About, About Doorsel", &KeyboardAccess::openAbout, "tabsAbout",
            "tabsAbout btnCheckForUpdate labelClickToDownload Label11 btnClose"},
        {"About, Links",
            [](KeyboardAccess& t) -> QWidget& {
                QWidget& window = t.openAbout();
                controlOf<QTabWidget>(window, "tabsAbout")->setCurrentIndex(1);
                return window;
            },
            "tabsAbout", "tabsAbout txtLinks btnUpdateLinks btnClose"},
    };
    for (const Case& c : cases) {
        QWidget& window = c.open(*this);
        QWidget* start = control(window, c.start);
        if (auto* tabs = qobject_cast<QTabWidget*>(start))
            start = tabs->tabBar();
        start->setFocus(Qt::TabFocusReason);
        QStringList order;
        QStringList unnamed;
        QStringList unringed;
        for (int step = 0; step < 30; ++step) {
            QWidget* focused = QApplication::focusWidget();
            ASSERT_NE(focused, nullptr) << c.page;
            if (step > 0 && focused == start)
                break;
            order << nameOf(*focused);
            if (accessibleName(*focused).isEmpty())
                unnamed << nameOf(*focused);
            if (!ringed(window, *focused))
                unringed << nameOf(*focused);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        EXPECT_EQ(order.join(' ').toStdString(), c.order) << c.page;
        EXPECT_EQ(unnamed.join(' ').toStdString(), "") << c.page << ": focusable without a name";
        EXPECT_EQ(unringed.join(' ').toStdString(), "") << c.page << ": focus not clearly shown";
        TearDown();
    }
}

TEST_F(KeyboardAccess, keysDoWhatTheMouseDoes)
{
    const std::string webPage = server.base() + "/doorsel/";
    const std::string picture = FileUrl(picturePath);
    struct Case {
        const char* what;
        std::function<void(KeyboardAccess&)> act;
        std::function<void(KeyboardAccess&)> check;
    };
    const Case cases[] = {
        // Buttons
        {"main: Enter on a button presses it",
            [](KeyboardAccess& t) {
                t.shell.answerOpenFile("");
                press(t.openMain(), "btnSelectFile", Qt::Key_Return);
            },
            [](KeyboardAccess& t) { EXPECT_EQ(t.shell.fileDialogs.size(), 1u); }},
        {"main: keypad Enter on the Options page's Cancel presses it",
            [](KeyboardAccess& t) {
                QWidget& window = t.openMain();
                controlOf<QTabWidget>(window, "tabUI")->setCurrentIndex(1);
                press(window, "btnCancelOptions", Qt::Key_Enter, Qt::KeypadModifier);
            },
            [](KeyboardAccess& t) { EXPECT_EQ(currentPage(*t.main, "tabUI"), 1); }},
        {"browse: Enter on a button presses it",
            [](KeyboardAccess& t) { press(t.openBrowse(), "btnSave", Qt::Key_Return); },
            [](KeyboardAccess& t) { EXPECT_TRUE(exists(t.folder.file("random.dat"))); }},
        {"browse: Enter on the list presses no button",
            [](KeyboardAccess& t) {
                QWidget& window = t.openBrowse();
                t.selectRow("logonui.exe");
                press(window, "btnSetBrowse", Qt::Key_Tab);
                press(window, "listFiles", Qt::Key_Return);
            },
            [](KeyboardAccess& t) {
                EXPECT_TRUE(t.browse->isVisible());
                EXPECT_FALSE(exists(t.folder.file("random.dat")));
                EXPECT_TRUE(t.shell.messages.empty()) << "set as logon screen";
            }},
        {"About: Enter on a button presses it",
            [](KeyboardAccess& t) { press(t.openAbout(), "btnClose", Qt::Key_Return); },
            [](KeyboardAccess& t) { EXPECT_FALSE(t.about->isVisible()); }},
        {"browse: Escape closes", [](KeyboardAccess& t) { press(t.openBrowse(), "listFiles", Qt::Key_Escape); },
            [](KeyboardAccess& t) { EXPECT_FALSE(t.browse->isVisible()); }},
        {"About: Escape closes", [](KeyboardAccess& t) { press(t.openAbout(), "Label11", Qt::Key_Escape); },
            [](KeyboardAccess& t) { EXPECT_FALSE(t.about->isVisible()); }},
        // Links
        {"About: Enter on the web page opens it",
            [](KeyboardAccess& t) { press(t.openAbout(), "Label11", Qt::Key_Return); },
            [webPage](KeyboardAccess& t) { EXPECT_EQ(t.shell.opened, std::vector<std::string> {webPage}); }},
        {"About: Space on the new version's link opens the web page",
            [](KeyboardAccess& t) { press(t.openAbout(), "labelClickToDownload", Qt::Key_Space); },
            [webPage](KeyboardAccess& t) { EXPECT_EQ(t.shell.opened, std::vector<std::string> {webPage}); }},
        {"About: a screen reader sees the links as links and can follow them",
            [](KeyboardAccess& t) {
                QWidget& window = t.openAbout();
                for (const char* name : {"Label11", "labelClickToDownload"}) {
                    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(control(window, name));
                    ASSERT_NE(link, nullptr);
                    EXPECT_EQ(link->role(), QAccessible::Link) << name;
                    EXPECT_EQ(link->text(QAccessible::Name), qobject_cast<QLabel*>(control(window, name))->text());
                    ASSERT_NE(link->actionInterface(), nullptr) << name;
                    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                }
            },
            [webPage](KeyboardAccess& t) {
                EXPECT_EQ(t.shell.opened, (std::vector<std::string> {webPage, webPage}));
            }},
        // Previews
        {"main: Enter on the preview opens the picture",
            [](KeyboardAccess& t) { press(t.openMain(), "picThumb", Qt::Key_Return); },
            [picture](KeyboardAccess& t) { EXPECT_EQ(t.shell.opened, std::vector<std::string> {picture}); }},
        {"main: Space on the preview without a picture does nothing",
            [](KeyboardAccess& t) {
                WriteRegValue(UIHostPath, "logonui.exe");
                press(t.openMain(), "picThumb", Qt::Key_Space);
            },
            [](KeyboardAccess& t) { EXPECT_TRUE(t.shell.opened.empty()); }},
        {"browse: Space on the preview opens the picture",
            [](KeyboardAccess& t) {
                QWidget& window = t.openBrowse();
                t.selectRow("logonui.exe");
                press(window, "picThumb", Qt::Key_Space);
            },
            [picture](KeyboardAccess& t) { EXPECT_EQ(t.shell.opened, std::vector<std::string> {picture}); }},
        {"browse: Enter on the preview without a picture does nothing",
            [](KeyboardAccess& t) {
                QWidget& window = t.openBrowse();
                t.selectRow("setup.exe");
                press(window, "picThumb", Qt::Key_Enter);
            },
            [](KeyboardAccess& t) { EXPECT_TRUE(t.shell.opened.empty()); }},
        // Pages
        {"main: Ctrl+Tab from inside a page shows the next",
            [](KeyboardAccess& t) { press(t.openMain(), "btnSelectFile", Qt::Key_Tab, Qt::ControlModifier); },
            [](KeyboardAccess& t) {
                EXPECT_EQ(currentPage(*t.main, "tabUI"), 2);
                EXPECT_EQ(shownFrame(*t.main, "frameUI_0", "frameUI_1"), 2);
            }},
        {"main: Ctrl+Tab on the last page comes round to the first",
            [](KeyboardAccess& t) {
                QWidget& window = t.openMain();
                press(window, "btnExit", Qt::Key_Tab, Qt::ControlModifier);
                press(window, "checkAlert", Qt::Key_Tab, Qt::ControlModifier);
            },
            [](KeyboardAccess& t) { EXPECT_EQ(shownFrame(*t.main, "frameUI_0", "frameUI_1"), 1); }},
        {"main: Ctrl+Shift+Tab and Ctrl+PageUp go back, Ctrl+PageDown on",
            [](KeyboardAccess& t) {
                QWidget& window = t.openMain();
                press(window, "btnAbout", Qt::Key_PageDown, Qt::ControlModifier);
                EXPECT_EQ(shownFrame(window, "frameUI_0", "frameUI_1"), 2);
                press(window, "txtRotateEvery", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                EXPECT_EQ(shownFrame(window, "frameUI_0", "frameUI_1"), 1);
                press(window, "picThumb", Qt::Key_PageUp, Qt::ControlModifier);
            },
            [](KeyboardAccess& t) {
                EXPECT_EQ(currentPage(*t.main, "tabUI"), 2);
                EXPECT_EQ(shownFrame(*t.main, "frameUI_0", "frameUI_1"), 2);
            }},
        {"About: Ctrl+PageDown from a link shows the links page",
            [](KeyboardAccess& t) { press(t.openAbout(), "Label11", Qt::Key_PageDown, Qt::ControlModifier); },
            [](KeyboardAccess& t) {
                EXPECT_EQ(t.about->CurrentFrame(), 2);
                EXPECT_EQ(shownFrame(*t.about, "frameAbout_0", "frameAbout_1"), 2);
            }},
        {"About: Ctrl+Tab from the links box goes back to the first page",
            [](KeyboardAccess& t) {
                QWidget& window = t.openAbout();
                controlOf<QTabWidget>(window, "tabsAbout")->setCurrentIndex(1);
                press(window, "txtLinks", Qt::Key_Tab, Qt::ControlModifier);
            },
            [](KeyboardAccess& t) {
                EXPECT_EQ(t.about->CurrentFrame(), 1);
                EXPECT_EQ(shownFrame(*t.about, "frameAbout_0", "frameAbout_1"), 1);
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shell.opened.clear();
        shell.messages.clear();
        shell.fileDialogs.clear();
        std::filesystem::remove(pathOf(folder.file("random.dat")));
        WriteRegValue(UIHostPath, picturePath.substr(0, picturePath.rfind(PathSeparator) + 1) + "logonui.exe");
        c.act(*this);
        c.check(*this);
        TearDown();
    }
}

} // namespace
} // namespace doorsel::test
