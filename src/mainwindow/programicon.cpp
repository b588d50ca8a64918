#include "programicon.h"

// The resource file lives in a static library; naming its initialiser keeps it linked in.
static void initIconResources()
{
    Q_INIT_RESOURCE(doorsel);
}

namespace doorsel {

QIcon ProgramIcon()
{
    initIconResources();
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/doorsel/doorsel-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace doorsel
