// Console for the simulated mouse: sends one request over its control pipe
// and prints the answer.
//   hidsimctl plug | unplug | press N | release N | report 03 F0 ...
//   hidsimctl log | clear-log | memory | status
//   hidsimctl --readable memory     the memory with stage values, button
//                                   functions and macro events spelled out
// Exit code: 0 for "ok", 1 for an error answer, 2 when no mouse listens.
#include <cstdio>
#include <cstring>
#include <string>

#include "hidsim/win32/ControlChannel.h"
#include "tools/hidsimctl/MemoryText.h"

int main(int argc, char** argv) {
    int first = 1;
    const bool readable = argc > 1 && std::strcmp(argv[1], "--readable") == 0;
    if (readable) ++first;
    if (argc <= first || (readable && (argc != first + 1 || std::strcmp(argv[first], "memory") != 0))) {
        std::fputs("usage: hidsimctl plug|unplug|press N|release N|report HEX...|log|clear-log|memory|status\n"
                   "       hidsimctl --readable memory\n",
                   stderr);
        return 2;
    }
    std::string request;
    for (int i = first; i < argc; ++i) {
        if (i > first) request += ' ';
        request += argv[i];
    }
    std::string answer;
    if (!CallControlPipe(request, answer)) {
        std::fputs("hidsimctl: no simulated mouse is listening (is the service running?)\n", stderr);
        return 2;
    }
    const bool ok = answer.compare(0, 2, "ok") == 0;
    if (readable && ok) {
        std::string text, error;
        if (!DescribeMouseMemory(answer, text, error)) {
            std::fprintf(stderr, "hidsimctl: %s\n", error.c_str());
            return 1;
        }
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    std::fputs(answer.c_str(), stdout);
    return ok ? 0 : 1;
}
