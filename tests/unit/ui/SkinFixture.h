// A small skin in the fake file system, as the progress dialog finds it
// beside the service's executable: a mask with white corners, a face and a
// filled face of one colour each, and the caption file. The fake decodes
// BMP files only (whatever their names), so the faces are BMP files under
// their .jpg names; the real system decodes both formats by content.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/fake/FakePlatform.h"
#include "ui/ProgressDialogRules.h"

namespace skintest {

constexpr char16_t kExe[] = u"C:\\Program Files\\Mouse\\mousehid.exe";
constexpr int kWidth = 40;
constexpr int kHeight = 12;
constexpr std::uint32_t kFaceColour = 0x336699;
constexpr std::uint32_t kFilledColour = 0xCC3300;
constexpr std::uint32_t kWhite = 0xFFFFFF;
// The template's rectangle as the dialog manager makes it (316 × 183 units).
constexpr int kTemplateWidth = 474;
constexpr int kTemplateHeight = 297;

// A 24-bit bottom-up BMP file of colour(x, y) (0x00RRGGBB).
inline std::string BmpFile(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t size = 54 + stride * height;
    std::string bmp(size, '\0');
    auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(54 + static_cast<std::size_t>(height - 1 - y) * stride + x * 3, colour(x, y), 3);
    return bmp;
}

// The corners cut by the mask: 2 × 2 pixels each.
inline bool InCutCorner(int x, int y) { return (x < 2 || x >= kWidth - 2) && (y < 2 || y >= kHeight - 2); }

inline std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

inline void AddDialogTemplate(FakePlatform& fake) {
    FakeDialogTemplate dialog;
    dialog.style = WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS;
    dialog.width = kTemplateWidth;
    dialog.height = kTemplateHeight;
    fake.windows.AddDialogTemplate(kProgressDialogTemplate, dialog);
}

inline void InstallSkin(FakePlatform& fake, const std::u16string& caption = u"Writing & saving") {
    const SkinFiles files = SkinFilesFor(kExe);
    fake.files.AddFile(files.mask, BmpFile(kWidth, kHeight, [](int x, int y) { return InCutCorner(x, y) ? kWhite : 0u; }));
    fake.files.AddFile(files.background, BmpFile(kWidth, kHeight, [](int, int) { return kFaceColour; }));
    fake.files.AddFile(files.filled, BmpFile(kWidth, kHeight, [](int, int) { return kFilledColour; }));
    fake.files.AddFile(files.strings, Utf16File(u"[TRAY_STRING]\r\n3=" + caption + u"\r\n"));
}

// Columns of row y of a window's surface that show the filled colour.
inline int FilledColumns(const FakePlatform& fake, HWND window, int width, int y) {
    int filled = 0;
    for (int x = 0; x < width; ++x)
        if (fake.graphics.WindowPixel(window, x, y) == kFilledColour) ++filled;
    return filled;
}

}  // namespace skintest
