#include "tools/windowtree/WindowTreeLayout.h"

#include <cstdlib>
#include <sstream>

namespace windowtree {
namespace {

constexpr long long kMinCoordinate = -32768;
constexpr long long kMaxCoordinate = 32767;

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-';
}

bool IsValidName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength || name == "-") return false;
    for (char c : name)
        if (!IsNameCharacter(c)) return false;
    return true;
}

// A whole decimal or 0x-hex number within [low, high].
bool ParseNumber(const std::string& word, long long low, long long high, long long& value) {
    if (word.empty() || word.size() > 12) return false;
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const std::string digits = hex ? word.substr(2) : word;
    std::size_t start = 0;
    bool negative = false;
    if (!hex && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        start = 1;
    }
    if (start >= digits.size()) return false;
    long long number = 0;
    for (std::size_t i = start; i < digits.size(); ++i) {
        const char c = digits[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        number = number * (hex ? 16 : 10) + digit;  // at most 12 digits: no overflow
    }
    value = negative ? -number : number;
    return value >= low && value <= high;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Splits off the next blank-separated word of `rest`.
std::string NextWord(std::string& rest) {
    rest = Trim(rest);
    const auto end = rest.find_first_of(" \t");
    std::string word = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end);
    return word;
}

class Parser {
public:
    Parser(TreeLayout& layout, std::string& error) : layout_(layout), error_(error) {}

    bool Line(std::size_t number, const std::string& raw) {
        number_ = number;
        std::string rest = Trim(raw);
        if (rest.empty() || rest[0] == '#') return true;
        const std::string keyword = NextWord(rest);
        if (keyword == "window" || keyword == "hung") return Window(rest, keyword == "hung");
        if (keyword == "pointer") return Pointer(rest);
        return Fail("unknown item \"" + keyword + "\"");
    }

private:
    bool Fail(const std::string& what) {
        error_ = "line " + std::to_string(number_) + ": " + what;
        return false;
    }

    bool Window(std::string rest, bool hung) {
        if (layout_.Windows.size() >= kMaxWindows) return Fail("more than 64 windows");
        TreeWindow window;
        window.Hung = hung;
        window.Name = NextWord(rest);
        if (!IsValidName(window.Name)) return Fail("bad window name");
        for (const auto& other : layout_.Windows)
            if (other.Name == window.Name) return Fail("window " + window.Name + " described twice");
        const std::string parent = NextWord(rest);
        if (parent != "-") {
            if (hung) return Fail("a hung window must be top-level");
            for (std::size_t i = 0; i < layout_.Windows.size(); ++i)
                if (layout_.Windows[i].Name == parent) window.Parent = static_cast<int>(i);
            if (window.Parent < 0) return Fail("unknown parent \"" + parent + "\"");
        }
        long long style = 0;
        if (!ParseNumber(NextWord(rest), 0, 0xFFFFFFFFll, style)) return Fail("bad style");
        window.Style = static_cast<std::uint32_t>(style);
        long long edges[4] = {};
        for (long long& edge : edges)
            if (!ParseNumber(NextWord(rest), kMinCoordinate, kMaxCoordinate, edge)) return Fail("bad rectangle");
        if (edges[2] <= edges[0] || edges[3] <= edges[1]) return Fail("empty rectangle");
        window.Left = static_cast<std::int32_t>(edges[0]);
        window.Top = static_cast<std::int32_t>(edges[1]);
        window.Right = static_cast<std::int32_t>(edges[2]);
        window.Bottom = static_cast<std::int32_t>(edges[3]);
        window.ClassName = Trim(rest);
        if (window.ClassName.empty() || window.ClassName.size() > kMaxClassNameLength) return Fail("bad class name");
        for (char c : window.ClassName)
            if (c < 0x20 || c > 0x7E) return Fail("bad class name");
        layout_.Windows.push_back(std::move(window));
        return true;
    }

    bool Pointer(std::string rest) {
        if (layout_.HasPointer) return Fail("a second pointer line");
        long long x = 0, y = 0;
        if (!ParseNumber(NextWord(rest), kMinCoordinate, kMaxCoordinate, x) ||
            !ParseNumber(NextWord(rest), kMinCoordinate, kMaxCoordinate, y) || !Trim(rest).empty())
            return Fail("bad pointer position");
        layout_.HasPointer = true;
        layout_.PointerX = static_cast<std::int32_t>(x);
        layout_.PointerY = static_cast<std::int32_t>(y);
        return true;
    }

    TreeLayout& layout_;
    std::string& error_;
    std::size_t number_ = 0;
};

}  // namespace

bool ParseLayout(const std::string& text, TreeLayout& layout, std::string& error) {
    layout = TreeLayout{};
    error.clear();
    Parser parser(layout, error);
    std::istringstream lines(text);
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number)
        if (!parser.Line(number, line)) return false;
    return true;
}

std::size_t TopLevelOf(const TreeLayout& layout, std::size_t index) {
    // Parents always come earlier, so the walk ends.
    while (layout.Windows[index].Parent >= 0) index = static_cast<std::size_t>(layout.Windows[index].Parent);
    return index;
}

}  // namespace windowtree
