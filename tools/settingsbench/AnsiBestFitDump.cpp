// Prints, as C++ table rows, every UTF-16 unit that the platform's
// conversion to code page 1252 turns into a byte other than '?' although the
// code page has no such character (its "best fit" mapping). The output is
// config/AnsiBestFit.inc; regenerate with: wine ansi_best_fit_dump.exe
#include <windows.h>

#include <cstdio>

int main() {
    int count = 0;
    for (unsigned unit = 0x80; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const wchar_t wide = static_cast<wchar_t>(unit);
        char byte = 0;
        BOOL usedDefault = FALSE;
        if (::WideCharToMultiByte(1252, 0, &wide, 1, &byte, 1, nullptr, &usedDefault) != 1 || usedDefault) continue;
        wchar_t back = 0;
        ::MultiByteToWideChar(1252, 0, &byte, 1, &back, 1);
        if (back == wide) continue;  // a character of the code page itself
        std::printf("    {0x%04X, 0x%02X},\n", unit, static_cast<unsigned char>(byte));
        ++count;
    }
    std::fprintf(stderr, "%d best-fit entries\n", count);
    return 0;
}
