#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include <climits>

namespace {

// The conversion functions take int lengths; longer input is not converted.
constexpr std::size_t kMaxConverted = INT_MAX / 2;

}  // namespace

unsigned Win32AnsiCodePage::Identifier() const { return ::GetACP(); }

Text Win32AnsiCodePage::Decode(const std::string& bytes) const {
    if (bytes.empty() || bytes.size() > kMaxConverted) return Text();
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return Text();
    Text text(static_cast<std::size_t>(units), u'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length,
                                              reinterpret_cast<wchar_t*>(&text[0]), units);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

std::string Win32AnsiCodePage::Encode(const Text& text) const {
    if (text.empty() || text.size() > kMaxConverted) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, wide, length, &bytes[0], size, nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return bytes;
}
