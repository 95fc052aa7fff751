#include "ui/win32/SkinImages.h"

#include <ole2.h>
#include <olectl.h>

#include "framework/CDC.h"
#include "platform/win32/Win32Platform.h"

namespace {

// The whole file in one movable global block; null when it cannot be read.
HGLOBAL ReadFileIntoGlobal(const Text& path, DWORD& byteCount) {
    byteCount = 0;
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    DWORD high = 0;
    const DWORD size = ::GetFileSize(file, &high);
    HGLOBAL block = nullptr;
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size <= kSkinFileLimit)
        block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    bool complete = false;
    if (block != nullptr) {
        void* memory = ::GlobalLock(block);
        DWORD read = 0;
        complete = memory != nullptr && ::ReadFile(file, memory, size, &read, nullptr) && read == size;
        ::GlobalUnlock(block);
    }
    ::CloseHandle(file);
    if (!complete) {
        if (block != nullptr) ::GlobalFree(block);
        return nullptr;
    }
    byteCount = size;
    return block;
}

// Decodes the picture; the returned bitmap is the caller's own (the
// picture object, which owns its handle, is released here).
HBITMAP DecodePicture(HGLOBAL block, DWORD byteCount) {
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = ::OleLoadPicture(stream, static_cast<LONG>(byteCount), FALSE, IID_IPicture,
                                            reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr) return nullptr;
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

}  // namespace

void LoadSkinImage(const Text& path, CBitmap& target, SIZE& size) {
    target.DeleteObject();
    size = {0, 0};
    DWORD byteCount = 0;
    HGLOBAL block = ReadFileIntoGlobal(path, byteCount);
    if (block == nullptr) return;
    HBITMAP bitmap = DecodePicture(block, byteCount);
    if (bitmap == nullptr) return;
    target.Attach(bitmap);
    BITMAP info{};
    if (target.GetBitmap(&info) != 0) size = {info.bmWidth, info.bmHeight};
}

void CopyBitmapPart(HDC reference, CBitmap& target, const CBitmap& source, int left, int top,
                    int right, int bottom) {
    if (source.GetSafeHandle() == nullptr) return;
    target.DeleteObject();
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0) return;
    if (!target.CreateCompatibleBitmap(reference, width, height)) return;
    CDC targetDc;
    CDC sourceDc;
    if (!targetDc.CreateCompatibleDC(reference) || !sourceDc.CreateCompatibleDC(reference)) {
        target.DeleteObject();
        return;
    }
    targetDc.SelectObject(target.GetSafeHandle());
    sourceDc.SelectObject(source.GetSafeHandle());
    targetDc.StretchBlt(0, 0, width, height, sourceDc, left, top, width, height, SRCCOPY);
}
