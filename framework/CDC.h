// A memory device context owned by its object: the bitmap it held when it
// was made is selected back before it is deleted. Windows build only.
#pragma once

#ifndef _WIN32
#error "CDC belongs to the Windows build"
#endif

#include "platform/WinTypes.h"

class CDC {
public:
    CDC() = default;
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return hdc_; }

    // A memory device context compatible with `reference` (null: the screen).
    BOOL CreateCompatibleDC(HDC reference) {
        DeleteDC();
        hdc_ = ::CreateCompatibleDC(reference);
        return hdc_ != nullptr ? TRUE : FALSE;
    }
    BOOL DeleteDC() {
        if (hdc_ == nullptr) return FALSE;
        RestoreSelections();
        const BOOL deleted = ::DeleteDC(hdc_);
        hdc_ = nullptr;
        return deleted;
    }

    // Selects an object; the bitmap the context held before the first bitmap
    // selection is put back when the context goes.
    HGDIOBJ SelectObject(HGDIOBJ object) {
        if (hdc_ == nullptr || object == nullptr) return nullptr;
        HGDIOBJ previous = ::SelectObject(hdc_, object);
        if (previous != nullptr && previous != HGDI_ERROR &&
            ::GetObjectType(object) == OBJ_BITMAP && originalBitmap_ == nullptr)
            originalBitmap_ = previous;
        return previous;
    }

    BOOL BitBlt(int x, int y, int width, int height, const CDC& source, int sourceX, int sourceY,
                DWORD rop) {
        return ::BitBlt(hdc_, x, y, width, height, source.hdc_, sourceX, sourceY, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, const CDC& source, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
        return ::StretchBlt(hdc_, x, y, width, height, source.hdc_, sourceX, sourceY, sourceWidth,
                            sourceHeight, rop);
    }

private:
    // Puts back the bitmap that was selected when the context was made.
    void RestoreSelections() {
        if (hdc_ != nullptr && originalBitmap_ != nullptr) ::SelectObject(hdc_, originalBitmap_);
        originalBitmap_ = nullptr;
    }

    HDC hdc_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
};
