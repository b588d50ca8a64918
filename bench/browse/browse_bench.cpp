// The browse window's load (folder walk, check marks, rows, first paint; offscreen) against `find`
// on the same tree, side by side in one run, for two trees:
//   standard: about 5,000 folders and 50,000 files, 10,000 of them ending in ".exe"; a random list
//             of 1,000 of those paths;
//   large:    2,000 folders holding 20,000 ".exe" files; a random list of 10,000 lines, half of
//             them rows, half paths elsewhere.
//   doorsel_browse_bench [standard|large]   (default: both)
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "platform/appinfo.h"
#include "platform/settings.h"
#include "widgets/shell.h"

#include <QApplication>
#include <QEventLoop>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace fs = std::filesystem;
using namespace doorsel;

namespace {

class SilentShell : public Shell {
public:
    void ShowMessage(QWidget*, const std::string&) override { }
    std::string OpenFileDialog(QWidget*, const std::string&, const std::string&) override { return {}; }
    std::string BrowseForFolder(QWidget*, const std::string&) override { return {}; }
    void Open(const std::string&) override { }
};

class NoOwner : public BrowseOwner {
public:
    void SetPicture() override { }
    void SetCloseBrowseBox(int) override { }
    QWidget* ownerWidget() override { return nullptr; }
};

void touch(const fs::path& path)
{
    std::ofstream(path, std::ios::binary) << "MZ";
}

struct Tree {
    std::vector<std::string> executables;
    std::vector<std::string> list; // the random list's lines
};

// 5,000 folders of two ".exe" files and eight others; every tenth executable in the list.
Tree standardTree(const fs::path& root)
{
    Tree tree;
    for (int g = 0; g < 50; ++g) {
        for (int t = 0; t < 10; ++t) {
            for (int v = 0; v < 10; ++v) {
                const fs::path dir = root / ("group-" + std::to_string(g)) / ("theme-" + std::to_string(t))
                    / ("variant-" + std::to_string(v));
                fs::create_directories(dir);
                for (const char* name : {"logonui.exe", "setup.exe"}) {
                    touch(dir / name);
                    tree.executables.push_back((dir / name).string());
                }
                for (const char* name : {"preview.jpg", "readme.txt", "resources.dat", "strings.ini", "notes.txt",
                         "thumb.bmp", "license.txt"})
                    touch(dir / name);
                touch(dir / (v == 0 ? "OLD.EXE" : "extra.dll"));
                if (v == 9)
                    fs::create_directories(dir / "x.exe");
            }
        }
    }
    for (size_t i = 0; i < tree.executables.size(); i += tree.executables.size() / 1000)
        tree.list.push_back(tree.executables[i]);
    return tree;
}

// 2,000 folders of ten ".exe" files and a picture; every fourth executable in the list, and as many
// lines naming files that are no rows.
Tree largeTree(const fs::path& root)
{
    Tree tree;
    for (int g = 0; g < 20; ++g) {
        for (int t = 0; t < 100; ++t) {
            const fs::path dir = root / ("collection-" + std::to_string(g)) / ("theme-" + std::to_string(t));
            fs::create_directories(dir);
            for (int e = 0; e < 10; ++e) {
                const fs::path exe = dir / ("logonui-" + std::to_string(e) + ".exe");
                touch(exe);
                tree.executables.push_back(exe.string());
            }
            touch(dir / "preview.jpg");
        }
    }
    for (size_t i = 0; i < tree.executables.size(); i += 4) {
        tree.list.push_back(tree.executables[i]);
        tree.list.push_back("/srv/old-logons/" + std::to_string(i) + "/logonui.exe");
    }
    return tree;
}

double secondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long peakKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// From the click to the painted window, as the main window's button opens it: the walk, the check
// marks and the rows, then the window shown and painted. Returns the seconds that took; the rows
// listed go to `rows`. Closing the window is not timed.
double openBrowseWindow(Shell& shell, BrowseOwner& owner, size_t& rows)
{
    const auto start = std::chrono::steady_clock::now();
    frmBrowse window(shell, owner);
    QEventLoop walking;
    QObject::connect(&window, &frmBrowse::loaded, &walking, &QEventLoop::quit);
    walking.exec();
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    window.repaint();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rows = window.rowPaths().size();
    return seconds;
}

void run(const char* name, const std::function<Tree(const fs::path&)>& make)
{
    const fs::path work = fs::temp_directory_path() / "doorsel-bench-browse";
    const fs::path root = work / "a-folder-with-a-rather-long-name" / "Logons";
    fs::remove_all(work);
    fs::create_directories(work);
    const Tree tree = make(root);

    SetProgramFolder(work.string());
    ConfigPath = DefaultConfigPath();
    settings::Write(settings::LogonScreensFolder, root.string());
    settings::Write(settings::EnableRandom, "1");
    std::ofstream list(work / "random.dat", std::ios::binary);
    for (const std::string& line : tree.list)
        list << line << "\r\n";
    list.close();

    const std::string find = "find '" + root.string() + "' -type f -name '*.exe' > /dev/null";
    SilentShell shell;
    NoOwner owner;
    const long baseline = peakKiB();
    std::vector<double> findTimes;
    std::vector<double> loadTimes;
    size_t rows = 0;
    for (int round = 0; round < 7; ++round) {
        findTimes.push_back(secondsOf([&] {
            if (std::system(find.c_str()) != 0)
                std::perror("find");
        }));
        loadTimes.push_back(openBrowseWindow(shell, owner, rows));
    }
    const double findMedian = median(findTimes);
    const double loadMedian = median(loadTimes);
    std::printf("%s: %zu executables, a list of %zu lines, under %s\n", name, tree.executables.size(), tree.list.size(),
        root.c_str());
    std::printf("  rows listed:              %zu\n", rows);
    std::printf("  find -name '*.exe':       %7.1f ms (median of %zu)\n", findMedian * 1e3, findTimes.size());
    std::printf("  browse window, painted:   %7.1f ms (median of %zu)\n", loadMedian * 1e3, loadTimes.size());
    std::printf("  ratio load / find:        %7.2f\n", loadMedian / findMedian);
    std::printf("  peak memory:              %7.1f MiB (%.1f MiB before the first load)\n", peakKiB() / 1024.0,
        baseline / 1024.0);
    fs::remove_all(work);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "standard")
        run("standard", standardTree);
    if (only.empty() || only == "large")
        run("large", largeTree);
    return 0;
}
