#include "filestore.h"
#include "folderentries_posix.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

// Temporary files are named ".<store>.<pid>-<count>-<stamp>.tmp": hidden, and recognisable as ours
// when a writer that was killed left one behind.
std::string temporaryPrefix(const std::string& name)
{
    return "." + name + ".";
}

// Called under the folder's lock, so no other writer is using one of these names. The names are
// read from the folder's own descriptor, freshly opened for this write, a few at a time: a
// directory stream would copy and query the descriptor and take a large buffer for the few names
// a program folder holds.
void removeLeftTemporaries(int folder)
{
    ForEachFolderEntry<4096>(folder, [folder](const dirent64& entry) {
        const char* const name = entry.d_name;
        struct stat st { };
        if (name[0] == '.' && detail::IsTemporaryName(name) && ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode))
            ::unlinkat(folder, name, 0);
        return true;
    });
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

// Open-file-description locks exclude threads of one process too, and closing some other
// descriptor of the file does not drop them.
#ifdef F_OFD_SETLK
constexpr int lockNow = F_OFD_SETLK;
constexpr int lockWaiting = F_OFD_SETLKW;
#else
constexpr int lockNow = F_SETLK;
constexpr int lockWaiting = F_SETLKW;
#endif

bool writeLock(int fd, int command)
{
    struct flock whole { };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    int rc = 0;
    do {
        rc = ::fcntl(fd, command, &whole);
    } while (rc != 0 && errno == EINTR && command == lockWaiting);
    return rc == 0;
}

// A lock whose waiting can be given up: a waiting lock has no time-out, so a contended lock is
// waited for on a thread of its own, which releases the lock itself if it arrives after the caller
// gave up.
struct LockWait {
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    bool locked = false;
    bool abandoned = false;
};

bool lockWithin(int fd, std::chrono::milliseconds wait)
{
    if (writeLock(fd, lockNow))
        return true;
    if (errno != EAGAIN && errno != EACCES && errno != EINTR)
        return false;
    const int waited = ::dup(fd);
    if (waited < 0)
        return false;
    auto state = std::make_shared<LockWait>();
    std::thread([state, waited] {
        const bool locked = writeLock(waited, lockWaiting);
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

// Only who may write the stores can take their lock: the lock file is opened for writing, and
// nobody else may open it at all, since a read lock would block the writers just as well. It
// belongs to this user or to the folder's owner (root and the owner share a folder); one that is
// no plain file, belongs to someone else, or that others may open and cannot be closed to them,
// is not used.
int openLockFile(const std::string& folder)
{
    Fd fd(::open((folder + '/' + detail::StoreLockName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    struct stat st { };
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    const auto ownersFolder = [&] {
        struct stat folderStat { };
        return ::stat(folder.c_str(), &folderStat) == 0 && st.st_uid == folderStat.st_uid;
    };
    if ((st.st_uid != ::geteuid() && !ownersFolder()) || ((st.st_mode & 077) != 0 && ::fchmod(fd.get(), 0600) != 0))
        return -1;
    return fd.take();
}

// Copies every extended attribute of the old file (its access control list included) to the
// replacement, and drops any the replacement took from its folder that the old file did not
// have. Failing to keep an access control list or a user's attribute fails the write.
bool copyExtendedAttributes(const std::string& from, int to)
{
    const auto names = [](ssize_t size, const std::function<ssize_t(char*, size_t)>& list) {
        std::string buffer(size > 0 ? static_cast<size_t>(size) : 0, '\0');
        const ssize_t n = size > 0 ? list(buffer.data(), buffer.size()) : size;
        buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        std::vector<std::string> result;
        for (size_t start = 0; start < buffer.size();) {
            const size_t end = buffer.find('\0', start);
            result.emplace_back(buffer, start, end - start);
            start = end == std::string::npos ? buffer.size() : end + 1;
        }
        return result;
    };
    const std::vector<std::string> old = names(::listxattr(from.c_str(), nullptr, 0),
        [&](char* list, size_t size) { return ::listxattr(from.c_str(), list, size); });
    const std::vector<std::string> inherited
        = names(::flistxattr(to, nullptr, 0), [&](char* list, size_t size) { return ::flistxattr(to, list, size); });
    // The security labels a system gives every new file are its business, not the store's.
    const auto mustKeep
        = [](const std::string& name) { return name.starts_with("user.") || name.starts_with("system."); };
    for (const std::string& name : inherited) {
        if (std::find(old.begin(), old.end(), name) == old.end() && ::fremovexattr(to, name.c_str()) != 0
            && mustKeep(name))
            return false;
    }
    for (const std::string& name : old) {
        const ssize_t size = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        std::string value(size > 0 ? static_cast<size_t>(size) : 0, '\0');
        const ssize_t n = size > 0 ? ::getxattr(from.c_str(), name.c_str(), value.data(), value.size()) : size;
        if (n >= 0 && ::fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(n), 0) != 0 && mustKeep(name))
            return false;
    }
    return true;
}

} // namespace

// Non-blocking, so that a pipe planted under a store's name cannot hang the reader.
StoreReader::StoreReader(const std::string& path, bool followLink)
{
    if (!detail::IsStorePath(path))
        return;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW)));
    if (!fd.valid()) {
        // A link that is not followed holds no content of the store's.
        missing = errno == ENOENT || (errno == ELOOP && !followLink);
        return;
    }
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    handle = fd.take();
}

StoreReader::~StoreReader()
{
    if (handle != None)
        ::close(static_cast<int>(handle));
}

std::int64_t StoreReader::ReadAt(std::uint64_t offset, char* buffer, size_t count) const
{
    for (;;) {
        const ssize_t n = ::pread(static_cast<int>(handle), buffer, count, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

namespace detail {

bool IsStorePath(const std::string& path)
{
    return path.starts_with('/');
}

// The lock is taken in the folder where the rename happens: two program folders whose store links
// to one file share that file's folder, and so its lock.
StoreLock LockStore(const std::string& path, Links links, std::chrono::milliseconds wait)
{
    if (!IsStorePath(path))
        return {};
    const std::optional<std::string> target = replaceTarget(path, links);
    if (!target)
        return {};
    Fd lockFile(openLockFile(folderOf(*target)));
    if (!lockFile.valid() || !lockWithin(lockFile.get(), wait))
        return {};
    return StoreLock(lockFile.take());
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
    removeLeftTemporaries(folder.get());
    std::string tempName;
    Fd temp(createTemporary(folder.get(), name, existed ? 0600 : 0644, tempName));
    if (!temp.valid())
        return false;
    // The data must be on disk before the rename: otherwise a power cut can leave the renamed file
    // empty on some file systems, losing every value in it.
    const bool written = (!existed || (copyAttributes(temp.get(), old) && copyExtendedAttributes(*target, temp.get())))
        && writeAll(temp.get(), content) && ::fdatasync(temp.get()) == 0 && temp.close();
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
