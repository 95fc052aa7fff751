// The progress dialog end to end: the installed service, the simulated mouse
// beside it and the configuration stand-in. A full write started by 0x4DE
// shows the window "QZNDorvantisProgressbar", visible, topmost, the size of
// the skin, centred and shaped; its bar fills as the write goes on
// (screenshots at two steps are saved into the build folder); it is gone
// before 0x4E1 reaches the stand-in. Without the skins it still shows and
// 0x4E1 still comes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "contract/Messages.h"
#include "tests/support/PeerSequences.h"
#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

const wchar_t* const kProgressTitle = Wide(kProgressDialogTitle);
constexpr UINT kFullWrite = kMsgFullWrite;
constexpr UINT kFullWriteDone = kFullWritePosts[0].Message;
// The default skin: 400 × 120, the bar from x 24 to 376 around row 92.
constexpr int kSkinWidth = 400;
constexpr int kSkinHeight = 120;
constexpr int kBarRow = 92;
constexpr int kBarLeft = 24;
constexpr int kBarRight = 376;
// Margin of desktop kept around the dialog in the saved pictures.
constexpr int kShotMargin = 24;

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The Windows path of a host path (Wine shows the host's root as drive Z:).
std::wstring HostPath(const std::string& path) {
    std::wstring windows = L"Z:" + Widen(path);
    for (wchar_t& c : windows)
        if (c == L'/') c = L'\\';
    return windows;
}

// Runs a command of the host system through its shell (Wine starts Unix
// programs) and waits until the file it makes exists. Wine gives no exit
// code for a Unix program, so the command makes its file under another name
// and renames it when done: the file's existence is its success.
bool RunHostCommand(const std::string& command, const std::string& makes) {
    const std::string line = "/bin/sh -c \"" + command + " && mv '" + makes + ".part' '" + makes + "'\"";
    std::wstring wide = Widen(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    DeleteFileW(HostPath(makes).c_str());
    if (!CreateProcessW(L"Z:\\bin\\sh", &wide[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        if (FileExists(HostPath(makes))) return true;
        Sleep(10);
    }
    return false;
}

// How far the bar is filled on screen: one past the last column of the bar's
// row that shows the blue of the filled face, from the dialog's left edge;
// 0 when none does. Read from the screen as it is shown.
int FilledTo(const RECT& dialog) {
    const int width = dialog.right - dialog.left;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP row = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, row);
    BitBlt(memory, 0, 0, width, 1, screen, dialog.left, dialog.top + kBarRow, SRCCOPY);
    GdiFlush();
    int filledTo = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int x = kBarLeft; x < kBarRight && x < width; ++x) {
        const int red = (pixels[x] >> 16) & 0xFF;
        const int blue = pixels[x] & 0xFF;
        if (blue - red > 80) filledTo = x + 1;
    }
    SelectObject(memory, old);
    DeleteObject(row);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return filledTo;
}

// The colour of one pixel of a picture file, "#RRGGBB" (empty if unread).
std::string PixelOf(const std::string& picture, int x, int y) {
    const std::string text = picture + ".pixel";
    if (!RunHostCommand("/usr/bin/convert '" + picture + "' -crop 1x1+" + std::to_string(x) + "+" +
                            std::to_string(y) + " +repage -depth 8 txt:- > '" + text + ".part'",
                        text))
        return std::string();
    const std::string line = ReadFile(HostPath(text));
    DeleteFileW(HostPath(text).c_str());
    const auto hash = line.find('#', line.find('\n'));
    return hash == std::string::npos ? std::string() : line.substr(hash, 7);
}

class ProgressDialogE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveTree(DataFolder());
        pipe = L"HidSimProgress-" + std::to_wstring(GetCurrentProcessId());
        SetEnvironmentVariableW(L"HIDSIM_PIPE", pipe.c_str());
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
    }
    void TearDown() override {
        CloseStragglers();
        SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
        if (!folder.empty()) RemoveTree(folder);
    }

    // The service from a copy of the installation, with the configuration
    // stand-in listening; returns once the service has started up.
    void StartWithConfigProgram(const std::vector<std::wstring>& skip) {
        folder = MakeInstallCopy(skip);
        configLog = folder + L"\\config.log";
        ASSERT_EQ(FileExists(folder + L"\\skins\\updatebar_n.jpg"), skip.empty());
        config = Start(folder + L"\\configstub.exe", L"window Lunket_Driver_Config \"" + configLog + L"\"");
        // The first window of a run may wait for Wine's desktop process.
        ASSERT_NE(WaitForWindow(kConfigTitle, 30000), nullptr);
        service = StartService(folder);
        ASSERT_NE(service.window, nullptr);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
    }

    // Posts 0x4DE through the stand-in tool, as the configuration program does.
    void PostFullWrite() {
        Process post = Start(folder + L"\\configstub.exe", L"post " + std::to_wstring(kFullWrite) + L" 0 0");
        DWORD code = 1;
        ASSERT_TRUE(post.Wait(10000, &code));
        post.Release();
        ASSERT_EQ(code, 0u);
    }

    // Waits for the dialog to be on screen; null if it never is.
    static HWND WaitForShownDialog(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            HWND dialog = FindWindowW(nullptr, kProgressTitle);
            if (dialog != nullptr && IsWindowVisible(dialog)) return dialog;
            Sleep(5);
        }
        return nullptr;
    }

    // Waits for 0x4E1 in the stand-in's log; at the first look that finds
    // it, the dialog must already be gone.
    void ExpectDoneAfterTheDialogWent() {
        char needle[32];
        std::snprintf(needle, sizeof needle, "msg=0x%04x ", kFullWriteDone);
        const DWORD start = GetTickCount();
        bool done = false;
        while (!done && GetTickCount() - start < 20000) {
            for (const auto& line : LogLines(configLog)) done = done || line.find(needle) != std::string::npos;
            if (done) {
                EXPECT_EQ(FindWindowW(nullptr, kProgressTitle), nullptr) << "0x4E1 came before the dialog went";
            }
            Sleep(5);
        }
        EXPECT_TRUE(done) << "no 0x4E1";
    }

    std::wstring pipe;
    std::wstring folder;
    std::wstring configLog;
    Process config;
    RunningService service;
};

TEST_F(ProgressDialogE2E, TheSkinnedDialogShowsCentredOnTopFillsAndGoesBeforeDone) {
    StartWithConfigProgram({});
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const std::string shots = MOUSEHID_SCREENSHOT_DIR;
    CreateDirectoryW(HostPath(shots).c_str(), nullptr);

    PostFullWrite();
    HWND dialog = WaitForShownDialog(10000);
    ASSERT_NE(dialog, nullptr) << "no visible window titled QZNDorvantisProgressbar";
    EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    EXPECT_EQ(rect.right - rect.left, kSkinWidth);
    EXPECT_EQ(rect.bottom - rect.top, kSkinHeight);
    EXPECT_EQ(rect.left, (screenWidth - kSkinWidth) / 2);
    EXPECT_EQ(rect.top, (screenHeight - kSkinHeight) / 2);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog, region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the corners are cut";
    EXPECT_FALSE(PtInRegion(region, kSkinWidth - 1, kSkinHeight - 1));
    EXPECT_TRUE(PtInRegion(region, kSkinWidth / 2, kSkinHeight / 2));
    DeleteObject(region);

    // Two steps of the write (a profile without macros): 20 % for about
    // 1.35 s, then 50 %, 60 % and 80 % (each of 400 pixels, from the
    // dialog's left edge). Each picture is taken once the bar shows its step.
    struct Shot {
        const char* name;
        int atLeast;
        int atMost;
        int filledTo = 0;
    };
    Shot steps[] = {{"progress-dialog-1", 77, 83}, {"progress-dialog-2", 197, 323}};
    for (Shot& shot : steps) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000 && FindWindowW(nullptr, kProgressTitle) == dialog) {
            shot.filledTo = FilledTo(rect);
            if (shot.filledTo >= shot.atLeast && shot.filledTo <= shot.atMost) break;
            Sleep(10);
        }
        ASSERT_EQ(FindWindowW(nullptr, kProgressTitle), dialog) << "gone before " << shot.name;
        ASSERT_GE(shot.filledTo, shot.atLeast) << shot.name;
        ASSERT_LE(shot.filledTo, shot.atMost) << shot.name;
        const std::string xwd = shots + "/" + shot.name + ".xwd";
        EXPECT_TRUE(RunHostCommand("xwd -root -silent -out '" + xwd + ".part'", xwd)) << shot.name;
    }
    ExpectDoneAfterTheDialogWent();

    for (const Shot& shot : steps) {
        char crop[64];
        std::snprintf(crop, sizeof crop, "%dx%d+%d+%d", kSkinWidth + 2 * kShotMargin, kSkinHeight + 2 * kShotMargin,
                      static_cast<int>(rect.left) - kShotMargin, static_cast<int>(rect.top) - kShotMargin);
        const std::string base = shots + "/" + shot.name;
        EXPECT_TRUE(RunHostCommand("/usr/bin/convert 'xwd:" + base + ".xwd' -crop " + crop + " +repage 'png:" +
                                       base + ".png.part'",
                                   base + ".png"))
            << shot.name;
        DeleteFileW(HostPath(base + ".xwd").c_str());
        // The picture holds the dialog: its face's light body beside the bar.
        const std::string body = PixelOf(base + ".png", kShotMargin + 8, kShotMargin + kBarRow);
        ASSERT_EQ(body.size(), 7u) << shot.name;
        EXPECT_GE(std::stoi(body.substr(1, 2), nullptr, 16), 0xC0) << shot.name << " " << body;
    }
    EXPECT_TRUE(CloseService(service));
}

TEST_F(ProgressDialogE2E, WithoutTheSkinsTheDialogStillShowsAndDoneStillComes) {
    StartWithConfigProgram({L"skins"});
    PostFullWrite();
    HWND dialog = WaitForShownDialog(10000);
    ASSERT_NE(dialog, nullptr) << "no visible window titled QZNDorvantisProgressbar";
    EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    EXPECT_GT(rect.right - rect.left, 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog, region), ERROR) << "no mask: the window keeps its rectangle";
    DeleteObject(region);
    ExpectDoneAfterTheDialogWent();
    EXPECT_TRUE(CloseService(service));
}

// A profile with a macro: the button table and the macro area take about
// 6.4 s between the positions 20 and 50. The bar, read off the screen every
// 20 ms while the dialog shows, only grows and passes through many widths
// between those of 20 % and 50 %, not in one jump. The longest time the bar
// stood still is printed (a measurement, not asserted).
TEST_F(ProgressDialogE2E, TheBarMovesWhileTheMacroAreaGoesOut) {
    StartWithConfigProgram({});
    // Button 5 of every profile becomes a macro with a ButtonID and no events:
    // enough to send the whole macro area. The full write reloads the file.
    const std::wstring settings = DataFolder() + L"config.ini";
    for (int profile = 0; profile < 6; ++profile) {
        const std::wstring section = L"ButtonAssigned" + std::to_wstring(profile) + L"_5";
        ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), L"ButtonFunc", L"44", settings.c_str()));
        ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), L"ButtonID", L"1", settings.c_str()));
    }
    PostFullWrite();
    HWND dialog = WaitForShownDialog(10000);
    ASSERT_NE(dialog, nullptr) << "no visible window titled QZNDorvantisProgressbar";
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(dialog, &rect));

    struct Sample {
        DWORD at;
        int filledTo;
    };
    std::vector<Sample> samples;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000 && FindWindowW(nullptr, kProgressTitle) == dialog &&
           IsWindowVisible(dialog)) {
        samples.push_back({GetTickCount() - start, FilledTo(rect)});
        Sleep(20);
    }
    ExpectDoneAfterTheDialogWent();
    EXPECT_TRUE(CloseService(service));

    std::string dump;
    for (const Sample& sample : samples) dump += std::to_string(sample.at) + ":" + std::to_string(sample.filledTo) + " ";
    SCOPED_TRACE(dump);
    ASSERT_GT(samples.size(), 100u) << "the write took under 2 s: no macro area went out";
    // The widths of 20 % and 50 % of the 400 pixels are 80 and 200.
    std::vector<int> between;
    DWORD longestStill = 0;
    DWORD stillSince = samples.front().at;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        // A sample taken while the bar is being painted may read one step
        // short; a drop of a few pixels is not a step back.
        EXPECT_GE(samples[i].filledTo + 8, samples[i - 1].filledTo) << "the bar went back at " << samples[i].at;
        if (samples[i].filledTo != samples[i - 1].filledTo) {
            if (samples[i - 1].filledTo >= 77 && samples[i - 1].filledTo < 320)
                longestStill = std::max(longestStill, samples[i].at - stillSince);
            stillSince = samples[i].at;
        }
        const int w = samples[i].filledTo;
        if (w > 83 && w < 197 && (between.empty() || between.back() != w)) between.push_back(w);
    }
    EXPECT_GE(between.size(), 20u) << "the bar jumped from 20 % to 50 %";
    std::printf("progress bar: %zu widths between 20 %% and 50 %%; longest still between 20 %% and 80 %%: %lu ms\n",
                between.size(), static_cast<unsigned long>(longestStill));
}

}  // namespace
