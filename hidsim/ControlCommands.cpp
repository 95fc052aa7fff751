#include "hidsim/ControlCommands.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

bool ParseNumber(const std::string& word, int base, long& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtol(word.c_str(), &end, base);
    return end != nullptr && *end == '\0';
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
    }
    return out;
}

constexpr std::size_t kMaxReportBytes = 64;

}  // namespace

std::string DescribeMemory(const SimMemory& m) {
    std::ostringstream out;
    out << "rate=" << int(m.ReportRate) << "\n"
        << "stagex=" << Hex(m.StageX, sizeof m.StageX) << "\n"
        << "stagey=" << Hex(m.StageY, sizeof m.StageY) << "\n"
        << "stage=" << int(m.CurrentStage) << "\n"
        << "lift=" << int(m.LiftOff) << "\n"
        << "logo=" << int(m.Logo) << "\n"
        << "scroll=" << int(m.UniversalScroll) << "\n"
        << "state=" << int(m.StateByte) << "\n"
        << "buttons=" << Hex(m.ButtonTable, sizeof m.ButtonTable) << "\n"
        << "macros=" << Hex(m.MacroArea, sizeof m.MacroArea) << "\n";
    return out.str();
}

std::string ExecuteControlCommand(SimHidLibrary& library, const std::string& request) {
    std::istringstream in(request);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty()) return "error: empty request\n";
    const std::string& verb = words[0];

    if (verb == "plug" && words.size() == 1) {
        library.Plug();
        return "ok\n";
    }
    if (verb == "unplug" && words.size() == 1) {
        library.Unplug();
        return "ok\n";
    }
    if ((verb == "press" || verb == "release") && words.size() == 2) {
        long index = 0;
        if (!ParseNumber(words[1], 0, index) || index < 0 || index > 255) return "error: bad button index\n";
        const bool sent = verb == "press" ? library.PressButton(static_cast<int>(index))
                                          : library.ReleaseButton(static_cast<int>(index));
        return sent ? "ok\n" : "error: mouse not open\n";
    }
    if (verb == "report" && words.size() >= 2 && words.size() <= kMaxReportBytes + 1) {
        std::vector<std::uint8_t> report;
        for (std::size_t i = 1; i < words.size(); ++i) {
            long b = 0;
            if (!ParseNumber(words[i], 16, b) || b < 0 || b > 0xFF) return "error: bad byte " + words[i] + "\n";
            report.push_back(static_cast<std::uint8_t>(b));
        }
        return library.SendInputReport(std::move(report)) ? "ok\n" : "error: mouse not open\n";
    }
    if (verb == "log" && words.size() == 1) {
        std::string out = "ok\n";
        for (const auto& r : library.ReceivedReports()) out += FormatReceivedReport(r) + "\n";
        return out;
    }
    if (verb == "clear-log" && words.size() == 1) {
        library.ClearReceivedReports();
        return "ok\n";
    }
    if (verb == "memory" && words.size() == 1) return "ok\n" + DescribeMemory(library.Memory());
    if (verb == "status" && words.size() == 1)
        return std::string("ok\nplugged=") + (library.Plugged() ? "1" : "0") + "\n";
    return "error: unknown request\n";
}
