#include "runwindow.h"

#include "aboutloader.h"
#include "appfonts.h"
#include "fontpreload.h"
#include "frmMain.h"
#include "platform/appinfo.h"
#include "widgets/qtshell.h"

#include <QApplication>

namespace doorsel {

int RunWindow(char* programName, bool minimized)
{
    FontPreload fonts("Tahoma", WineTahomaFile().toStdString());
    // Qt would act on "-platform", "-reverse", "-style" and the like; to the program they are text
    // that opens the window like any other.
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QString::fromLatin1(ProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(ProductVersion));
    // In the tray no window is visible, yet the program goes on: the main window decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);
    fonts.wait();
    RegisterTahoma();

    QtShell shell;
    frmMain window(shell, ShowAboutFromModule);
    // Every other window shows the icon the main window has read.
    QApplication::setWindowIcon(window.windowIcon());
    window.showAtStart(minimized);
    return QApplication::exec();
}

} // namespace doorsel
