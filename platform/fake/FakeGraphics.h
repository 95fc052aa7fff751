// The fake drawing area. Bitmaps hold real pixels (0x00RRGGBB), and every
// window has a surface of its client area's size that window device
// contexts draw on, so a test can look at what a window shows. As on
// Windows:
// - a memory device context starts with a 1 × 1 stock bitmap selected, and
//   SelectObject returns what was selected before;
// - a bitmap can be selected into one device context at a time, and an
//   object still selected, or a region a window owns, cannot be deleted;
// - BeginPaint validates the window and first sends WM_ERASEBKGND when it
//   was invalidated with erase; fErase tells whether that was left undone;
// - only SRCCOPY copies are supported; StretchBlt scales by nearest pixel;
// - OleLoadPicture decodes uncompressed 24- and 32-bit BMP files, whatever
//   the name; other formats (JPEG) are not decoded by the fake.
// DrawTextW draws no glyphs: the fake keeps each text drawn, with its
// rectangle, format and background mode, for tests to read.
#pragma once

#include <map>
#include <vector>

#include "platform/Graphics.h"
#include "platform/fake/FakeWindows.h"
#include "platform/fake/FakeWorld.h"

struct FakeDrawnText {
    HWND window = nullptr;  // the window drawn on, or null for a memory bitmap
    HBITMAP bitmap = nullptr;  // the bitmap drawn into, for a memory device context
    Text text;
    RECT rect{};
    UINT format = 0;
    int backgroundMode = 0;
};

class FakeGraphics final : public GraphicsServices {
public:
    FakeGraphics(FakeWorld& world, FakeWindows& windows) : world_(world), windows_(windows) {}

    HDC GetDC(HWND hwnd) override;
    int ReleaseDC(HWND hwnd, HDC hdc) override;
    HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) override;
    BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) override;
    HDC CreateCompatibleDC(HDC reference) override;
    BOOL DeleteDC(HDC hdc) override;
    HBITMAP CreateCompatibleBitmap(HDC reference, int width, int height) override;
    HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) override;
    BOOL DeleteObject(HGDIOBJ object) override;
    BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size) override;
    BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                DWORD rop) override;
    BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, DWORD rop) override;
    int SetBkMode(HDC hdc, int mode) override;
    int DrawTextW(HDC hdc, const Text& text, RECT* rect, UINT format) override;
    HBITMAP OleLoadPicture(const std::string& bytes) override;
    bool GetBitmapPixels32(HBITMAP bitmap, std::vector<std::uint8_t>& pixels, int& width,
                           int& height) override;
    HRGN ExtCreateRegion(const std::vector<std::uint8_t>& data) override;
    int CombineRgn(HRGN target, HRGN first, HRGN second, int mode) override;

    // --- set-up ---
    // A bitmap of the given pixels (0x00RRGGBB, rows from the top).
    HBITMAP MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels);

    // --- inspection ---
    // A window's surface pixel (0x00RRGGBB); 0 outside it or before any drawing.
    std::uint32_t WindowPixel(HWND hwnd, int x, int y) const;
    std::uint32_t BitmapPixel(HBITMAP bitmap, int x, int y) const;
    std::vector<FakeDrawnText> DrawnTexts() const;
    // The rectangles of a region (each one row or more), or nothing.
    std::vector<RECT> RegionRects(HRGN region) const;
    bool RegionContains(HRGN region, int x, int y) const;
    // Bitmaps and regions made and not deleted (regions that windows own do
    // not count), and device contexts not deleted or released.
    int LiveObjects() const;
    int LiveDeviceContexts() const;
    // Calls that Windows refuses and that point to a bug in the caller.
    std::vector<std::string> Misuses() const;

private:
    struct Bitmap {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
    };
    struct Object {
        enum class Kind { Bitmap, Region } kind = Kind::Bitmap;
        Bitmap bitmap;
        std::vector<RECT> rects;
        bool stock = false;
    };
    struct DeviceContext {
        HWND window = nullptr;  // a window's context (GetDC, BeginPaint), or null: a memory one
        HGDIOBJ bitmap = nullptr;  // selected bitmap of a memory context
        int backgroundMode = OPAQUE;
    };

    BOOL CopyLocked(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, DWORD rop);
    HGDIOBJ NewObjectLocked(Object object);
    Bitmap* SurfaceLocked(HDC hdc);
    HDC NewDcLocked(HWND window);
    Object* FindObjectLocked(HGDIOBJ object);
    std::string DcName(HDC hdc) const;

    FakeWorld& world_;
    FakeWindows& windows_;
    std::map<HGDIOBJ, Object> objects_;
    std::map<HDC, DeviceContext> dcs_;
    std::map<HWND, Bitmap> surfaces_;
    std::vector<FakeDrawnText> texts_;
    std::vector<std::string> misuses_;
    HGDIOBJ stockBitmap_ = nullptr;
};
