// A bitmap owned by its object: the handle is deleted with the object or
// when another bitmap takes its place.
#pragma once

#include "platform/Platform.h"

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    HBITMAP GetSafeHandle() const { return handle_; }

    // Takes ownership of `bitmap`, deleting the bitmap held before.
    void Attach(HBITMAP bitmap) {
        DeleteObject();
        handle_ = bitmap;
    }
    // Gives the handle up without deleting it.
    HBITMAP Detach() {
        HBITMAP bitmap = handle_;
        handle_ = nullptr;
        return bitmap;
    }
    BOOL DeleteObject() {
        if (handle_ == nullptr) return FALSE;
        const BOOL deleted = Sys().Graphics.DeleteObject(handle_);
        handle_ = nullptr;
        return deleted;
    }

    // A bitmap of width × height in the format of `reference`.
    BOOL CreateCompatibleBitmap(HDC reference, int width, int height) {
        Attach(Sys().Graphics.CreateCompatibleBitmap(reference, width, height));
        return handle_ != nullptr ? TRUE : FALSE;
    }

    // The bitmap's width and height (GetObjectW); 0 × 0 when there is none.
    SIZE GetSize() const {
        SIZE size{0, 0};
        if (handle_ == nullptr || !Sys().Graphics.GetBitmapSize(handle_, &size)) return SIZE{0, 0};
        return size;
    }

private:
    HBITMAP handle_ = nullptr;
};
