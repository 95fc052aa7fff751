// How the main window follows the mouse coming and going: the library's
// collection notifications (0x502), a sibling's arrival and removal notice
// (0x7EB) and the console's connect and disconnect (0x2B1). Each keeps
// "Plug" in the settings file, the tray program and the configuration
// program right.
#include "tests/unit/app/MainWindowRig.h"

#include <algorithm>

#include "contract/Messages.h"
#include "contract/Timers.h"
#include "tests/support/ContractSteps.h"
#include "device/DeviceSession.h"

namespace {

const std::string kIni = "C:\\users\\user\\AppData\\Roaming\\Tolvy Wimb\\config.ini";
const std::string kRead = "ReadFile " + kIni;
const std::string kWrite = "WriteFile " + kIni;
const std::string kTrayLaunch = "ShellExecuteW open C:\\Program Files\\Mouse\\trayicon.exe 5";

std::vector<UINT> Messages(const std::vector<FakeMessage>& posted) {
    std::vector<UINT> numbers;
    for (const auto& m : posted) numbers.push_back(m.message);
    return numbers;
}

using CollectionNotificationTest = MainWindowRig;

TEST_F(CollectionNotificationTest, StartUpOpensTheMouseWithoutTheNotificationsReactions) {
    // Start-up wrote Plug and started the tray itself; its open's
    // notifications only filled the list.
    EXPECT_EQ(Setting(u"Plug"), 1);
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(fake.shell.ShellExecutes().size(), 1u);
    EXPECT_TRUE(PostedTo(config).empty());
    EXPECT_TRUE(mouse->ReceivedReports().empty()) << "no probe at start-up";
    EXPECT_TRUE(HasDebugLine("MONITOROPEN:dwDeviceID=2a01\n"));
    EXPECT_TRUE(HasDebugLine("MONITOROPEN:dwDeviceID=2a02\n"));
}

TEST_F(CollectionNotificationTest, UnplugAndPlugKeepPlugTheTrayAndTheConfigurationProgramRight) {
    mouse->Unplug();
    Pump();
    ExpectSequence(Timeline(), {
                                   Step("mouse unplug").At(0),
                                   Posted(kMsgDeviceNotification, 1, 3),
                                   Posted(kMsgDeviceNotification, 1, 4),
                                   Step(kRead),
                                   Step(kWrite),
                                   Posted(WM_CLOSE, 0),
                                   Posted(kNotifyMouseRemoved, 0),
                                   Posted(kNotifyDeviceChanged, 0),
                               });
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_TRUE(DeviceList.Empty());
    EXPECT_EQ(Messages(PostedTo(tray)), std::vector<UINT>{WM_CLOSE});
    EXPECT_EQ(Messages(PostedTo(config)), (std::vector<UINT>{kNotifyMouseRemoved, kNotifyDeviceChanged}));
    EXPECT_TRUE(HasDebugLine("MONITORCLOSE:dwDeviceID=2a01\n"));
    EXPECT_EQ(CurrentDeviceId.load(), 0x2A02u) << "the id of the last notification";

    Mark();
    fake.AdvanceClock(700);
    mouse->Plug();
    Pump();
    ExpectSequence(Timeline(), {
                                   Step("mouse plug").At(700),
                                   Posted(kMsgDeviceNotification, 1, 5),
                                   Posted(kMsgDeviceNotification, 1, 6),
                                   Step(kRead),
                                   Step(kWrite),
                                   Step(kTrayLaunch).At(700),
                                   Posted(kNotifyDeviceChanged, 0),
                                   Step("mouse ff01 07 80 00 00 00 00 00 00").At(700),
                               });
    EXPECT_EQ(Setting(u"Plug"), 1);
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(Messages(PostedTo(config)), (std::vector<UINT>{kNotifyMouseRemoved, kNotifyDeviceChanged, kNotifyDeviceChanged}));
    EXPECT_EQ(fake.shell.ShellExecutes().size(), 2u) << "once at start-up, once at the plug";
}

// A reopen's notices handled after the library announced the same
// collections again: each is listed once, so the unplug still empties the
// list and the mouse is seen as gone.
TEST_F(CollectionNotificationTest, CollectionsAnnouncedTwiceAreListedOnceAndAnUnplugStillEmptiesTheList) {
    ASSERT_TRUE(mouse->Announce(_DEVICE_STATE{kCollectionOpened, kSimCommandDeviceId, 0, kCommandUsage}));
    ASSERT_TRUE(mouse->Announce(_DEVICE_STATE{kCollectionOpened, kSimDataDeviceId, 0, kDataUsage}));
    Pump();
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_TRUE(PostedTo(config).empty()) << "no arrival: the mouse was there";
    Mark();
    mouse->Unplug();
    Pump();
    EXPECT_TRUE(DeviceList.Empty());
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_EQ(Messages(PostedTo(tray)), std::vector<UINT>{WM_CLOSE});
    EXPECT_EQ(Messages(PostedTo(config)), (std::vector<UINT>{0x4DD, 0x4E0}));
}

TEST_F(CollectionNotificationTest, ACloseForAnUnknownCollectionRemovesAndSendsNothing) {
    ASSERT_TRUE(mouse->Announce(_DEVICE_STATE{kCollectionClosed, 0x7777, 0, kCommandUsage}));
    Mark();
    Pump();
    EXPECT_TRUE(Timeline().empty());
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_TRUE(window->Device().IsOpen());
    EXPECT_TRUE(HasDebugLine("MONITORCLOSE:dwDeviceID=7777\n"));
}

TEST_F(CollectionNotificationTest, ACloseWhenNoCollectionIsListedClearsDeviceOpenOnly) {
    mouse->Unplug();
    Pump();
    ASSERT_TRUE(DeviceList.Empty());
    ASSERT_TRUE(window->Device().IsOpen()) << "removal leaves the flag";
    ASSERT_TRUE(mouse->Announce(_DEVICE_STATE{kCollectionClosed, kSimCommandDeviceId, 0, kCommandUsage}));
    Mark();
    Pump();
    EXPECT_TRUE(Timeline().empty());
    EXPECT_FALSE(window->Device().IsOpen());
    // The next command's guard opens the mouse again.
    mouse->Plug();
    Pump();
    Mark();
    Send(kMsgSetStateByte, 1);
    EXPECT_EQ(Timeline({"mouse "}).front().Text, "mouse ff01 07 17 01 00 00 00 00 00")
        << "the plug's notifications set DeviceOpen again: no reopen";
}

TEST_F(CollectionNotificationTest, AnUnknownStateDoesNothing) {
    ASSERT_TRUE(mouse->Announce(_DEVICE_STATE{2, 0x7777, 0, kCommandUsage}));
    Mark();
    Pump();
    EXPECT_TRUE(Timeline().empty());
    EXPECT_EQ(DeviceList.Count(), 2u);
}

// Any program may post 0x502: whatever its parameters, nothing is read but
// what the library itself announced, and each announcement only once.
TEST_F(CollectionNotificationTest, HostileParametersReadNothingAndChangeNothing) {
    mouse->Unplug();  // two notices the library posted, not yet handled
    const auto posted = PostedTo(Hwnd());
    ASSERT_EQ(posted.size(), 2u);
    const LPARAM first = posted[0].lParam;
    int local = 0;
    const std::vector<std::pair<WPARAM, LPARAM>> hostile = {
        {1, 0},
        {1, -1},
        {1, 0x10000 + first},
        {1, first + 2},
        {1, static_cast<LPARAM>(0x7FFFFFFFFFFFFFFFLL)},
        {1, reinterpret_cast<LPARAM>(&local)},
        {1, reinterpret_cast<LPARAM>(&DeviceList)},
        {0, first},
        {2, first},
        {static_cast<WPARAM>(-1), first},
    };
    const std::size_t linesBefore = fake.DebugLines().size();
    for (const auto& [w, l] : hostile) Send(kMsgDeviceNotification, w, l);
    EXPECT_EQ(fake.DebugLines().size(), linesBefore);
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(mouse->PendingNotices(), 2u) << "the library's own notices are still there";

    Pump();  // the library's own notices
    EXPECT_TRUE(DeviceList.Empty());
    Mark();
    Send(kMsgDeviceNotification, 1, first);  // replayed
    EXPECT_TRUE(Timeline().empty());
    EXPECT_TRUE(window->Device().IsOpen()) << "a replayed close does not count";
}

using ArrivalWithoutMouseTest = UnpluggedRig;

TEST_F(ArrivalWithoutMouseTest, AMousePluggedInLaterIsOpenedAnnouncedAndProbed) {
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_FALSE(window->Device().IsOpen());
    Mark();
    mouse->Plug();
    Pump();
    ExpectSequence(Timeline(), {
                                   Step("mouse plug"),
                                   Posted(kMsgDeviceNotification, 1, 1),
                                   Posted(kMsgDeviceNotification, 1, 2),
                                   Step(kRead),
                                   Step(kWrite),
                                   Step(kTrayLaunch),
                                   Posted(kNotifyDeviceChanged, 0),
                                   Step("mouse ff01 07 80 00 00 00 00 00 00"),
                               });
    EXPECT_EQ(Setting(u"Plug"), 1);
    EXPECT_TRUE(window->Device().IsOpen());
    Mark();
    Send(kMsgSetStateByte, 1);
    EXPECT_EQ(Timeline({"mouse "}).front().Text, "mouse ff01 07 17 01 00 00 00 00 00") << "no reopen";
}

using MouseDataTest = MainWindowRig;

TEST_F(MouseDataTest, ArrivalWaitsFiveSecondsThenStartsTheTrayAndWritesPlug) {
    WritePlug(0);
    Mark();
    Send(kMsgMouseData, 0xFFFE);
    fake.windows.RunFor(6000);
    ExpectSequence(Timeline(), {
                                   Step("SetTimer 2 5000").At(0),
                                   Step("KillTimer 2").At(5000),
                                   Step(kTrayLaunch).At(5000),
                                   Step(kRead).At(5000),
                                   Step(kWrite).At(5000),
                               });
    EXPECT_EQ(Setting(u"Plug"), 1);
    EXPECT_TRUE(HasDebugLine("\t\tOnMouseData ReadData:FFFE\n"));
    EXPECT_TRUE(HasDebugLine("arrive new device"));
    EXPECT_TRUE(mouse->ReceivedReports().empty()) << "the mouse is not reopened here";
}

// Any program can post 0x7EB: a flood of arrival notices is one arrival,
// and the window answers everything else meanwhile.
TEST_F(MouseDataTest, ArrivalNoticesInAFloodAreOneArrivalAndDelayNothingElse) {
    Mark();
    for (int i = 0; i < 50; ++i) fake.windows.PostMessageW(Hwnd(), kMsgMouseData, 0xFFFE, 0);
    fake.windows.PostMessageW(Hwnd(), kMsgSetStateByte, 1, 0);
    Pump();
    ExpectSequence(Timeline({"mouse "}), {Step("mouse ff01 07 17 01 00 00 00 00 00").At(0)});
    fake.windows.RunFor(6000);
    ExpectSequence(Timeline({"SetTimer", "ShellExecuteW"}), {Step("SetTimer 2 5000").At(0), Step(kTrayLaunch).At(5000)});
    // A tick of that timer from outside, with no arrival pending, does nothing.
    Mark();
    Post(WM_TIMER, kArrivalSettleTimerId);
    EXPECT_TRUE(Timeline({"ShellExecuteW", "WriteFile"}).empty());
}

TEST_F(MouseDataTest, ARemovalDuringTheSettleTimeCancelsTheArrival) {
    Send(kMsgMouseData, 0xFFFE);
    fake.windows.RunFor(1000);
    Send(kMsgMouseData, 0xFFFD);
    Mark();
    fake.windows.RunFor(6000);
    EXPECT_TRUE(Timeline({"ShellExecuteW"}).empty()) << "no tray program after the removal";
    EXPECT_EQ(Setting(u"Plug"), 0);
}

TEST_F(MouseDataTest, RemovalClosesTheTrayTellsTheConfigurationProgramAndWritesPlug) {
    Send(kMsgMouseData, 0xFFFD);
    ExpectSequence(Timeline(), {
                                   Posted(WM_CLOSE, 0).At(0),
                                   Posted(kNotifyMouseRemoved, 0).At(0),
                                   Step(kRead),
                                   Step(kWrite),
                               });
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_EQ(Messages(PostedTo(tray)), std::vector<UINT>{WM_CLOSE});
    EXPECT_EQ(Messages(PostedTo(config)), std::vector<UINT>{kNotifyMouseRemoved});
    EXPECT_TRUE(HasDebugLine("remove usb mouse"));
    EXPECT_EQ(DeviceList.Count(), 2u) << "the list is the library's business";
}

TEST_F(MouseDataTest, AnyOtherCodeIsOnlyLogged) {
    Send(kMsgMouseData, 0x1234);
    EXPECT_TRUE(Timeline().empty());
    EXPECT_TRUE(HasDebugLine("\t\tOnMouseData ReadData:1234\n"));
}

using ConsoleSessionTest = MainWindowRig;

TEST_F(ConsoleSessionTest, DisconnectThenConnectClosesAndReopensTheMouseAndStartsTheTrayAgain) {
    Send(WM_WTSSESSION_CHANGE, 2);
    ExpectSequence(Timeline(), {
                                   Step(kRead).At(0),
                                   Step(kWrite).At(0),
                                   Step("mouse close").At(0),
                                   Posted(WM_CLOSE, 0).At(0),
                               });
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_TRUE(window->Device().IsOpen()) << "DeviceOpen is left as it was";
    EXPECT_EQ(DeviceList.Count(), 2u) << "and the list";

    Mark();
    Send(WM_WTSSESSION_CHANGE, 1);
    ExpectSequence(Timeline(), {
                                   Step("mouse close").At(0),
                                   Step("mouse open 1").At(0),
                                   Step("Sleep 2000").At(0),
                                   Step(kTrayLaunch).At(2000),
                                   Step(kRead).At(2000),
                                   Step(kWrite).At(2000),
                               });
    EXPECT_EQ(Setting(u"Plug"), 1);
    EXPECT_EQ(DeviceList.Count(), 2u) << "refilled by this open's notifications";
    EXPECT_TRUE(PostedTo(config).empty()) << "the open's notifications add nothing";
    Mark();
    Send(kMsgSetStateByte, 1);
    EXPECT_EQ(Timeline({"mouse "}).front().Text, "mouse ff01 07 17 01 00 00 00 00 00");
}

TEST_F(ConsoleSessionTest, OtherCodesDoNothing) {
    for (WPARAM code : {0, 3, 5, 8}) Send(WM_WTSSESSION_CHANGE, code);
    EXPECT_TRUE(Timeline().empty());
}

using ConsoleWithoutMouseTest = UnpluggedRig;

TEST_F(ConsoleWithoutMouseTest, ConnectWithoutTheMouseDoesNothingMore) {
    Send(WM_WTSSESSION_CHANGE, 1);
    ExpectSequence(Timeline(), {Step("mouse open 0").At(0)});
    EXPECT_EQ(Setting(u"Plug"), 0);
}

// A library that cannot hand out its collection notices (no ordinal 9):
// start-up says so, and the mouse counts as absent: not opened, "Plug" 0,
// no tray program, and a command sends nothing.
class NoNoticeOrdinalRig : public MainWindowRig {
protected:
    static SimMouseConfig WithoutNotices() {
        SimMouseConfig config;
        config.MissingOrdinals = {kOrdinalReadNotice};
        return config;
    }
    NoNoticeOrdinalRig() : MainWindowRig(WithoutNotices()) {}
};

TEST_F(NoNoticeOrdinalRig, StartUpSaysSoAndTheMouseCountsAsAbsent) {
    EXPECT_TRUE(HasDebugLine("HidDevice.dll has no ordinal 9 (ReadNotice): its collection notices cannot be "
                             "read, the mouse is treated as absent\n"));
    EXPECT_EQ(Setting(u"Plug"), 0);
    EXPECT_TRUE(fake.shell.ShellExecutes().empty()) << "no tray program";
    EXPECT_FALSE(window->Device().IsOpen());
    EXPECT_EQ(mouse->CallCount(kOrdinalOpen), 0);
    Send(0x4E4, 1);
    EXPECT_TRUE(mouse->ReceivedReports().empty());
    int lines = 0;
    for (const auto& l : fake.DebugLines())
        if (TextToUtf8(l).rfind("HidDevice.dll has no ordinal 9", 0) == 0) ++lines;
    EXPECT_EQ(lines, 1) << "said once";
}

}  // namespace
