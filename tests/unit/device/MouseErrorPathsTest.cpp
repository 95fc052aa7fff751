// Error paths of the device link, each forced by one field of the
// simulated mouse's configuration.
#include "device/DeviceCommands.h"
#include "tests/unit/device/DeviceTestSupport.h"

namespace devtest {
namespace {

SimMouseConfig Without(void (*change)(SimMouseConfig&)) {
    SimMouseConfig config;
    change(config);
    return config;
}

class SilentProbe : public DeviceTest {
protected:
    SilentProbe() : DeviceTest(Without([](SimMouseConfig& c) { c.Answers.AnswersProbe = false; })) {}
};

TEST_F(SilentProbe, AMouseThatDoesNotAnswerTheProbeIsNotFound) {
    OpenAndClear();
    EXPECT_FALSE(ProbeDevice());
}

class NoCommandWrites : public DeviceTest {
protected:
    NoCommandWrites()
        : DeviceTest(Without([](SimMouseConfig& c) { c.MissingOrdinals = {kOrdinalWriteCommand}; })) {}
};

TEST_F(NoCommandWrites, ALibraryWithoutItsCommandEntryPointSendsNothingAndDoesNotCrash) {
    OpenAndClear();
    EXPECT_EQ(SetLiftOff(link, 3), 1) << "the guard passes: the mouse is open";
    EXPECT_EQ(mouse->CallCount(kOrdinalWriteCommand), 0);
    EXPECT_TRUE(mouse->ReceivedReports().empty());
}

class NotReadyForReadBack : public DeviceTest {
protected:
    NotReadyForReadBack() : DeviceTest(Without([](SimMouseConfig& c) { c.Answers.ReadBackReady = false; })) {}
};

TEST_F(NotReadyForReadBack, TheQuerySaysNoTableIsHeld) {
    OpenAndClear();
    EXPECT_EQ(ReadBackQuery(link), 0);
}

class NoHidApi : public DeviceTest {
protected:
    NoHidApi() : DeviceTest(Without([](SimMouseConfig& c) { c.MissingHidApiEntries = {"DecodeSecrecy_V11"}; })) {}
};

TEST_F(NoHidApi, WithoutTheDecoderTheQueryReplyStaysEncoded) {
    OpenAndClear();
    EXPECT_EQ(HidApiBinding.DecodeSecrecy_V11, nullptr);
    EXPECT_NE(ReadBackQuery(link), kSimReadBackReady) << "the reply is read as it came";
}

}  // namespace
}  // namespace devtest
