#include "about/internetupdate.h"
#include "about/transfer.h"
#include "support/fakeshell.h"
#include "support/httpserver.h"
#include "support/testfolder.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace doorsel {
namespace {

using Mode = test::HttpServer::Mode;
using namespace std::chrono_literals;

const std::string Message = "An error has occured in the file transfer or write.  Please try again later.";

std::set<std::string> filesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class DownloadFileTest : public ::testing::Test {
protected:
    bool download(const std::string& path)
    {
        return DownloadFile(inet, server.base() + path, folder.path(), shell, nullptr);
    }

    test::TestFolder folder;
    test::HttpServer server;
    test::FakeShell shell;
    Transfer inet;
};

TEST_F(DownloadFileTest, storesTheBodyUnchangedUnderTheLastPathSegment)
{
    const QByteArray body("line 1\r\nline 2\n\0\xFF\x80 end\r", 22);
    server.serve("/doorsel/links.dat", body);
    test::spit(folder.file("links.dat"), "an older, longer copy of the file");

    EXPECT_TRUE(download("/doorsel/links.dat"));

    EXPECT_EQ(test::slurp(folder.file("links.dat")), body.toStdString());
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(server.requests("/doorsel/links.dat"), 1);
    EXPECT_FALSE(inet.StillExecuting());
}

TEST_F(DownloadFileTest, anEmptyBodyIsStoredAsAnEmptyFile)
{
    server.serve("/doorsel/links.dat", QByteArray());
    EXPECT_TRUE(download("/doorsel/links.dat"));
    EXPECT_TRUE(test::exists(folder.file("links.dat")));
    EXPECT_EQ(test::slurp(folder.file("links.dat")), "");
}

TEST_F(DownloadFileTest, aBodyInPiecesArrivesWhole)
{
    for (const Mode mode : {Mode::Trickle, Mode::Chunked}) {
        server.serve("/doorsel/links.dat", {200, "http://example.org/a\r\nhttp://example.org/b\r\n", mode});
        EXPECT_TRUE(download("/doorsel/links.dat"));
        EXPECT_EQ(test::slurp(folder.file("links.dat")), "http://example.org/a\r\nhttp://example.org/b\r\n");
    }
}

TEST_F(DownloadFileTest, aBodyOfExactlyTheLimitIsStored)
{
    server.serve("/doorsel/big.dat", QByteArray(Transfer::BodyLimit, 'x'));
    EXPECT_TRUE(download("/doorsel/big.dat"));
    EXPECT_EQ(test::slurp(folder.file("big.dat")).size(), static_cast<size_t>(Transfer::BodyLimit));
}

struct FailedFetch {
    const char* name;
    test::HttpServer::Reply reply;
    bool serverDown = false;
};

void PrintTo(const FailedFetch& c, std::ostream* out)
{
    *out << c.name;
}

class DownloadFileFails : public DownloadFileTest, public ::testing::WithParamInterface<FailedFetch> { };

TEST_P(DownloadFileFails, showsTheMessageOnceAndKeepsTheStoredFile)
{
    const FailedFetch& c = GetParam();
    server.serve("/doorsel/links.dat", c.reply);
    if (c.serverDown)
        server.stop();
    test::spit(folder.file("links.dat"), "the last good copy\r\n");
    inet.setTimeout(300ms);

    EXPECT_FALSE(download("/doorsel/links.dat"));

    EXPECT_EQ(shell.messages, std::vector<std::string> {Message});
    EXPECT_EQ(test::slurp(folder.file("links.dat")), "the last good copy\r\n");
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string> {"links.dat"});
    EXPECT_FALSE(inet.StillExecuting());
}

const QByteArray overLimit(Transfer::BodyLimit + 1, 'x');

INSTANTIATE_TEST_SUITE_P(Transfer, DownloadFileFails,
    ::testing::Values(FailedFetch {"NotFound", {404, "missing", Mode::Complete}},
        FailedFetch {"ServerError", {500, "broken", Mode::Complete}},
        FailedFetch {"ServerDown", {200, "never sent", Mode::Complete}, true},
        FailedFetch {"CutShort", {200, "half a file", Mode::CutShort}},
        FailedFetch {"NoAnswer", {200, "never sent", Mode::Hang}},
        FailedFetch {"StallsMidBody", {200, "0123456789", Mode::Stall}},
        FailedFetch {"TricklesPastTheTimeOut", {200, QByteArray(200, 'x'), Mode::Trickle}},
        FailedFetch {"OverTheLimit", {200, overLimit, Mode::Complete}},
        FailedFetch {"OverTheLimitWithoutLength", {200, overLimit, Mode::NoLength}}),
    [](const ::testing::TestParamInfo<FailedFetch>& info) { return std::string(info.param.name); });

// A server that never stops sending: the fetch ends at the body limit or at the time-out, whichever
// the flood reaches first, closes its connection, and the next fetch sends a request of its own.
TEST_F(DownloadFileTest, aFloodEndsTheFetchAndItsConnection)
{
    const struct {
        const char* name;
        Mode mode;
        std::chrono::milliseconds timeout;
        qint64 mostSent; // what the server may send before the fetch gives up
    } cases[] = {
        // Six bytes on the wire for each byte of the body; the rest is what the buffers hold.
        {"one-byte chunks", Mode::EndlessChunks, 60s, 6 * Transfer::BodyLimit + qint64 {8} * 1024 * 1024},
        {"a header line", Mode::EndlessHeaderLine, 300ms, -1},
        {"header lines", Mode::EndlessHeaderLines, 300ms, -1},
    };
    for (const auto& c : cases) {
        test::HttpServer flood;
        flood.serve("/doorsel/links.dat", {200, {}, c.mode});
        shell.messages.clear();
        inet.setTimeout(c.timeout);

        EXPECT_FALSE(DownloadFile(inet, flood.base() + "/doorsel/links.dat", folder.path(), shell, nullptr));

        EXPECT_EQ(shell.messages, std::vector<std::string> {Message}) << c.name;
        if (c.mostSent >= 0) {
            // The limit ended it: a whole MiB of the body came in, and not much more.
            EXPECT_GT(flood.floodBytes(), 6 * Transfer::BodyLimit) << c.name;
            EXPECT_LT(flood.floodBytes(), c.mostSent) << c.name;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return flood.openConnections() == 0; })) << c.name;
        flood.serve("/doorsel/links.dat", "good links");
        EXPECT_TRUE(DownloadFile(inet, flood.base() + "/doorsel/links.dat", folder.path(), shell, nullptr)) << c.name;
        EXPECT_EQ(flood.requests("/doorsel/links.dat"), 2) << c.name;
    }
}

TEST_F(DownloadFileTest, aUrlThatNamesNoSafeFileWritesNothing)
{
    const char* paths[] = {"/doorsel/", "/doorsel/.", "/doorsel/..", "/doorsel/..\\..\\x.dat", "/doorsel/a:b"};
    for (const char* path : paths) {
        shell.messages.clear();
        EXPECT_FALSE(download(path)) << path;
        EXPECT_EQ(shell.messages, std::vector<std::string> {Message}) << path;
    }
    EXPECT_EQ(server.requests(), 0);
    EXPECT_TRUE(filesIn(folder.path()).empty());
}

TEST_F(DownloadFileTest, onlyHttpUrlsAreFetched)
{
    test::spit(folder.file("source.dat"), "local file");
    EXPECT_FALSE(DownloadFile(inet, "file://" + folder.file("source.dat"), folder.path() + "/sub", shell, nullptr));
    EXPECT_EQ(shell.messages, std::vector<std::string> {Message});
}

TEST_F(DownloadFileTest, aFailedWriteShowsTheMessageAndLeavesWhatWasThere)
{
    server.serve("/doorsel/links.dat", "new links");
    std::filesystem::create_directory(folder.file("links.dat"));

    EXPECT_FALSE(download("/doorsel/links.dat"));

    EXPECT_EQ(shell.messages, std::vector<std::string> {Message});
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("links.dat")));
}

TEST_F(DownloadFileTest, aSecondFetchWhileOneRunsIsRefusedSilently)
{
    server.serve("/doorsel/links.dat", {200, "first", Mode::Hang});
    server.serve("/doorsel/other.dat", "second");
    bool secondResult = true;
    bool busyPointer = false;
    server.whenRequested("/doorsel/links.dat", [&] {
        EXPECT_TRUE(inet.StillExecuting());
        busyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        secondResult = download("/doorsel/other.dat");
        server.release();
    });

    EXPECT_TRUE(download("/doorsel/links.dat"));

    EXPECT_FALSE(secondResult);
    EXPECT_TRUE(busyPointer);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(server.requests("/doorsel/other.dat"), 0);
    EXPECT_FALSE(test::exists(folder.file("other.dat")));
    EXPECT_EQ(test::slurp(folder.file("links.dat")), "first");
}

TEST_F(DownloadFileTest, aCancelledFetchEndsWithoutAMessage)
{
    server.serve("/doorsel/links.dat", {200, "never sent", Mode::Hang});
    server.whenRequested("/doorsel/links.dat", [&] { inet.Cancel(); });

    EXPECT_FALSE(download("/doorsel/links.dat"));

    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(test::exists(folder.file("links.dat")));
    // The next fetch is not taken for cancelled.
    server.serve("/doorsel/links.dat", {404, "missing", Mode::Complete});
    EXPECT_FALSE(download("/doorsel/links.dat"));
    EXPECT_EQ(shell.messages, std::vector<std::string> {Message});
}

} // namespace
} // namespace doorsel
