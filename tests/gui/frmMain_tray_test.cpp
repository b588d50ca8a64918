// Minimising into the notification area, the icon's menu, and closing the main window.
#include "browse/frmBrowse.h"
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/settings.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

namespace doorsel::test {
namespace {

class Tray : public MainWindowTest {
protected:
    void openWithTray(const char* minimizeToTray)
    {
        spit(ConfigPath, std::string("[Options]\r\nMinimizeToTray=") + minimizeToTray + "\r\n");
        open().show();
    }

    void trigger(const char* item) const { find<QAction>(item)->trigger(); }

    // As the window manager does it when the user clicks the minimise button.
    void minimise() const { window->setWindowState(window->windowState() | Qt::WindowMinimized); }

    bool goesToTray() const
    {
        return QTest::qWaitFor([this] { return !window->isVisible(); }) && trayIcon()->isVisible();
    }
};

TEST_F(Tray, minimisingWithTheSettingOnHidesTheWindowBehindOneIcon)
{
    openWithTray("1");
    EXPECT_FALSE(trayIcon()->isVisible());
    for (int round = 0; round < 2; ++round) {
        minimise();
        EXPECT_TRUE(goesToTray());
        EXPECT_EQ(trayIcon()->toolTip(), "Doorsel");

        emit trayIcon()->activated(QSystemTrayIcon::DoubleClick);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
        EXPECT_FALSE(trayIcon()->isVisible());
    }
}

TEST_F(Tray, minimisingWithTheSettingOffIsOrdinary)
{
    for (const char* off : {"0", ""}) {
        openWithTray(off);
        minimise();
        EXPECT_TRUE(window->isVisible()) << '"' << off << '"';
        EXPECT_TRUE(window->isMinimized());
        EXPECT_FALSE(trayIcon()->isVisible());
        window.reset();
    }
}

TEST_F(Tray, withoutANotificationAreaMinimisingIsOrdinary)
{
    shell.trayAvailable = false;
    openWithTray("1");
    minimise();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMinimized(); }));
    // Hiding into the tray would be queued behind the minimising.
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, aSingleClickOnTheIconDoesNothing)
{
    openWithTray("1");
    minimise();
    ASSERT_TRUE(goesToTray());
    emit trayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(trayIcon()->isVisible());
    trigger("menuExit");
}

TEST_F(Tray, menuHoldsItsItemsInOrder)
{
    open();
    const QMenu* menu = find<QMenu>("mnuSystray");
    EXPECT_EQ(trayIcon()->contextMenu(), menu);
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->objectName() + '|' + (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items,
        (QStringList {"menuOpen|Open Doorsel", "menuBrowse|Browse Logon Screens...", "menuOptions|Options...",
            "Spacer1|-", "menuExit|Exit"}));
}

TEST_F(Tray, optionsFromTheMenuShowsTheWindowOnTheOptionsPage)
{
    openWithTray("1");
    minimise();
    ASSERT_TRUE(goesToTray());
    trigger("menuOptions");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(visiblePage(), 2);
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, openFromTheMenuRestoresTheWindow)
{
    openWithTray("1");
    minimise();
    ASSERT_TRUE(goesToTray());
    trigger("menuOpen");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, aSavedSettingTakesEffectWithoutRestarting)
{
    openWithTray("0");
    showOptionsPage();
    click(check("checkMinimize"));
    click(button("btnSaveOptions"));
    minimise();
    EXPECT_TRUE(goesToTray());

    trigger("menuOptions");
    click(check("checkMinimize"));
    click(button("btnSaveOptions"));
    minimise();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, cancelledUntickLeavesTheStoredSettingInForce)
{
    openWithTray("1");
    showOptionsPage();
    click(check("checkMinimize"));
    click(button("btnCancelOptions"));
    minimise();
    EXPECT_TRUE(goesToTray());
}

TEST_F(Tray, startingMinimisedGoesStraightToTheTrayWhenTheSettingIsOn)
{
    spit(ConfigPath, "[Options]\r\nMinimizeToTray=1\r\n");
    open().showAtStart(true);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(trayIcon()->isVisible());
    emit trayIcon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(visiblePage(), 1);
}

TEST_F(Tray, startingMinimisedWithTheSettingOffGivesAMinimisedWindow)
{
    open().showAtStart(true);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, startingNormallyShowsTheWindow)
{
    spit(ConfigPath, "[Options]\r\nMinimizeToTray=1\r\n");
    open().showAtStart(false);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, closingWithTheSettingOnEndsAtOnceAndClosesEveryOtherWindow)
{
    openWithTray("1");
    QWidget other;
    other.show();
    minimise();
    ASSERT_TRUE(goesToTray());
    trigger("menuExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_FALSE(trayIcon()->isVisible());
}

TEST_F(Tray, closingWithTheSettingOffLeavesTheProgramRunningUntilTheBrowseWindowCloses)
{
    openWithTray("1");
    minimise();
    ASSERT_TRUE(goesToTray());
    trigger("menuBrowse");
    const QPointer<frmBrowse> browse = window->findChild<frmBrowse*>();
    ASSERT_TRUE(browse);
    QTRY_VERIFY(browse->isVisible());
    trigger("menuOpen");
    showOptionsPage();
    click(check("checkMinimize"));
    click(button("btnSaveOptions"));

    // The program's own event loop, set up as the program sets it up (the listener in the test main
    // restores the setting). Ending the program closes every window, so whether the browse window
    // outlived the main window is seen before the end.
    QApplication::setQuitOnLastWindowClosed(false);
    const QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    bool browseOutlivedMainWindow = false;
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        click(button("btnExit"));
        // The main window's check for other windows is queued, and so is the end it may decide on.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        browseOutlivedMainWindow = !window->isVisible() && browse && browse->isVisible() && quitting.isEmpty();
        if (browse)
            QTest::mouseClick(browse->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
    });
    QTimer::singleShot(10000, &scope, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0) << "still running with no window open";
    EXPECT_TRUE(browseOutlivedMainWindow);
    EXPECT_EQ(quitting.count(), 1);
}

} // namespace
} // namespace doorsel::test
