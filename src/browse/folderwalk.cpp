#include "folderwalk.h"

#include "browse/frmSearching.h"
#include "browse/textsearch.h"
#include "platform/randomlist.h"

#include <QTimer>

#include <algorithm>

namespace doorsel {
namespace {

// A quick walk opens the browse window without anything in between.
constexpr int ProgressDelayMs = 500;
constexpr int ProgressRefreshMs = 100;
// Where the random list does not let the search look the rows up, it holds a tree of the paths it
// looks for: so many rows at a time keep that small however many rows there are, and need few
// passes over the list.
constexpr size_t MarkBatch = 16384;

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
    // The list is read once for the whole walk.
    const TextSearch search(ReadRandomList().value_or(std::vector<std::string>()));
    std::string text; // the batch's paths one after another
    std::vector<size_t> ends;
    std::vector<std::string_view> paths;
    for (size_t first = 0; first < rows.size() && !control.stop; first += MarkBatch) {
        const size_t end = std::min(rows.size(), first + MarkBatch);
        text.clear();
        ends.clear();
        for (size_t row = first; row < end; ++row) {
            rows.appendFullPath(row, text);
            ends.push_back(text.size());
        }
        // Taken once the text has all of them: it may move while it grows.
        paths.clear();
        size_t start = 0;
        for (const size_t pathEnd : ends) {
            paths.emplace_back(text.data() + start, pathEnd - start);
            start = pathEnd;
        }
        const std::vector<std::int64_t> counts = search.FindAll(paths);
        for (size_t row = first; row < end; ++row)
            rows.setMarked(row, counts[row - first] != 0);
    }
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
