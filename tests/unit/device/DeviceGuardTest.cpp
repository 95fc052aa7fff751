// Opening, closing and the device guard: an unplugged mouse, an open mouse
// without collections, unplugging in the middle of a full write, re-plugging.
#include <functional>

#include "device/DeviceCommands.h"
#include "tests/unit/device/DeviceTestSupport.h"

namespace devtest {
namespace {

class UnpluggedTest : public DeviceTest {
protected:
    UnpluggedTest() : DeviceTest(UnpluggedMouse()) {}
};

ProfileRecord EmptyProfile() {
    ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    p.Buttons[0].ButtonFunc = 44;
    p.Buttons[0].ButtonID = 1;
    return p;
}

struct GuardCase {
    const char* name;
    std::function<std::int32_t(const DeviceLink&, std::atomic<std::int32_t>&)> run;
    std::int32_t noDevice;
    std::int32_t noCollection;
};

const std::vector<GuardCase>& GuardCases() {
    static const ProfileRecord profile = EmptyProfile();
    static const std::vector<GuardCase> cases = {
        {"SetPollingRate", [](const DeviceLink& l, auto&) { return SetPollingRate(l, 1, nullptr); }, 0, 0},
        {"WriteButtonTable", [](const DeviceLink& l, auto&) { return WriteButtonTable(l, profile); }, 0, 0},
        {"WriteResolutionStages", [](const DeviceLink& l, auto&) { return WriteResolutionStages(l, profile, 1); }, 0, 0},
        {"SetUniversalScroll", [](const DeviceLink& l, auto&) { return SetUniversalScroll(l, profile); }, 0, 0},
        {"SetLiftOff", [](const DeviceLink& l, auto&) { return SetLiftOff(l, 1); }, 0, 0},
        {"SelectResolutionStage", [](const DeviceLink& l, auto&) { return SelectResolutionStage(l, 1); }, 0, 0},
        {"SetLogoLight", [](const DeviceLink& l, auto&) { return SetLogoLight(l, profile); }, 0, 0},
        {"SetStateByte", [](const DeviceLink& l, auto&) { return SetStateByte(l, 0); }, 0, 0},
        {"ReadBackQuery", [](const DeviceLink& l, auto&) { return ReadBackQuery(l); }, -1, 0},
        {"RequestReadBack", [](const DeviceLink& l, auto& busy) { return RequestReadBack(l, busy); }, -1, 0},
        {"ReadResolutionStage", [](const DeviceLink& l, auto&) { return ReadResolutionStage(l); }, -1, 0},
        {"ApplyProfileToDevice", [](const DeviceLink& l, auto&) { return ApplyProfileToDevice(l, profile, nullptr); }, 0, 0},
    };
    return cases;
}

TEST_F(UnpluggedTest, OpenFailsAndEveryCommandStopsAtTheGuard) {
    EXPECT_EQ(OpenDevice(link), 0);
    EXPECT_EQ(deviceOpen.load(), 0);
    for (const auto& c : GuardCases()) {
        SCOPED_TRACE(c.name);
        const int opensBefore = mouse->CallCount(kOrdinalOpen);
        EXPECT_EQ(c.run(link, shortBusy), c.noDevice);
        EXPECT_EQ(mouse->CallCount(kOrdinalOpen), opensBefore + 1) << "the guard tries to reopen";
        EXPECT_EQ(shortBusy.load(), 0);
    }
    EXPECT_EQ(DeviceCalls(), 0);
    EXPECT_EQ(fake.TotalSlept(), 0u);
    EXPECT_TRUE(mouse->ReceivedReports().empty());
}

TEST_F(DeviceTest, OpenWithoutCollectionsStopsEveryCommandAtTheGuard) {
    deviceOpen.store(1);  // opened, but no collection announced
    for (const auto& c : GuardCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.run(link, shortBusy), c.noCollection);
    }
    EXPECT_EQ(mouse->CallCount(kOrdinalOpen), 0);
    EXPECT_EQ(DeviceCalls(), 0);
    EXPECT_EQ(fake.TotalSlept(), 0u);
}

TEST_F(DeviceTest, GuardReopensAClosedMouseOnDemand) {
    EXPECT_EQ(SetLiftOff(link, 5), 1);
    EXPECT_EQ(deviceOpen.load(), 1);
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(mouse->Memory().LiftOff, 5);
}

TEST_F(DeviceTest, OpenWhileOpenClosesFirstAndBindsByOrdinal) {
    std::vector<std::string> events;
    mouse->SetLogSink([&events](const std::string& line) {
        events.push_back(line.substr(line.find(' ') + 1));
    });
    EXPECT_EQ(OpenDevice(link), 1);
    EXPECT_EQ(OpenDevice(link), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"open 1", "close", "open 1"}));
    // The list holds the collections of this open only, not those released.
    EXPECT_EQ(DeviceList.Count(), 2u);
    EXPECT_EQ(mouse->CallCount(kOrdinalSetMatch), 2);
    EXPECT_EQ(mouse->CallCount(kOrdinalSetCallback), 2);
    std::vector<std::string> lookups;
    for (const auto& call : fake.Calls())
        if (call.rfind("GetProcAddress #", 0) == 0) lookups.push_back(call);
    EXPECT_EQ(lookups.size(), 7u);
    EXPECT_EQ(CloseDevice(link), 1);
    EXPECT_EQ(deviceOpen.load(), 1) << "closing leaves the flag";
    EXPECT_EQ(DeviceList.Count(), 2u) << "closing leaves the list";
}

TEST_F(DeviceTest, MissingLibraryOpensNothing) {
    ResetHidDeviceBinding();
    FakePlatform other;
    SetPlatform(&other);  // no HidDevice.dll there
    EXPECT_EQ(OpenDevice(link), 0);
    EXPECT_EQ(SetStateByte(link, 0), 0);
    EXPECT_EQ(DeviceCalls(), 0);
    SetPlatform(&fake);
}

class UnplugDuringWrite final : public ProgressSink {
public:
    UnplugDuringWrite(SimHidLibrary& library, int at) : library_(library), at_(at) {}
    void SetProgress(int position) override {
        if (position == at_) library_.Unplug();
    }

private:
    SimHidLibrary& library_;
    int at_;
};

TEST_F(DeviceTest, UnplugDuringFullWriteEndsItThenGuardStopsThenReplugWorks) {
    for (int at : {20, 50, 60}) {
        SCOPED_TRACE(at);
        SetUp();
        OpenAndClear();
        UnplugDuringWrite sink(mouse.Library(), at);
        EXPECT_EQ(ApplyProfileToDevice(link, EmptyProfile(), &sink), 1);
        fake.windows.PumpMessages();  // the two close notifications
        EXPECT_TRUE(DeviceList.Empty());

        const int callsBefore = DeviceCalls();
        EXPECT_EQ(SetStateByte(link, 0), 0);
        EXPECT_EQ(ReadResolutionStage(link), 0);
        EXPECT_EQ(DeviceCalls(), callsBefore);

        mouse->Plug();
        fake.windows.PumpMessages();
        EXPECT_EQ(DeviceList.Count(), 2u);
        EXPECT_EQ(SetStateByte(link, 0x33), 1);
        EXPECT_EQ(mouse->Memory().StateByte, 0x33);
    }
}

}  // namespace
}  // namespace devtest
