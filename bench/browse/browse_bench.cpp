// The browse window's load (folder walk, check marks, rows, first paint; offscreen) against `find`
// on the same tree, side by side in one run, for these trees:
//   standard: about 5,000 folders and 50,000 files, 10,000 of them ending in ".exe"; a random list
//             of 1,000 of those paths;
//   large:    2,000 folders holding 20,000 ".exe" files; a random list of 10,000 lines, half of
//             them rows, half paths elsewhere;
//   100k, 300k: folders of ten ".exe" files and a picture, 100,000 and 300,000 rows; a random list
//             of 1,000 of those paths. Made once under the temporary folder and kept for later runs.
// For 100k and 300k it also measures the memory a listed row costs: the growth of the peak resident
// set over one load, in a child process of its own (this program started again), divided by the
// rows; and the same for a plain two-column checkable QTreeWidget holding the same rows.
//   doorsel_browse_bench [standard|large|100k|300k]   (default: all)
#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "browse/searchfolder.h"
#include "memory.h"
#include "platform/appinfo.h"
#include "platform/settings.h"
#include "widgets/shell.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <utility>
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

// Folders of ten ".exe" files and a picture, a hundred to a collection; with `make` false only the
// names, for a tree made before.
std::vector<std::string> tenPerFolder(const fs::path& root, size_t folders, bool make)
{
    std::vector<std::string> executables;
    executables.reserve(folders * 10);
    for (size_t f = 0; f < folders; ++f) {
        const fs::path dir = root / ("collection-" + std::to_string(f / 100)) / ("theme-" + std::to_string(f % 100));
        if (make)
            fs::create_directories(dir);
        for (int e = 0; e < 10; ++e) {
            const fs::path exe = dir / ("logonui-" + std::to_string(e) + ".exe");
            if (make)
                touch(exe);
            executables.push_back(exe.string());
        }
        if (make)
            touch(dir / "preview.jpg");
    }
    return executables;
}

// 2,000 folders of ten; every fourth executable in the list, and as many lines naming files that are
// no rows.
Tree largeTree(const fs::path& root)
{
    Tree tree;
    tree.executables = tenPerFolder(root, 2000, true);
    for (size_t i = 0; i < tree.executables.size(); i += 4) {
        tree.list.push_back(tree.executables[i]);
        tree.list.push_back("/srv/old-logons/" + std::to_string(i) + "/logonui.exe");
    }
    return tree;
}

// `rows` executables, ten to a folder, made only when no earlier run left them; 1,000 in the list.
std::function<Tree(const fs::path&)> rowsTree(size_t rows)
{
    return [rows](const fs::path& root) {
        const fs::path made = root.parent_path() / "complete";
        const bool make = !fs::exists(made);
        if (make)
            fs::remove_all(root);
        Tree tree;
        tree.executables = tenPerFolder(root, rows / 10, make);
        if (make)
            touch(made);
        for (size_t i = 0; i < tree.executables.size(); i += tree.executables.size() / 1000)
            tree.list.push_back(tree.executables[i]);
        return tree;
    };
}

// How many folders (below the root) and files a tree holds.
std::pair<size_t, size_t> countTree(const fs::path& root)
{
    std::pair<size_t, size_t> counts;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        ++(entry.is_directory() ? counts.first : counts.second);
    return counts;
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

void waitUntilPainted(QWidget& window)
{
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    window.repaint();
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
    waitUntilPainted(window);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rows = window.rowMarks().size();
    return seconds;
}

// The list as a plain QTreeWidget would hold the same rows: an item per row with the file name and
// the folder name, and a check box.
size_t openTreeWidget(const std::string& root)
{
    QTreeWidget tree;
    tree.setHeaderLabels({"File Name", "Directory"});
    QList<QTreeWidgetItem*> items;
    SearchFolder(root, true, [&items](const FoundFile& file) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QFile::decodeName(QByteArray::fromStdString(file.fileName)));
        item->setText(1, QFile::decodeName(QByteArray::fromStdString(file.folderName)));
        item->setCheckState(0, Qt::Unchecked);
        items.append(item);
    });
    tree.addTopLevelItems(items);
    waitUntilPainted(tree);
    return static_cast<size_t>(tree.topLevelItemCount());
}

void useProgramFolder(const fs::path& work)
{
    SetProgramFolder(work.string());
    ConfigPath = DefaultConfigPath();
}

// In a child: one load of the browse window ("list") or of the QTreeWidget ("tree") from the program
// folder `work`; prints "<rows> <growth of the peak KiB>".
int child(const std::string& mode, const fs::path& work)
{
    useProgramFolder(work);
    SilentShell shell;
    NoOwner owner;
    ResetPeak();
    const long before = StatusKiB("VmRSS:");
    size_t rows = 0;
    if (mode == "list")
        openBrowseWindow(shell, owner, rows);
    else
        rows = openTreeWidget(settings::Read(settings::LogonScreensFolder));
    std::printf("%zu %ld\n", rows, StatusKiB("VmHWM:") - before);
    return 0;
}

// KiB of peak memory per row of one load in a child; -1 when the child failed.
double kibPerRow(const std::string& self, const char* mode, const fs::path& work)
{
    const std::string command = "'" + self + "' --child " + mode + " '" + work.string() + "'";
    const std::unique_ptr<FILE, int (*)(FILE*)> child(popen(command.c_str(), "r"), pclose);
    size_t rows = 0;
    long growth = 0;
    if (!child || std::fscanf(child.get(), "%zu %ld", &rows, &growth) != 2 || rows == 0)
        return -1;
    return static_cast<double>(growth) / static_cast<double>(rows);
}

struct Case {
    const char* name;
    std::function<Tree(const fs::path&)> make;
    bool kept; // the tree stays for the next run
    bool memory; // measure the memory per row too
};

void run(const std::string& self, const Case& c)
{
    const fs::path work = fs::temp_directory_path() / (std::string("doorsel-bench-browse-") + c.name);
    const fs::path root = work / "a-folder-with-a-rather-long-name" / "Logons";
    if (!c.kept)
        fs::remove_all(work);
    fs::create_directories(work);
    const Tree tree = c.make(root);

    useProgramFolder(work);
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
    std::vector<double> walkTimes;
    size_t rows = 0;
    for (int round = 0; round < 7; ++round) {
        findTimes.push_back(secondsOf([&] {
            if (std::system(find.c_str()) != 0)
                std::perror("find");
        }));
        loadTimes.push_back(openBrowseWindow(shell, owner, rows));
        walkTimes.push_back(secondsOf([&] { SearchFolder(root.string(), true, [](const FoundFile&) {}); }));
    }
    const double findMedian = median(findTimes);
    const double loadMedian = median(loadTimes);
    const auto [folders, files] = countTree(root);
    std::printf("%s: %zu folders, %zu files, %zu of them \".exe\" files; a list of %zu lines; under %s\n", c.name,
        folders, files, tree.executables.size(), tree.list.size(), root.c_str());
    std::printf("  rows listed:              %zu\n", rows);
    std::printf("  find -name '*.exe':       %7.1f ms (median of %zu)\n", findMedian * 1e3, findTimes.size());
    std::printf("  browse window, painted:   %7.1f ms (median of %zu)\n", loadMedian * 1e3, loadTimes.size());
    std::printf("  ratio load / find:        %7.2f\n", loadMedian / findMedian);
    std::printf("  the walk alone:           %7.1f ms, %.2f of find\n", median(walkTimes) * 1e3,
        median(walkTimes) / findMedian);
    std::printf("  peak memory:              %7.1f MiB (%.1f MiB before the first load)\n", peakKiB() / 1024.0,
        baseline / 1024.0);
    if (c.memory) {
        const double list = kibPerRow(self, "list", work);
        const double treeWidget = kibPerRow(self, "tree", work);
        std::printf("  peak memory per row:      %7.3f KiB; a QTreeWidget with the same rows %.3f KiB (%.2fx)\n", list,
            treeWidget, list / treeWidget);
    }
    if (!c.kept)
        fs::remove_all(work);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--child")
        return child(argv[2], argv[3]);
    const Case cases[] = {{"standard", standardTree, false, false}, {"large", largeTree, false, false},
        {"100k", rowsTree(100000), true, true}, {"300k", rowsTree(300000), true, true}};
    const std::string only = argc > 1 ? argv[1] : "";
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    for (const Case& c : cases) {
        if (only.empty() || only == c.name)
            run(self, c);
    }
    return 0;
}
