// The settings file is written as a whole: one replace per operation, in
// the bytes the key-by-key writer makes, and a file that cannot be read or
// replaced is left exactly as it was.
#include <algorithm>

#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/WholeFileIniWriter.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

using WholeFileWriteTest = SettingsFileFixture;

constexpr char kPeerFile[] = "[Setting]\r\nProfile=2\r\nPeerKey=kept\r\n[GROUP3]\r\nName=Peer\r\n";

long CountCalls(const FakePlatform& fake, const std::string& prefix) {
    const auto calls = fake.Calls();
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

bool Said(const FakePlatform& fake, const std::string& words) {
    for (const Text& line : fake.DebugLines())
        if (TextToUtf8(line).find(words) != std::string::npos) return true;
    return false;
}

TEST_F(WholeFileWriteTest, AFullWriteReplacesTheFileOnceWithTheBytesOfKeyByKeyWrites) {
    PutSettingsFile(kPeerFile);
    const ServiceSettings settings = samples::FullSettings();
    // What writing one key at a time makes of the same file.
    const Text other = DataFolder() + u"other.ini";
    fake.files.AddFile(other, kPeerFile);
    PortableIniFile keyByKey(other);
    WriteAllSettings(keyByKey, settings);

    fake.ClearCalls();
    EXPECT_TRUE(WriteAllSettings(settings));
    EXPECT_EQ(CountCalls(fake, "WriteFile"), 1);
    EXPECT_EQ(SettingsFile(), fake.files.File(other).value_or("<none>"));
    EXPECT_NE(SettingsFile().find("PeerKey=kept"), std::string::npos) << "a peer's key stays";

    // Writing what the file holds already replaces nothing.
    fake.ClearCalls();
    EXPECT_TRUE(WriteAllSettings(settings));
    EXPECT_EQ(CountCalls(fake, "WriteFile"), 0);
}

// A file another program holds shut, or one larger than any settings file,
// is not the user's settings as the service wrote them: nothing is written
// over it, by a full write or a single key.
TEST_F(WholeFileWriteTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    struct Case {
        const char* name;
        std::string bytes;
        bool held;
    };
    const Case cases[] = {
        {"held without sharing", kPeerFile, true},
        {"larger than any settings file", std::string(kMostIniFileBytes + 1, ';'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutSettingsFile(c.bytes);
        if (c.held) fake.files.HoldFile(SettingsFilePath());
        fake.ClearCalls();
        EXPECT_FALSE(WriteAllSettings(samples::FullSettings()));
        WritePlug(1);
        EXPECT_EQ(CountCalls(fake, "WriteFile"), 0);
        ServiceSettings read = samples::DefaultSettings();
        EXPECT_EQ(ReadAllSettings(read), FileReadStatus::Unreadable);
        fake.files.ReleaseFile(SettingsFilePath());
        EXPECT_EQ(SettingsFile(), c.bytes);
    }
}

// Readable but not replaceable (open elsewhere with read sharing only): the
// replace is tried a few times, a short while apart, then given up with a
// debug line, and the old file is whole.
TEST_F(WholeFileWriteTest, AReplaceThatKeepsFailingLeavesTheOldFileAndSaysSo) {
    PutSettingsFile(kPeerFile);
    fake.files.DenyReplace(SettingsFilePath());
    fake.ClearCalls();
    EXPECT_FALSE(WriteAllSettings(samples::FullSettings()));
    EXPECT_EQ(CountCalls(fake, "WriteFile"), WholeFileIniWriter::kReplaceAttempts);
    EXPECT_EQ(fake.TotalSlept(), (WholeFileIniWriter::kReplaceAttempts - 1) * WholeFileIniWriter::kReplaceRetryMs);
    EXPECT_EQ(SettingsFile(), kPeerFile);
    EXPECT_TRUE(Said(fake, "could not be replaced, the old one stays"));

    // Once the other program lets go, the next write goes through.
    fake.files.AllowReplace(SettingsFilePath());
    EXPECT_TRUE(WriteAllSettings(samples::FullSettings()));
    EXPECT_NE(SettingsFile(), kPeerFile);
}

}  // namespace
