#include "frmAbout_fixture.h"

#include <QTabWidget>
#include <QTextLayout>

namespace doorsel::test {
namespace {

using Mode = HttpServer::Mode;

const char* const VersionPath = "/doorsel/CurrentVersion.dat";

TEST_F(AboutWindowTest, opensOnTheFirstPageWithVersionDateAndAddress)
{
    EXPECT_EQ(window->windowTitle(), "About Doorsel");
    EXPECT_EQ(window->size(), QSize(352, 282));
    EXPECT_EQ(window->CurrentFrame(), 1);
    EXPECT_TRUE(child("frameAbout_0")->isVisible());
    EXPECT_FALSE(child("frameAbout_1")->isVisible());
    EXPECT_EQ(child("frameAbout_1")->geometry(), child("frameAbout_0")->geometry());
    EXPECT_EQ(child<QLabel>("labelVersion")->text(), "Version: 2.0.0");
    EXPECT_EQ(child<QLabel>("labelDateReleased")->text(), "Date Released: 12/18/2001");
    EXPECT_EQ(child<QLabel>("Label11")->text().toStdString(), server.base() + "/doorsel/");
    EXPECT_FALSE(status()->isVisible());
    EXPECT_FALSE(downloadLink()->isVisible());
    EXPECT_EQ(server.requests(), 0);
}

struct VersionCase {
    const char* served;
    const char* caption;
    bool newer;
};

void PrintTo(const VersionCase& c, std::ostream* out)
{
    *out << ::testing::PrintToString(std::string(c.served));
}

class VersionCheck : public AboutWindowTest, public ::testing::WithParamInterface<VersionCase> { };

TEST_P(VersionCheck, tellsWhetherTheServersVersionIsNewer)
{
    const VersionCase& c = GetParam();
    server.serve(VersionPath, QByteArray(c.served));

    click("btnCheckForUpdate");

    EXPECT_EQ(status()->text().toStdString(), c.caption);
    EXPECT_TRUE(status()->isVisible());
    EXPECT_EQ(downloadLink()->isVisible(), c.newer);
    EXPECT_EQ(stored("CurrentVersion.dat"), c.served);
    EXPECT_TRUE(shell.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionCheck,
    ::testing::Values(VersionCase {"2.0.0", "No Update Available.", false},
        VersionCase {"2.0.0\r\n", "No Update Available.", false},
        VersionCase {"2.0.1", "New Version (2.0.1) Is Available!", true},
        VersionCase {"2.1.0\r\n", "New Version (2.1.0) Is Available!", true},
        VersionCase {"2.0.0.1", "New Version (2.0.0.1) Is Available!", true},
        VersionCase {"2.0.0b", "New Version (2.0.0b) Is Available!", true},
        VersionCase {"1.9.9", "No Update Available.", false}, VersionCase {"10.0.0", "No Update Available.", false},
        VersionCase {"2.1.0,extra\r\n", "New Version (2.1.0) Is Available!", true},
        VersionCase {"\"2.1.0\"\r\n", "New Version (2.1.0) Is Available!", true},
        VersionCase {" 2.0.0 ,x", "No Update Available.", false}));

TEST_F(AboutWindowTest, eachCheckReplacesTheLastOutcome)
{
    server.serve(VersionPath, "2.1.0");
    click("btnCheckForUpdate");
    EXPECT_TRUE(downloadLink()->isVisible());

    server.serve(VersionPath, "2.0.0");
    click("btnCheckForUpdate");
    EXPECT_EQ(status()->text(), "No Update Available.");
    EXPECT_FALSE(downloadLink()->isVisible());
    EXPECT_EQ(stored("CurrentVersion.dat"), "2.0.0");
}

// The server's version must not reorder the caption's own words, whatever it holds: an override,
// a stray end of isolate before one, or right-to-left letters.
TEST_F(AboutWindowTest, theServersVersionCannotReorderTheCaption)
{
    const char* const versions[] = {"\u202E2.1.0 x", "\u2069\u202E2.1.0", "3.0 \u05D0\u05D1 (\u05D2"};
    for (const char* version : versions) {
        server.serve(VersionPath, version);
        click("btnCheckForUpdate");
        const QString text = status()->text();
        ASSERT_TRUE(text.startsWith("New Version (") && text.endsWith(") Is Available!")) << version;

        QTextLayout layout(text, status()->font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        // Each word of the caption stands left of the next, as it does in a plain version's caption.
        qreal left = -1;
        for (const char* word : {"New", "Version", "(", ")", "Is", "Available!"}) {
            const qreal x = line.cursorToX(word[0] == ')' ? text.lastIndexOf(word) : text.indexOf(word));
            EXPECT_GT(x, left) << version << ": " << word;
            left = x;
        }
    }
}

struct FailedCheck {
    const char* name;
    HttpServer::Reply reply;
    bool serverDown = false;
};

void PrintTo(const FailedCheck& c, std::ostream* out)
{
    *out << c.name;
}

// A failed check after a good one: the first check's link stays as it was, newer or not.
class FailedVersionCheck : public AboutWindowTest,
                           public ::testing::WithParamInterface<std::tuple<FailedCheck, const char*>> { };

TEST_P(FailedVersionCheck, showsTheMessageOnceAndChangesNothingElse)
{
    const auto& [failure, firstVersion] = GetParam();
    server.serve(VersionPath, QByteArray(firstVersion));
    click("btnCheckForUpdate");
    const bool linkShown = downloadLink()->isVisible();

    server.serve(VersionPath, failure.reply);
    if (failure.serverDown)
        server.stop();
    click("btnCheckForUpdate");

    EXPECT_EQ(shell.messages, std::vector<std::string> {TransferMessage});
    EXPECT_EQ(status()->text(), "Checking For Updated Version...");
    EXPECT_TRUE(status()->isVisible());
    EXPECT_EQ(downloadLink()->isVisible(), linkShown);
    EXPECT_EQ(stored("CurrentVersion.dat"), firstVersion);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedVersionCheck,
    ::testing::Combine(::testing::Values(FailedCheck {"NotFound", {404, "missing", Mode::Complete}},
                           FailedCheck {"ServerError", {500, "2.9.9", Mode::Complete}},
                           FailedCheck {"TimedOut", {200, "2.9.9", Mode::Hang}},
                           FailedCheck {"CutShort", {200, "2.9.9", Mode::CutShort}},
                           FailedCheck {"ServerDown", {200, "2.9.9", Mode::Complete}, true}),
        ::testing::Values("2.1.0", "2.0.0")),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name)
            + (std::get<1>(info.param)[2] == '1' ? "AfterNewer" : "AfterSame");
    });

TEST_F(AboutWindowTest, aVersionFileWithoutAVersionIsAFailedCheck)
{
    server.serve(VersionPath, "2.1.0");
    click("btnCheckForUpdate");

    for (const char* empty : {"", "\r\n2.1.0\r\n", "  ,2.1.0"}) {
        shell.messages.clear();
        server.serve(VersionPath, QByteArray(empty));
        click("btnCheckForUpdate");
        EXPECT_EQ(shell.messages, std::vector<std::string> {TransferMessage}) << empty;
        EXPECT_EQ(status()->text(), "Checking For Updated Version...") << empty;
        EXPECT_TRUE(downloadLink()->isVisible()) << empty;
    }
}

TEST_F(AboutWindowTest, aClickDuringTheCheckStartsNoSecondFetch)
{
    server.serve(VersionPath, {200, "2.1.0", Mode::Hang});
    server.whenRequested(VersionPath, [&] {
        EXPECT_TRUE(window->Inet1().StillExecuting());
        EXPECT_EQ(status()->text(), "Checking For Updated Version...");
        click("btnCheckForUpdate");
        click("btnUpdateLinks");
        server.release();
    });

    click("btnCheckForUpdate");

    EXPECT_EQ(server.requests(), 1);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(status()->text(), "New Version (2.1.0) Is Available!");
    EXPECT_TRUE(downloadLink()->isVisible());
}

TEST_F(AboutWindowTest, closingDuringTheCheckEndsItQuietly)
{
    test::spit(folder.file("CurrentVersion.dat"), "2.0.0");
    window->Inet1().setTimeout(std::chrono::seconds(60));
    server.serve(VersionPath, {200, "2.1.0", Mode::Hang});
    server.whenRequested(VersionPath, [&] { click("btnClose"); });

    click("btnCheckForUpdate");

    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Inet1().StillExecuting());
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(stored("CurrentVersion.dat"), "2.0.0");
}

TEST_F(AboutWindowTest, readsTheServerSettingAtEachClick)
{
    HttpServer other;
    other.serve(VersionPath, "2.2.0");
    settings::Write(settings::UpdateServer, other.base() + "/");

    click("btnCheckForUpdate");

    EXPECT_EQ(status()->text(), "New Version (2.2.0) Is Available!");
    EXPECT_EQ(server.requests(), 0);
    EXPECT_EQ(other.requests(VersionPath), 1);
}

} // namespace
} // namespace doorsel::test
