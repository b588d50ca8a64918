#include "frmAbout_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>

namespace doorsel::test {
namespace {

const char* const LinksPath = "/doorsel/links.dat";

class LinksPage : public AboutWindowTest {
protected:
    QString links() const { return child<QPlainTextEdit>("txtLinks")->toPlainText(); }
    void clickTab(int index) const
    {
        QTabBar* bar = child<QTabWidget>("tabsAbout")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
};

TEST_F(LinksPage, showsEachLineOfTheFileAfterALeadingBreak)
{
    const struct {
        const char* file;
        const char* shown;
    } cases[] = {
        {"a\r\nb", "\na\nb"},
        {"a\r\nb\r\n", "\na\nb"},
        {"first\r\n\r\nthird\r\n", "\nfirst\n\nthird"},
        {"one\rtwo", "\none\ntwo"},
        {"", ""},
    };
    clickTab(1);
    for (const auto& c : cases) {
        server.serve(LinksPath, QByteArray(c.file));
        click("btnUpdateLinks");
        EXPECT_EQ(links().toStdString(), c.shown) << c.file;
        EXPECT_EQ(stored("links.dat"), c.file);
    }
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(status()->text(), "Checking For Updated Version...");
    EXPECT_FALSE(status()->isHidden());
}

TEST_F(LinksPage, anEmptyFileEmptiesTheBox)
{
    server.serve(LinksPath, "http://example.org/\r\n");
    click("btnUpdateLinks");
    ASSERT_EQ(links(), "\nhttp://example.org/");

    server.serve(LinksPath, "");
    click("btnUpdateLinks");
    EXPECT_EQ(links(), "");
}

TEST_F(LinksPage, linesKeepTheirTextUnchanged)
{
    server.serve(LinksPath, "  indented\tand tabbed  \r\nCaf\xC3\xA9 <b>not html</b>\r\n");
    click("btnUpdateLinks");
    EXPECT_EQ(links(), QString::fromUtf8("\n  indented\tand tabbed  \nCaf\xC3\xA9 <b>not html</b>"));
}

TEST_F(LinksPage, aFailedUpdateKeepsTheBoxAndTheStoredFile)
{
    server.serve(LinksPath, "a\r\nb\r\n");
    click("btnUpdateLinks");

    server.serve(LinksPath, {404, "missing", HttpServer::Mode::Complete});
    click("btnUpdateLinks");
    server.serve(LinksPath, {200, "c\r\n", HttpServer::Mode::Hang});
    click("btnUpdateLinks");

    EXPECT_EQ(shell.messages, (std::vector<std::string> {TransferMessage, TransferMessage}));
    EXPECT_EQ(links(), "\na\nb");
    EXPECT_EQ(stored("links.dat"), "a\r\nb\r\n");
    EXPECT_EQ(status()->text(), "Checking For Updated Version...");
}

TEST_F(LinksPage, updatingLinksLeavesTheLastCheckAlone)
{
    server.serve("/doorsel/CurrentVersion.dat", "2.1.0");
    server.serve(LinksPath, "a\r\n");
    click("btnCheckForUpdate");
    click("btnUpdateLinks");
    EXPECT_EQ(status()->text(), "Checking For Updated Version...");
    EXPECT_TRUE(downloadLink()->isVisible());
}

TEST_F(LinksPage, theTabsSwitchThePagesAndCurrentFrame)
{
    clickTab(1);
    EXPECT_EQ(window->CurrentFrame(), 2);
    EXPECT_TRUE(child("frameAbout_1")->isVisible());
    EXPECT_FALSE(child("frameAbout_0")->isVisible());

    clickTab(0);
    EXPECT_EQ(window->CurrentFrame(), 1);
    EXPECT_TRUE(child("frameAbout_0")->isVisible());
    EXPECT_FALSE(child("frameAbout_1")->isVisible());
}

TEST_F(LinksPage, aNewWindowStartsOverOnTheFirstPage)
{
    server.serve(LinksPath, "a\r\n");
    server.serve("/doorsel/CurrentVersion.dat", "2.1.0");
    click("btnCheckForUpdate");
    clickTab(1);
    click("btnUpdateLinks");
    click("btnClose");
    EXPECT_FALSE(window->isVisible());

    open();
    EXPECT_EQ(window->CurrentFrame(), 1);
    EXPECT_EQ(links(), "");
    EXPECT_FALSE(status()->isVisible());
    EXPECT_FALSE(downloadLink()->isVisible());
}

TEST_F(LinksPage, bothAddressesOpenTheProductsWebPage)
{
    server.serve("/doorsel/CurrentVersion.dat", "2.1.0");
    click("btnCheckForUpdate");

    click("Label11");
    click("labelClickToDownload");

    const std::string page = server.base() + "/doorsel/";
    EXPECT_EQ(shell.opened, (std::vector<std::string> {page, page}));
}

// One activation opens the page once: a double-click, or Enter held down until it repeats.
TEST_F(LinksPage, eachActivationOpensThePageOnce)
{
    server.serve("/doorsel/CurrentVersion.dat", "2.1.0");
    click("btnCheckForUpdate");
    for (const char* name : {"Label11", "labelClickToDownload"}) {
        QLabel* link = child<QLabel>(name);
        shell.opened.clear();
        QTest::mouseDClick(
            window->windowHandle(), Qt::LeftButton, {}, link->mapTo(window.get(), link->rect().center()));
        EXPECT_EQ(shell.opened.size(), 1u) << name << " double-clicked";

        shell.opened.clear();
        link->setFocus();
        for (const bool repeat : {false, true, true}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(link, &press);
        }
        EXPECT_EQ(shell.opened.size(), 1u) << name << " with Enter held down";
    }
}

TEST_F(LinksPage, withoutASettingTheBuiltInServerIsUsed)
{
    settings::Write(settings::UpdateServer, "");
    open();
    EXPECT_EQ(child<QLabel>("Label11")->text(), "http://doorsel.example/doorsel/");
    click("Label11");
    EXPECT_EQ(shell.opened, std::vector<std::string> {"http://doorsel.example/doorsel/"});
}

} // namespace
} // namespace doorsel::test
