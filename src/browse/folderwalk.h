#pragma once

#include "browse/browserows.h"
#include "browse/searchfolder.h"
#include "widgets/busypointer.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class QWidget;

namespace doorsel {

class frmSearching;

// The browse window's walk, run on a thread of its own so that every window stays responsive. It
// makes the rows as it finds the files; when the walk is over, their check marks come from one read
// of the random list. A walk that takes more than half a second shows frmSearching, modal to the
// window that opened the browse window, until it ends.
class FolderWalk : public QObject {
    Q_OBJECT

public:
    // Starts walking `folder`; `list` reads a folder (empty: the file system's own listing).
    FolderWalk(std::string folder, QWidget* opener, FolderLister list = {});
    // Stops the walk and waits for its thread.
    ~FolderWalk() override;
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Stops the walk; cancelled() follows as soon as its thread has let go.
    void cancel();

    // Once finished() has come: the rows found, in walk order, marked where the random list holds them.
    BrowseRows takeRows() { return std::move(rows); }

signals:
    void finished();
    void cancelled();

private:
    void run(); // on the walk's thread
    void markRows();
    void ended();
    void showProgress();

    std::string folder;
    QPointer<QWidget> opener;
    WalkControl control;
    std::atomic<long long> foundSoFar {0};

    std::mutex mutex; // guards the folder being read
    std::string folderNow;

    BrowseRows rows; // the walk's thread's until it posts its end
    QPointer<frmSearching> progress;
    std::optional<BusyPointer> busy;
    std::thread thread;
};

} // namespace doorsel
