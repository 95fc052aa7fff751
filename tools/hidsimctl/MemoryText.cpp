#include "tools/hidsimctl/MemoryText.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "contract/ButtonCodes.h"
#include "tools/settingsedit/ButtonAssignmentText.h"

namespace {

constexpr std::size_t kStageBytes = 5;
constexpr std::size_t kTableBytes = 40;
constexpr std::size_t kCodeBytes = 4;
constexpr std::size_t kMacroBlockBytes = 302;
constexpr std::size_t kMacroAreaBytes = kMacroBlockBytes * kButtonCount;

bool FromHex(const std::string& hex, std::size_t size, std::vector<std::uint8_t>& bytes) {
    if (hex.size() != size * 2) return false;
    bytes.assign(size, 0);
    for (std::size_t i = 0; i < hex.size(); ++i) {
        const char c = hex[i];
        int digit = 0;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        bytes[i / 2] = static_cast<std::uint8_t>(bytes[i / 2] << 4 | digit);
    }
    return true;
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", bytes[i]);
        out += byte;
    }
    return out;
}

std::string NameOfFunction(std::uint8_t code) {
    const std::string name = FunctionName(code);
    return name.empty() ? "function " + std::to_string(code) : name;
}

// Every function whose code in the mouse's table would be these four bytes.
std::string FunctionsOfCode(const std::uint8_t* code, int index) {
    bool allZero = true;
    for (std::size_t i = 0; i < kCodeBytes; ++i) allZero = allZero && code[i] == 0;
    if (allZero) return "nothing assigned";
    std::string names;
    // In the order of the function codes.
    for (int function = 0; function <= 0xFF; ++function) {
        for (const ButtonCodeRow& row : kButtonCodeRows) {
            if (FunctionByte(row.Function) != function) continue;
            if (row.Fill == CodeFill::KeyNumber || row.Fill == CodeFill::NotWritten) continue;
            const auto expected = ButtonCodeFor(FunctionByte(row.Function), index, 0);
            bool same = true;
            for (std::size_t i = 0; i < kCodeBytes; ++i) same = same && expected[i] == code[i];
            if (same) names += (names.empty() ? "" : " or ") + NameOfFunction(FunctionByte(row.Function));
        }
    }
    if (names.empty() && code[0] == 0 && code[2] == 0 && code[3] == 0) {
        const std::string key = KeyName(code[1]);
        return "KeyboardKey key " + (key.empty() ? Hex(code + 1, 1) : key);
    }
    return names.empty() ? "unknown code" : names;
}

}  // namespace

bool DescribeMouseMemory(const std::string& answer, std::string& text, std::string& error) {
    std::map<std::string, std::string> fields;
    std::istringstream in(answer);
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    for (const char* name : {"rate", "stagex", "stagey", "stage", "lift", "logo", "scroll", "state", "buttons",
                             "macros"}) {
        if (fields.find(name) == fields.end()) {
            error = std::string("the answer has no ") + name;
            return false;
        }
    }
    std::vector<std::uint8_t> stageX, stageY, table, macros;
    if (!FromHex(fields["stagex"], kStageBytes, stageX) || !FromHex(fields["stagey"], kStageBytes, stageY) ||
        !FromHex(fields["buttons"], kTableBytes, table) || !FromHex(fields["macros"], kMacroAreaBytes, macros)) {
        error = "a byte area of the answer has the wrong length or a bad digit";
        return false;
    }
    std::ostringstream out;
    out << "report rate code " << fields["rate"] << "\n";
    out << "stages x:";
    for (std::uint8_t x : stageX) out << ' ' << int(x);
    out << "\nstages y:";
    for (std::uint8_t y : stageY) out << ' ' << int(y);
    out << "\ncurrent stage " << fields["stage"] << "\n"
        << "lift-off " << fields["lift"] << "\n"
        << "logo " << fields["logo"] << "\n"
        << "universal scroll " << fields["scroll"] << "\n"
        << "state byte " << fields["state"] << "\n";
    for (int i = 0; i < kButtonCount; ++i) {
        const std::uint8_t* code = &table[static_cast<std::size_t>(i) * kCodeBytes];
        out << "button " << i << ": " << Hex(code, kCodeBytes) << "  " << FunctionsOfCode(code, i) << "\n";
    }
    for (int i = 0; i < kButtonCount; ++i) {
        const std::uint8_t* block = &macros[static_cast<std::size_t>(i) * kMacroBlockBytes];
        bool empty = true;
        for (std::size_t b = 0; b < kMacroBlockBytes; ++b) empty = empty && block[b] == 0;
        if (empty) continue;
        const int id = block[0] << 8 | block[1];
        ButtonDataBytes events{};
        for (std::size_t b = 0; b < events.size(); ++b) events[b] = block[2 + b];
        out << "macro block " << i << ": mode " << DescribeMacroMode(id) << ", events \""
            << DescribeMacroEvents(events) << "\"\n";
    }
    if (macros == std::vector<std::uint8_t>(kMacroAreaBytes, 0)) out << "no macro blocks\n";
    text = out.str();
    return true;
}
