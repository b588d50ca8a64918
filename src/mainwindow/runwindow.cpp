#include "runwindow.h"

#include "frmMain.h"
#include "platform/appinfo.h"

#include <QApplication>

namespace doorsel {

int RunWindow(int argc, char* argv[], bool minimized)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName);
    QApplication::setApplicationVersion(ProductVersion);

    frmMain window;
    if (minimized)
        window.showMinimized();
    else
        window.show();
    return QApplication::exec();
}

} // namespace doorsel
