#include "platform/fake/FakeGraphics.h"

#include <algorithm>

namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

std::int32_t LittleSigned(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes[at + i];
    return static_cast<std::int32_t>(value);
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace

HGDIOBJ FakeGraphics::NewObjectLocked(Object object) {
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(world_.nextHandle++);
    objects_[handle] = std::move(object);
    return handle;
}

FakeGraphics::Object* FakeGraphics::FindObjectLocked(HGDIOBJ object) {
    auto it = objects_.find(object);
    return it == objects_.end() ? nullptr : &it->second;
}

HDC FakeGraphics::NewDcLocked(HWND window) {
    if (stockBitmap_ == nullptr) {
        Object stock;
        stock.bitmap = Bitmap{1, 1, {0}};
        stock.stock = true;
        stockBitmap_ = NewObjectLocked(stock);
    }
    HDC hdc = reinterpret_cast<HDC>(world_.nextHandle++);
    DeviceContext dc;
    dc.window = window;
    dc.bitmap = window == nullptr ? stockBitmap_ : nullptr;
    dcs_[hdc] = dc;
    return hdc;
}

std::string FakeGraphics::DcName(HDC hdc) const {
    auto it = dcs_.find(hdc);
    if (it == dcs_.end()) return "no-dc";
    return it->second.window != nullptr ? "window" : "memory";
}

FakeGraphics::Bitmap* FakeGraphics::SurfaceLocked(HDC hdc) {
    auto it = dcs_.find(hdc);
    if (it == dcs_.end()) return nullptr;
    if (it->second.window != nullptr) {
        const SIZE size = windows_.ClientSize(it->second.window);
        Bitmap& surface = surfaces_[it->second.window];
        if (surface.width != size.cx || surface.height != size.cy) {
            surface.width = std::max<LONG>(size.cx, 0);
            surface.height = std::max<LONG>(size.cy, 0);
            surface.pixels.assign(static_cast<std::size_t>(surface.width) * surface.height, 0);
        }
        return &surface;
    }
    Object* object = FindObjectLocked(it->second.bitmap);
    return object != nullptr && object->kind == Object::Kind::Bitmap ? &object->bitmap : nullptr;
}

HDC FakeGraphics::GetDC(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("GetDC");
    if (hwnd == nullptr) return NewDcLocked(nullptr);  // the screen: treated as a memory context
    const FakeWindow* window = windows_.Window(hwnd);
    if (window == nullptr || !window->alive) return nullptr;
    return NewDcLocked(hwnd);
}

int FakeGraphics::ReleaseDC(HWND, HDC hdc) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("ReleaseDC");
    return dcs_.erase(hdc) != 0 ? 1 : 0;
}

HDC FakeGraphics::BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("BeginPaint");
    }
    const bool erase = windows_.TakeUpdate(hwnd);
    HDC hdc;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        hdc = NewDcLocked(hwnd);
    }
    // The background is erased first, by the window itself.
    const LRESULT erased = erase ? windows_.SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) : 1;
    if (paint != nullptr) {
        *paint = PAINTSTRUCT{};
        paint->hdc = hdc;
        paint->fErase = erased == 0 ? TRUE : FALSE;
        const SIZE size = windows_.ClientSize(hwnd);
        paint->rcPaint = RECT{0, 0, size.cx, size.cy};
    }
    return hdc;
}

BOOL FakeGraphics::EndPaint(HWND, const PAINTSTRUCT* paint) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("EndPaint");
    if (paint == nullptr) return FALSE;
    dcs_.erase(paint->hdc);
    return TRUE;
}

HDC FakeGraphics::CreateCompatibleDC(HDC) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CreateCompatibleDC");
    return NewDcLocked(nullptr);
}

BOOL FakeGraphics::DeleteDC(HDC hdc) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("DeleteDC");
    return dcs_.erase(hdc) != 0 ? TRUE : FALSE;
}

HBITMAP FakeGraphics::CreateCompatibleBitmap(HDC, int width, int height) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CreateCompatibleBitmap " + std::to_string(width) + "x" + std::to_string(height));
    if (width <= 0 || height <= 0) return nullptr;
    Object object;
    object.bitmap = Bitmap{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0)};
    return reinterpret_cast<HBITMAP>(NewObjectLocked(std::move(object)));
}

HGDIOBJ FakeGraphics::SelectObject(HDC hdc, HGDIOBJ object) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SelectObject");
    auto dc = dcs_.find(hdc);
    Object* selected = FindObjectLocked(object);
    if (dc == dcs_.end() || selected == nullptr || selected->kind != Object::Kind::Bitmap) return nullptr;
    if (dc->second.window != nullptr) return nullptr;  // a window's context draws on the window
    // A bitmap lives in one memory context at a time (the stock one in any).
    if (!selected->stock)
        for (const auto& [other, context] : dcs_)
            if (other != hdc && context.bitmap == object) return nullptr;
    HGDIOBJ previous = dc->second.bitmap;
    dc->second.bitmap = object;
    return previous;
}

BOOL FakeGraphics::DeleteObject(HGDIOBJ object) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("DeleteObject");
    Object* found = FindObjectLocked(object);
    if (found == nullptr) return FALSE;
    if (found->stock) return TRUE;
    for (const auto& [hdc, context] : dcs_)
        if (context.bitmap == object) {
            misuses_.push_back("DeleteObject of a bitmap still selected into a device context");
            return FALSE;
        }
    if (windows_.OwnsRegion(reinterpret_cast<HRGN>(object))) {
        misuses_.push_back("DeleteObject of a region a window owns");
        return FALSE;
    }
    objects_.erase(object);
    return TRUE;
}

BOOL FakeGraphics::GetBitmapSize(HBITMAP bitmap, SIZE* size) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    Object* object = FindObjectLocked(bitmap);
    if (object == nullptr || object->kind != Object::Kind::Bitmap || size == nullptr) return FALSE;
    *size = SIZE{object->bitmap.width, object->bitmap.height};
    return TRUE;
}

BOOL FakeGraphics::BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                          int sourceY, DWORD rop) {
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("BitBlt " + DcName(target) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                      std::to_string(width) + "x" + std::to_string(height) + " <- " + DcName(source) + " " +
                      std::to_string(sourceX) + "," + std::to_string(sourceY));
    }
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return CopyLocked(target, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL FakeGraphics::StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                              int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("StretchBlt " + DcName(target) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                      std::to_string(width) + "x" + std::to_string(height) + " <- " + DcName(source) + " " +
                      std::to_string(sourceX) + "," + std::to_string(sourceY) + " " +
                      std::to_string(sourceWidth) + "x" + std::to_string(sourceHeight));
    return CopyLocked(target, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

BOOL FakeGraphics::CopyLocked(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                              int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    if (rop != SRCCOPY) return FALSE;
    Bitmap* to = SurfaceLocked(target);
    Bitmap* from = SurfaceLocked(source);
    if (to == nullptr || from == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return FALSE;
    const std::vector<std::uint32_t> copy = from->pixels;  // source and target may be one bitmap
    for (int row = 0; row < height; ++row) {
        const int ty = y + row;
        const int sy = sourceY + static_cast<int>(static_cast<long long>(row) * sourceHeight / height);
        if (ty < 0 || ty >= to->height || sy < 0 || sy >= from->height) continue;
        for (int column = 0; column < width; ++column) {
            const int tx = x + column;
            const int sx = sourceX + static_cast<int>(static_cast<long long>(column) * sourceWidth / width);
            if (tx < 0 || tx >= to->width || sx < 0 || sx >= from->width) continue;
            to->pixels[static_cast<std::size_t>(ty) * to->width + tx] =
                copy[static_cast<std::size_t>(sy) * from->width + sx];
        }
    }
    return TRUE;
}

int FakeGraphics::SetBkMode(HDC hdc, int mode) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetBkMode " + std::to_string(mode));
    auto dc = dcs_.find(hdc);
    if (dc == dcs_.end()) return 0;
    const int previous = dc->second.backgroundMode;
    dc->second.backgroundMode = mode;
    return previous;
}

int FakeGraphics::DrawTextW(HDC hdc, const Text& text, RECT* rect, UINT format) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("DrawTextW " + TextToUtf8(text) + " " + (rect ? RectText(*rect) : "-") + " " + FakeHex(format));
    auto dc = dcs_.find(hdc);
    if (dc == dcs_.end() || rect == nullptr) return 0;
    FakeDrawnText drawn;
    drawn.window = dc->second.window;
    drawn.bitmap = dc->second.window == nullptr ? reinterpret_cast<HBITMAP>(dc->second.bitmap) : nullptr;
    drawn.text = text;
    drawn.rect = *rect;
    drawn.format = format;
    drawn.backgroundMode = dc->second.backgroundMode;
    texts_.push_back(drawn);
    constexpr int kLineHeight = 13;
    return text.empty() ? 0 : kLineHeight;
}

HBITMAP FakeGraphics::OleLoadPicture(const std::string& bytes) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("OleLoadPicture " + std::to_string(bytes.size()));
    // BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
    const std::uint32_t pixelsAt = Little(bytes, 10, 4);
    const std::uint32_t headerSize = Little(bytes, 14, 4);
    const auto width = static_cast<std::int32_t>(Little(bytes, 18, 4));
    const auto signedHeight = static_cast<std::int32_t>(Little(bytes, 22, 4));
    const std::uint32_t bits = Little(bytes, 28, 2);
    const std::uint32_t compression = Little(bytes, 30, 4);
    if (headerSize < 40 || width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN || compression != 0 ||
        (bits != 24 && bits != 32) || width > 16384 || std::abs(signedHeight) > 16384)
        return nullptr;
    const int height = std::abs(signedHeight);
    const std::size_t bytesPerPixel = bits / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
    if (pixelsAt > bytes.size() || (bytes.size() - pixelsAt) / stride < static_cast<std::size_t>(height))
        return nullptr;
    Object object;
    object.bitmap = Bitmap{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const int fileRow = signedHeight > 0 ? height - 1 - y : y;  // positive height: bottom row first
        const std::size_t row = pixelsAt + static_cast<std::size_t>(fileRow) * stride;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * bytesPerPixel;
            object.bitmap.pixels[static_cast<std::size_t>(y) * width + x] = Little(bytes, at, 3);
        }
    }
    return reinterpret_cast<HBITMAP>(NewObjectLocked(std::move(object)));
}

bool FakeGraphics::GetBitmapPixels32(HBITMAP bitmap, std::vector<std::uint8_t>& pixels, int& width, int& height) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("GetBitmapPixels32");
    Object* object = FindObjectLocked(bitmap);
    if (object == nullptr || object->kind != Object::Kind::Bitmap || object->stock) return false;
    const Bitmap& b = object->bitmap;
    pixels.assign(static_cast<std::size_t>(b.width) * b.height * 4, 0);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const std::uint32_t colour = b.pixels[static_cast<std::size_t>(y) * b.width + x];
            const std::size_t at = (static_cast<std::size_t>(b.height - 1 - y) * b.width + x) * 4;
            pixels[at] = static_cast<std::uint8_t>(colour);            // blue
            pixels[at + 1] = static_cast<std::uint8_t>(colour >> 8);   // green
            pixels[at + 2] = static_cast<std::uint8_t>(colour >> 16);  // red
        }
    width = b.width;
    height = b.height;
    return true;
}

HRGN FakeGraphics::ExtCreateRegion(const std::vector<std::uint8_t>& data) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("ExtCreateRegion");
    constexpr std::size_t kHeader = 32;
    if (data.size() < kHeader || LittleSigned(data, 0) != 32 || LittleSigned(data, 4) != 1) return nullptr;
    const auto count = static_cast<std::uint32_t>(LittleSigned(data, 8));
    if ((data.size() - kHeader) / 16 < count) return nullptr;
    Object object;
    object.kind = Object::Kind::Region;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = kHeader + static_cast<std::size_t>(i) * 16;
        const RECT r{LittleSigned(data, at), LittleSigned(data, at + 4), LittleSigned(data, at + 8),
                     LittleSigned(data, at + 12)};
        if (r.right > r.left && r.bottom > r.top) object.rects.push_back(r);
    }
    return reinterpret_cast<HRGN>(NewObjectLocked(std::move(object)));
}

int FakeGraphics::CombineRgn(HRGN target, HRGN first, HRGN second, int mode) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CombineRgn " + std::to_string(mode));
    Object* to = FindObjectLocked(target);
    Object* a = FindObjectLocked(first);
    Object* b = FindObjectLocked(second);
    if (mode != RGN_OR || to == nullptr || a == nullptr || b == nullptr || to->kind != Object::Kind::Region ||
        a->kind != Object::Kind::Region || b->kind != Object::Kind::Region)
        return 0;
    std::vector<RECT> rects = a->rects;
    rects.insert(rects.end(), b->rects.begin(), b->rects.end());
    to->rects = std::move(rects);
    if (to->rects.empty()) return NULLREGION;
    return to->rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HBITMAP FakeGraphics::MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) return nullptr;
    Object object;
    object.bitmap = Bitmap{width, height, pixels};
    return reinterpret_cast<HBITMAP>(NewObjectLocked(std::move(object)));
}

std::uint32_t FakeGraphics::WindowPixel(HWND hwnd, int x, int y) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto it = surfaces_.find(hwnd);
    if (it == surfaces_.end() || x < 0 || y < 0 || x >= it->second.width || y >= it->second.height) return 0;
    return it->second.pixels[static_cast<std::size_t>(y) * it->second.width + x];
}

std::uint32_t FakeGraphics::BitmapPixel(HBITMAP bitmap, int x, int y) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto it = objects_.find(bitmap);
    if (it == objects_.end() || it->second.kind != Object::Kind::Bitmap) return 0;
    const Bitmap& b = it->second.bitmap;
    if (x < 0 || y < 0 || x >= b.width || y >= b.height) return 0;
    return b.pixels[static_cast<std::size_t>(y) * b.width + x];
}

std::vector<FakeDrawnText> FakeGraphics::DrawnTexts() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return texts_;
}

std::vector<RECT> FakeGraphics::RegionRects(HRGN region) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto it = objects_.find(region);
    if (it == objects_.end() || it->second.kind != Object::Kind::Region) return {};
    return it->second.rects;
}

bool FakeGraphics::RegionContains(HRGN region, int x, int y) const {
    for (const RECT& r : RegionRects(region))
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

int FakeGraphics::LiveObjects() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    int live = 0;
    for (const auto& [handle, object] : objects_)
        if (!object.stock && !(object.kind == Object::Kind::Region && windows_.OwnsRegion(reinterpret_cast<HRGN>(handle))))
            ++live;
    return live;
}

std::vector<std::string> FakeGraphics::Misuses() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return misuses_;
}

int FakeGraphics::LiveDeviceContexts() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return static_cast<int>(dcs_.size());
}
