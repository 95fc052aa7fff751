// Console for the simulated mouse: sends one request over its control pipe
// and prints the answer.
//   hidsimctl plug | unplug | press N | release N | report 03 F0 ...
//   hidsimctl log | clear-log | memory | status
// Exit code: 0 for "ok", 1 for an error answer, 2 when no mouse listens.
#include <cstdio>
#include <string>

#include "hidsim/win32/ControlChannel.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: hidsimctl plug|unplug|press N|release N|report HEX...|log|clear-log|memory|status\n",
                   stderr);
        return 2;
    }
    std::string request;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) request += ' ';
        request += argv[i];
    }
    std::string answer;
    if (!CallControlPipe(request, answer)) {
        std::fputs("hidsimctl: no simulated mouse is listening (is the service running?)\n", stderr);
        return 2;
    }
    std::fputs(answer.c_str(), stdout);
    return answer.compare(0, 2, "ok") == 0 ? 0 : 1;
}
