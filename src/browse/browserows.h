#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace doorsel {

// The browse list's rows in the order found, kept compact for lists of hundreds of thousands: each
// folder's path is kept once for all its files, the file names lie one after another in large
// blocks, and a row is its folder, where its file name lies and its check mark.
class BrowseRows {
public:
    // A row for a file the walk found, unmarked: its file name is the path's last component and its
    // folder name the one before, as the walk makes them. A file of the folder of the row before
    // shares that row's folder.
    void add(std::string_view fullPath);

    std::size_t size() const { return rows.size(); }
    std::string fullPath(std::size_t row) const;
    // Appends the row's full path to `to`.
    void appendFullPath(std::size_t row, std::string& to) const;
    std::string_view fileName(std::size_t row) const { return {rows[row].name, rows[row].nameSize}; }
    std::string_view folderName(std::size_t row) const;
    bool marked(std::size_t row) const { return rows[row].marked != 0; }
    void setMarked(std::size_t row, bool marked) { rows[row].marked = marked ? 1 : 0; }

private:
    struct Folder {
        const char* path; // up to and with its separator
        std::uint32_t size;
        std::uint32_t nameAt; // where its name starts; the name runs up to the separator
    };
    struct Row {
        const char* name;
        std::uint32_t folder;
        std::uint32_t nameSize : 31;
        std::uint32_t marked : 1;
    };

    const char* keep(std::string_view bytes);

    // Deques grow without copying what they hold, so the list never needs twice its room.
    std::deque<Row> rows;
    std::deque<Folder> folders;
    std::vector<std::unique_ptr<char[]>> blocks;
    char* spare = nullptr;
    std::size_t spareSize = 0;
};

} // namespace doorsel
