// Which pixels of a mask image form a window's outline: every pixel whose
// colour lies outside the transparent colour range, as one rectangle per
// horizontal run per row, gathered in slices of a bounded number of
// rectangles so that a large mask never needs one huge region-data block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour packed as the system packs it: 0x00BBGGRR (red in the low byte).
using ColourRef = std::uint32_t;

struct ChannelRange {
    std::uint8_t low;
    std::uint8_t high;
};

struct TransparentRanges {
    ChannelRange red;
    ChannelRange green;
    ChannelRange blue;
};

// Each component c of the transparent colour gives the range c to
// c + the same component of the tolerance, at most 255.
TransparentRanges TransparentRangesFor(ColourRef transparent, ColourRef tolerance);

// True when each channel lies within its own range.
bool IsTransparent(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                   const TransparentRanges& ranges);

enum class RowOrder { TopDown, BottomUp };

// A 32-bit image as a device-independent section holds it: 4 bytes a pixel
// in memory order blue, green, red, unused; `stride` bytes a row. A section
// with a positive height keeps its bottom row first (BottomUp).
struct MaskPixels {
    const std::uint8_t* bytes = nullptr;
    std::size_t byteCount = 0;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    RowOrder order = RowOrder::BottomUp;
};

struct RegionRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

inline bool operator==(const RegionRect& a, const RegionRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RegionRect& a, const RegionRect& b) { return !(a == b); }

// The bound of a slice that holds no rectangle yet: it grows to include each one.
constexpr RegionRect kEmptyRegionBound = {INT32_MAX, INT32_MAX, 0, 0};

// One block of region data: its rectangles and their bounding rectangle.
struct RegionSlice {
    std::vector<RegionRect> rects;
    RegionRect bound = kEmptyRegionBound;
};

constexpr std::size_t kRegionSliceRects = 2000;  // rectangles per slice at most
constexpr std::size_t kRegionGrowRects = 100;    // the block grows this many at a time

// The runs of non-transparent pixels, rows from the top of the image down,
// each run [x0, x1) of row y as the rectangle (x0, y, x1, y + 1), cut into
// slices of at most `sliceLimit` rectangles (0 counts as 1). No slice at all
// when no pixel is opaque, or when the buffer does not hold the image its
// size claims (a non-positive size, a row shorter than width × 4 bytes, or
// fewer bytes than stride × height).
std::vector<RegionSlice> MaskRegionSlices(const MaskPixels& mask, const TransparentRanges& ranges,
                                          std::size_t sliceLimit = kRegionSliceRects);

// One slice as the system's region data: a 32-byte header (size 32,
// rectangle type 1, count, count × 16, bounding rectangle) and then the
// rectangles, 16 bytes each, every field a little-endian 32-bit value.
std::vector<std::uint8_t> RegionDataBytes(const RegionSlice& slice);
