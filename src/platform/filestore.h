#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace doorsel {

// The whole content of a file, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadStoreFile(const std::string& path);

// What an update does with a file: given its current content (nothing when the file does not
// exist), return the new content, or nothing to leave the file as it is.
using FileEdit = std::function<std::optional<std::string>(const std::optional<std::string>& current)>;

// One read-modify-write of a store, the only way the program changes one of its files:
// - writers exclude each other across processes for the whole step, leaving no lock file behind,
//   and give up after a few seconds rather than wait for ever on a writer that hangs;
// - the edit sees nothing only when the file truly does not exist: any other read error fails the
//   write, so a store that cannot be read is never replaced by one holding only the new value;
// - a file the caller may not write, or with no write bit at all, is not replaced;
// - the new content goes to a uniquely named temporary file beside the target, created
//   exclusively and never through a link, flushed and renamed over the target, which keeps its
//   mode and, where the process may, its owner; a store that is a symbolic link stays one and its
//   target is replaced; every failure removes the temporary file.
// Readers therefore see either the old or the new content, never a part. Returns false when the
// edit made no change or anything failed; the target is then left as it was.
// What a store that is a symbolic link means: the user's own file kept elsewhere (its target is
// read and replaced), or a name that must never lead outside the program's folder (a download:
// the link itself is replaced).
enum class Links { Follow, Replace };

bool UpdateStoreFile(const std::string& path, const FileEdit& edit, Links links = Links::Follow);

// Replaces a file's whole content the same safe way.
bool ReplaceStoreFile(const std::string& path, const std::string& content, Links links = Links::Follow);

namespace detail {

enum class ReadStatus { Read, Missing, Failed };

struct FileRead {
    ReadStatus status = ReadStatus::Failed;
    std::string content;
};

// A store's cross-process lock, held while the object lives; empty when it could not be had.
class StoreLock {
public:
    StoreLock() = default;
    // Takes over what the platform's lock step opened: a descriptor or a handle.
    explicit StoreLock(std::intptr_t platformHandle)
        : handle(platformHandle)
    {
    }
    StoreLock(StoreLock&& other) noexcept
        : handle(std::exchange(other.handle, None))
    {
    }
    StoreLock& operator=(StoreLock&& other) noexcept
    {
        if (this != &other) {
            release();
            handle = std::exchange(other.handle, None);
        }
        return *this;
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    ~StoreLock() { release(); }

    explicit operator bool() const { return handle != None; }
    // Lets the lock go now; afterwards the object is empty.
    void release() noexcept;

private:
    static constexpr std::intptr_t None = -1;
    std::intptr_t handle = None;
};

// The platform steps of an update. LockStore gives an empty lock when it could not be had
// within `wait`.
constexpr std::chrono::milliseconds StoreLockWait {5000};
StoreLock LockStore(const std::string& path, std::chrono::milliseconds wait = StoreLockWait);
FileRead ReadStore(const std::string& path, Links links = Links::Follow);
bool WriteAndRename(const std::string& path, const std::string& content, Links links);

} // namespace detail

} // namespace doorsel
