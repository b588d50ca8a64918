// Picture files of any bytes: judging whether one holds what it promises must never crash, hang or
// leak; a file is judged as its bytes are, and bytes added after a complete picture keep it so.
#include "preview/picturefile.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace doorsel;

namespace {

// The file reader reads blocks and skips by seeking, which the bytes in memory never do: each
// input also goes through one scratch file.
std::string scratchFile()
{
    static const std::string file = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("doorsel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return (dir / "picture").string();
    }();
    return file;
}

// Rewritten in place and cut to length: truncating a file to nothing first makes ext4 flush it on
// close, which slows each input a hundredfold.
void writeScratch(const std::string& bytes)
{
    const int fd = ::open(scratchFile().c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0 || ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())
        || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::close(fd) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool complete = PictureIsComplete(bytes);
    if (complete && !PictureIsComplete(bytes + '\0'))
        std::abort();

    // A JPEG goes to disk behind a comment that fills most of the reader's first 64 KiB block, so
    // that the rest crosses a block end at a point the input chooses; the comment changes nothing.
    std::string onDisk = bytes;
    if (size > 2 && data[0] == 0xFF && data[1] == 0xD8) {
        const std::size_t payload = 65530 - std::size_t {data[size - 1]} * 16;
        onDisk = bytes.substr(0, 2) + "\xFF\xFE" + static_cast<char>((payload + 2) >> 8)
            + static_cast<char>((payload + 2) & 0xFF) + std::string(payload, '\0') + bytes.substr(2);
    }
    writeScratch(onDisk);
    if (PictureFileIsComplete(scratchFile()) != complete)
        std::abort();
    return 0;
}
