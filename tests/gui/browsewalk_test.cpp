// The browse window walks its folder on a thread of its own: the windows stay responsive, a long
// walk shows its progress and can be cancelled, and a walk that ends lists what a walk on the spot
// lists.
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "browse/frmSearching.h"
#include "browse/searchfolder.h"
#include "browse/textsearch.h"
#include "gui/mainwindow_fixture.h"
#include "platform/appinfo.h"
#include "platform/randomlist.h"
#include "platform/settings.h"

#include <QAction>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace doorsel::test {
namespace {

constexpr qint64 CancelLimitMs = 100;

frmSearching* progressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* progress = qobject_cast<frmSearching*>(w); progress && progress->isVisible())
            return progress;
    }
    return nullptr;
}

QString labelText(QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

// A path too long for its label is shown with its middle left out.
bool ShowsWholeOrElided(const QString& shown, const QString& whole)
{
    const qsizetype gap = shown.indexOf(QChar(0x2026));
    return shown == whole || (gap >= 0 && whole.startsWith(shown.left(gap)) && whole.endsWith(shown.mid(gap + 1)));
}

// How many logon screens the progress window says it has found.
int foundCount(QWidget& progress)
{
    return labelText(progress, "labelFound").section(QLatin1Char(' '), -1).toInt();
}

void touch(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    spit(path.string(), "MZ");
}

// Reads folders as the file system does, but holds back every folder whose name starts with "Held"
// until the test lets one through, or the walk is stopped.
class HeldListing {
public:
    FolderLister lister()
    {
        return
            [this](const std::string& folder, std::optional<FolderIdentity>* identity, const std::atomic<bool>* stop) {
                if (fs::path(folder).parent_path().filename().string().starts_with("Held")) {
                    ++waiting;
                    // The walk alone takes passes; the test only adds them.
                    while (!(stop && *stop) && passes == 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    if (passes > 0)
                        --passes;
                }
                return ListFolder(folder, identity, stop);
            };
    }
    std::atomic<int> passes {0};
    std::atomic<int> waiting {0};
};

using BrowseWalk = MainWindowTest;

// Each way of giving up on a walk that is held back: the progress window shows after about half a
// second, modal to the window that opened the browse window, its count rises as the walk goes on,
// and giving up ends the walk at once and leaves the browse window unshown.
TEST_F(BrowseWalk, aHeldBackWalkShowsItsProgressAndEndsOnEveryWayOfCancelling)
{
    const fs::path logons = fs::path(folder.path()) / "Logons";
    for (const char* relative : {"a.exe", "b.exe", "Held 1/c.exe", "Held 1/d.exe", "Held 2/e.exe"})
        touch(logons / relative);
    settings::Write(settings::LogonScreensFolder, logons.string());
    const struct {
        const char* name;
        std::function<void(frmSearching&)> cancel;
    } cases[] = {
        {"Cancel", [](frmSearching& p) { QTest::mouseClick(p.findChild<QPushButton*>("btnCancel"), Qt::LeftButton); }},
        {"Escape", [](frmSearching& p) { QTest::keyClick(&p, Qt::Key_Escape); }},
        {"Enter on Cancel",
            [](frmSearching& p) {
                auto* cancel = p.findChild<QPushButton*>("btnCancel");
                cancel->setFocus();
                QTest::keyClick(cancel, Qt::Key_Return);
            }},
        {"close box", [](frmSearching& p) { p.close(); }},
    };
    for (const auto& c : cases) {
        QWidget opener;
        opener.show();
        NoOwner owner;
        HeldListing held;
        QElapsedTimer clock;
        clock.start();
        frmBrowse browse(shell, owner, &opener, held.lister());
        QSignalSpy loaded(&browse, &frmBrowse::loaded);
        QSignalSpy cancelled(&browse, &frmBrowse::walkCancelled);

        ASSERT_TRUE(QTest::qWaitFor([&] { return progressWindow() != nullptr; }, 5000)) << c.name;
        EXPECT_GE(clock.elapsed(), 400) << c.name << ": a quick walk shows no progress window";
        frmSearching& progress = *progressWindow();
        EXPECT_EQ(progress.parentWidget(), &opener) << c.name;
        EXPECT_EQ(progress.windowModality(), Qt::WindowModal) << c.name;
        EXPECT_EQ(progress.findChild<QProgressBar*>()->maximum(), 0) << c.name << ": a busy bar";
        EXPECT_PRED2(ShowsWholeOrElided, labelText(progress, "labelSearching"),
            QString::fromStdString("Searching \"" + logons.string() + "\" and its sub-folders."))
            << c.name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return foundCount(progress) == 2; }, 2000)) << c.name;
        EXPECT_TRUE(labelText(progress, "labelFolder").endsWith(QString("Held 1") + PathSeparator)) << c.name;

        ++held.passes;
        EXPECT_TRUE(QTest::qWaitFor([&] { return foundCount(progress) == 4; }, 2000)) << c.name << ": rises";
        ASSERT_TRUE(QTest::qWaitFor([&] { return held.waiting == 2; }, 2000)) << c.name;

        clock.restart();
        c.cancel(progress);
        ASSERT_TRUE(cancelled.count() == 1 || cancelled.wait(2000)) << c.name;
        EXPECT_LE(clock.elapsed(), CancelLimitMs) << c.name;
        QTest::qWait(50);
        EXPECT_EQ(loaded.count(), 0) << c.name;
        EXPECT_FALSE(browse.isVisible()) << c.name;
        EXPECT_EQ(progressWindow(), nullptr) << c.name;
    }
}

// A tree whose walk takes a while: real folders, each with a file that is no logon screen, and a
// logon screen in every fiftieth.
class SlowTree {
public:
    explicit SlowTree(const fs::path& root)
        : root(root)
    {
        fs::create_directories(root / "Logons");
        grow();
    }

    std::string top() const { return (root / "Logons").string(); }

    // Twice as many folders to read (five hundred at first).
    void grow()
    {
        for (const int until = std::max(2 * made, 500); made < until; ++made) {
            const fs::path folder
                = root / "Logons" / ("batch " + std::to_string(made / 500)) / ("folder " + std::to_string(made));
            fs::create_directories(folder);
            spit((folder / "readme.txt").string(), "");
            if (made % 50 == 0)
                touch(folder / "logonui.exe");
        }
    }

private:
    fs::path root;
    int made = 0;
};

// Opened from the main window's button (modal) or from the tray menu (not modal), a walk of more
// than a second keeps the main window responsive and shows its progress; cancelled, it opens
// nothing; ended, it shows the browse window with exactly the rows and marks of a walk on the spot.
TEST_F(BrowseWalk, aLongWalkKeepsTheWindowsResponsiveAndListsWhatAWalkOnTheSpotLists)
{
    SlowTree tree(folder.path());
    std::vector<std::string> paths;
    for (QElapsedTimer clock;;) {
        paths.clear();
        clock.start();
        SearchFolder(tree.top(), true, [&](const FoundFile& f) { paths.push_back(f.fullPath); });
        if (clock.elapsed() > 1000)
            break;
        tree.grow();
    }
    // Some rows in the list, one only as part of a line, and one path that is no row.
    const std::string list = paths[0] + "\r\n" + paths[5] + ".old\r\n/elsewhere/x.exe\r\n" + paths.back() + "\r\n";
    spit(RandomListPath(), list);
    const TextSearch search(RandomListEntries(list));
    std::vector<bool> marks;
    marks.reserve(paths.size());
    for (const std::string& path : paths)
        marks.push_back(search.FindAll({path}).front() != 0);
    settings::Write(settings::LogonScreensFolder, tree.top());
    settings::Write(settings::EnableRandom, "1");

    const struct {
        const char* name;
        bool fromTray;
        bool cancel;
    } cases[] = {{"button", false, false}, {"tray menu", true, false}, {"button, cancelled", false, true},
        {"tray menu, cancelled", true, true}};
    for (const auto& c : cases) {
        open().show();
        // The main window's event loop keeps turning: a timer's ticks come on time.
        QElapsedTimer sinceTick;
        sinceTick.start();
        qint64 longestGap = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticks.start(10);
        // What the browse window shows when it comes, and whether the walk had ended by then.
        std::vector<std::string> shownRows;
        std::vector<bool> shownMarks;
        bool progressGoneWhenShown = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* browse = window->findChild<frmBrowse*>();
            if (!browse || !browse->isVisible())
                return;
            shownRows = browse->rowPaths();
            shownMarks = browse->rowMarks();
            progressGoneWhenShown = progressWindow() == nullptr;
            browse->close();
        });
        watch.start(10);

        if (c.fromTray)
            window->findChild<QAction*>("menuBrowse")->trigger();
        else
            click(button("btnBrowse"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return progressWindow() != nullptr; }, 5000)) << c.name;
        frmSearching& progress = *progressWindow();
        EXPECT_EQ(progress.parentWidget(), window.get()) << c.name;
        EXPECT_EQ(progress.windowModality(), Qt::WindowModal) << c.name;
        const int before = foundCount(progress);
        EXPECT_TRUE(QTest::qWaitFor([&] { return foundCount(progress) > before; }, 2000)) << c.name << ": rises";

        if (c.cancel) {
            QSignalSpy cancelled(window->findChild<frmBrowse*>(), &frmBrowse::walkCancelled);
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(progress.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
            ASSERT_TRUE(cancelled.count() == 1 || cancelled.wait(2000)) << c.name;
            EXPECT_LE(clock.elapsed(), CancelLimitMs) << c.name;
            EXPECT_TRUE(QTest::qWaitFor([&] { return window->findChild<frmBrowse*>() == nullptr; }, 1000))
                << c.name << ": the browse window is gone unshown";
            EXPECT_TRUE(shownRows.empty()) << c.name;
        } else {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !shownRows.empty(); }, 30000)) << c.name;
            EXPECT_TRUE(progressGoneWhenShown) << c.name;
            EXPECT_EQ(shownRows, paths) << c.name;
            EXPECT_EQ(shownMarks, marks) << c.name;
        }
        EXPECT_EQ(progressWindow(), nullptr) << c.name;
        EXPECT_LT(longestGap, 250) << c.name << ": the main window's events waited";
        EXPECT_EQ(slurp(RandomListPath()), list) << c.name;
        window->close();
        window.reset();
    }
}

} // namespace
} // namespace doorsel::test
