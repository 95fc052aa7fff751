// A GDI bitmap owned by its object: the handle is deleted with the object
// or when another bitmap takes its place. Windows build only.
#pragma once

#ifndef _WIN32
#error "CBitmap belongs to the Windows build"
#endif

#include "platform/WinTypes.h"

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
        const BOOL deleted = ::DeleteObject(handle_);
        handle_ = nullptr;
        return deleted;
    }

    // A bitmap of width × height in the format of `reference`.
    BOOL CreateCompatibleBitmap(HDC reference, int width, int height) {
        Attach(::CreateCompatibleBitmap(reference, width, height));
        return handle_ != nullptr ? TRUE : FALSE;
    }

    // The bitmap's description (GetObjectW); 0 when there is no bitmap.
    int GetBitmap(BITMAP* info) const {
        if (handle_ == nullptr) return 0;
        return ::GetObjectW(handle_, sizeof(BITMAP), info);
    }

private:
    HBITMAP handle_ = nullptr;
};
