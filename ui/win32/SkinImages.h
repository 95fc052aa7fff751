// Skin pictures on Windows: decoding JPEG and BMP files into bitmaps, and
// copying a rectangle of one bitmap into a new one.
#pragma once

#include "framework/CBitmap.h"
#include "platform/Text.h"
#include "platform/WinTypes.h"

// Skin files larger than this are not read.
constexpr DWORD kSkinFileLimit = 16u * 1024u * 1024u;

// Decodes the JPEG or BMP file `path` into `target` (whose previous bitmap
// is deleted first) and stores the picture's size in `size`. A file that
// cannot be read or decoded leaves `target` without a bitmap and `size` 0 × 0.
// Calls: CreateFileW, GetFileSize, ReadFile, GlobalAlloc, GlobalLock,
// GlobalUnlock, GlobalFree, CreateStreamOnHGlobal, OleLoadPicture,
// IPicture::get_Handle, CopyImage, GetObjectW.
void LoadSkinImage(const Text& path, CBitmap& target, SIZE& size);

// Makes `target` a new bitmap, compatible with `reference`, holding the
// rectangle (left, top, right, bottom) of `source`, pixel for pixel. Does
// nothing when `source` holds no bitmap; leaves `target` empty for an empty
// rectangle. Calls: CreateCompatibleBitmap, CreateCompatibleDC,
// SelectObject, StretchBlt, DeleteDC.
void CopyBitmapPart(HDC reference, CBitmap& target, const CBitmap& source, int left, int top,
                    int right, int bottom);
