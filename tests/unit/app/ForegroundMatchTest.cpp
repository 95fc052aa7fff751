// Which profile a foreground program selects, as plain rules over settings.
#include <gtest/gtest.h>

#include <cstring>

#include "app/ForegroundMatch.h"

namespace {

ServiceSettings WithLaunch(std::initializer_list<std::pair<int, const char16_t*>> slots, int active = 0) {
    ServiceSettings s;
    std::memset(&s, 0, sizeof s);
    s.Profile = active;
    for (const auto& [slot, name] : slots) CopyTextToField(name, s.Profiles[slot].Launch, kLaunchLength);
    return s;
}

struct MatchCase {
    const char* name;
    ServiceSettings settings;
    const char16_t* program;
    int match;   // ProfileForProgram
    int change;  // ProfileSwitchForProgram
};

TEST(ForegroundMatchTest, TheFirstWatchedSlotThatNamesTheProgramWins) {
    const MatchCase cases[] = {
        {"slot 3", WithLaunch({{3, u"game.exe"}}), u"game.exe", 3, 3},
        {"any case", WithLaunch({{3, u"Game.EXE"}}), u"gAME.exe", 3, 3},
        {"slots 2 and 4", WithLaunch({{2, u"game.exe"}, {4, u"game.exe"}}), u"game.exe", 2, 2},
        {"slot 1 before 4", WithLaunch({{4, u"game.exe"}, {1, u"GAME.EXE"}}), u"game.exe", 1, 1},
        {"slot 0 only", WithLaunch({{0, u"game.exe"}}), u"game.exe", kNoProfile, kNoProfile},
        {"slot 5 only", WithLaunch({{5, u"game.exe"}}), u"game.exe", kNoProfile, kNoProfile},
        {"active already", WithLaunch({{2, u"game.exe"}}, 2), u"game.exe", 2, kNoProfile},
        {"active is another", WithLaunch({{2, u"game.exe"}}, 4), u"game.exe", 2, 2},
        {"not named", WithLaunch({{2, u"game.exe"}}, 2), u"editor.exe", kNoProfile, kNoProfile},
        {"the service itself", WithLaunch({{1, u"mousehid.exe"}}), u"MOUSEHID.EXE", kNoProfile, kNoProfile},
        {"no name matches no empty slot", WithLaunch({}), u"", kNoProfile, kNoProfile},
        {"a name is not a prefix", WithLaunch({{1, u"game.exe"}}), u"game.ex", kNoProfile, kNoProfile},
        {"Latin-1 capitals", WithLaunch({{1, u"\u00e9t\u00e9.exe"}}), u"\u00c9T\u00c9.EXE", 1, 1},
        {"Cyrillic capitals", WithLaunch({{2, u"\u0438\u0433\u0440\u0430.exe"}}), u"\u0418\u0413\u0420\u0410.exe", 2, 2},
        {"Greek capitals", WithLaunch({{3, u"\u03c0\u03b1\u03b9\u03c7\u03bd\u03af\u03b4\u03b9.exe"}}),
         u"\u03a0\u0391\u0399\u03a7\u039d\u03af\u0394\u0399.exe", 3, 3},
        {"out-of-range active profile", WithLaunch({{1, u"game.exe"}}, 9), u"game.exe", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProfileForProgram(c.settings, c.program), c.match);
        EXPECT_EQ(ProfileSwitchForProgram(c.settings, c.program), c.change);
    }
}

TEST(ForegroundMatchTest, ALaunchTextFillingItsFieldIsReadWithinIt) {
    ServiceSettings s;
    std::memset(&s, 0, sizeof s);
    for (auto& c : s.Profiles[1].Launch) c = u'x';  // no terminator
    // The whole field is the text, and nothing past it.
    EXPECT_EQ(ProfileForProgram(s, Text(kLaunchLength, u'x')), 1);
    EXPECT_EQ(ProfileForProgram(s, Text(kLaunchLength + 1, u'x')), kNoProfile);
    EXPECT_EQ(ProfileForProgram(s, Text(kLaunchLength, u'y')), kNoProfile);
}

TEST(ForegroundMatchTest, FileNameOfPath) {
    EXPECT_EQ(FileNameOfPath(u"C:\\Games\\Quest\\Game.exe"), u"Game.exe");
    EXPECT_EQ(FileNameOfPath(u"\\\\?\\C:\\a/b.exe"), u"b.exe");
    EXPECT_EQ(FileNameOfPath(u"plain.exe"), u"plain.exe");
    EXPECT_EQ(FileNameOfPath(u"C:\\folder\\"), u"");
}

}  // namespace
