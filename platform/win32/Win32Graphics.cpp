#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "platform/win32/Win32Platform.h"

HDC Win32Graphics::GetDC(HWND hwnd) { return ::GetDC(hwnd); }
int Win32Graphics::ReleaseDC(HWND hwnd, HDC hdc) { return ::ReleaseDC(hwnd, hdc); }
HDC Win32Graphics::BeginPaint(HWND hwnd, PAINTSTRUCT* paint) { return ::BeginPaint(hwnd, paint); }
BOOL Win32Graphics::EndPaint(HWND hwnd, const PAINTSTRUCT* paint) { return ::EndPaint(hwnd, paint); }
HDC Win32Graphics::CreateCompatibleDC(HDC reference) { return ::CreateCompatibleDC(reference); }
BOOL Win32Graphics::DeleteDC(HDC hdc) { return ::DeleteDC(hdc); }

HBITMAP Win32Graphics::CreateCompatibleBitmap(HDC reference, int width, int height) {
    return ::CreateCompatibleBitmap(reference, width, height);
}

HGDIOBJ Win32Graphics::SelectObject(HDC hdc, HGDIOBJ object) { return ::SelectObject(hdc, object); }
BOOL Win32Graphics::DeleteObject(HGDIOBJ object) { return ::DeleteObject(object); }

BOOL Win32Graphics::GetBitmapSize(HBITMAP bitmap, SIZE* size) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) return FALSE;
    size->cx = info.bmWidth;
    size->cy = info.bmHeight;
    return TRUE;
}

BOOL Win32Graphics::BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                           int sourceY, DWORD rop) {
    return ::BitBlt(target, x, y, width, height, source, sourceX, sourceY, rop);
}

BOOL Win32Graphics::StretchBlt(HDC target, int x, int y, int width, int height, HDC source,
                               int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                               DWORD rop) {
    return ::StretchBlt(target, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                        sourceHeight, rop);
}

int Win32Graphics::SetBkMode(HDC hdc, int mode) { return ::SetBkMode(hdc, mode); }

int Win32Graphics::DrawTextW(HDC hdc, const Text& text, RECT* rect, UINT format) {
    return ::DrawTextW(hdc, Wide(text), static_cast<int>(text.size()), rect, format);
}

HBITMAP Win32Graphics::OleLoadPicture(const std::string& bytes) {
    if (bytes.empty()) return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return nullptr;
    void* memory = ::GlobalLock(block);
    if (memory == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(memory, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    // The stream frees the block when it is released.
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = ::OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                            IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr) return nullptr;
    // The picture owns its handle and deletes it on release: keep a copy.
    HBITMAP copy = nullptr;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
        HBITMAP owned = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        copy = static_cast<HBITMAP>(::CopyImage(owned, IMAGE_BITMAP, 0, 0, 0));
    }
    picture->Release();
    return copy;
}

bool Win32Graphics::GetBitmapPixels32(HBITMAP bitmap, std::vector<std::uint8_t>& pixels, int& width,
                                      int& height) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return false;
    HDC sectionDc = ::CreateCompatibleDC(nullptr);
    if (sectionDc == nullptr) return false;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;  // bottom row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(sectionDc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (section != nullptr && bits != nullptr) {
        HDC sourceDc = ::CreateCompatibleDC(sectionDc);
        if (sourceDc != nullptr) {
            HGDIOBJ oldSection = ::SelectObject(sectionDc, section);
            HGDIOBJ oldSource = ::SelectObject(sourceDc, bitmap);
            copied = ::BitBlt(sectionDc, 0, 0, info.bmWidth, info.bmHeight, sourceDc, 0, 0, SRCCOPY);
            ::GdiFlush();
            if (copied) {
                const std::size_t count = static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4;
                pixels.assign(static_cast<const std::uint8_t*>(bits),
                              static_cast<const std::uint8_t*>(bits) + count);
                width = info.bmWidth;
                height = info.bmHeight;
            }
            ::SelectObject(sourceDc, oldSource);
            ::SelectObject(sectionDc, oldSection);
            ::DeleteDC(sourceDc);
        }
    }
    if (section != nullptr) ::DeleteObject(section);
    ::DeleteDC(sectionDc);
    return copied;
}

HRGN Win32Graphics::ExtCreateRegion(const std::vector<std::uint8_t>& data) {
    if (data.size() < sizeof(RGNDATAHEADER)) return nullptr;
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                             reinterpret_cast<const RGNDATA*>(data.data()));
}

int Win32Graphics::CombineRgn(HRGN target, HRGN first, HRGN second, int mode) {
    return ::CombineRgn(target, first, second, mode);
}
