#include "ui/SkinImages.h"

#include <cstdint>
#include <vector>

#include "framework/CDC.h"
#include "ui/GuiValues.h"
#include "ui/MaskRegion.h"

// The interface's own names for system values, checked against the system's.
static_assert(gui::kMessageKeyDown == WM_KEYDOWN, "key-down message");
static_assert(gui::kKeyEscape == VK_ESCAPE && gui::kKeyReturn == VK_RETURN, "dialog keys");
#ifdef _WIN32
static_assert(gui::kRegionHeaderSize == sizeof(RGNDATAHEADER), "region data header");
static_assert(gui::kRegionRectangles == RDH_RECTANGLES, "region data type");
static_assert(sizeof(RECT) == 16, "region rectangles are 16 bytes");
static_assert(gui::kDrawCenter == DT_CENTER && gui::kDrawVCenter == DT_VCENTER &&
                  gui::kDrawSingleLine == DT_SINGLELINE && gui::kDrawNoPrefix == DT_NOPREFIX &&
                  gui::kDrawEndEllipsis == DT_END_ELLIPSIS,
              "text drawing flags");
#endif

void LoadSkinImage(const Text& path, CBitmap& target, SIZE& size) {
    target.DeleteObject();
    size = SIZE{0, 0};
    const FileRead file = Sys().Files.ReadWholeFile(path);
    if (file.Status != FileReadStatus::Read || file.Bytes.empty() || file.Bytes.size() > kSkinFileLimit) return;
    HBITMAP bitmap = Sys().Graphics.OleLoadPicture(file.Bytes);
    if (bitmap == nullptr) return;
    target.Attach(bitmap);
    size = target.GetSize();
}

void CopyBitmapPart(HDC reference, CBitmap& target, const CBitmap& source, int left, int top, int right,
                    int bottom) {
    if (source.GetSafeHandle() == nullptr) return;
    target.DeleteObject();
    const long long width = static_cast<long long>(right) - left;
    const long long height = static_cast<long long>(bottom) - top;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (!target.CreateCompatibleBitmap(reference, w, h)) return;
    CDC targetDc;
    CDC sourceDc;
    if (!targetDc.CreateCompatibleDC(reference) || !sourceDc.CreateCompatibleDC(reference)) {
        target.DeleteObject();
        return;
    }
    targetDc.SelectObject(target.GetSafeHandle());
    sourceDc.SelectObject(source.GetSafeHandle());
    targetDc.StretchBlt(0, 0, w, h, sourceDc.GetSafeHdc(), left, top, w, h, SRCCOPY);
}

HRGN RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance) {
    if (mask == nullptr) return nullptr;
    std::vector<std::uint8_t> bits;
    int width = 0;
    int height = 0;
    if (!Sys().Graphics.GetBitmapPixels32(mask, bits, width, height)) return nullptr;
    MaskPixels pixels;
    pixels.bytes = bits.data();
    pixels.byteCount = bits.size();
    pixels.width = width;
    pixels.height = height;
    pixels.stride = static_cast<std::size_t>(width) * 4;  // 32-bit rows need no padding
    pixels.order = RowOrder::BottomUp;
    HRGN result = nullptr;
    for (const RegionSlice& slice : MaskRegionSlices(pixels, TransparentRangesFor(transparent, tolerance))) {
        HRGN part = Sys().Graphics.ExtCreateRegion(RegionDataBytes(slice));
        if (part == nullptr) {
            // A region missing a slice would cut holes into the window:
            // rather leave the window its plain rectangle.
            if (result != nullptr) Sys().Graphics.DeleteObject(result);
            return nullptr;
        }
        if (result == nullptr) {
            result = part;
        } else {
            Sys().Graphics.CombineRgn(result, result, part, RGN_OR);
            Sys().Graphics.DeleteObject(part);
        }
    }
    return result;
}
