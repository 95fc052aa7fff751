#include "platform/fake/FakeKernel.h"

namespace {
std::string U8(const Text& text) { return TextToUtf8(text); }
}  // namespace

Text FakeFoldPath(const Text& path) {
    Text folded;
    folded.reserve(path.size());
    for (char16_t c : path) folded.push_back(c == u'/' ? u'\\' : FoldAscii(c));
    while (folded.size() > 3 && folded.back() == u'\\') folded.pop_back();
    return folded;
}

FakeKernel::~FakeKernel() { StopThreads(); }

HANDLE FakeKernel::CreateMutexW(const Text& name) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CreateMutexW " + U8(name));
    int& count = mutexes_[name];
    world_.lastError = count > 0 ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    ++count;
    auto handle = reinterpret_cast<HANDLE>(world_.nextHandle++);
    mutexHandles_[handle] = name;
    return handle;
}

DWORD FakeKernel::GetLastError() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return world_.lastError;
}

BOOL FakeKernel::ReleaseMutex(HANDLE mutex) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("ReleaseMutex");
    return mutexHandles_.count(mutex) ? TRUE : FALSE;
}

BOOL FakeKernel::CloseHandle(HANDLE handle) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CloseHandle");
    auto it = mutexHandles_.find(handle);
    if (it != mutexHandles_.end()) {
        if (--mutexes_[it->second] == 0) mutexes_.erase(it->second);
        mutexHandles_.erase(it);
    }
    return TRUE;
}

HANDLE FakeKernel::CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                DWORD* threadId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeThread thread{world_.NextFakeThreadId(), stackSize, routine, parameter};
    threads_.push_back(thread);
    world_.Record("CreateThread stack=" + std::to_string(stackSize));
    if (threadId) *threadId = thread.id;
    if (world_.stopping || routine == nullptr) return reinterpret_cast<HANDLE>(world_.nextHandle++);
    world_.ThreadStarted();
    running_.emplace_back([this, thread] {
        world_.AdoptThread(thread.id);
        thread.routine(thread.parameter);
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.ThreadEnded();
        world_.changed.notify_all();
    });
    return reinterpret_cast<HANDLE>(world_.nextHandle++);
}

DWORD FakeKernel::GetCurrentThreadId() { return world_.CurrentThreadId(); }

void FakeKernel::Sleep(DWORD milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("Sleep " + std::to_string(milliseconds));
    world_.sleeps.push_back(milliseconds);
    world_.now += milliseconds;
    world_.changed.notify_all();
}

DWORD FakeKernel::GetTickCount() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return static_cast<DWORD>(world_.now);
}

void FakeKernel::OutputDebugStringW(const Text& line) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.debugLines.push_back(line);
}

HMODULE FakeKernel::LoadLibraryW(const Text& name) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("LoadLibraryW " + U8(name));
    auto it = moduleHandles_.find(FakeFoldPath(name));
    return it == moduleHandles_.end() ? nullptr : it->second;
}

void* FakeKernel::GetProcAddress(HMODULE module, const char* name) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record(std::string("GetProcAddress ") + name);
    auto it = modules_.find(module);
    if (it == modules_.end()) return nullptr;
    auto entry = it->second.first.find(name);  // exact, case-sensitive
    return entry == it->second.first.end() ? nullptr : entry->second;
}

void* FakeKernel::GetProcAddressByOrdinal(HMODULE module, WORD ordinal) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("GetProcAddress #" + std::to_string(ordinal));
    auto it = modules_.find(module);
    if (it == modules_.end()) return nullptr;
    auto entry = it->second.second.find(ordinal);
    return entry == it->second.second.end() ? nullptr : entry->second;
}

Text FakeKernel::GetModuleFileNameW() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return moduleFileName_;
}

void FakeKernel::SetModuleFileName(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    moduleFileName_ = path;
}

void FakeKernel::AddModule(const Text& name, std::map<std::string, void*> named,
                           std::map<WORD, void*> ordinals) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto handle = reinterpret_cast<HMODULE>(world_.nextHandle++);
    moduleHandles_[FakeFoldPath(name)] = handle;
    modules_[handle] = {std::move(named), std::move(ordinals)};
}

void FakeKernel::StopThreads() {
    std::vector<std::thread> running;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.stopping = true;
        world_.changed.notify_all();
        running.swap(running_);
    }
    for (auto& thread : running)
        if (thread.joinable()) thread.join();
}

std::vector<FakeThread> FakeKernel::Threads() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return threads_;
}

const AnsiCodePage& FakeKernel::SystemAnsiCodePage() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return *codePage_;
}

bool FakeKernel::SetAnsiCodePage(unsigned identifier) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    std::unique_ptr<AnsiCodePage>& kept = codePages_[identifier];
    if (!kept) kept = MakeTableCodePage(identifier);
    if (!kept) {
        codePages_.erase(identifier);
        return false;
    }
    codePage_ = kept.get();
    return true;
}
