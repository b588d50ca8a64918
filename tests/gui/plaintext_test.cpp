// Text from outside the program (server replies, settings, folder names) is shown as it stands:
// markup in it is never interpreted, so a reply cannot make the window read or show a local file.
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "frmAbout_fixture.h"
#include "gui/loadedbrowse.h"
#include "widgets/qtshell.h"

#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace doorsel::test {
namespace {

// What a label or message box shows, and whether it shows it as written.
struct Shown {
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    bool literal(const std::string& expected) const
    {
        const bool plain = format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text));
        return plain && text.toStdString() == expected;
    }
};

Shown shownBy(const QLabel* label)
{
    return {label->text(), label->textFormat()};
}

using OutsideText = AboutWindowTest;

TEST_F(OutsideText, isShownLiterallyEverywhere)
{
    const std::string picture = folder.file("local.png");
    QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(picture));
    const std::string version = "9<img src=\"" + picture + "\">";
    // Markup a rich-text label would draw: a tag, or on Windows, whose names cannot hold "<", an entity.
#ifdef _WIN32
    const std::string folderName = folder.file("&lt;b&gt;Logons");
#else
    const std::string folderName = folder.file("<b>Logons");
#endif
    std::filesystem::create_directory(folderName);
    const std::string markup = "<b>bold</b> &amp; <i>text</i>";

    const struct {
        const char* where;
        std::function<Shown()> feed;
        std::string expected;
    } cases[] = {
        {"server's version",
            [&] {
                server.serve("/doorsel/CurrentVersion.dat", QByteArray::fromStdString(version));
                click("btnCheckForUpdate");
                return shownBy(status());
            },
            "New Version (" + version + ") Is Available!"},
        {"server setting",
            [&] {
                settings::Write(settings::UpdateServer, "http://h/<b>x</b>");
                open();
                return shownBy(child<QLabel>("Label11"));
            },
            "http://h/<b>x</b>/doorsel/"},
        {"logon screens folder",
            [&] {
                settings::Write(settings::LogonScreensFolder, folderName);
                NoOwner owner;
                frmBrowse browse(shell, owner);
                EXPECT_TRUE(test::Loaded(browse));
                return shownBy(browse.findChild<QLabel*>("labelBrowse"));
            },
            "Currently browsing \"" + folderName + "\" and it's sub-directories."},
        {"message box",
            [&] {
                Shown shown;
                QTimer::singleShot(0, [&] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        shown = {box->text(), box->textFormat()};
                        box->accept();
                    }
                });
                QtShell().ShowMessage(window.get(), markup);
                return shown;
            },
            markup},
    };
    for (const auto& c : cases) {
        const Shown shown = c.feed();
        EXPECT_TRUE(shown.literal(c.expected)) << c.where << ": " << shown.text.toStdString();
    }
}

} // namespace
} // namespace doorsel::test
