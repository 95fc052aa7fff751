// Drawing: device contexts, bitmaps, regions, text and picture decoding:
// the graphics part of the platform seam. Names and arguments follow the
// Win32 functions (gdi32, user32's painting calls, OLE picture loading).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/WinTypes.h"

class GraphicsServices {
public:
    // --- device contexts ---
    virtual HDC GetDC(HWND hwnd) = 0;
    virtual int ReleaseDC(HWND hwnd, HDC hdc) = 0;
    // Validates the window's update region; sends WM_ERASEBKGND first when
    // the region was invalidated with erase.
    virtual HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) = 0;
    virtual BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) = 0;
    // A memory device context (null: compatible with the screen).
    virtual HDC CreateCompatibleDC(HDC reference) = 0;
    virtual BOOL DeleteDC(HDC hdc) = 0;

    // --- objects ---
    virtual HBITMAP CreateCompatibleBitmap(HDC reference, int width, int height) = 0;
    virtual HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) = 0;
    // Fails for an object still selected into a device context and for a
    // region a window owns.
    virtual BOOL DeleteObject(HGDIOBJ object) = 0;
    // GetObjectW of a bitmap: its width and height. False for no bitmap.
    virtual BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size) = 0;

    // --- drawing ---
    virtual BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                        int sourceY, DWORD rop) = 0;
    virtual BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                            int sourceY, int sourceWidth, int sourceHeight, DWORD rop) = 0;
    virtual int SetBkMode(HDC hdc, int mode) = 0;
    virtual int DrawTextW(HDC hdc, const Text& text, RECT* rect, UINT format) = 0;

    // --- pictures and pixels ---
    // Decodes a picture file's bytes into a bitmap of the caller's own, or
    // null: GlobalAlloc, GlobalLock, CreateStreamOnHGlobal (freed with the
    // stream), OleLoadPicture (IPicture), IPicture::get_Handle, CopyImage.
    virtual HBITMAP OleLoadPicture(const std::string& bytes) = 0;
    // A bitmap's pixels as a 32-bit device-independent section holds them
    // (4 bytes a pixel, blue, green, red, unused; width × 4 bytes a row,
    // bottom row first): CreateCompatibleDC, CreateDIBSection, SelectObject,
    // BitBlt, GdiFlush. False when no section could be made.
    virtual bool GetBitmapPixels32(HBITMAP bitmap, std::vector<std::uint8_t>& pixels, int& width,
                                   int& height) = 0;

    // --- regions ---
    // From region data (RGNDATA: header and rectangles).
    virtual HRGN ExtCreateRegion(const std::vector<std::uint8_t>& data) = 0;
    virtual int CombineRgn(HRGN target, HRGN first, HRGN second, int mode) = 0;

protected:
    ~GraphicsServices() = default;
};
