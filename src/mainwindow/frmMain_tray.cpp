// The main window's life in the notification area: minimising into it, the icon's menu, restoring.
#include "frmMain.h"

#include "browse/frmBrowse.h"

#include "platform/settings.h"
#include "ui_frmMain.h"
#include "widgets/shell.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace doorsel {

void frmMain::buildTray()
{
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setToolTip(windowTitle());

    mnuSystray = new QMenu(this);
    mnuSystray->setObjectName(QStringLiteral("mnuSystray"));
    const auto add = [this](const char* name, const char* caption, void (frmMain::*handler)()) {
        QAction* item = mnuSystray->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
    };
    add("menuOpen", "Open Doorsel", &frmMain::menuOpen_Click);
    add("menuBrowse", "Browse Logon Screens...", &frmMain::menuBrowse_Click);
    add("menuOptions", "Options...", &frmMain::menuOptions_Click);
    mnuSystray->addSeparator()->setObjectName(QStringLiteral("Spacer1"));
    add("menuExit", "Exit", &frmMain::menuExit_Click);
    TrayIcon->setContextMenu(mnuSystray);

    // The icon shows only while the window is in the tray, so it always answers, even if the setting
    // has changed in the meantime: the window must never be left unreachable. Besides a double-click,
    // the icon's plain activation opens it when the pointer is away from the icon, so it came from
    // the keyboard (Enter on the icon); a single click stays without effect. Where the icon's place
    // is not known, the two cannot be told apart, and the activation counts as a click.
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        const QRect place = TrayIcon->geometry();
        const bool fromKeyboard = place.isValid() && !place.contains(QCursor::pos());
        if (reason == QSystemTrayIcon::DoubleClick || (reason == QSystemTrayIcon::Trigger && fromKeyboard))
            menuOpen_Click();
    });
}

void frmMain::Form_Resize()
{
    if (!isMinimized()) {
        TrayIcon->hide();
        return;
    }
    if (!settings::IsOn(settings::Read(settings::MinimizeToTray)) || !shell.SystemTrayAvailable())
        return;
    TrayIcon->show();
    // Hidden once the minimising has run its course: a show that is part of it would undo the hide.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isMinimized())
                hide();
        },
        Qt::QueuedConnection);
}

void frmMain::menuOpen_Click()
{
    restoredFromTray.start();
    bringBack();
}

void frmMain::bringBack()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool frmMain::minimisedByMistake(const QEvent& stateChange)
{
    // On X11, under a window manager that does not mark minimised windows hidden, the toolkit can
    // take the window for minimised once more as it maps it again, when the manager's word that it
    // is normal comes second. A minimise from the window system in the first moment after
    // restoring, before the window has been active, is that, and is undone once.
    if (!isMinimized() || !stateChange.spontaneous() || QGuiApplication::platformName() != QLatin1String("xcb")
        || !restoredFromTray.isValid() || restoredFromTray.hasExpired(1000))
        return false;
    restoredFromTray.invalidate();
    QMetaObject::invokeMethod(this, &frmMain::bringBack, Qt::QueuedConnection);
    return true;
}

void frmMain::menuBrowse_Click()
{
    // Without modality, leaving the main window where it is (in the tray, as a rule).
    if (!browse) {
        openBrowse(false);
        return;
    }
    if (browse->isVisible()) {
        browse->raise();
        browse->activateWindow();
    }
}

void frmMain::menuOptions_Click()
{
    ui->tabUI->setCurrentIndex(1);
    menuOpen_Click();
}

void frmMain::menuExit_Click()
{
    close();
}

} // namespace doorsel
