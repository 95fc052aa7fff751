#include "platform/fake/FakePlatform.h"
#include "tests/conformance/ConformancePlatform.h"

namespace {
struct FakeConformance final : ConformancePlatform {
    const Platform& Get() override { return fake; }
    long long VirtualNow() override { return static_cast<long long>(fake.Now()); }
    bool RaiseForeignForegroundEvent() override {
        fake.windows.SetForeground(fake.windows.AddForeignWindow(u"Another Program"));
        return true;
    }
    FakePlatform fake;
};
}  // namespace

std::unique_ptr<ConformancePlatform> MakeConformancePlatform() {
    return std::make_unique<FakeConformance>();
}
