#include "folderwalk.h"

#include "browse/frmSearching.h"
#include "browse/textsearch.h"
#include "platform/randomlist.h"

#include <QTimer>

namespace doorsel {
namespace {

// A quick walk opens the browse window without anything in between.
constexpr int ProgressDelayMs = 500;
constexpr int ProgressRefreshMs = 100;

} // namespace

FolderWalk::FolderWalk(std::string folder, QWidget* opener, FolderLister list)
    : folder(std::move(folder))
    , opener(opener)
{
    if (list)
        control.list = std::move(list);
    control.reading = [this](const std::string& folderPath) {
        const std::lock_guard lock(mutex);
        folderNow = folderPath;
    };
    busy.emplace(Qt::BusyCursor);
    QTimer::singleShot(ProgressDelayMs, this, &FolderWalk::showProgress);
    thread = std::thread(&FolderWalk::run, this);
}

FolderWalk::~FolderWalk()
{
    control.stop = true;
    if (thread.joinable())
        thread.join();
    delete progress;
}

void FolderWalk::cancel()
{
    control.stop = true;
}

void FolderWalk::run()
{
    SearchFolder(
        folder, true,
        [this](const FoundFile& file) {
            rows.add(file.fullPath);
            foundSoFar = static_cast<long long>(rows.size());
        },
        &control);
    if (!control.stop)
        markRows();
    QMetaObject::invokeMethod(this, &FolderWalk::ended, Qt::QueuedConnection);
}

void FolderWalk::markRows()
{
    // The list is read once for the whole walk, and each row's path made only while it is looked
    // up: the paths of every row at once would be as large again as the rows.
    const TextSearch search(ReadRandomList().value_or(std::vector<std::string>()));
    search.FindEach(
        rows.size(),
        [this](size_t row, std::string& path) -> std::string_view {
            path.clear();
            rows.appendFullPath(row, path);
            return path;
        },
        [this](size_t row) { rows.setMarked(row, true); }, &control.stop);
}

void FolderWalk::ended()
{
    // Its last act was to post this.
    thread.join();
    delete progress;
    busy.reset();
    if (control.stop)
        emit cancelled();
    else
        emit finished();
}

void FolderWalk::showProgress()
{
    if (!thread.joinable() || control.stop)
        return;
    progress = new frmSearching(folder, opener);
    connect(progress, &frmSearching::cancelled, this, &FolderWalk::cancel);
    const auto refresh = [this] {
        const std::lock_guard lock(mutex);
        progress->showProgress(foundSoFar, folderNow);
    };
    refresh();
    auto* timer = new QTimer(progress);
    connect(timer, &QTimer::timeout, progress, refresh);
    timer->start(ProgressRefreshMs);
    progress->show();
}

} // namespace doorsel
