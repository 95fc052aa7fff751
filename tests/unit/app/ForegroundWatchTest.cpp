// The foreground watch of the whole main window: on timer 1 and on the
// system's foreground events, the program in the foreground makes the
// profile that names it active, in memory and in the settings file, and the
// configuration program is told.
#include "tests/unit/app/MainWindowRig.h"

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/support/ContractSteps.h"

namespace {

const std::string kIni = "C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";
const std::string kRead = "ReadFile " + kIni;
const std::string kWrite = "WriteFile " + kIni;

class ForegroundWatchTest : public UnpluggedRig {
protected:
    void SetUp() override {
        UnpluggedRig::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        game = AddProgram(5000, u"C:\\Games\\Quest\\Game.exe");
        editor = AddProgram(5100, u"C:\\Tools\\editor.exe");
    }

    // A top-level window of a program that runs from `path`.
    HWND AddProgram(DWORD processId, const Text& path, bool openable = true) {
        fake.kernel.AddProcess(processId, path, openable);
        HWND hwnd = fake.windows.AddForeignWindow(u"Window of " + path);
        fake.windows.SetWindowProcess(hwnd, processId);
        return hwnd;
    }

    // The configuration program names a program in a slot and has the
    // service reload.
    void SetLaunch(int slot, const Text& program) {
        std::make_unique<PortableIniFile>(DataFolder() + u"config.ini")
            ->WriteString(u"GROUP" + TextFromInt(slot), u"Launch", program);
        Send(kMsgReloadSettings);
    }

    // The user brings a window forward; the service sees the event when it
    // next takes its messages.
    void BringForward(HWND hwnd) {
        fake.windows.SetForeground(hwnd);
        Pump();
    }

    // The next tick of timer 1.
    void Tick() { fake.windows.RunFor(kPeriodicTimerMs); }

    std::vector<SequenceEvent> Switches() { return Timeline({"WriteFile", "PostMessageW " + MessageText(kNotifyProfileOrMacroButton)}); }

    HWND game = nullptr;
    HWND editor = nullptr;
};

TEST_F(ForegroundWatchTest, TheForegroundEventSwitchesAtOnce) {
    SetLaunch(3, u"game.exe");
    Mark();
    BringForward(game);
    ExpectSequence(Timeline({"OpenProcess", "QueryFull", "CloseHandle", "CreateToolhelp32Snapshot", "WriteFile",
                             "PostMessageW"}),
                   {
                       Step("OpenProcess 0x1000 5000").At(0),
                       Step("QueryFullProcessImageNameW").At(0),
                       Step("CloseHandle").At(0),
                       Step(kWrite).At(0),
                       Posted(kNotifyProfileOrMacroButton, 3).At(0),
                   });
    EXPECT_EQ(window->Settings().Working().Profile, 3);
    EXPECT_EQ(Setting(u"Profile"), 3);
    ASSERT_EQ(PostedTo(config).size(), 1u);
    EXPECT_EQ(PostedTo(config)[0].message, kNotifyProfileOrMacroButton);
    EXPECT_EQ(PostedTo(config)[0].wParam, 3u);
}

TEST_F(ForegroundWatchTest, TheTimerFindsTheSameWithinTwoSeconds) {
    SetLaunch(3, u"GAME.EXE");
    fake.windows.SetForeground(game);  // no event handled yet
    Mark();
    Tick();
    const auto switches = Switches();
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_LE(switches[1].Time, 2000u);
    EXPECT_EQ(switches[1].Text, Posted(kNotifyProfileOrMacroButton, 3).Text);
    EXPECT_EQ(Setting(u"Profile"), 3);
    Mark();
    Tick();
    EXPECT_TRUE(Switches().empty()) << "the active profile's own program: nothing written, nothing posted";
}

TEST_F(ForegroundWatchTest, TheFirstOfSlotsOneToFourWins) {
    SetLaunch(2, u"Game.exe");
    SetLaunch(4, u"Game.exe");
    BringForward(game);
    EXPECT_EQ(window->Settings().Working().Profile, 2);
}

TEST_F(ForegroundWatchTest, SlotsZeroAndFiveNeverTakePart) {
    SetLaunch(0, u"Game.exe");
    SetLaunch(5, u"Game.exe");
    window->Foreground().SetActiveProfile(1);
    Mark();
    BringForward(game);
    Tick();
    EXPECT_TRUE(Switches().empty());
    EXPECT_EQ(window->Settings().Working().Profile, 1);
}

TEST_F(ForegroundWatchTest, TheActiveProfilesOwnProgramChangesNothing) {
    SetLaunch(2, u"Game.exe");
    window->Foreground().SetActiveProfile(2);
    Mark();
    BringForward(game);
    Tick();
    EXPECT_TRUE(Switches().empty());
}

TEST_F(ForegroundWatchTest, TheServiceItselfSelectsNothingAndItsSnapshotIsClosed) {
    HWND own = AddProgram(5200, u"C:\\Somewhere\\MOUSEHID.EXE", false);
    SetLaunch(1, u"mousehid.exe");
    Mark();
    BringForward(own);
    Tick();
    EXPECT_TRUE(Switches().empty());
    EXPECT_EQ(window->Settings().Working().Profile, 0);
    EXPECT_GE(Timeline({"CreateToolhelp32Snapshot"}).size(), 1u) << "the process may not be opened: the walk";
    EXPECT_EQ(fake.kernel.OpenSnapshotCount(), 0);
    EXPECT_EQ(fake.kernel.OpenProcessHandleCount(), 0);
}

TEST_F(ForegroundWatchTest, LeavingTheMatchedProgramKeepsItsProfile) {
    SetLaunch(4, u"game.exe");
    BringForward(game);
    BringForward(editor);
    Tick();
    EXPECT_EQ(window->Settings().Working().Profile, 4);
    EXPECT_EQ(Setting(u"Profile"), 4);
}

TEST_F(ForegroundWatchTest, AProcessThatMayNotBeOpenedIsFoundByTheSnapshotWalk) {
    HWND guarded = AddProgram(5300, u"C:\\Games\\Anti\\Cheat.exe", false);
    SetLaunch(1, u"cheat.exe");
    Mark();
    BringForward(guarded);
    ExpectSequence(Timeline({"OpenProcess", "QueryFull", "CreateToolhelp32Snapshot", "Process32", "CloseHandle"}),
                   {
                       Step("OpenProcess 0x1000 5300"),
                       Step("CreateToolhelp32Snapshot 0x2 0"),
                       Step("Process32FirstW"),  // the service
                       Step("Process32NextW"),   // Game.exe
                       Step("Process32NextW"),   // editor.exe
                       Step("Process32NextW"),   // Cheat.exe
                       Step("CloseHandle"),
                   });
    EXPECT_EQ(window->Settings().Working().Profile, 1);
    EXPECT_EQ(fake.kernel.OpenSnapshotCount(), 0);
}

TEST_F(ForegroundWatchTest, NoSnapshotOrAnEndedProcessChangesNothingThisTime) {
    HWND guarded = AddProgram(5300, u"C:\\Games\\Cheat.exe", false);
    SetLaunch(1, u"Cheat.exe");
    SetLaunch(2, u"Game.exe");
    fake.kernel.FailSnapshots(true);
    BringForward(guarded);
    fake.kernel.RemoveProcess(5000);
    BringForward(game);
    EXPECT_EQ(window->Settings().Working().Profile, 0);
    fake.kernel.FailSnapshots(false);
    Tick();
    EXPECT_EQ(window->Settings().Working().Profile, 0) << "the game's window is still forward, its process gone";
    BringForward(guarded);
    EXPECT_EQ(window->Settings().Working().Profile, 1) << "the next look tries again";
}

TEST_F(ForegroundWatchTest, NoForegroundWindowChangesNothing) {
    SetLaunch(1, u"Game.exe");
    Mark();
    Tick();
    EXPECT_TRUE(Timeline({"OpenProcess", "CreateToolhelp32Snapshot", "WriteFile"}).empty());
}

TEST_F(ForegroundWatchTest, TheWatchReadsTheLaunchTextsInMemory) {
    std::make_unique<PortableIniFile>(DataFolder() + u"config.ini")->WriteString(u"GROUP3", u"Launch", u"Game.exe");
    BringForward(game);
    EXPECT_EQ(window->Settings().Working().Profile, 0) << "not reloaded yet";
    Send(kMsgReloadSettings);
    BringForward(editor);
    BringForward(game);
    EXPECT_EQ(window->Settings().Working().Profile, 3);
}

TEST_F(ForegroundWatchTest, TheHookLivesAsLongAsTheWindow) {
    EXPECT_EQ(fake.windows.WinEventHookCount(), 1);
    window->DestroyWindow();
    EXPECT_EQ(fake.windows.WinEventHookCount(), 0);
    SetLaunch(1, u"Game.exe");
    fake.windows.SetForeground(game);
    Pump();
    EXPECT_EQ(window->Settings().Working().Profile, 0);
}

}  // namespace
