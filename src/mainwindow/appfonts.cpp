#include "appfonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStandardPaths>

namespace doorsel {

bool RegisterTahoma()
{
    static const bool available = [] {
        // The one family asked for by name, rather than a list of every family made to look for it.
        const auto installed = [] { return QFontDatabase::hasFamily(QStringLiteral("Tahoma")); };
        if (installed())
            return true;
        // Wine keeps its faces in its own data folder, which the system's font list does not cover.
        // Only the regular face: Wine's bold face draws no heavier than it at these sizes, while the
        // bold the toolkit derives from the regular one reads as bold.
        const QString regular = WineTahomaFile();
        if (!regular.isEmpty())
            QFontDatabase::addApplicationFont(regular);
        if (installed())
            return true;
        // Without it, the system's own dialog face stands in, not whatever the font matching finds
        // (a serif face, on a Windows without Tahoma); the forms widen what it draws wider.
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QApplication::font().family());
        return false;
    }();
    return available;
}

QString WineTahomaFile()
{
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("wine/fonts/tahoma.ttf"));
}

} // namespace doorsel
