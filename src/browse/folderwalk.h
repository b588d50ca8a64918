#pragma once

#include "browse/searchfolder.h"
#include "widgets/busypointer.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QWidget;

namespace doorsel {

class frmSearching;

// The browse window's walk, run on a thread of its own so that every window stays responsive. The
// files found come back in walk order, a batch at a time; when the walk is over, the check marks
// come from one search of the random list for all of them. A walk that takes more than half a
// second shows frmSearching, modal to the window that opened the browse window, until it ends.
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

signals:
    void found(const std::vector<FoundFile>& files);
    // Whether the random list holds each file's path, in the order found.
    void finished(const std::vector<bool>& marks);
    void cancelled();

private:
    void run(); // on the walk's thread
    void deliver();
    void ended();
    void showProgress();

    std::string folder;
    QPointer<QWidget> opener;
    WalkControl control;
    std::atomic<long long> foundSoFar {0};

    std::mutex mutex; // guards what the walk's thread hands over
    std::vector<FoundFile> pending;
    bool deliveryPosted = false;
    std::string folderNow;

    std::vector<bool> marks; // written by the walk's thread before it posts its end
    QPointer<frmSearching> progress;
    std::optional<BusyPointer> busy;
    std::thread thread;
};

} // namespace doorsel
