// Names the service and its sibling programs find each other by.
#pragma once

// Title of the hidden main window, and the name of the single-instance mutex.
constexpr char16_t kServiceWindowTitle[] = u"Lunket_GamingMouseHid";
constexpr char16_t kServiceMutexName[] = u"Lunket_GamingMouseHid";
// Class of the hidden main window (class style 0, no cursor, brush or icon).
constexpr char16_t kServiceWindowClass[] = u"MursohidHiddenWindow";
// Window texts of the progress dialog: its own on creation, and the one the
// main window gives it during a full write.
constexpr char16_t kProgressDialogOwnTitle[] = u"PEVO_PROCESSBAR";
constexpr char16_t kProgressDialogTitle[] = u"QZNDorvantisProgressbar";

// Top-level windows of the sibling programs, found by exact title.
constexpr char16_t kConfigProgramTitle[] = u"Lunket_Driver_Config";
constexpr char16_t kReadBackProgramTitle[] = u"Pevo_Driver_Config";
constexpr char16_t kTrayProgramTitle[] = u"LunketGamingMouseTrayIcon";

// The tray program, started from the folder of the service's executable.
constexpr char16_t kTrayProgramFile[] = u"trayicon.exe";
// The service's own executable: the foreground watch never selects a profile for it.
constexpr char16_t kServiceExecutable[] = u"mousehid.exe";

// The user's mouse settings key, kept open for the life of the main window.
constexpr char16_t kMouseRegistryPath[] = u"HKEY_CURRENT_USER\\Control Panel\\Mouse";
