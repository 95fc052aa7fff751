#include "platform/win32/Win32Platform.h"
#include "tests/conformance/ConformancePlatform.h"

namespace {
struct Win32Conformance final : ConformancePlatform {
    const Platform& Get() override { return platform; }
    Win32Platform platform;
};
}  // namespace

std::unique_ptr<ConformancePlatform> MakeConformancePlatform() {
    return std::make_unique<Win32Conformance>();
}
