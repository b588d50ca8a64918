#include "programicon.h"

#include <QImageReader>
#include <QPixmap>

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
    for (const int size : {16, 32, 48}) {
        // Read as what they are: a reader left to guess would load every picture plug-in to ask it.
        QImageReader reader(QStringLiteral(":/doorsel/doorsel-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace doorsel
