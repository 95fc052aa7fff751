// inputrecorder.exe from an installation copy, run for one test: what input
// the system saw while it ran.
#pragma once

#include <string>
#include <vector>

#include "tests/wine/harness/ServiceHarness.h"

namespace e2e {

class InputRecording {
public:
    InputRecording() = default;
    InputRecording(const InputRecording&) = delete;
    InputRecording& operator=(const InputRecording&) = delete;
    ~InputRecording();

    // Starts the recorder and waits until its hooks are in place.
    bool Start(const std::wstring& folder);
    bool Stop();
    // Ends the process at once, if it still runs.
    void Kill();

    // The injected button and key events seen so far, pointer moves left out:
    // "mouse msg=0x201 x=335 y=665", "key msg=0x100 vk=0x25".
    std::vector<std::string> Injected() const;
    // Waits until at least `count` injected events were seen.
    bool WaitForInjected(std::size_t count, unsigned timeoutMs) const;

private:
    Process process_;
    std::wstring stopEvent_;
    std::wstring outPath_;
};

}  // namespace e2e
