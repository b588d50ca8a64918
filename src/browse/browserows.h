#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace doorsel {

// The browse list's rows in the order found, kept compact for lists of hundreds of thousands: the
// full paths lie one after another in large blocks, and a row is where its path lies, where its file
// name and folder name lie within the path, and its check mark.
class BrowseRows {
public:
    // A row for a file the walk found, unmarked: its file name is the path's last component and its
    // folder name the one before, as the walk makes them.
    void add(std::string_view fullPath);

    std::size_t size() const { return rows.size(); }
    std::string_view fullPath(std::size_t row) const;
    std::string_view fileName(std::size_t row) const;
    std::string_view folderName(std::size_t row) const;
    bool marked(std::size_t row) const { return rows[row].marked; }
    void setMarked(std::size_t row, bool marked) { rows[row].marked = marked; }

private:
    struct Row {
        const char* path;
        std::uint32_t pathSize;
        std::uint32_t nameAt;
        std::uint32_t folderAt; // the folder name runs up to the separator before the file name
        bool marked;
    };

    // A deque grows without copying what it holds, so the list never needs twice its room.
    std::deque<Row> rows;
    std::vector<std::unique_ptr<char[]>> blocks;
    char* spare = nullptr;
    std::size_t spareSize = 0;
};

} // namespace doorsel
