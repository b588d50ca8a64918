#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace doorsel {

// The whole content of a file, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadStoreFile(const std::string& path);

// A store opened for reading where the caller likes, for one that needs little of a long file and
// so never holds the whole of it. Every read is of the file that was opened, even once a write has
// replaced it. Only a full path is opened, and only a regular file.
class StoreReader {
public:
    explicit StoreReader(const std::string& path, bool followLink = true);
    ~StoreReader();
    StoreReader(const StoreReader&) = delete;
    StoreReader& operator=(const StoreReader&) = delete;

    explicit operator bool() const { return handle != None; }
    // Not open because no file has the name.
    bool Missing() const { return missing; }
    // The size the system gives the file when it was opened, to size a buffer by.
    std::uint64_t SizeHint() const { return size; }
    // Reads at most `count` bytes from `offset` into `buffer`: how many, 0 at the end, -1 when the
    // read failed.
    std::int64_t ReadAt(std::uint64_t offset, char* buffer, size_t count) const;
    // Gives the bytes from `offset` to the end, in order, a piece at a time, for as long as `piece`
    // returns true. False when a read failed.
    bool ReadPieces(std::uint64_t offset, const std::function<bool(std::string_view piece)>& piece) const;
    // Whether a read that ended at `offset` having given less than it asked for found the end: it
    // stopped where the file ended when it was opened, and asking again would only be told so.
    bool EndsAt(std::uint64_t offset, bool shortRead) const { return shortRead && offset == size; }

private:
    static constexpr std::intptr_t None = -1;
    std::intptr_t handle = None;
    bool missing = false;
    std::uint64_t size = 0;
};

// What an update does with a file: given its current content (nothing when the file does not
// exist), return the new content, or nothing to leave the file as it is.
using FileEdit = std::function<std::optional<std::string>(const std::optional<std::string>& current)>;

// One read-modify-write of a store, the only way the program changes one of its files:
// - writers exclude each other across processes for the whole step, and give up after a few
//   seconds rather than wait for ever on a writer that hangs; only who may write the stores can
//   hold the lock;
// - the edit sees nothing only when the file truly does not exist: any other read error fails the
//   write, so a store that cannot be read is never replaced by one holding only the new value;
// - a file the caller may not write, or with no write bit at all, is not replaced;
// - the new content goes to a uniquely named temporary file beside the target, created
//   exclusively and never through a link, flushed and renamed over the target, which keeps its
//   mode, access control list and extended attributes and, where the process may, its owner; a
//   store that is a symbolic link stays one and its target is replaced; every failure removes the
//   temporary file, and every write removes what killed writers left in the folder.
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

// The platform steps of an update. A store is named by its full path: an empty or relative one
// (a program folder that could not be found) is refused, so nothing is ever written to the
// current folder instead. LockStore takes the lock of the folder the store's file is replaced in;
// it gives an empty lock when it could not be had within `wait`.
bool IsStorePath(const std::string& path);
// Outside Windows, the one file a folder of stores holds besides them: the writers' lock.
inline constexpr const char* StoreLockName = ".doorsel.lock";
constexpr std::chrono::milliseconds StoreLockWait {5000};
StoreLock LockStore(
    const std::string& path, Links links = Links::Follow, std::chrono::milliseconds wait = StoreLockWait);
FileRead ReadStore(const std::string& path, Links links = Links::Follow);
// Whether a file name is one a write gave its temporary file ("<store>.<process>-<count>-<time>.tmp",
// hidden outside Windows): what a killed writer left, never a user's own file that looks alike.
bool IsTemporaryName(std::string_view name);
bool WriteAndRename(const std::string& path, const std::string& content, Links links);

} // namespace detail

} // namespace doorsel
