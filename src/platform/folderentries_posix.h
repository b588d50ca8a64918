#pragma once

#include <cstddef>
#include <dirent.h>
#include <sys/types.h>

namespace doorsel {

// Calls `each(const dirent64&)` for every entry of the open folder `folder`, "." and ".." included,
// read straight from the kernel `Piece` bytes at a time into a buffer on the stack (a directory
// stream would query the folder again and allocate 32 KiB for each one). `each` returns false to
// stop. Returns false when a read fails.
template <std::size_t Piece, typename Each> bool ForEachFolderEntry(int folder, Each&& each)
{
    alignas(dirent64) char names[Piece];
    for (;;) {
        const ssize_t n = ::getdents64(folder, names, sizeof names);
        if (n <= 0)
            return n == 0;
        for (ssize_t at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(names + at);
            if (entry->d_reclen == 0)
                return false;
            at += entry->d_reclen;
            if (!each(*entry))
                return true;
        }
    }
}

} // namespace doorsel
