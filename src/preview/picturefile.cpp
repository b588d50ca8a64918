#include "picturefile.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace doorsel {
namespace {

// Buffered forward reading; the entropy-coded part of a large JPEG is scanned a block at a time.
class ByteReader {
public:
    explicit ByteReader(std::ifstream& in)
        : in_(in)
        , buffer_(std::size_t {64} * 1024)
    {
    }

    // The next byte, or -1 at the end of the file.
    int get()
    {
        if (pos_ == end_ && !fill())
            return -1;
        return static_cast<unsigned char>(buffer_[pos_++]);
    }

    // False when the file ends first.
    bool skip(std::uint64_t count)
    {
        const std::uint64_t buffered = end_ - pos_;
        if (count <= buffered) {
            pos_ += static_cast<std::size_t>(count);
            return true;
        }
        count -= buffered;
        pos_ = end_ = 0;
        if (count > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
            return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(count) - 1, std::ios::cur);
        // Reading the last skipped byte proves the file reaches that far.
        return in_ && get() >= 0;
    }

    // Moves to the next 0xFF byte and consumes it; false at the end of the file.
    bool skipPastNextFF()
    {
        for (;;) {
            if (pos_ == end_ && !fill())
                return false;
            const void* ff = std::memchr(buffer_.data() + pos_, 0xFF, end_ - pos_);
            if (ff != nullptr) {
                pos_ = static_cast<std::size_t>(static_cast<const char*>(ff) - buffer_.data()) + 1;
                return true;
            }
            pos_ = end_;
        }
    }

private:
    bool fill()
    {
        in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        pos_ = 0;
        end_ = static_cast<std::size_t>(in_.gcount());
        return end_ > 0;
    }

    std::ifstream& in_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
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

// The headers' promise (pixel data offset plus the data's size) against the file's length.
bool bmpIsComplete(std::ifstream& in)
{
    // File header (14 bytes) and the part of the info header that sizes the pixel data.
    unsigned char h[38] = {};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(h), sizeof h);
    const std::streamsize got = in.gcount();
    if (got < 26)
        return false;
    const std::uint64_t dataOffset = le32(h + 10);
    const std::uint32_t infoSize = le32(h + 14);

    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint64_t imageSize = 0;
    if (infoSize == 12) {
        width = le16(h + 18);
        height = le16(h + 20);
        bitCount = le16(h + 24);
    } else {
        if (got < 38)
            return false;
        width = le32(h + 18);
        // A negative height marks rows stored top-down.
        const auto signedHeight = static_cast<std::int64_t>(static_cast<std::int32_t>(le32(h + 22)));
        height = static_cast<std::uint64_t>(signedHeight < 0 ? -signedHeight : signedHeight);
        bitCount = le16(h + 28);
        compression = le32(h + 30);
        imageSize = le32(h + 34);
    }

    constexpr std::uint32_t Uncompressed = 0;
    constexpr std::uint32_t BitFields = 3;
    constexpr std::uint32_t AlphaBitFields = 6;
    std::uint64_t required = 0;
    if (compression == Uncompressed || compression == BitFields || compression == AlphaBitFields) {
        const std::uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
        if (height != 0 && rowBytes > (std::numeric_limits<std::uint64_t>::max() - dataOffset) / height)
            return false;
        required = dataOffset + rowBytes * height;
    } else {
        // Run-length coded or embedded data: only its stated size can be checked.
        required = dataOffset + imageSize;
    }

    in.clear();
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    return length >= 0 && static_cast<std::uint64_t>(length) >= required;
}

} // namespace

bool PictureFileIsComplete(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    char signature[2] = {};
    if (!in.read(signature, 2))
        return true;
    if (static_cast<unsigned char>(signature[0]) == 0xFF && static_cast<unsigned char>(signature[1]) == 0xD8) {
        ByteReader reader(in);
        return jpegIsComplete(reader);
    }
    if (signature[0] == 'B' && signature[1] == 'M')
        return bmpIsComplete(in);
    return true;
}

} // namespace doorsel
