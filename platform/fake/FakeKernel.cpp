#include "platform/fake/FakeKernel.h"

#include <algorithm>

namespace {
std::string U8(const Text& text) { return TextToUtf8(text); }
}  // namespace

Text FakeFoldPath(const Text& path) {
    Text folded;
    folded.reserve(path.size());
    for (char16_t c : path) folded.push_back(c == u'/' ? u'\\' : FoldCase(c));
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
    if (CloseProcessHandleLocked(handle)) return TRUE;
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
    const auto handle = reinterpret_cast<HANDLE>(world_.nextHandle++);
    FakeThread thread{world_.NextFakeThreadId(), stackSize, routine, parameter, handle};
    threads_.push_back(thread);
    world_.Record("CreateThread stack=" + std::to_string(stackSize));
    if (threadId) *threadId = thread.id;
    threadEnded_[handle] = false;
    if (world_.stopping || routine == nullptr) return handle;
    world_.ThreadStarted();
    running_.emplace_back([this, thread, handle] {
        world_.AdoptThread(thread.id);
        thread.routine(thread.parameter);
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.ThreadEnded();
        threadEnded_[handle] = true;
        world_.changed.notify_all();
    });
    return handle;
}

DWORD FakeKernel::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    std::unique_lock<std::recursive_mutex> lock(world_.lock);
    world_.Record("WaitForSingleObject " + (milliseconds == INFINITE ? std::string("INFINITE")
                                                                     : std::to_string(milliseconds)));
    auto thread = threadEnded_.find(handle);
    if (thread == threadEnded_.end()) {
        world_.lastError = ERROR_INVALID_HANDLE;
        return WAIT_FAILED;
    }
    const bool fakeThread = world_.IsFakeThread(world_.CurrentThreadId());
    if (fakeThread) world_.ThreadWaiting();
    const bool ended = world_.changed.wait_for(lock, world_.hangAfter, [&] {
        return threadEnded_[handle] || world_.stopping;
    });
    if (fakeThread) world_.ThreadResumed();
    if (threadEnded_[handle]) return WAIT_OBJECT_0;
    if (milliseconds == INFINITE) {
        world_.hangs.push_back("WaitForSingleObject: its thread never ended");
    } else if (!ended) {
        world_.now += milliseconds;
    }
    return WAIT_TIMEOUT;
}

DWORD FakeKernel::GetCurrentThreadId() { return world_.CurrentThreadId(); }

BOOL FakeKernel::SetCurrentThreadPriority(int priority) {
    static constexpr int kLevels[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL,
                                      THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL,
                                      THREAD_PRIORITY_HIGHEST,      THREAD_PRIORITY_TIME_CRITICAL};
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (std::find(std::begin(kLevels), std::end(kLevels), priority) == std::end(kLevels)) {
        world_.lastError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    priorities_[world_.CurrentThreadId()] = priority;
    return TRUE;
}

int FakeKernel::GetCurrentThreadPriority() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const auto found = priorities_.find(world_.CurrentThreadId());
    return found == priorities_.end() ? THREAD_PRIORITY_NORMAL : found->second;
}

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

bool FakeKernel::ThreadEnded(DWORD id) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    for (const FakeThread& thread : threads_) {
        if (thread.id != id) continue;
        auto ended = threadEnded_.find(thread.handle);
        return ended != threadEnded_.end() && ended->second;
    }
    return false;
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

// --- processes: which program owns the foreground ---

namespace {
Text FileNameOf(const Text& path) {
    const auto slash = path.find_last_of(u'\\');
    return slash == Text::npos ? path : path.substr(slash + 1);
}
}  // namespace

std::vector<FakeKernel::FakeProcess> FakeKernel::ProcessesLocked() const {
    std::vector<FakeProcess> all;
    all.push_back(FakeProcess{kOwnProcessId, moduleFileName_, true});
    all.insert(all.end(), processes_.begin(), processes_.end());
    return all;
}

HANDLE FakeKernel::CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CreateToolhelp32Snapshot " + FakeHex(flags) + " " + std::to_string(processId));
    if (failSnapshots_ || (flags & 0x2u) == 0) return nullptr;  // TH32CS_SNAPPROCESS
    auto handle = reinterpret_cast<HANDLE>(world_.nextHandle++);
    snapshots_[handle] = {ProcessesLocked(), 0};
    return handle;
}

BOOL FakeKernel::Process32FirstW(HANDLE snapshot, ProcessEntry* entry) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("Process32FirstW");
    auto it = snapshots_.find(snapshot);
    if (it == snapshots_.end() || entry == nullptr) return FALSE;
    it->second.second = 0;
    if (it->second.first.empty()) return FALSE;
    entry->th32ProcessID = it->second.first[0].id;
    entry->szExeFile = FileNameOf(it->second.first[0].imagePath);
    it->second.second = 1;
    return TRUE;
}

BOOL FakeKernel::Process32NextW(HANDLE snapshot, ProcessEntry* entry) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("Process32NextW");
    auto it = snapshots_.find(snapshot);
    if (it == snapshots_.end() || entry == nullptr) return FALSE;
    auto& [entries, next] = it->second;
    if (next == 0 || next >= entries.size()) return FALSE;  // First not called, or past the end
    entry->th32ProcessID = entries[next].id;
    entry->szExeFile = FileNameOf(entries[next].imagePath);
    ++next;
    return TRUE;
}

HANDLE FakeKernel::OpenProcess(DWORD access, BOOL, DWORD processId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("OpenProcess " + FakeHex(access) + " " + std::to_string(processId));
    for (const auto& process : ProcessesLocked()) {
        if (process.id != processId) continue;
        if (!process.openable) {
            world_.lastError = ERROR_ACCESS_DENIED;
            return nullptr;
        }
        auto handle = reinterpret_cast<HANDLE>(world_.nextHandle++);
        processHandles_[handle] = processId;
        return handle;
    }
    world_.lastError = 87;  // ERROR_INVALID_PARAMETER: no such process
    return nullptr;
}

BOOL FakeKernel::QueryFullProcessImageNameW(HANDLE process, Text* path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("QueryFullProcessImageNameW");
    auto handle = processHandles_.find(process);
    if (handle == processHandles_.end()) return FALSE;
    for (const auto& p : ProcessesLocked()) {
        if (p.id != handle->second) continue;
        if (path != nullptr) *path = p.imagePath;
        return TRUE;
    }
    return FALSE;  // ended since it was opened
}

void FakeKernel::AddProcess(DWORD processId, const Text& imagePath, bool openable) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    processes_.push_back(FakeProcess{processId, imagePath, openable});
}

void FakeKernel::RemoveProcess(DWORD processId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    processes_.erase(std::remove_if(processes_.begin(), processes_.end(),
                                    [processId](const FakeProcess& p) { return p.id == processId; }),
                     processes_.end());
}

void FakeKernel::FailSnapshots(bool fail) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    failSnapshots_ = fail;
}

int FakeKernel::OpenSnapshotCount() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return static_cast<int>(snapshots_.size());
}

int FakeKernel::OpenProcessHandleCount() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return static_cast<int>(processHandles_.size());
}

bool FakeKernel::CloseProcessHandleLocked(HANDLE handle) {
    return snapshots_.erase(handle) > 0 || processHandles_.erase(handle) > 0;
}
