// The default skin as installed: a mask that cuts rounded corners and keeps
// one run per row, two baseline JPEG faces of the mask's size, and the
// caption in the skin text file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/MaskRegion.h"
#include "ui/ProgressDialogRules.h"

namespace {

std::vector<std::uint8_t> ReadSkinFile(const char* name) {
    std::ifstream in(std::string(MOUSEHID_SOURCE_DIR) + "/defaults/skins/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b.at(at + i);
    return value;
}

struct JpegFrame {
    int marker = 0;  // 0xC0 baseline, 0xC2 progressive
    int width = 0;
    int height = 0;
};

// The frame header of a JPEG file: walks the marker segments up to it.
JpegFrame FrameOf(const std::vector<std::uint8_t>& jpeg) {
    JpegFrame frame;
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return frame;
    std::size_t at = 2;
    while (at + 9 < jpeg.size() && jpeg[at] == 0xFF) {
        const int marker = jpeg[at + 1];
        const std::size_t length = std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
        if (marker >= 0xC0 && marker <= 0xC3) {
            frame.marker = marker;
            frame.height = jpeg[at + 5] << 8 | jpeg[at + 6];
            frame.width = jpeg[at + 7] << 8 | jpeg[at + 8];
            return frame;
        }
        at += 2 + length;
    }
    return frame;
}

TEST(DefaultSkinTest, TheMaskCutsRoundedCornersOneRunPerRow) {
    const std::vector<std::uint8_t> bmp = ReadSkinFile("updatebar_Mask.BMP");
    ASSERT_GT(bmp.size(), 54u);
    ASSERT_EQ(bmp[0], 'B');
    ASSERT_EQ(bmp[1], 'M');
    const std::uint32_t pixelsAt = Little(bmp, 10, 4);
    const int width = static_cast<int>(Little(bmp, 18, 4));
    const int height = static_cast<int>(Little(bmp, 22, 4));
    ASSERT_EQ(Little(bmp, 28, 2), 24u);  // 24 bits a pixel, bottom row first
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 120);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_GE(bmp.size(), pixelsAt + stride * height);

    // As the 32-bit section the window code copies the mask into.
    std::vector<std::uint8_t> section(static_cast<std::size_t>(width) * height * 4);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                section[(static_cast<std::size_t>(row) * width + x) * 4 + c] = bmp[pixelsAt + row * stride + x * 3 + c];
    MaskPixels pixels;
    pixels.bytes = section.data();
    pixels.byteCount = section.size();
    pixels.width = width;
    pixels.height = height;
    pixels.stride = static_cast<std::size_t>(width) * 4;
    pixels.order = RowOrder::BottomUp;
    const auto slices = MaskRegionSlices(pixels, TransparentRangesFor(kMaskTransparentColour, kMaskTolerance));
    ASSERT_EQ(slices.size(), 1u);
    const std::vector<RegionRect>& rows = slices[0].rects;
    ASSERT_EQ(rows.size(), 120u);
    EXPECT_EQ(slices[0].bound, (RegionRect{0, 0, 400, 120}));
    for (int y = 0; y < height; ++y) {
        SCOPED_TRACE(testing::Message() << "row " << y);
        const RegionRect& r = rows[y];
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.left, 400 - r.right);  // symmetric
        const int fromEdge = std::min(y, height - 1 - y);
        if (fromEdge < 4) {
            EXPECT_GE(r.left, 4);  // the corners are cut
        }
        if (fromEdge >= 16) {
            EXPECT_EQ(r.left, 0);  // straight sides
        }
    }
    EXPECT_EQ(rows[0].left, rows[119].left);  // top and bottom alike
}

TEST(DefaultSkinTest, BothFacesAreBaselineJpegsOfTheMasksSize) {
    for (const char* name : {"updatebar_n.jpg", "updatebar_o.jpg"}) {
        SCOPED_TRACE(name);
        const JpegFrame frame = FrameOf(ReadSkinFile(name));
        EXPECT_EQ(frame.marker, 0xC0);
        EXPECT_EQ(frame.width, 400);
        EXPECT_EQ(frame.height, 120);
    }
}

TEST(DefaultSkinTest, TheSkinTextFileHoldsTheCaption) {
    const std::vector<std::uint8_t> bytes = ReadSkinFile("string_trayicon.ini");
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ(bytes[0], 0xFF);  // UTF-16, little-endian, with its mark
    ASSERT_EQ(bytes[1], 0xFE);
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    const std::u16string expected = std::u16string(u"[") + kSkinTextSection + u"]\r\n" + kSkinCaptionKey +
                                    u"=Updating mouse settings\u2026\r\n";
    EXPECT_EQ(text, expected);
}

}  // namespace
