#include "platform/Input.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<InputInjection*> g_input{nullptr};
}

InputInjection& Input() {
    InputInjection* input = g_input.load(std::memory_order_acquire);
    if (input == nullptr) std::abort();  // a program must set its input stream before use
    return *input;
}

void SetInput(InputInjection* input) { g_input.store(input, std::memory_order_release); }
