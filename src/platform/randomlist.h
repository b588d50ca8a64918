#pragma once

#include "platform/filestore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace doorsel {

// "random.dat" in the program folder: the logon screens the random run picks from, one full path
// per line, every line ended by CR LF. An empty file is an empty list; no file means the list was
// never saved.
std::string RandomListPath();

// One row of the browse list as the save sees it.
struct RandomListRow {
    bool checked = false;
    std::string fullPath;
};

// The file's text for the rows: the path of every checked row, in row order. A path that could not
// stand as one line (empty, or holding CR, LF or NUL) is left out rather than split, and so is one
// that would not be read back as it stands (only blanks and tabs, or a byte-order mark at the very
// start of the file).
std::string RandomListText(const std::vector<RandomListRow>& rows);

// Replaces the list with the checked rows. The new list is written beside the old one and renamed
// over it, so a failed save leaves the old list whole. Returns false when nothing was stored.
bool SaveRandomList(const std::vector<RandomListRow>& rows);

// The entries of a list file's text, in file order: what the random run picks from and what the
// browse window's check marks search. Lines may end in CR LF, LF or CR, and the last one needs no
// line end. A line of nothing but blanks and tabs is no entry, and a UTF-8 byte-order mark that an
// editor put before the first line is not part of it, and a line holding a NUL byte is no entry
// either; every other line is an entry, byte for byte.
std::vector<std::string> RandomListEntries(const std::string& text);
// The same entries as views into the text, which must outlive them.
std::vector<std::string_view> RandomListLines(std::string_view text);

// The entries of the list file, or nothing when it is absent or cannot be read.
std::optional<std::vector<std::string>> ReadRandomList();

// The list file read where the random run needs it and never held whole, so that a run at logon
// touches little memory however long the list is. Every read is of the file that was opened.
class RandomListReader {
public:
    RandomListReader();
    // How many entries the file holds, or nothing when it is absent or cannot be read.
    std::optional<size_t> Count() const;
    // Entry `index` (from 0) as the program's text, or nothing when there is none or it cannot be read.
    std::optional<std::string> Entry(size_t index) const;

private:
    bool scan(std::uint64_t from, const std::function<bool(std::uint64_t start, size_t length)>& entry) const;

    static constexpr size_t MarkEvery = 64;
    StoreReader file;
    // Where entries 0, MarkEvery, 2 * MarkEvery... start, as the last count found them.
    mutable std::vector<std::uint64_t> marks;
};

} // namespace doorsel
