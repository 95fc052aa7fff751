#include "ui/ProgressDialogRules.h"

#include <cstdint>

#include "ui/GuiValues.h"

Text ExecutableFolder(const Text& executablePath) {
    const std::size_t separator = executablePath.find_last_of(u"\\/");
    if (separator != Text::npos) return executablePath.substr(0, separator + 1);
    // A drive with no directory ("C:name.exe") keeps its drive.
    if (executablePath.size() >= 2 && executablePath[1] == u':') return executablePath.substr(0, 2);
    return Text();
}

SkinFiles SkinFilesFor(const Text& executablePath) {
    const Text folder = ExecutableFolder(executablePath);
    return {folder + u"skins\\updatebar_Mask.BMP", folder + u"skins\\updatebar_n.jpg",
            folder + u"skins\\updatebar_o.jpg", folder + u"skins\\string_trayicon.ini"};
}

ScreenPoint CentredOnScreen(int screenWidth, int screenHeight, int skinWidth, int skinHeight) {
    const auto centre = [](int screen, int skin) {
        return static_cast<int>((std::int64_t{screen} - skin) / 2);
    };
    return {centre(screenWidth, skinWidth), centre(screenHeight, skinHeight)};
}

bool IsSwallowedDialogKey(unsigned message, std::uintptr_t key) {
    return message == gui::kMessageKeyDown && (key == gui::kKeyEscape || key == gui::kKeyReturn);
}
