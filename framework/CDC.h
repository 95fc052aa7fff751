// A memory device context owned by its object: the bitmap it held when it
// was made is selected back before it is deleted.
#pragma once

#include "platform/Platform.h"

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
        hdc_ = Sys().Graphics.CreateCompatibleDC(reference);
        return hdc_ != nullptr ? TRUE : FALSE;
    }
    BOOL DeleteDC() {
        if (hdc_ == nullptr) return FALSE;
        RestoreSelections();
        const BOOL deleted = Sys().Graphics.DeleteDC(hdc_);
        hdc_ = nullptr;
        return deleted;
    }

    // Selects a bitmap; the one the context held before the first selection
    // is put back when the context goes.
    HGDIOBJ SelectObject(HBITMAP bitmap) {
        if (hdc_ == nullptr || bitmap == nullptr) return nullptr;
        HGDIOBJ previous = Sys().Graphics.SelectObject(hdc_, bitmap);
        if (previous != nullptr && originalBitmap_ == nullptr) originalBitmap_ = previous;
        return previous;
    }

    BOOL BitBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
        return Sys().Graphics.BitBlt(hdc_, x, y, width, height, source, sourceX, sourceY, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, DWORD rop) {
        return Sys().Graphics.StretchBlt(hdc_, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                                         sourceHeight, rop);
    }

private:
    // Puts back the bitmap that was selected when the context was made.
    void RestoreSelections() {
        if (hdc_ != nullptr && originalBitmap_ != nullptr) Sys().Graphics.SelectObject(hdc_, originalBitmap_);
        originalBitmap_ = nullptr;
    }

    HDC hdc_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
};
