// Skin pictures and window outlines: decoding a JPEG or BMP file into a
// bitmap, copying a rectangle of one bitmap into a new one, and the window
// region of a mask bitmap. The system's part (picture decoding, bitmaps,
// regions) is reached through the platform's graphics area.
#pragma once

#include <cstddef>

#include "framework/CBitmap.h"
#include "platform/Text.h"
#include "platform/WinTypes.h"

// Skin files larger than this are not decoded.
constexpr std::size_t kSkinFileLimit = 16u * 1024u * 1024u;

// Decodes the JPEG or BMP file `path` into `target` (whose previous bitmap
// is deleted first) and stores the picture's size in `size`. A file that
// cannot be read or decoded leaves `target` without a bitmap and `size` 0 × 0.
void LoadSkinImage(const Text& path, CBitmap& target, SIZE& size);

// Makes `target` a new bitmap, compatible with `reference`, holding the
// rectangle (left, top, right, bottom) of `source`, pixel for pixel. Does
// nothing when `source` holds no bitmap; leaves `target` empty for an empty
// rectangle.
void CopyBitmapPart(HDC reference, CBitmap& target, const CBitmap& source, int left, int top, int right,
                    int bottom);

// A region covering every pixel of `mask` whose colour lies outside the
// range from `transparent` to `transparent` + `tolerance` (per channel), or
// null: for a null mask, a mask without an opaque pixel, or when the pixels
// or a region cannot be had. The caller owns the region. It is built in
// slices of at most 2,000 rectangles, each merged into the result.
HRGN RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance);
