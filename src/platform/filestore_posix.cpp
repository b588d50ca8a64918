#include "filestore.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace doorsel {
namespace {

// Closes a descriptor when the scope ends.
class Fd {
public:
    explicit Fd(int descriptor)
        : fd(descriptor)
    {
    }
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    // Closes now, reporting the error a deferred write may only show here.
    bool close()
    {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
    }
    // Hands the descriptor over, still open.
    int take() { return std::exchange(fd, -1); }

private:
    int fd;
};

bool writeAll(int fd, const std::string& data)
{
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Temporary files are named ".<store>.<unique>.tmp": hidden, and recognisable as ours when a
// writer that was killed left one behind.
std::string temporaryPrefix(const std::string& name)
{
    return "." + name + ".";
}

bool isTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = temporaryPrefix(name);
    const std::string suffix = ".tmp";
    return entry.size() > prefix.size() + suffix.size() && entry.compare(0, prefix.size(), prefix) == 0
        && entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Called under the store's lock, so no other writer is using one of these names.
void removeLeftTemporaries(int folder, const std::string& name)
{
    const int copy = ::dup(folder);
    if (copy < 0)
        return;
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        ::close(copy);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (isTemporaryOf(entry->d_name, name))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

// Creates a new temporary file in `folder`, exclusively: an existing name, a planted link
// included, is never opened but skipped.
int createTemporary(int folder, const std::string& name, mode_t mode, std::string& tempName)
{
    static std::atomic<unsigned> counter {0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        tempName = temporaryPrefix(name) + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(stamp % 1000000007ULL) + ".tmp";
        const int fd = ::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The file an update replaces: the store itself, or the file a symbolic link store points to, so
// that the link survives. A link to nothing is not followed into creating a file.
std::optional<std::string> replaceTarget(const std::string& path, Links links)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::optional<std::string>(path) : std::nullopt;
    if (!S_ISLNK(st.st_mode) || links == Links::Replace)
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return std::nullopt;
    std::string target(real);
    std::free(real); // NOLINT(cppcoreguidelines-no-malloc): realpath allocates with malloc
    return target;
}

// Whether an existing store may be replaced: a regular file the caller may write and that has a
// write bit at all (root may write anything, but a file nobody may write is meant to stay).
bool replaceable(const std::string& target, const struct stat& st)
{
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
        && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// Gives the replacement the old file's owner, group and mode. Only root may give a file away, and
// only a member may give it a group, so failing to keep the owner is not an error; failing to keep
// the mode is.
bool copyAttributes(int fd, const struct stat& st)
{
    [[maybe_unused]] const bool ownerOrGroupKept
        = ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

// A lock whose waiting can be given up: flock has no time-out, so a contended lock is waited for
// on a thread of its own, which releases the lock itself if it arrives after the caller gave up.
struct LockWait {
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    bool locked = false;
    bool abandoned = false;
};

bool flockBlocking(int fd)
{
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

bool flockWithin(int fd, std::chrono::milliseconds wait)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno != EWOULDBLOCK && errno != EINTR)
        return false;
    const int waited = ::dup(fd);
    if (waited < 0)
        return false;
    auto state = std::make_shared<LockWait>();
    std::thread([state, waited] {
        const bool locked = flockBlocking(waited);
        std::lock_guard<std::mutex> guard(state->mutex);
        if (state->abandoned) {
            ::close(waited);
            return;
        }
        state->done = true;
        state->locked = locked;
        state->arrived.notify_all();
    }).detach();
    std::unique_lock<std::mutex> guard(state->mutex);
    if (!state->arrived.wait_for(guard, wait, [&] { return state->done; })) {
        state->abandoned = true;
        return false;
    }
    // The lock belongs to the open file both descriptors share; this one keeps it.
    ::close(waited);
    return state->locked;
}

} // namespace

namespace detail {

FileRead ReadStore(const std::string& path, Links links)
{
    FileRead result;
    // Non-blocking, so that a pipe planted under a store's name cannot hang the reader.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Replace ? O_NOFOLLOW : 0)));
    if (!fd.valid()) {
        // A link that is to be replaced holds no content of the store's.
        const bool missing = errno == ENOENT || (errno == ELOOP && links == Links::Replace);
        result.status = missing ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return result;
    if (st.st_size > 0)
        result.content.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.content.clear();
            return result;
        }
        if (n == 0)
            break;
        result.content.append(buffer, static_cast<size_t>(n));
    }
    result.status = ReadStatus::Read;
    return result;
}

// The lock is held on the store's folder itself, so no lock file is left beside the stores.
StoreLock LockStore(const std::string& path, std::chrono::milliseconds wait)
{
    Fd folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() || !flockWithin(folder.get(), wait))
        return {};
    return StoreLock(folder.take());
}

// Closing the descriptor releases the lock.
void StoreLock::release() noexcept
{
    if (handle != None)
        ::close(static_cast<int>(std::exchange(handle, None)));
}

bool WriteAndRename(const std::string& path, const std::string& content, Links links)
{
    const std::optional<std::string> target = replaceTarget(path, links);
    if (!target)
        return false;
    struct stat old { };
    bool existed = false;
    if (::lstat(target->c_str(), &old) == 0)
        existed = !S_ISLNK(old.st_mode); // a link left to be replaced is no old file to take after
    else if (errno != ENOENT)
        return false;
    if (existed && !replaceable(*target, old))
        return false;

    const std::string name = nameOf(*target);
    Fd folder(::open(folderOf(*target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return false;
    removeLeftTemporaries(folder.get(), name);
    std::string tempName;
    Fd temp(createTemporary(folder.get(), name, existed ? 0600 : 0644, tempName));
    if (!temp.valid())
        return false;
    // The data must be on disk before the rename: otherwise a power cut can leave the renamed file
    // empty on some file systems, losing every value in it.
    const bool written = (!existed || copyAttributes(temp.get(), old)) && writeAll(temp.get(), content)
        && ::fdatasync(temp.get()) == 0 && temp.close();
    if (!written || ::renameat(folder.get(), tempName.c_str(), folder.get(), name.c_str()) != 0) {
        ::unlinkat(folder.get(), tempName.c_str(), 0);
        return false;
    }
    // The rename itself must reach the disk too, or a power cut can bring the old file back.
    ::fsync(folder.get());
    return true;
}

} // namespace detail
} // namespace doorsel
