// The whole main window on the host with the simulated mouse, the stand-in
// windows of the sibling programs, and one timeline of what happened: every
// report the mouse received ("mouse ff01 07 17 00 ..."), each plug event
// ("mouse open 1"), the waits, the messages posted, the programs started and
// the settings file's reads and writes, each at its virtual time measured
// from the end of start-up.
#pragma once

#include "tests/support/ExpectSequence.h"
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MursohidDlg.h"
#include "contract/Names.h"
#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsFileAccess.h"
#include "config/SettingsStore.h"
#include "device/DeviceList.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"

class MainWindowRig : public ::testing::Test {
protected:
    explicit MainWindowRig(bool plugged = true) : mouse(fake, plugged ? SimMouseConfig{} : UnpluggedMouse()) {}
    explicit MainWindowRig(const SimMouseConfig& config) : mouse(fake, config) {}

    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        mouse->SetLogSink([this](const std::string& line) {
            // "<ms> <rest>": the time is the fake's own, kept by the record.
            // Reports the mouse sends are logged on its delivery thread, at
            // no fixed point of the sequence: only what it receives is kept.
            const std::string rest = line.substr(line.find(' ') + 1);
            if (rest.rfind("input ", 0) == 0) return;
            fake.world.Record("mouse " + rest);
        });
        config = fake.windows.AddForeignWindow(kConfigProgramTitle);
        readBack = fake.windows.AddForeignWindow(kReadBackProgramTitle);
        tray = fake.windows.AddForeignWindow(kTrayProgramTitle);
        window = new CMursohidDlg;
        ASSERT_TRUE(window->CreateServiceWindow());
        Settle();
        fake.ClearCalls();
        origin = fake.Now();
    }

    void TearDown() override {
        Settle();
        window->DestroyWindow();
        delete window;
        EXPECT_TRUE(fake.Hangs().empty());
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    // Everything the library's and the worker's threads had to do is done.
    void Settle() {
        mouse->WaitUntilDelivered();
        fake.windows.WaitUntilThreadsIdle();
    }

    HWND Hwnd() const { return window->m_hWnd; }

    // A message handled at once on the window's thread, as a sibling's
    // SendMessage would be.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        const LRESULT result = fake.windows.SendMessageW(Hwnd(), message, wParam, lParam);
        Settle();
        return result;
    }
    // Posted, then the queue is run.
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        fake.windows.PostMessageW(Hwnd(), message, wParam, lParam);
        Pump();
    }
    void Pump() {
        Settle();
        while (fake.windows.PumpMessages() > 0) Settle();
    }

    // The timeline since start-up (or since Mark()).
    std::vector<SequenceEvent> Timeline(std::vector<std::string> prefixes = {}) const {
        if (prefixes.empty())
            prefixes = {"mouse ", "Sleep", "PostMessageW", "ShellExecuteW", "WriteFile", "ReadFile", "SetTimer",
                        "KillTimer"};
        return Events(fake, prefixes, origin);
    }
    void Mark() {
        Settle();
        fake.ClearCalls();
        origin = fake.Now();
    }

    // A value of the settings file's Setting section, or of GROUPk.
    int Setting(const char16_t* key) const {
        return OpenSettingsFileForReading(DataFolder() + u"config.ini")->GetInt(u"Setting", key, -99);
    }
    int Group(int profile, const char16_t* key) const {
        return OpenSettingsFileForReading(DataFolder() + u"config.ini")
            ->GetInt(u"GROUP" + TextFromInt(profile), key, -99);
    }

    std::vector<FakeMessage> PostedTo(HWND hwnd) const { return fake.windows.PostedTo(hwnd); }
    bool HasDebugLine(const std::string& line) const {
        for (const auto& l : fake.DebugLines())
            if (TextToUtf8(l) == line) return true;
        return false;
    }

    FakePlatform fake;
    SimulatedMouse mouse;
    CMursohidDlg* window = nullptr;
    HWND config = nullptr;
    HWND readBack = nullptr;
    HWND tray = nullptr;
    std::uint64_t origin = 0;
};

// The rig with the mouse unplugged when the service starts.
class UnpluggedRig : public MainWindowRig {
protected:
    UnpluggedRig() : MainWindowRig(false) {}
};
