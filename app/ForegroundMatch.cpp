#include "app/ForegroundMatch.h"

char16_t FoldFileNameChar(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    // Latin-1 capitals À..Þ without ×; Greek Α..Ϋ; Cyrillic А..Я.
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);  // Ѐ..Џ
    return c;
}

bool FileNamesEqual(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldFileNameChar(a[i]) != FoldFileNameChar(b[i])) return false;
    return true;
}

Text FileNameOfPath(const Text& path) {
    const auto slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? path : path.substr(slash + 1);
}

int ProfileForProgram(const ServiceSettings& settings, const Text& exeFileName) {
    // No name (nothing found) matches nothing, not even an empty Launch.
    if (exeFileName.empty() || FileNamesEqual(exeFileName, kServiceExecutable)) return kNoProfile;
    for (int slot = kFirstWatchedProfile; slot <= kLastWatchedProfile; ++slot) {
        const Text launch = TextFromField(settings.Profiles[slot].Launch, kLaunchLength);
        if (FileNamesEqual(exeFileName, launch)) return slot;
    }
    return kNoProfile;
}

int ProfileSwitchForProgram(const ServiceSettings& settings, const Text& exeFileName) {
    const int slot = ProfileForProgram(settings, exeFileName);
    return slot != kNoProfile && slot != settings.Profile ? slot : kNoProfile;
}
