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
constexpr size_t DeliveryBatch = 256;

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
    std::vector<std::string> paths;
    SearchFolder(
        folder, true,
        [this, &paths](const FoundFile& file) {
            paths.push_back(file.fullPath);
            foundSoFar = static_cast<long long>(paths.size());
            const std::lock_guard lock(mutex);
            pending.push_back(file);
            // In batches, one at a time: handing over every file on its own would cost more than
            // making its row. The last batch comes with the end of the walk.
            if (!deliveryPosted && pending.size() >= DeliveryBatch) {
                deliveryPosted = true;
                QMetaObject::invokeMethod(this, &FolderWalk::deliver, Qt::QueuedConnection);
            }
        },
        &control);
    if (!control.stop) {
        // The list is read once for the whole walk, and searched once for all the rows.
        const std::vector<std::int64_t> counts
            = TextSearch(ReadRandomList().value_or(std::vector<std::string>())).FindAll(paths);
        marks.reserve(counts.size());
        for (const std::int64_t count : counts)
            marks.push_back(count != 0);
    }
    QMetaObject::invokeMethod(this, &FolderWalk::ended, Qt::QueuedConnection);
}

void FolderWalk::deliver()
{
    std::vector<FoundFile> files;
    {
        const std::lock_guard lock(mutex);
        files.swap(pending);
        deliveryPosted = false;
    }
    if (!files.empty() && !control.stop)
        emit found(files);
}

void FolderWalk::ended()
{
    // Its last act was to post this.
    thread.join();
    deliver();
    delete progress;
    busy.reset();
    if (control.stop)
        emit cancelled();
    else
        emit finished(marks);
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
