// The progress dialog's plain decisions: where its skin files lie, where it
// stands on the screen, which keys it keeps from closing it, and its fixed
// texts and values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/Names.h"
#include "platform/Text.h"
#include "ui/MaskRegion.h"
#include "ui/ProgressDialogResource.h"

constexpr int kProgressDialogTemplate = IDD_PROGRESS_DIALOG;

// Window texts: kProgressDialogOwnTitle and kProgressDialogTitle (contract/Names.h).

// The mask's white lies outside the window.
constexpr ColourRef kMaskTransparentColour = 0xFFFFFF;
constexpr ColourRef kMaskTolerance = 0x000000;

constexpr int kProgressMinimum = 0;
constexpr int kProgressMaximum = 100;

// The skin text file: the caption is key "3" of section "TRAY_STRING".
constexpr char16_t kSkinTextSection[] = u"TRAY_STRING";
constexpr char16_t kSkinCaptionKey[] = u"3";
constexpr std::size_t kSkinCaptionCapacity = 256;  // units read, with the terminating zero

struct SkinFiles {
    Text mask;        // outline: white lies outside the window
    Text background;  // the face, and the bar's empty part
    Text filled;      // the bar's filled part
    Text strings;     // the skin text file with the caption
};

// The folder of an executable path: its drive and directory, up to and
// including the last backslash or slash (empty when there is neither a
// directory nor a drive).
Text ExecutableFolder(const Text& executablePath);

// The skin files in the folder "skins" beside the executable.
SkinFiles SkinFilesFor(const Text& executablePath);

struct ScreenPoint {
    int x;
    int y;
};

// Top-left corner that centres a skin of the given size on a screen of the
// given size, by integer division.
ScreenPoint CentredOnScreen(int screenWidth, int screenHeight, int skinWidth, int skinHeight);

// True for the keys the dialog swallows before the dialog manager sees them:
// a key-down of Escape or Enter, either of which would otherwise close it.
bool IsSwallowedDialogKey(unsigned message, std::uintptr_t key);
