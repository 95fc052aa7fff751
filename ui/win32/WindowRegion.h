// A window outline from a mask bitmap, on Windows.
#pragma once

#include "platform/WinTypes.h"

// A region covering every pixel of `mask` whose colour lies outside the
// range from `transparent` to `transparent` + `tolerance` (per channel), or
// null: for a null mask, a mask without an opaque pixel, or when a device
// context, the pixel section or a region cannot be made. The caller owns
// the region. Calls: GetObjectW, CreateCompatibleDC, CreateDIBSection,
// SelectObject, BitBlt, GdiFlush, ExtCreateRegion, CombineRgn, DeleteObject,
// DeleteDC.
HRGN RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance);
