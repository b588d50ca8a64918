#include "qtshell.h"

#include "localtext.h"
#include "platform/appinfo.h"
#include "platform/fileurl.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

namespace doorsel {
namespace {

// A path Qt gives back, in the system's spelling: Qt separates names with '/' on every system.
std::string toPath(const QString& s)
{
    const QByteArray bytes = QFile::encodeName(QDir::toNativeSeparators(s));
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// "LogonUI file (*.exe)|*.exe" in Qt's form: "LogonUI file (*.exe)". Qt takes the patterns from the
// parentheses, so a description without them gets the pattern appended.
QString qtFilter(const std::string& filter)
{
    const size_t bar = filter.find('|');
    if (bar == std::string::npos)
        return fromLocal(filter);
    QString description = fromLocal(filter.substr(0, bar));
    const QString pattern = fromLocal(filter.substr(bar + 1));
    if (description.contains(QLatin1Char('(')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

} // namespace

void QtShell::ShowMessage(QWidget* owner, const std::string& text)
{
    // Messages break lines with CR LF, as stored; a Qt label breaks on LF alone.
    QString shown = fromLocal(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(ProductName), shown, QMessageBox::Ok, owner);
    // A message may carry a name or a reason from outside the program: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string QtShell::OpenFileDialog(QWidget* owner, const std::string& initialFolder, const std::string& filter)
{
    return toPath(
        QFileDialog::getOpenFileName(owner, QString(), QFile::decodeName(initialFolder.c_str()), qtFilter(filter)));
}

std::string QtShell::BrowseForFolder(QWidget* owner, const std::string& title)
{
    return toPath(QFileDialog::getExistingDirectory(owner, fromLocal(title)));
}

void QtShell::Open(const std::string& target)
{
    // A file goes over as its encoded URL, never as decoded text: the opener gets the name's very
    // bytes percent-encoded (Qt hands the launcher the URL as encoded) and decodes them back into
    // the same name, even one that is not valid text.
    const std::string encoded = target.find("://") == std::string::npos ? FileUrl(target) : target;
    const QUrl url = QUrl::fromEncoded(QByteArray(encoded.data(), static_cast<qsizetype>(encoded.size())));
    QDesktopServices::openUrl(url);
}

bool QtShell::SystemTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace doorsel
