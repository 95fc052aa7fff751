#include "app/ForegroundMatch.h"

Text FileNameOfPath(const Text& path) {
    const auto slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? path : path.substr(slash + 1);
}

int ProfileForProgram(const ServiceSettings& settings, const Text& exeFileName) {
    // No name (nothing found) matches nothing, not even an empty Launch.
    if (exeFileName.empty() || EqualsIgnoringCase(exeFileName, kServiceExecutable)) return kNoProfile;
    for (int slot = kFirstWatchedProfile; slot <= kLastWatchedProfile; ++slot) {
        const Text launch = TextFromField(settings.Profiles[slot].Launch, kLaunchLength);
        if (EqualsIgnoringCase(exeFileName, launch)) return slot;
    }
    return kNoProfile;
}

int ProfileSwitchForProgram(const ServiceSettings& settings, const Text& exeFileName) {
    const int slot = ProfileForProgram(settings, exeFileName);
    return slot != kNoProfile && slot != settings.Profile ? slot : kNoProfile;
}
