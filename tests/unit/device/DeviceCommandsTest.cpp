// Each command against the simulated mouse: the exact reports, in order,
// with the virtual time between them, the waits, and the results.
#include <functional>

#include "contract/ButtonCodes.h"
#include "device/DeviceCommands.h"
#include "hidsim/Secrecy.h"
#include "tests/unit/device/DeviceTestSupport.h"

namespace devtest {
namespace {

constexpr DWORD C = kCommandUsage;
constexpr DWORD D = kDataUsage;

ProfileRecord MakeProfile() {
    ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    for (int i = 0; i < kButtonCount; ++i) p.Buttons[i].ButtonFunc = static_cast<std::uint8_t>(i + 1);
    for (int k = 0; k < kStageCount; ++k) {
        p.DPIStageValue[k] = DpiStage{1, 0x110 + k, 0x20 + k};  // only the low byte goes out
    }
    p.DPI = 2;
    p.LIFT = 3;
    p.LEDLogoEnable = 4;
    p.UniversalScrollEnabled = 1;
    return p;
}

class CommandTest : public DeviceTest {};

struct CommandCase {
    const char* name;
    std::function<std::int32_t(const DeviceLink&)> run;
    std::int32_t result;
    std::vector<ExpectedReport> reports;
    std::uint64_t waited;
};

TEST_F(CommandTest, EachCommandSendsItsReportsWithItsWaits) {
    const ProfileRecord profile = MakeProfile();
    const std::vector<CommandCase> cases = {
        {"polling rate 0", [](const DeviceLink& l) { return SetPollingRate(l, 0, nullptr); }, 1,
         {{0, C, {0x07, 0x01, 0x03}}}, 0},
        {"polling rate 1", [](const DeviceLink& l) { return SetPollingRate(l, 1, nullptr); }, 1,
         {{0, C, {0x07, 0x01, 0x01}}}, 0},
        {"polling rate 3 goes out as 0", [](const DeviceLink& l) { return SetPollingRate(l, 3, nullptr); }, 1,
         {{0, C, {0x07, 0x01, 0x00}}}, 0},
        {"stages, stage 7 goes out as 4",
         [&](const DeviceLink& l) { return WriteResolutionStages(l, profile, 7); }, 1,
         {{0, C, {0x07, 0x06, 0x01, 0x10}},
          {100, D, {0x10, 0x11, 0x12, 0x13, 0x14}},
          {200, D, {0x20, 0x21, 0x22, 0x23, 0x24}},
          {300, C, {0x07, 0x09, 0x01, 0x04}}},
         350},
        {"select stage -1 goes out as 0", [](const DeviceLink& l) { return SelectResolutionStage(l, -1); },
         1, {{0, C, {0x07, 0x09, 0x01, 0x00}}}, 50},
        {"select stage 2", [](const DeviceLink& l) { return SelectResolutionStage(l, 2); }, 1,
         {{0, C, {0x07, 0x09, 0x01, 0x02}}}, 50},
        {"universal scroll", [&](const DeviceLink& l) { return SetUniversalScroll(l, profile); }, 1,
         {{0, C, {0x07, 0x07, 0x01, 0x01}}}, 20},
        {"lift-off", [](const DeviceLink& l) { return SetLiftOff(l, 2); }, 1,
         {{0, C, {0x07, 0x08, 0x01, 0x02, 0x01}}}, 20},
        {"logo 4 goes out as FF", [&](const DeviceLink& l) { return SetLogoLight(l, profile); }, 1,
         {{0, C, {0x07, 0x0A, 0x01, 0x00, 0xFF}}}, 20},
        {"state byte 0", [](const DeviceLink& l) { return SetStateByte(l, 0); }, 1,
         {{0, C, {0x07, 0x17, 0x00}}}, 500},
        {"state byte 0x5A", [](const DeviceLink& l) { return SetStateByte(l, 0x5A); }, 1,
         {{0, C, {0x07, 0x17, 0x5A}}}, 500},
        {"read-back query answers decoded byte 1", [](const DeviceLink& l) { return ReadBackQuery(l); },
         kSimReadBackReady, {{0, C, {0x07, 0x83}}}, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i << ": " << cases[i].name);
        SetUp();
        OpenAndClear();
        const std::uint64_t before = fake.TotalSlept();
        EXPECT_EQ(cases[i].run(link), cases[i].result);
        ExpectReports(mouse->ReceivedReports(), cases[i].reports);
        EXPECT_EQ(fake.TotalSlept() - before, cases[i].waited);
    }
}

TEST_F(CommandTest, LogoValuesBelowFourGoOutUnchanged) {
    for (int g : {0, 1, 2, 3}) {
        SCOPED_TRACE(g);
        ProfileRecord profile = MakeProfile();
        profile.LEDLogoEnable = g;
        OpenAndClear();
        SetLogoLight(link, profile);
        EXPECT_EQ(mouse->Memory().Logo, g);
        DeviceList.Clear();
        CloseDevice(link);
        deviceOpen.store(0);
    }
}

TEST_F(CommandTest, ProfileWithoutMacrosSendsTableOnlyAndWaits1150) {
    OpenAndClear();
    const ProfileRecord profile = MakeProfile();
    EXPECT_EQ(WriteButtonTable(link, profile), 1);
    ExpectReports(mouse->ReceivedReports(),
                  {{0, C, {0x07, 0x04, 0x01, 0x28}},
                   {0, D, {0x02, 0xF0, 0x00, 0x00, 0x02, 0xF2, 0x00, 0x00}},
                   {10, D, {0x02, 0xF1, 0x00, 0x00, 0x02, 0xF8, 0x00, 0x00}},
                   {20, D, {0x02, 0xF9, 0x00, 0x00, 0x71, 0x08, 0x00, 0x00}},
                   {30, D, {0x71, 0x01, 0x00, 0x00, 0x71, 0x02, 0x00, 0x00}},
                   {40, D, {0x02, 0xF4, 0x00, 0x00, 0x02, 0xF3, 0x00, 0x00}}});
    EXPECT_EQ(fake.TotalSlept(), 1150u);
    EXPECT_EQ(fake.DebugLines(), (std::vector<Text>{
                                     u"00 02 f0 00 00 02 f2 00 00\n", u"00 02 f1 00 00 02 f8 00 00\n",
                                     u"00 02 f9 00 00 71 08 00 00\n", u"00 71 01 00 00 71 02 00 00\n",
                                     u"00 02 f4 00 00 02 f3 00 00\n"}));
    const SimMemory memory = mouse->Memory();
    EXPECT_EQ(memory.ButtonTable[0], 0x02);
    EXPECT_EQ(memory.ButtonTable[39], 0x00);
    EXPECT_EQ(memory.ButtonTable[37], 0xF3);
}

TEST_F(CommandTest, OneMacroButtonWithoutEventsSendsTheWholeMacroArea) {
    OpenAndClear();
    ProfileRecord profile = MakeProfile();
    profile.Buttons[4].ButtonFunc = 44;
    profile.Buttons[4].KeyNumber = 0;
    profile.Buttons[4].ButtonID = 0xFFFF;
    EXPECT_EQ(WriteButtonTable(link, profile), 1);

    const auto reports = mouse->ReceivedReports();
    ASSERT_EQ(reports.size(), 1u + 5u + 1u + 378u);
    EXPECT_EQ(Describe(reports[6], reports[0].Time), "1050 ff01 07 05 01 00 1e 14 00 00");
    // Button 4's code carries its index.
    EXPECT_EQ(Describe(reports[3], reports[0].Time), "20 ff00 53 00 00 04 71 08 00 00");
    // Between data report j - 1 and j: 10 ms, plus 150 ms after each block start.
    for (int j = 1; j < 378; ++j) {
        SCOPED_TRACE(j);
        const std::uint64_t gap = reports[7 + j].Time - reports[6 + j].Time;
        EXPECT_EQ(gap, IsMacroBlockStartReport(j - 1) ? 160u : 10u);
        EXPECT_EQ(reports[7 + j].Usage, kDataUsage);
    }
    const std::uint64_t pauses = 10 * 150;
    EXPECT_EQ(fake.TotalSlept(), 50u + 1000u + 378u * 10u + pauses + 100u);

    const SimMemory memory = mouse->Memory();
    EXPECT_EQ(memory.MacroArea[4 * 302], 0xFF);
    EXPECT_EQ(memory.MacroArea[4 * 302 + 1], 0xFF);
    int nonZero = 0;
    for (std::uint8_t b : memory.MacroArea) nonZero += b != 0;
    EXPECT_EQ(nonZero, 2);
}

TEST_F(CommandTest, MacroBlockCarriesTheEventBytesIntoTheMouse) {
    OpenAndClear();
    ProfileRecord profile = MakeProfile();
    profile.Buttons[9].ButtonFunc = 73;
    profile.Buttons[9].ButtonID = 0x0102;
    profile.Buttons[9].KeyNumber = 6;
    const std::uint8_t events[6] = {0x80, 0x05, 0x04, 0x00, 0x05, 0x04};
    std::memcpy(profile.Buttons[9].ButtonData, events, sizeof events);
    EXPECT_EQ(WriteButtonTable(link, profile), 1);
    const SimMemory memory = mouse->Memory();
    const std::uint8_t expected[8] = {0x01, 0x02, 0x80, 0x05, 0x04, 0x00, 0x05, 0x04};
    EXPECT_EQ(0, std::memcmp(memory.MacroArea + 9 * 302, expected, sizeof expected));
    EXPECT_EQ(memory.MacroArea[9 * 302 + 8], 0);
}

class RecordingProgress final : public ProgressSink {
public:
    explicit RecordingProgress(FakePlatform* clock = nullptr) : clock_(clock) {}
    void SetProgress(int position) override {
        positions.push_back(position);
        if (clock_ != nullptr) slept.push_back(clock_->TotalSlept());
    }
    std::vector<int> positions;
    std::vector<std::uint64_t> slept;  // virtual time waited so far, at each position

private:
    FakePlatform* clock_;
};

// The positions of a full write: 20 first, then strictly rising steps to 50,
// then 60 and 80; the bar never stands still for more than half a second of
// the write's waits between 20 and 80.
void ExpectMovingBar(const RecordingProgress& progress, std::uint64_t start, std::uint64_t end) {
    std::string dump;
    for (std::size_t i = 0; i < progress.positions.size(); ++i)
        dump += std::to_string(progress.slept[i] - start) + "ms:" + std::to_string(progress.positions[i]) + " ";
    SCOPED_TRACE(dump);
    ASSERT_GE(progress.positions.size(), 4u);
    EXPECT_EQ(progress.positions.front(), 20);
    const std::size_t n = progress.positions.size();
    EXPECT_EQ(progress.positions[n - 3], 50);
    EXPECT_EQ(progress.positions[n - 2], 60);
    EXPECT_EQ(progress.positions[n - 1], 80);
    for (std::size_t i = 1; i < n; ++i) {
        EXPECT_GT(progress.positions[i], progress.positions[i - 1]) << "position " << i;
        EXPECT_LE(progress.slept[i] - progress.slept[i - 1], 500u) << "position " << i;
    }
    EXPECT_LE(end - progress.slept[n - 1], 500u);
}

TEST_F(CommandTest, ApplyProfileWritesEverySettingInOrder) {
    OpenAndClear();
    const ProfileRecord profile = MakeProfile();
    RecordingProgress progress(&fake);
    EXPECT_EQ(ApplyProfileToDevice(link, profile, &progress), 1);
    ExpectMovingBar(progress, 0, fake.TotalSlept());

    std::vector<int> commands;
    for (const auto& r : mouse->ReceivedReports())
        if (r.Usage == kCommandUsage) commands.push_back(r.Bytes[1]);
    EXPECT_EQ(commands, (std::vector<int>{0x04, 0x0A, 0x07, 0x06, 0x09, 0x08}));
    EXPECT_EQ(fake.TotalSlept(), 200u + 1150u + 20u + 20u + 350u + 20u + 100u);

    const SimMemory memory = mouse->Memory();
    EXPECT_EQ(memory.CurrentStage, 2);
    EXPECT_EQ(memory.LiftOff, 3);
    EXPECT_EQ(memory.Logo, 0xFF);
    EXPECT_EQ(memory.UniversalScroll, 1);
    EXPECT_EQ(memory.StageX[4], 0x14);
    EXPECT_EQ(memory.StageY[0], 0x20);
    EXPECT_EQ(CurrentDeviceId.load(), kSimCommandDeviceId);
}

TEST_F(CommandTest, TheBarMovesWhileTheMacroAreaGoesOut) {
    OpenAndClear();
    ProfileRecord profile = MakeProfile();
    profile.Buttons[4].ButtonFunc = 44;
    profile.Buttons[4].ButtonID = 1;
    RecordingProgress progress(&fake);
    EXPECT_EQ(ApplyProfileToDevice(link, profile, &progress), 1);
    ExpectMovingBar(progress, 0, fake.TotalSlept());
    // Every position from 21 to 49 is passed on the way: about 0.2 s each.
    EXPECT_EQ(progress.positions.size(), 31u + 2u);
    // The waits are those of the write without a bar.
    EXPECT_EQ(fake.TotalSlept(), 200u + 50u + 1000u + 378u * 10u + 10u * 150u + 100u + 20u + 20u + 350u + 20u + 100u);
}

TEST_F(CommandTest, StageQueryAnswersTheSelectedStage) {
    OpenAndClear();
    SelectResolutionStage(link, 3);
    mouse->ClearReceivedReports();
    const std::uint64_t before = fake.TotalSlept();
    EXPECT_EQ(ReadResolutionStage(link), 3);
    ExpectReports(mouse->ReceivedReports(), {{0, C, {0x07, 0x89, 0x01}}});
    EXPECT_EQ(fake.TotalSlept() - before, 400u);
}

TEST_F(CommandTest, ProbeIsTrueWhenTheMouseAnswers) {
    OpenAndClear();
    EXPECT_TRUE(ProbeDevice());
    ExpectReports(mouse->ReceivedReports(), {{0, C, {0x07, 0x80}}});
    EXPECT_EQ(fake.TotalSlept(), 0u);
}

TEST_F(CommandTest, ProbeWithoutAnyCollectionIsFalse) {
    EXPECT_FALSE(ProbeDevice());  // library not even opened
    EXPECT_TRUE(mouse->ReceivedReports().empty());
    // Opened, but no collection in the list: the probe reaches no collection
    // and its reply stays as preset.
    OpenAndClear();
    DeviceList.Clear();
    EXPECT_FALSE(ProbeDevice());
    EXPECT_TRUE(mouse->ReceivedReports().empty());
}

TEST_F(CommandTest, ReadBackQueryWithoutTheDecoderReturnsTheRawByte) {
    OpenAndClear();
    HidApiBinding.DecodeSecrecy_V11 = nullptr;
    const std::int32_t raw = ReadBackQuery(link);
    EXPECT_NE(raw, kSimReadBackReady);
    EXPECT_EQ(raw, secrecy::EncodeByte(kSimReadBackReady, 1));  // payload byte 1
}

TEST_F(CommandTest, ReadBackRequestGathersTheMouseTableDecoded) {
    OpenAndClear();
    const ProfileRecord profile = MakeProfile();
    WriteButtonTable(link, profile);
    EXPECT_EQ(RequestReadBack(link, shortBusy), 0);
    EXPECT_EQ(fake.windows.CurrentCursorId(), kCursorIdWait);
    mouse->WaitUntilDelivered();
    EXPECT_EQ(shortBusy.load(), 0);
    const auto block = ReadBack.Block();
    const SimMemory memory = mouse->Memory();
    EXPECT_EQ(0, std::memcmp(block.data(), memory.ButtonTable, 32));
    for (std::size_t i = 32; i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

}  // namespace
}  // namespace devtest
