#include "picturefile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace doorsel {
namespace {

// Forward reading, either of bytes in memory or of a file a block at a time, so that the
// entropy-coded part of a large JPEG is never held whole.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : window(bytes)
    {
    }

    explicit ByteReader(std::istream& in)
        : input(&in)
        , buffer(std::size_t {64} * 1024)
    {
    }

    // The next byte, or -1 at the end.
    int get()
    {
        if (pos == window.size() && !fill())
            return -1;
        return static_cast<unsigned char>(window[pos++]);
    }

    // Up to size bytes into out; how many there were.
    std::size_t read(unsigned char* out, std::size_t size)
    {
        std::size_t got = 0;
        while (got < size && (pos < window.size() || fill())) {
            const std::size_t part = std::min(size - got, window.size() - pos);
            std::memcpy(out + got, window.data() + pos, part);
            pos += part;
            got += part;
        }
        return got;
    }

    // Passes over count bytes; false when the input ends first.
    bool skip(std::uint64_t count)
    {
        const std::uint64_t buffered = window.size() - pos;
        if (count <= buffered) {
            pos += static_cast<std::size_t>(count);
            return true;
        }
        pos = window.size();
        if (input == nullptr)
            return false;
        count -= buffered;
        if (count > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
            return false;
        input->clear();
        input->seekg(static_cast<std::streamoff>(count) - 1, std::ios::cur);
        // Reading the last skipped byte proves the file reaches that far.
        return *input && get() >= 0;
    }

    // Moves to the next 0xFF byte and consumes it; false at the end.
    bool skipPastNextFF()
    {
        for (;;) {
            if (pos == window.size() && !fill())
                return false;
            const std::size_t ff = window.find('\xFF', pos);
            if (ff != std::string_view::npos) {
                pos = ff + 1;
                return true;
            }
            pos = window.size();
        }
    }

private:
    bool fill()
    {
        if (input == nullptr)
            return false;
        input->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        window = std::string_view(buffer.data(), static_cast<std::size_t>(input->gcount()));
        pos = 0;
        return !window.empty();
    }

    std::istream* input = nullptr;
    std::vector<char> buffer;
    std::string_view window; // all the bytes, or the block of the file read last
    std::size_t pos = 0;
};

constexpr int MarkerSOS = 0xDA;
constexpr int MarkerEOI = 0xD9;

bool isStandalone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The marker code after an 0xFF already consumed (fill bytes skipped), or -1 at the end.
int markerAfterFF(ByteReader& reader)
{
    int code = reader.get();
    while (code == 0xFF)
        code = reader.get();
    return code;
}

// After a scan header: the entropy-coded data runs until a marker other than a restart marker
// (0xFF 0x00 is a stuffed data byte). Returns that marker, or -1 at the end of the file.
int markerAfterScan(ByteReader& reader)
{
    while (reader.skipPastNextFF()) {
        const int code = markerAfterFF(reader);
        if (code < 0)
            return -1;
        if (code != 0x00 && !(code >= 0xD0 && code <= 0xD7))
            return code;
    }
    return -1;
}

// Walks the segments from the start marker (already read) to the end marker. Stray bytes between
// segments are passed over, as decoders do.
bool jpegIsComplete(ByteReader& reader)
{
    if (!reader.skipPastNextFF())
        return false;
    int marker = markerAfterFF(reader);
    for (;;) {
        if (marker < 0)
            return false;
        if (marker == MarkerEOI)
            return true;
        if (!isStandalone(marker)) {
            const int high = reader.get();
            const int low = reader.get();
            if (high < 0 || low < 0)
                return false;
            const int length = high << 8 | low;
            if (length < 2 || !reader.skip(static_cast<std::uint64_t>(length - 2)))
                return false;
            if (marker == MarkerSOS) {
                marker = markerAfterScan(reader);
                continue;
            }
        }
        if (!reader.skipPastNextFF())
            return false;
        marker = markerAfterFF(reader);
    }
}

std::uint32_t le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// The headers' promise (pixel data offset plus the data's size) against the input's length. The
// reader stands after the two signature bytes.
bool bmpIsComplete(ByteReader& reader)
{
    // File header (14 bytes) and the part of the info header that sizes the colour table and the
    // pixel data.
    unsigned char h[50] = {'B', 'M'};
    const std::size_t got = 2 + reader.read(h + 2, sizeof h - 2);
    if (got < 26)
        return false;
    const std::uint64_t dataOffset = le32(h + 10);
    const std::uint32_t infoSize = le32(h + 14);

    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint64_t imageSize = 0;
    std::uint64_t colours = 0;
    std::uint64_t colourSize = 4;
    if (infoSize == 12) {
        width = le16(h + 18);
        height = le16(h + 20);
        bitCount = le16(h + 24);
        colourSize = 3;
    } else {
        if (got < 50)
            return false;
        width = le32(h + 18);
        // A negative height marks rows stored top-down.
        const auto signedHeight = static_cast<std::int64_t>(static_cast<std::int32_t>(le32(h + 22)));
        height = static_cast<std::uint64_t>(signedHeight < 0 ? -signedHeight : signedHeight);
        bitCount = le16(h + 28);
        compression = le32(h + 30);
        imageSize = le32(h + 34);
        colours = le32(h + 46);
    }
    if (bitCount >= 1 && bitCount <= 8 && colours == 0)
        colours = std::uint64_t {1} << bitCount;
    else if (bitCount > 8)
        colours = 0; // an optional table that decoders pass over by the data offset
    // Decoders read the pixel data from the data offset, or, when that points into the headers or
    // the colour table, from where these end: an offset that is not believed moves the end too.
    const std::uint64_t dataStart = std::max(dataOffset, std::uint64_t {14} + infoSize + colours * colourSize);

    constexpr std::uint32_t Uncompressed = 0;
    constexpr std::uint32_t BitFields = 3;
    constexpr std::uint32_t AlphaBitFields = 6;
    std::uint64_t required = 0;
    if (compression == Uncompressed || compression == BitFields || compression == AlphaBitFields) {
        const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
        if (height != 0 && rowBytes > (std::numeric_limits<std::uint64_t>::max() - dataStart) / height)
            return false;
        required = dataStart + rowBytes * height;
    } else {
        // Run-length coded or embedded data: only its stated size can be checked.
        required = dataStart + imageSize;
    }
    return required <= got || reader.skip(required - got);
}

bool isComplete(ByteReader& reader)
{
    const int first = reader.get();
    const int second = reader.get();
    if (first == 0xFF && second == 0xD8)
        return jpegIsComplete(reader);
    if (first == 'B' && second == 'M')
        return bmpIsComplete(reader);
    return true;
}

} // namespace

bool PictureIsComplete(std::string_view bytes)
{
    ByteReader reader(bytes);
    return isComplete(reader);
}

bool PictureFileIsComplete(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    ByteReader reader(in);
    return isComplete(reader);
}

} // namespace doorsel
