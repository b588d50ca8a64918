#pragma once

#include "browse/browseowner.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QFrame;
class QMenu;
class QSystemTrayIcon;

namespace Ui {
class frmMain;
}

namespace doorsel {

class Shell;
class frmBrowse;

// Opens the About window modally over `owner`: the program loads it from its own module on first
// use, the tests link it in.
using AboutOpener = void (*)(Shell& shell, QWidget* owner);

// The program's main window: the "Logon Screen" and "Options" pages, and the notification-area icon
// it can hide in. It lives as long as the program; every setting it uses is read from the settings
// file when it is needed.
class frmMain : public QWidget, public BrowseOwner {
    Q_OBJECT

public:
    // Prepares the window from the stored settings; it is not shown yet.
    frmMain(Shell& shell, AboutOpener openAbout, QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the window normally, or minimised, which with "MinimizeToTray" on puts it straight into
    // the tray.
    void showAtStart(bool minimized);

    // Shows the window in its normal state, out of the tray if it is there, in front of the others.
    void comeForward() { menuOpen_Click(); }

    // Shows the preview of the logon screen now in force.
    void SetPicture() override;

    // The browse window sets the Options page's "close browse window" box after a set.
    void SetCloseBrowseBox(int value) override;
    QWidget* ownerWidget() override { return this; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void loadOptionsPage();
    void buildTray();
    void quitWhenNoWindowIsOpen();
    static void quitSoon();
    void openBrowse(bool modal);

    // Pages
    void tabUI_Click();

    // "Logon Screen" page
    void btnSelectFile_Click();
    void btnResetKey_Click();
    void btnBrowse_Click();
    void btnAbout_Click();
    void btnExit_Click();

    // "Options" page
    void btnSaveOptions_Click();
    void btnCancelOptions_Click();
    void btnGetFolder_Click();
    void checkRandom_Click();

    // Tray icon and its menu
    void Form_Resize();
    void menuOpen_Click();
    void menuBrowse_Click();
    void menuOptions_Click();
    void menuExit_Click();
    void bringBack();
    bool minimisedByMistake(const QEvent& stateChange);

    Shell& shell;
    AboutOpener openAbout;
    std::unique_ptr<Ui::frmMain> ui;
    std::array<QFrame*, 2> frameUI {};
    short CurrentFrame = 1; // the 1-based tab whose page is shown
    QPoint placed; // where the frame last stood at the window's own size

    // The browse window while it walks its folder, and, opened from the tray menu, while it is open.
    QPointer<frmBrowse> browse;

    QElapsedTimer restoredFromTray; // since the window last came back from the tray, until it is active
    QSystemTrayIcon* TrayIcon = nullptr;
    QMenu* mnuSystray = nullptr;
};

} // namespace doorsel
