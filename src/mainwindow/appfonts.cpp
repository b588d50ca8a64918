#include "appfonts.h"

#include <QFile>
#include <QFontDatabase>

namespace doorsel {

bool RegisterTahoma()
{
    static const bool available = [] {
        // Only the regular face: Wine's bold face draws no heavier than it at these sizes, while the
        // bold the toolkit derives from the regular one reads as bold.
        const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        if (QFile::exists(regular))
            QFontDatabase::addApplicationFont(regular);
        return QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    }();
    return available;
}

} // namespace doorsel
