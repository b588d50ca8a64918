#include "runwindow.h"

#include "aboutloader.h"
#include "appfonts.h"
#include "fontpreload.h"
#include "frmMain.h"
#include "platform/appinfo.h"
#include "platform/moduleloader.h"
#include "platform/windowinstance.h"
#include "secondstart.h"
#include "widgets/qtshell.h"

#include <QApplication>

namespace doorsel {

int RunWindow(char* programName, bool minimized)
{
    // One window per user: a second start brings the running one forward and ends. Asked to start
    // minimised, as at logon, it leaves the running window where it is.
    WindowInstance instance;
    if (!instance.held()) {
        if (minimized || instance.askRunningToComeForward())
            return 0;
        ReportProblem(std::string(ProductName) + ": the window already open does not answer.");
        return 1;
    }
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
    AnswerSecondStarts(instance, window, [&window] { window.comeForward(); });
    return QApplication::exec();
}

} // namespace doorsel
