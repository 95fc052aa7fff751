#include "ui/MaskRegion.h"

#include <algorithm>

#include "ui/GuiValues.h"

namespace {

ChannelRange RangeFor(unsigned colour, unsigned tolerance) {
    const unsigned high = colour + tolerance;
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(std::min(high, 255u))};
}

unsigned Component(ColourRef colour, int shift) { return (colour >> shift) & 0xFFu; }

bool Within(std::uint8_t value, const ChannelRange& range) {
    return value >= range.low && value <= range.high;
}

bool HoldsImage(const MaskPixels& mask) {
    if (mask.bytes == nullptr || mask.width <= 0 || mask.height <= 0) return false;
    const auto width = static_cast<std::size_t>(mask.width);
    const auto height = static_cast<std::size_t>(mask.height);
    if (width > SIZE_MAX / 4 || mask.stride < width * 4) return false;
    return mask.stride <= mask.byteCount / height;
}

void Include(RegionRect& bound, const RegionRect& rect) {
    bound.left = std::min(bound.left, rect.left);
    bound.top = std::min(bound.top, rect.top);
    bound.right = std::max(bound.right, rect.right);
    bound.bottom = std::max(bound.bottom, rect.bottom);
}

void Append(std::vector<RegionSlice>& slices, const RegionRect& rect, std::size_t limit) {
    if (slices.empty() || slices.back().rects.size() >= limit) {
        slices.emplace_back();
        slices.back().rects.reserve(kRegionGrowRects);
    }
    RegionSlice& slice = slices.back();
    if (slice.rects.size() == slice.rects.capacity())
        slice.rects.reserve(slice.rects.size() + kRegionGrowRects);
    slice.rects.push_back(rect);
    Include(slice.bound, rect);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutRect(std::vector<std::uint8_t>& out, const RegionRect& rect) {
    PutWord(out, static_cast<std::uint32_t>(rect.left));
    PutWord(out, static_cast<std::uint32_t>(rect.top));
    PutWord(out, static_cast<std::uint32_t>(rect.right));
    PutWord(out, static_cast<std::uint32_t>(rect.bottom));
}

}  // namespace

TransparentRanges TransparentRangesFor(ColourRef transparent, ColourRef tolerance) {
    return {RangeFor(Component(transparent, 0), Component(tolerance, 0)),
            RangeFor(Component(transparent, 8), Component(tolerance, 8)),
            RangeFor(Component(transparent, 16), Component(tolerance, 16))};
}

bool IsTransparent(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                   const TransparentRanges& ranges) {
    return Within(red, ranges.red) && Within(green, ranges.green) && Within(blue, ranges.blue);
}

std::vector<RegionSlice> MaskRegionSlices(const MaskPixels& mask, const TransparentRanges& ranges,
                                          std::size_t sliceLimit) {
    std::vector<RegionSlice> slices;
    if (!HoldsImage(mask)) return slices;
    const std::size_t limit = std::max<std::size_t>(sliceLimit, 1);
    const int width = mask.width;
    for (int y = 0; y < mask.height; ++y) {
        const int memoryRow = mask.order == RowOrder::TopDown ? y : mask.height - 1 - y;
        const std::uint8_t* row = mask.bytes + static_cast<std::size_t>(memoryRow) * mask.stride;
        auto opaque = [&](int x) {
            const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * 4;
            return !IsTransparent(pixel[2], pixel[1], pixel[0], ranges);
        };
        int x = 0;
        while (x < width) {
            while (x < width && !opaque(x)) ++x;
            const int start = x;
            while (x < width && opaque(x)) ++x;
            if (x > start) Append(slices, {start, y, x, y + 1}, limit);
        }
    }
    return slices;
}

std::vector<std::uint8_t> RegionDataBytes(const RegionSlice& slice) {
    const auto count = static_cast<std::uint32_t>(slice.rects.size());
    std::vector<std::uint8_t> out;
    out.reserve(gui::kRegionHeaderSize + slice.rects.size() * 16);
    PutWord(out, gui::kRegionHeaderSize);
    PutWord(out, gui::kRegionRectangles);
    PutWord(out, count);
    PutWord(out, count * 16);
    PutRect(out, slice.bound);
    for (const RegionRect& rect : slice.rects) PutRect(out, rect);
    return out;
}
