#include "preview/picturefile.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace doorsel {
namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

// A segment with its two length bytes and payload.
std::string segment(int marker, const std::string& payload)
{
    const auto length = static_cast<int>(payload.size() + 2);
    return bytes({0xFF, marker, length >> 8, length & 0xFF}) + payload;
}

const std::string soi = bytes({0xFF, 0xD8});
const std::string eoi = bytes({0xFF, 0xD9});
const std::string app0 = segment(0xE0, "JFIF" + std::string(10, '\1'));
const std::string sof = segment(0xC0, std::string(15, '\2'));
const std::string sos = segment(0xDA, std::string(6, '\3'));
// Entropy-coded data: a stuffed 0xFF 0x00 and a restart marker belong to it.
const std::string scan = bytes({0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD3, 0x78, 0x9A});
// Metadata may carry any bytes, an end marker and a scan marker included.
const std::string exif = segment(0xE1, "Exif" + bytes({0xFF, 0xD8, 0xFF, 0xDA, 0xFF, 0xD9}));

std::string le32(std::uint32_t v)
{
    return bytes({static_cast<int>(v & 0xFF), static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v >> 16 & 0xFF),
        static_cast<int>(v >> 24)});
}

std::string le16(std::uint16_t v)
{
    return bytes({v & 0xFF, v >> 8});
}

std::string bmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount, std::uint32_t compression = 0,
    std::uint32_t imageSize = 0, std::uint32_t dataOffset = 54, std::uint32_t coloursUsed = 0)
{
    return "BM" + le32(0) + le32(0) + le32(dataOffset) + le32(40) + le32(static_cast<std::uint32_t>(width))
        + le32(static_cast<std::uint32_t>(height)) + le16(1) + le16(bitCount) + le32(compression) + le32(imageSize)
        + le32(0) + le32(0) + le32(coloursUsed) + le32(0);
}

struct CompletenessCase {
    const char* what;
    std::string content;
    bool complete;
};

std::ostream& operator<<(std::ostream& out, const CompletenessCase& c)
{
    return out << c.what;
}

class PictureFileCompleteness : public ::testing::TestWithParam<CompletenessCase> { };

TEST_P(PictureFileCompleteness, judgesWhetherTheFileHoldsWhatItPromises)
{
    test::TestFolder folder;
    const std::string path = folder.file("picture");
    test::spit(path, GetParam().content);
    EXPECT_EQ(PictureFileIsComplete(path), GetParam().complete);
    EXPECT_EQ(PictureIsComplete(GetParam().content), GetParam().complete);
}

const std::string wholeJpeg = soi + app0 + exif + sof + sos + scan + eoi;
const std::string bmpRows = std::string(36, '\x7f'); // 3 rows of 4 pixels at 24 bits: 12 bytes a row

INSTANTIATE_TEST_SUITE_P(Files, PictureFileCompleteness,
    ::testing::Values(CompletenessCase {"jpegWhole", wholeJpeg, true},
        CompletenessCase {"jpegProgressive", soi + sof + sos + scan + sos + scan + eoi, true},
        CompletenessCase {"jpegTrailingBytesAfterTheEnd", wholeJpeg + bytes({0xFF, 0xDA, 0x00}), true},
        CompletenessCase {
            "jpegFillAndStrayBytes", soi + app0 + bytes({0x00, 0xFF, 0xFF}) + sof.substr(1) + sos + scan + eoi, true},
        CompletenessCase {"jpegCutInTheScan", soi + app0 + exif + sof + sos + scan, false},
        CompletenessCase {"jpegCutBetweenScans", soi + sof + sos + scan + sos.substr(0, 5), false},
        CompletenessCase {"jpegCutInASegment", wholeJpeg.substr(0, 10), false},
        CompletenessCase {"jpegOnlyTheStart", soi, false},
        CompletenessCase {"jpegBadSegmentLength", soi + bytes({0xFF, 0xE0, 0x00, 0x01}) + eoi, false},
        CompletenessCase {"bmpWhole", bmp(4, 3, 24) + bmpRows, true},
        CompletenessCase {"bmpTopDown", bmp(4, -3, 24) + bmpRows, true},
        CompletenessCase {"bmpOneByteShort", bmp(4, 3, 24) + bmpRows.substr(1), false},
        CompletenessCase {"bmpRowsPaddedToFourBytes", bmp(1, 2, 1, 0, 0, 62) + std::string(8 + 8, '\0'), true},
        CompletenessCase {"bmpClaimsMoreThanItHolds", bmp(3000, 3000, 24) + bmpRows, false},
        CompletenessCase {"bmpHugeClaimDoesNotOverflow", bmp(0x7fffffff, 0x7fffffff, 32), false},
        CompletenessCase {"bmpRunLengthWhole", bmp(4, 3, 8, 1, 10, 62, 2) + std::string(8 + 10, '\0'), true},
        CompletenessCase {"bmpRunLengthShort", bmp(4, 3, 8, 1, 10, 62, 2) + std::string(8 + 9, '\0'), false},
        CompletenessCase {"bmpCoreHeader",
            "BM" + le32(0) + le32(0) + le32(26) + le32(12) + le16(2) + le16(2) + le16(1) + le16(24)
                + std::string(16, 'x'),
            true},
        CompletenessCase {"bmpCutInTheHeader", bmp(4, 3, 24).substr(0, 20), false},
        // An offset into the headers is not believed: decoders read the rows after the headers and
        // the colour table, so that is where they must fit.
        CompletenessCase {"bmpOffsetInTheHeadersWhole", bmp(4, 3, 24, 0, 0, 0) + bmpRows, true},
        CompletenessCase {"bmpOffsetInTheHeadersShort", bmp(4, 3, 24, 0, 0, 10) + bmpRows.substr(1), false},
        CompletenessCase {"bmpColourTableWhole", bmp(4, 3, 8, 0, 0, 62, 2) + std::string(8 + 12, '\1'), true},
        CompletenessCase {
            "bmpColourTableAndOffsetInItShort", bmp(4, 3, 8, 0, 0, 54, 2) + std::string(8 + 11, '\1'), false},
        CompletenessCase {"bmpFullColourTableShort", bmp(4, 3, 1, 0, 0, 0) + std::string(8 + 11, '\1'), false},
        CompletenessCase {"otherKindLeftToTheDecoder", "GIF89a not checked here", true},
        CompletenessCase {"emptyLeftToTheDecoder", "", true}),
    [](const ::testing::TestParamInfo<CompletenessCase>& info) { return std::string(info.param.what); });

TEST(PictureFileIsComplete, missingFileIsLeftToTheDecoder)
{
    test::TestFolder folder;
    EXPECT_TRUE(PictureFileIsComplete(folder.file("absent.jpg")));
}

} // namespace
} // namespace doorsel
