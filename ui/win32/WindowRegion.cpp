#include "ui/win32/WindowRegion.h"

#include <cstdint>
#include <vector>

#include "framework/CBitmap.h"
#include "framework/CDC.h"
#include "ui/GuiValues.h"
#include "ui/MaskRegion.h"

static_assert(gui::kRegionHeaderSize == sizeof(RGNDATAHEADER), "region data header");
static_assert(gui::kRegionRectangles == RDH_RECTANGLES, "region data type");
static_assert(sizeof(RECT) == 16, "region rectangles are 16 bytes");

namespace {

// The mask's pixels copied into a 32-bit section, bottom row first.
struct MaskCopy {
    CBitmap section;
    CDC sectionDc;
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

bool CopyMask(HBITMAP mask, MaskCopy& copy) {
    BITMAP info{};
    if (::GetObjectW(mask, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    if (!copy.sectionDc.CreateCompatibleDC(nullptr)) return false;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    copy.section.Attach(::CreateDIBSection(copy.sectionDc.GetSafeHdc(), &format, DIB_RGB_COLORS,
                                           &bits, nullptr, 0));
    if (copy.section.GetSafeHandle() == nullptr || bits == nullptr) return false;
    CDC maskDc;
    if (!maskDc.CreateCompatibleDC(copy.sectionDc.GetSafeHdc())) return false;
    copy.sectionDc.SelectObject(copy.section.GetSafeHandle());
    maskDc.SelectObject(mask);
    if (!copy.sectionDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, maskDc, 0, 0, SRCCOPY))
        return false;
    ::GdiFlush();
    copy.bits = static_cast<const std::uint8_t*>(bits);
    copy.width = info.bmWidth;
    copy.height = info.bmHeight;
    return true;
}

HRGN RegionFromSlices(const std::vector<RegionSlice>& slices) {
    HRGN result = nullptr;
    for (const RegionSlice& slice : slices) {
        const std::vector<std::uint8_t> data = RegionDataBytes(slice);
        HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                      reinterpret_cast<const RGNDATA*>(data.data()));
        if (part == nullptr) {
            // A region missing a slice would cut holes into the window:
            // rather leave the window its plain rectangle.
            if (result != nullptr) ::DeleteObject(result);
            return nullptr;
        }
        if (result == nullptr) {
            result = part;
        } else {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        }
    }
    return result;
}

}  // namespace

HRGN RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance) {
    if (mask == nullptr) return nullptr;
    MaskCopy copy;
    if (!CopyMask(mask, copy)) return nullptr;
    MaskPixels pixels;
    pixels.bytes = copy.bits;
    pixels.width = copy.width;
    pixels.height = copy.height;
    pixels.stride = static_cast<std::size_t>(copy.width) * 4;  // 32-bit rows need no padding
    pixels.byteCount = pixels.stride * static_cast<std::size_t>(copy.height);
    pixels.order = RowOrder::BottomUp;
    return RegionFromSlices(MaskRegionSlices(pixels, TransparentRangesFor(transparent, tolerance)));
}
