// Skin pictures and window regions on the real system: the default skin
// decodes at its size, a missing or broken file leaves no bitmap, a copied
// part holds the source's pixels, and the region built from a mask equals
// the region of its opaque pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/CBitmap.h"
#include "platform/Text.h"
#include "platform/win32/Win32Platform.h"
#include "ui/ProgressDialogRules.h"
#include "ui/SkinImages.h"

namespace {

// The functions reach the system through the real platform.
class RealPlatform : public ::testing::Environment {
public:
    void SetUp() override { SetPlatform(&platform_); }
    void TearDown() override { SetPlatform(nullptr); }

private:
    Win32Platform platform_;
};
const ::testing::Environment* const kRealPlatform = ::testing::AddGlobalTestEnvironment(new RealPlatform);

Text SkinFile(const char* name) {
    return TextFromUtf8(std::string(MOUSEHID_SOURCE_DIR_WINE) + "/defaults/skins/" + name);
}

// A top-down 32-bit section of width × height drawn by colour(x, y) (0x00RRGGBB).
HBITMAP MakeSection(int width, int height, const std::function<DWORD(int, int)>& colour) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = colour(x, y);
    return section;
}

// The pixels of a bitmap as 0x00RRGGBB, rows from the top.
std::vector<DWORD> PixelsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    for (DWORD& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

SIZE SizeOf(const CBitmap& bitmap) { return bitmap.GetSize(); }

TEST(SkinImagesTest, TheDefaultSkinDecodesAtItsSize) {
    for (const char* name : {"updatebar_n.jpg", "updatebar_o.jpg", "updatebar_Mask.BMP"}) {
        SCOPED_TRACE(name);
        CBitmap bitmap;
        SIZE size{-1, -1};
        LoadSkinImage(SkinFile(name), bitmap, size);
        ASSERT_NE(bitmap.GetSafeHandle(), nullptr);
        EXPECT_EQ(size.cx, 400);
        EXPECT_EQ(size.cy, 120);
        EXPECT_EQ(SizeOf(bitmap).cx, 400);
        EXPECT_EQ(SizeOf(bitmap).cy, 120);
    }
}

TEST(SkinImagesTest, AFileThatCannotBeReadOrDecodedLeavesNoBitmap) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring broken = std::wstring(folder) + L"skin_broken.jpg";
    HANDLE file = ::CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char junk[] = "\xFF\xD8 this is not a picture";
    DWORD written = 0;
    ::WriteFile(file, junk, sizeof junk, &written, nullptr);
    ::CloseHandle(file);
    const std::wstring empty = std::wstring(folder) + L"skin_empty.bmp";
    file = ::CreateFileW(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(file);

    const Text paths[] = {SkinFile("no_such_file.jpg"),
                          Text(reinterpret_cast<const char16_t*>(broken.c_str())),
                          Text(reinterpret_cast<const char16_t*>(empty.c_str()))};
    for (const Text& path : paths) {
        SCOPED_TRACE(TextToUtf8(path));
        CBitmap bitmap;
        SIZE size{};
        LoadSkinImage(SkinFile("updatebar_n.jpg"), bitmap, size);
        ASSERT_NE(bitmap.GetSafeHandle(), nullptr);
        LoadSkinImage(path, bitmap, size);
        EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, 0);
    }
    ::DeleteFileW(broken.c_str());
    ::DeleteFileW(empty.c_str());
}

TEST(SkinImagesTest, ACopiedPartHoldsTheSourcesPixels) {
    CBitmap source;
    source.Attach(MakeSection(100, 40, [](int x, int y) { return DWORD(x * 2) << 16 | DWORD(y * 5) << 8 | 0x40; }));
    ASSERT_NE(source.GetSafeHandle(), nullptr);
    HDC screen = ::GetDC(nullptr);
    CBitmap part;
    CopyBitmapPart(screen, part, source, 0, 0, 50, 20);
    ASSERT_NE(part.GetSafeHandle(), nullptr);
    EXPECT_EQ(SizeOf(part).cx, 50);
    EXPECT_EQ(SizeOf(part).cy, 20);
    const std::vector<DWORD> whole = PixelsOf(source.GetSafeHandle(), 100, 40);
    const std::vector<DWORD> copied = PixelsOf(part.GetSafeHandle(), 50, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(copied[y * 50 + x], whole[y * 100 + x]) << "pixel " << x << "," << y;

    // Another rectangle, from inside the source.
    CopyBitmapPart(screen, part, source, 30, 10, 40, 35);
    EXPECT_EQ(SizeOf(part).cx, 10);
    EXPECT_EQ(SizeOf(part).cy, 25);
    EXPECT_EQ(PixelsOf(part.GetSafeHandle(), 10, 25)[0], whole[10 * 100 + 30]);

    // An empty source changes nothing.
    CBitmap nothing;
    HBITMAP before = part.GetSafeHandle();
    CopyBitmapPart(screen, part, nothing, 0, 0, 5, 5);
    EXPECT_EQ(part.GetSafeHandle(), before);
    ::ReleaseDC(nullptr, screen);
}

// The region of the rectangles as the system would build them directly.
HRGN RegionOf(const std::vector<RECT>& rects) {
    HRGN result = ::CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN part = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
        ::CombineRgn(result, result, part, RGN_OR);
        ::DeleteObject(part);
    }
    return result;
}

TEST(WindowRegionTest, AMaskGivesTheRegionOfItsOpaquePixels) {
    struct Case {
        const char* name;
        int width, height;
        std::function<DWORD(int, int)> colour;
        std::vector<RECT> opaque;
    };
    std::vector<RECT> columns;
    for (int x = 0; x < 100; x += 2) columns.push_back({x, 0, x + 1, 50});
    const Case cases[] = {
        {"left half white", 10, 6, [](int x, int) { return x < 5 ? 0xFFFFFFu : 0u; }, {{5, 0, 10, 6}}},
        {"no white", 8, 4, [](int, int) { return 0x123456u; }, {{0, 0, 8, 4}}},
        {"top right corner cut", 8, 4, [](int x, int y) { return x >= 6 && y < 2 ? 0xFFFFFFu : 0u; },
         {{0, 0, 6, 2}, {0, 2, 8, 4}}},
        {"2,500 runs", 100, 50, [](int x, int) { return x % 2 == 0 ? 0u : 0xFFFFFFu; }, columns},
        {"near white is opaque", 4, 4, [](int x, int) { return x < 2 ? 0xFEFFFFu : 0xFFFFFFu; }, {{0, 0, 2, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBitmap mask;
        mask.Attach(MakeSection(c.width, c.height, c.colour));
        HRGN region = RegionFromMask(mask.GetSafeHandle(), 0xFFFFFF, 0);
        ASSERT_NE(region, nullptr);
        HRGN expected = RegionOf(c.opaque);
        EXPECT_TRUE(::EqualRgn(region, expected));
        ::DeleteObject(expected);
        ::DeleteObject(region);
    }
}

TEST(WindowRegionTest, NoRegionForAnAllWhiteMaskOrNoMask) {
    CBitmap white;
    white.Attach(MakeSection(16, 8, [](int, int) { return 0xFFFFFFu; }));
    EXPECT_EQ(RegionFromMask(white.GetSafeHandle(), 0xFFFFFF, 0), nullptr);
    EXPECT_EQ(RegionFromMask(nullptr, 0xFFFFFF, 0), nullptr);
}

TEST(WindowRegionTest, TheDefaultMaskCutsTheCorners) {
    CBitmap mask;
    SIZE size{};
    LoadSkinImage(SkinFile("updatebar_Mask.BMP"), mask, size);
    ASSERT_NE(mask.GetSafeHandle(), nullptr);
    HRGN region = RegionFromMask(mask.GetSafeHandle(), kMaskTransparentColour, kMaskTolerance);
    ASSERT_NE(region, nullptr);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.bottom, 120);
    for (POINT corner : {POINT{0, 0}, POINT{399, 0}, POINT{0, 119}, POINT{399, 119}, POINT{2, 2}})
        EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << "," << corner.y;
    for (POINT inside : {POINT{200, 60}, POINT{0, 60}, POINT{399, 60}, POINT{200, 0}, POINT{200, 119}})
        EXPECT_TRUE(::PtInRegion(region, inside.x, inside.y)) << inside.x << "," << inside.y;
    ::DeleteObject(region);
}

}  // namespace
