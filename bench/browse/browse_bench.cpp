// The browse window's load (folder walk, check marks, rows; offscreen) against `find` on the same
// tree, side by side in one run: a tree of about 5,000 folders and 50,000 files, 10,000 of them
// ending in ".exe", with a random list of 1,000 of those paths.
//   bench_browse [tree folder]   (default: a folder under the system's temporary folder)
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "platform/appinfo.h"
#include "platform/settings.h"
#include "platform/shell.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
    int OpenWithShell(const std::string&, int) override { return 33; }
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

// Returns the paths of the ".exe" files it made.
std::vector<std::string> makeTree(const fs::path& root)
{
    std::vector<std::string> executables;
    int folders = 0;
    for (int g = 0; g < 50; ++g) {
        for (int t = 0; t < 10; ++t) {
            for (int v = 0; v < 10; ++v) {
                const fs::path dir = root / ("group-" + std::to_string(g)) / ("theme-" + std::to_string(t))
                    / ("variant-" + std::to_string(v));
                fs::create_directories(dir);
                ++folders;
                for (const char* name : {"logonui.exe", "setup.exe"}) {
                    touch(dir / name);
                    executables.push_back((dir / name).string());
                }
                touch(dir / "preview.jpg");
                touch(dir / "readme.txt");
                touch(dir / "resources.dat");
                touch(dir / "strings.ini");
                touch(dir / "notes.txt");
                touch(dir / "thumb.bmp");
                touch(dir / "license.txt");
                touch(dir / (v == 0 ? "OLD.EXE" : "extra.dll"));
                if (v == 9)
                    fs::create_directories(dir / "x.exe");
            }
        }
    }
    std::printf("tree: %d folders, %zu executables under %s\n", folders, executables.size(), root.c_str());
    return executables;
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

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const fs::path work = fs::temp_directory_path() / "doorsel-bench-browse";
    const fs::path tree = argc > 1 ? fs::path(argv[1]) : work / "a-folder-with-a-rather-long-name" / "Logons";
    fs::remove_all(work);
    fs::create_directories(work);
    const std::vector<std::string> executables = makeTree(tree);

    SetProgramFolder(work.string());
    ConfigPath = DefaultConfigPath();
    settings::Write(settings::LogonScreensFolder, tree.string());
    settings::Write(settings::EnableRandom, "1");
    std::ofstream list(work / "random.dat", std::ios::binary);
    for (size_t i = 0; i < executables.size(); i += executables.size() / 1000)
        list << executables[i] << "\r\n";
    list.close();

    const std::string find = "find '" + tree.string() + "' -type f -name '*.exe' > /dev/null";
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
        loadTimes.push_back(secondsOf([&] {
            frmBrowse window(shell, owner);
            rows = window.rowPaths().size();
        }));
    }
    const double findMedian = median(findTimes);
    const double loadMedian = median(loadTimes);
    std::printf("rows listed:              %zu\n", rows);
    std::printf("find -name '*.exe':       %7.1f ms (median of %zu)\n", findMedian * 1e3, findTimes.size());
    std::printf("browse window load:       %7.1f ms (median of %zu)\n", loadMedian * 1e3, loadTimes.size());
    std::printf("ratio load / find:        %7.2f\n", loadMedian / findMedian);
    std::printf("peak memory:              %7.1f MiB (%.1f MiB before the first load)\n", peakKiB() / 1024.0,
        baseline / 1024.0);
    fs::remove_all(work);
    return 0;
}
