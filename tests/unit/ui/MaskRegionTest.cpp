// Which pixels of a mask form the window's outline: the tolerance ranges,
// runs per row, row order, slices of at most 2,000 rectangles and the
// region-data bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/MaskRegion.h"

namespace {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// A 32-bit section's bytes (blue, green, red, unused per pixel) drawn by a
// function of (x, y), y counted from the top; rows may carry padding.
struct MaskImage {
    std::vector<std::uint8_t> bytes;
    MaskPixels pixels;

    MaskImage(int width, int height, const std::function<Rgb(int, int)>& colour,
              RowOrder order = RowOrder::BottomUp, std::size_t padding = 0) {
        const std::size_t stride = static_cast<std::size_t>(width) * 4 + padding;
        // Padding is black: it must never count as a pixel.
        bytes.assign(stride * static_cast<std::size_t>(height), 0);
        for (int y = 0; y < height; ++y) {
            const int memoryRow = order == RowOrder::TopDown ? y : height - 1 - y;
            for (int x = 0; x < width; ++x) {
                const Rgb c = colour(x, y);
                std::uint8_t* p = &bytes[static_cast<std::size_t>(memoryRow) * stride + x * 4];
                p[0] = c.blue;
                p[1] = c.green;
                p[2] = c.red;
                p[3] = 0;
            }
        }
        pixels.bytes = bytes.data();
        pixels.byteCount = bytes.size();
        pixels.width = width;
        pixels.height = height;
        pixels.stride = stride;
        pixels.order = order;
    }
};

const TransparentRanges kWhiteExactly = TransparentRangesFor(0xFFFFFF, 0);

std::string Dump(const std::vector<RegionRect>& rects) {
    std::ostringstream out;
    for (const RegionRect& r : rects)
        out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ") ";
    return out.str();
}

std::vector<RegionRect> AllRects(const std::vector<RegionSlice>& slices) {
    std::vector<RegionRect> all;
    for (const RegionSlice& slice : slices) all.insert(all.end(), slice.rects.begin(), slice.rects.end());
    return all;
}

void ExpectRects(const std::vector<RegionRect>& actual, const std::vector<RegionRect>& expected) {
    EXPECT_EQ(actual, expected) << "expected: " << Dump(expected) << "\nactual:   " << Dump(actual);
}

RegionRect BoundOf(const std::vector<RegionRect>& rects) {
    RegionRect bound = kEmptyRegionBound;
    for (const RegionRect& r : rects) {
        bound.left = std::min(bound.left, r.left);
        bound.top = std::min(bound.top, r.top);
        bound.right = std::max(bound.right, r.right);
        bound.bottom = std::max(bound.bottom, r.bottom);
    }
    return bound;
}

std::set<std::pair<int, int>> CoveredPixels(const std::vector<RegionRect>& rects) {
    std::set<std::pair<int, int>> pixels;
    for (const RegionRect& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) EXPECT_TRUE(pixels.insert({x, y}).second);
    return pixels;
}

struct RangeCase {
    ColourRef transparent;
    ColourRef tolerance;
    ChannelRange red;
    ChannelRange green;
    ChannelRange blue;
};

TEST(MaskRegionTest, EachChannelRangeRunsFromTheColourByTheTolerance) {
    const RangeCase cases[] = {
        {0xF8F8F8, 0x101010, {248, 255}, {248, 255}, {248, 255}},
        {0xFAFAFA, 0x101010, {250, 255}, {250, 255}, {250, 255}},
        {0xFFFFFF, 0x000000, {255, 255}, {255, 255}, {255, 255}},
        {0x102030, 0x030201, {0x30, 0x31}, {0x20, 0x22}, {0x10, 0x13}},
        {0x0000F0, 0x000020, {240, 255}, {0, 0}, {0, 0}},
        {0x000000, 0xFFFFFF, {0, 255}, {0, 255}, {0, 255}},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "colour " << c.transparent << " tolerance "
                                        << c.tolerance);
        const TransparentRanges r = TransparentRangesFor(c.transparent, c.tolerance);
        EXPECT_EQ(r.red.low, c.red.low);
        EXPECT_EQ(r.red.high, c.red.high);
        EXPECT_EQ(r.green.low, c.green.low);
        EXPECT_EQ(r.green.high, c.green.high);
        EXPECT_EQ(r.blue.low, c.blue.low);
        EXPECT_EQ(r.blue.high, c.blue.high);
    }
}

TEST(MaskRegionTest, EachChannelIsTestedAgainstItsOwnRange) {
    // Transparent colour: red 10, green 20, blue 200 (0x00BBGGRR).
    const TransparentRanges ranges = TransparentRangesFor(0xC8140A, 0);
    EXPECT_TRUE(IsTransparent(10, 20, 200, ranges));
    EXPECT_FALSE(IsTransparent(200, 20, 10, ranges));  // red and blue swapped
    EXPECT_FALSE(IsTransparent(10, 21, 200, ranges));

    const TransparentRanges nearWhite = TransparentRangesFor(0xF8F8F8, 0x101010);
    EXPECT_TRUE(IsTransparent(250, 248, 255, nearWhite));
    EXPECT_FALSE(IsTransparent(247, 255, 255, nearWhite));
    EXPECT_FALSE(IsTransparent(255, 255, 247, nearWhite));
}

TEST(MaskRegionTest, PixelBytesAreReadAsBlueGreenRed) {
    // Pure red is transparent; a pure blue mask, whose bytes are red's
    // reversed, is opaque everywhere.
    const TransparentRanges red = TransparentRangesFor(0x0000FF, 0);
    const MaskImage redMask(4, 2, [](int, int) { return Rgb{255, 0, 0}; });
    EXPECT_TRUE(MaskRegionSlices(redMask.pixels, red).empty());
    const MaskImage blueMask(4, 2, [](int, int) { return Rgb{0, 0, 255}; });
    ExpectRects(AllRects(MaskRegionSlices(blueMask.pixels, red)), {{0, 0, 4, 1}, {0, 1, 4, 2}});
}

TEST(MaskRegionTest, AllWhiteGivesNoRegion) {
    const MaskImage mask(32, 16, [](int, int) { return kWhite; });
    EXPECT_TRUE(MaskRegionSlices(mask.pixels, kWhiteExactly).empty());
}

TEST(MaskRegionTest, LeftHalfWhiteGivesTheRightHalfOneRectanglePerRow) {
    const MaskImage mask(10, 6, [](int x, int) { return x < 5 ? kWhite : kBlack; });
    const auto slices = MaskRegionSlices(mask.pixels, kWhiteExactly);
    ASSERT_EQ(slices.size(), 1u);
    std::vector<RegionRect> expected;
    for (int y = 0; y < 6; ++y) expected.push_back({5, y, 10, y + 1});
    ExpectRects(slices[0].rects, expected);
    EXPECT_EQ(slices[0].bound, (RegionRect{5, 0, 10, 6}));
}

TEST(MaskRegionTest, RunsFollowEachRowLeftToRightRowsFromTheTop) {
    const char* rows[] = {
        "..##.#..###",
        "###########",
        "...........",
        "#.........#",
    };
    const auto colour = [&](int x, int y) { return rows[y][x] == '#' ? kBlack : kWhite; };
    const std::vector<RegionRect> expected = {
        {2, 0, 4, 1}, {5, 0, 6, 1}, {8, 0, 11, 1}, {0, 1, 11, 2}, {0, 3, 1, 4}, {10, 3, 11, 4},
    };
    for (RowOrder order : {RowOrder::BottomUp, RowOrder::TopDown}) {
        for (std::size_t padding : {std::size_t{0}, std::size_t{4}, std::size_t{12}}) {
            SCOPED_TRACE(testing::Message() << "top-down " << (order == RowOrder::TopDown)
                                            << " padding " << padding);
            const MaskImage mask(11, 4, colour, order, padding);
            const auto slices = MaskRegionSlices(mask.pixels, kWhiteExactly);
            ASSERT_EQ(slices.size(), 1u);
            ExpectRects(slices[0].rects, expected);
            EXPECT_EQ(slices[0].bound, (RegionRect{0, 0, 11, 4}));
        }
    }
}

TEST(MaskRegionTest, MoreThanASliceOfRunsGivesTheSameRectanglesAsOneSlice) {
    // 50 runs a row over 50 rows: 2,500 rectangles.
    const MaskImage mask(100, 50, [](int x, int) { return x % 2 == 0 ? kBlack : kWhite; });
    const auto sliced = MaskRegionSlices(mask.pixels, kWhiteExactly);
    const auto whole = MaskRegionSlices(mask.pixels, kWhiteExactly, SIZE_MAX);
    ASSERT_EQ(whole.size(), 1u);
    ASSERT_EQ(whole[0].rects.size(), 2500u);
    ASSERT_EQ(sliced.size(), 2u);
    EXPECT_EQ(sliced[0].rects.size(), kRegionSliceRects);
    EXPECT_EQ(sliced[1].rects.size(), 500u);
    ExpectRects(AllRects(sliced), whole[0].rects);
    EXPECT_EQ(sliced[0].bound, (RegionRect{0, 0, 99, 40}));
    EXPECT_EQ(sliced[1].bound, (RegionRect{0, 40, 99, 50}));
    for (const RegionSlice& slice : sliced) EXPECT_EQ(slice.bound, BoundOf(slice.rects));

    // Together the rectangles cover exactly the opaque pixels, each once.
    std::set<std::pair<int, int>> opaque;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; x += 2) opaque.insert({x, y});
    EXPECT_EQ(CoveredPixels(AllRects(sliced)), opaque);
}

TEST(MaskRegionTest, SlicesHoldAtMostTheLimit) {
    struct Case {
        std::size_t runs;
        std::size_t limit;
        std::vector<std::size_t> sizes;
    };
    const Case cases[] = {
        {2000, 2000, {2000}},       {2001, 2000, {2000, 1}}, {4000, 2000, {2000, 2000}},
        {7, 3, {3, 3, 1}},          {5, 0, {1, 1, 1, 1, 1}}, {1, 2000, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.runs << " runs, limit " << c.limit);
        // One opaque pixel at the start of each of c.runs rows.
        const MaskImage mask(3, static_cast<int>(c.runs), [](int x, int) { return x == 0 ? kBlack : kWhite; });
        std::vector<std::size_t> sizes;
        for (const RegionSlice& slice : MaskRegionSlices(mask.pixels, kWhiteExactly, c.limit))
            sizes.push_back(slice.rects.size());
        EXPECT_EQ(sizes, c.sizes);
    }
}

TEST(MaskRegionTest, ABufferThatDoesNotHoldItsImageGivesNoRegion) {
    const MaskImage good(4, 3, [](int, int) { return kBlack; });
    ASSERT_EQ(MaskRegionSlices(good.pixels, kWhiteExactly).size(), 1u);

    struct Case {
        const char* name;
        std::function<void(MaskPixels&)> spoil;
    };
    const Case cases[] = {
        {"no bytes", [](MaskPixels& p) { p.bytes = nullptr; }},
        {"zero width", [](MaskPixels& p) { p.width = 0; }},
        {"negative height", [](MaskPixels& p) { p.height = -3; }},
        {"short rows", [](MaskPixels& p) { p.stride = 15; }},
        {"one byte short", [](MaskPixels& p) { p.byteCount -= 1; }},
        {"rows beyond the buffer", [](MaskPixels& p) { p.height = 4; }},
        {"huge width", [](MaskPixels& p) { p.width = INT32_MAX; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MaskPixels pixels = good.pixels;
        c.spoil(pixels);
        EXPECT_TRUE(MaskRegionSlices(pixels, kWhiteExactly).empty());
    }
}

TEST(MaskRegionTest, RegionDataIsTheSystemsLayout) {
    RegionSlice slice;
    slice.rects = {{1, 2, 3, 4}, {-1, 0, 0x01020304, 5}};
    slice.bound = {-1, 0, 0x01020304, 5};
    const std::vector<std::uint8_t> expected = {
        32, 0, 0, 0,  1, 0, 0, 0,  2, 0, 0, 0,  32, 0, 0, 0,               // size, type, count, bytes
        0xFF, 0xFF, 0xFF, 0xFF,  0, 0, 0, 0,  4, 3, 2, 1,  5, 0, 0, 0,     // bound
        1, 0, 0, 0,  2, 0, 0, 0,  3, 0, 0, 0,  4, 0, 0, 0,                 // first rectangle
        0xFF, 0xFF, 0xFF, 0xFF,  0, 0, 0, 0,  4, 3, 2, 1,  5, 0, 0, 0,     // second rectangle
    };
    EXPECT_EQ(RegionDataBytes(slice), expected);

    const std::vector<std::uint8_t> empty = RegionDataBytes(RegionSlice{});
    ASSERT_EQ(empty.size(), 32u);
    EXPECT_EQ(empty[8], 0);                                        // no rectangles
    EXPECT_EQ(std::vector<std::uint8_t>(empty.begin() + 16, empty.begin() + 20),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));  // empty bound's left
}

}  // namespace
