#include "platform/fake/FakePlatform.h"

#include <sstream>

namespace {

template <typename T>
std::string Hex(T value) {
    std::ostringstream out;
    out << "0x" << std::hex << static_cast<std::uint64_t>(value);
    return out.str();
}

std::string U8(const Text& text) { return TextToUtf8(text); }

}  // namespace

FakePlatform::FakePlatform() { SetAnsiCodePage(1252); }
FakePlatform::~FakePlatform() = default;

void FakePlatform::Record(const std::string& call) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    calls_.push_back(call);
}

Text FakePlatform::FoldPath(const Text& path) {
    Text folded;
    folded.reserve(path.size());
    for (char16_t c : path) folded.push_back(c == u'/' ? u'\\' : FoldAscii(c));
    while (folded.size() > 3 && folded.back() == u'\\') folded.pop_back();
    return folded;
}

Text FakePlatform::ParentFolder(const Text& path) {
    const Text folded = FoldPath(path);
    const auto slash = folded.find_last_of(u'\\');
    if (slash == Text::npos) return Text();
    return folded.substr(0, slash);
}

FakeWindow* FakePlatform::FindWindowLocked(HWND hwnd) {
    for (auto& window : windows_)
        if (window.hwnd == hwnd && window.alive) return &window;
    return nullptr;
}

// --- kernel ---

HANDLE FakePlatform::CreateMutexW(const Text& name) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("CreateMutexW " + U8(name));
    int& count = mutexes_[name];
    lastError_ = count > 0 ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    ++count;
    auto handle = reinterpret_cast<HANDLE>(nextHandle_++);
    mutexHandles_[handle] = name;
    return handle;
}

DWORD FakePlatform::GetLastError() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return lastError_;
}

BOOL FakePlatform::ReleaseMutex(HANDLE mutex) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("ReleaseMutex");
    return mutexHandles_.count(mutex) ? TRUE : FALSE;
}

BOOL FakePlatform::CloseHandle(HANDLE handle) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("CloseHandle");
    auto it = mutexHandles_.find(handle);
    if (it != mutexHandles_.end()) {
        if (--mutexes_[it->second] == 0) mutexes_.erase(it->second);
        mutexHandles_.erase(it);
    }
    return TRUE;
}

HANDLE FakePlatform::CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                  DWORD* threadId) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FakeThread thread{nextThreadId_++, stackSize, routine, parameter};
    threads_.push_back(thread);
    Record("CreateThread stack=" + std::to_string(stackSize));
    if (threadId) *threadId = thread.id;
    return reinterpret_cast<HANDLE>(nextHandle_++);
}

DWORD FakePlatform::GetCurrentThreadId() { return kMainThreadId; }

void FakePlatform::Sleep(DWORD milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("Sleep " + std::to_string(milliseconds));
    sleeps_.push_back(milliseconds);
    now_ += milliseconds;
}

DWORD FakePlatform::GetTickCount() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return static_cast<DWORD>(now_);
}

void FakePlatform::OutputDebugStringW(const Text& line) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    debugLines_.push_back(line);
}

// --- modules ---

HMODULE FakePlatform::LoadLibraryW(const Text& name) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("LoadLibraryW " + U8(name));
    auto it = moduleHandles_.find(FoldPath(name));
    return it == moduleHandles_.end() ? nullptr : it->second;
}

void* FakePlatform::GetProcAddress(HMODULE module, const char* name) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record(std::string("GetProcAddress ") + name);
    auto it = modules_.find(module);
    if (it == modules_.end()) return nullptr;
    auto entry = it->second.first.find(name);  // exact, case-sensitive
    return entry == it->second.first.end() ? nullptr : entry->second;
}

void* FakePlatform::GetProcAddressByOrdinal(HMODULE module, WORD ordinal) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("GetProcAddress #" + std::to_string(ordinal));
    auto it = modules_.find(module);
    if (it == modules_.end()) return nullptr;
    auto entry = it->second.second.find(ordinal);
    return entry == it->second.second.end() ? nullptr : entry->second;
}

Text FakePlatform::GetModuleFileNameW() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return moduleFileName_;
}

// --- windows and messages ---

HWND FakePlatform::CreateWindowExW(const WindowCreation& c, WindowMessageTarget* target) {
    HWND hwnd;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        Record("CreateWindowExW " + U8(c.title));
        FakeWindow window;
        window.hwnd = reinterpret_cast<HWND>(nextHandle_++);
        window.className = c.className;
        window.title = c.title;
        window.style = c.style;
        window.exStyle = c.exStyle;
        window.rect = RECT{c.x, c.y, c.x + c.width, c.y + c.height};
        window.parent = c.parent;
        window.threadId = kMainThreadId;
        window.target = target;
        windows_.push_back(window);
        hwnd = window.hwnd;
    }
    if (target == nullptr) return hwnd;
    if (!target->HandleWindowMessage(hwnd, WM_NCCREATE, 0, 0)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (target->HandleWindowMessage(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return hwnd;
}

BOOL FakePlatform::DestroyWindow(HWND hwnd) {
    WindowMessageTarget* target = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        Record("DestroyWindow");
        FakeWindow* window = FindWindowLocked(hwnd);
        if (window == nullptr) return FALSE;
        target = window->target;
        window->alive = false;
    }
    if (target) {
        target->HandleWindowMessage(hwnd, WM_DESTROY, 0, 0);
        target->HandleWindowMessage(hwnd, WM_NCDESTROY, 0, 0);
    }
    return TRUE;
}

LRESULT FakePlatform::DefWindowProcW(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_NCCREATE) return TRUE;
    if (message == WM_CLOSE) DestroyWindow(hwnd);
    return 0;
}

LONG FakePlatform::SetWindowLongW(HWND hwnd, int index, LONG value) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SetWindowLongW " + std::to_string(index) + " " + Hex(static_cast<DWORD>(value)));
    FakeWindow* window = FindWindowLocked(hwnd);
    if (window == nullptr) return 0;
    DWORD* field = index == GWL_EXSTYLE ? &window->exStyle : index == GWL_STYLE ? &window->style : nullptr;
    if (field == nullptr) return 0;
    const LONG previous = static_cast<LONG>(*field);
    *field = static_cast<DWORD>(value);
    return previous;
}

LONG FakePlatform::GetWindowLongW(HWND hwnd, int index) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FakeWindow* window = FindWindowLocked(hwnd);
    if (window == nullptr) return 0;
    if (index == GWL_EXSTYLE) return static_cast<LONG>(window->exStyle);
    if (index == GWL_STYLE) return static_cast<LONG>(window->style);
    return 0;
}

HWND FakePlatform::FindWindowW(const Text& className, const Text& title) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("FindWindowW " + U8(title));
    for (const auto& window : windows_) {
        if (!window.alive || window.parent != nullptr) continue;
        if (!className.empty() && !EqualsIgnoringAsciiCase(className, window.className)) continue;
        if (window.title == title) return window.hwnd;
    }
    return nullptr;
}

BOOL FakePlatform::PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("PostMessageW " + Hex(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    FakeWindow* window = FindWindowLocked(hwnd);
    if (window == nullptr) return FALSE;
    FakePostedMessage posted{hwnd, window->threadId, message, wParam, lParam, now_};
    posted_.push_back(posted);
    if (window->target) queue_.push_back(posted);
    return TRUE;
}

BOOL FakePlatform::PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("PostThreadMessageW " + Hex(message) + " " + std::to_string(wParam) + " " +
           std::to_string(lParam));
    posted_.push_back(FakePostedMessage{nullptr, threadId, message, wParam, lParam, now_});
    return TRUE;
}

UINT_PTR FakePlatform::SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SetTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    for (auto& timer : timers_) {
        if (timer.hwnd == hwnd && timer.id == id) {
            timer.period = milliseconds;
            timer.setAt = now_;
            return id;
        }
    }
    timers_.push_back(FakeTimer{hwnd, id, milliseconds, now_});
    return id;
}

BOOL FakePlatform::KillTimer(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("KillTimer " + std::to_string(id));
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            timers_.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL FakePlatform::GetMessageW(MSG* msg) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (queue_.empty()) {
        // Nothing left to deliver: the fake's loop ends like a quit.
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(quitCode_);
        return FALSE;
    }
    const FakePostedMessage next = queue_.front();
    queue_.pop_front();
    *msg = MSG{};
    msg->hwnd = next.hwnd;
    msg->message = next.message;
    msg->wParam = next.wParam;
    msg->lParam = next.lParam;
    msg->time = static_cast<DWORD>(next.time);
    if (next.message == WM_QUIT) return FALSE;
    return TRUE;
}

LRESULT FakePlatform::DispatchMessageW(const MSG* msg) {
    return SendMessageTo(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void FakePlatform::PostQuitMessage(int exitCode) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("PostQuitMessage " + std::to_string(exitCode));
    quitPosted_ = true;
    quitCode_ = exitCode;
    FakePostedMessage quit{};
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(exitCode);
    quit.threadId = kMainThreadId;
    quit.time = now_;
    queue_.push_back(quit);
}

// --- shell and files ---

std::optional<Text> FakePlatform::SHGetFolderPathW(int csidl) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SHGetFolderPathW " + Hex(csidl));
    if (appData_ && (csidl & CSIDL_FLAG_CREATE)) AddFolder(*appData_);
    if (appData_ && !FolderExists(*appData_)) return std::nullopt;
    return appData_;
}

int FakePlatform::SHCreateDirectoryExW(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SHCreateDirectoryExW " + U8(path));
    if (FolderExists(path)) return static_cast<int>(ERROR_ALREADY_EXISTS);
    AddFolder(path);
    return static_cast<int>(ERROR_SUCCESS);
}

BOOL FakePlatform::CopyFileW(const Text& from, const Text& to, BOOL failIfExists) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("CopyFileW " + U8(from) + " -> " + U8(to) + (failIfExists ? " failIfExists" : ""));
    auto source = files_.find(FoldPath(from));
    if (source == files_.end()) {
        lastError_ = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    if (HeldLocked(from) || HeldLocked(to)) {
        lastError_ = ERROR_SHARING_VIOLATION;
        return FALSE;
    }
    if (failIfExists && files_.count(FoldPath(to))) {
        lastError_ = ERROR_ALREADY_EXISTS;
        return FALSE;
    }
    if (!FolderExists(ParentFolder(to))) {
        lastError_ = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    files_[FoldPath(to)] = source->second;
    fileNames_[FoldPath(to)] = to;
    return TRUE;
}

bool FakePlatform::FindFirstFileExists(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("FindFirstFileW " + U8(path));
    return files_.count(FoldPath(path)) > 0 || folders_.count(FoldPath(path)) > 0;
}

FileRead FakePlatform::ReadWholeFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("ReadFile " + U8(path));
    auto it = files_.find(FoldPath(path));
    if (it == files_.end()) return FileRead{FileReadStatus::Missing, {}};
    auto held = heldFiles_.find(FoldPath(path));
    if (held != heldFiles_.end()) {
        if (held->second > 0 && --held->second == 0) heldFiles_.erase(held);
        return FileRead{FileReadStatus::Unreadable, {}};
    }
    return FileRead{FileReadStatus::Read, it->second};
}

bool FakePlatform::WriteWholeFile(const Text& path, const std::string& bytes) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("WriteFile " + U8(path));
    if (!FolderExists(ParentFolder(path)) || HeldLocked(path)) return false;
    files_[FoldPath(path)] = bytes;
    fileNames_[FoldPath(path)] = path;
    return true;
}

HINSTANCE FakePlatform::ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                      const Text& parameters, const Text& directory, int show) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("ShellExecuteW " + U8(verb) + " " + U8(file) + " " + std::to_string(show));
    shellExecutes_.push_back(FakeShellExecute{owner, verb, file, parameters, directory, show, now_});
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(42));
}

const AnsiCodePage& FakePlatform::SystemAnsiCodePage() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return *codePage_;
}

bool FakePlatform::SetAnsiCodePage(unsigned identifier) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    std::unique_ptr<AnsiCodePage>& kept = codePages_[identifier];
    if (!kept) kept = MakeTableCodePage(identifier);
    if (!kept) {
        codePages_.erase(identifier);
        return false;
    }
    codePage_ = kept.get();
    return true;
}

// --- registry ---

LONG FakePlatform::RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("RegOpenKeyExW " + Hex(reinterpret_cast<std::uintptr_t>(root)) + " " + U8(subKey) + " " +
           Hex(access));
    if (registryFails_) return static_cast<LONG>(ERROR_ACCESS_DENIED);
    if (!RegistryKeyExists(root, subKey)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    *result = reinterpret_cast<HKEY>(nextHandle_++);
    openRegistryKeys_.insert(*result);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG FakePlatform::RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("RegCreateKeyW " + Hex(reinterpret_cast<std::uintptr_t>(root)) + " " + U8(subKey));
    if (registryFails_) return static_cast<LONG>(ERROR_ACCESS_DENIED);
    AddRegistryKey(root, subKey);
    *result = reinterpret_cast<HKEY>(nextHandle_++);
    openRegistryKeys_.insert(*result);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG FakePlatform::RegCloseKey(HKEY key) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("RegCloseKey");
    return openRegistryKeys_.erase(key) ? static_cast<LONG>(ERROR_SUCCESS)
                                        : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

void FakePlatform::CoUninitialize() { Record("CoUninitialize"); }

// --- set-up ---

void FakePlatform::AddFile(const Text& path, const std::string& bytes) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    AddFolder(ParentFolder(path));
    files_[FoldPath(path)] = bytes;
    fileNames_[FoldPath(path)] = path;
}

void FakePlatform::AddFolder(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Text folder = FoldPath(path);
    while (!folder.empty()) {
        folders_.insert(folder);
        const auto slash = folder.find_last_of(u'\\');
        if (slash == Text::npos) break;
        folder = folder.substr(0, slash);
    }
}

void FakePlatform::HoldFile(const Text& path, int failedReads) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (failedReads == 0) return;
    heldFiles_[FoldPath(path)] = failedReads < 0 ? -1 : failedReads;
}

void FakePlatform::ReleaseFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    heldFiles_.erase(FoldPath(path));
}

bool FakePlatform::HeldLocked(const Text& path) const { return heldFiles_.count(FoldPath(path)) > 0; }

void FakePlatform::RemoveFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    files_.erase(FoldPath(path));
    fileNames_.erase(FoldPath(path));
}

HWND FakePlatform::AddForeignWindow(const Text& title, const Text& className) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FakeWindow window;
    window.hwnd = reinterpret_cast<HWND>(nextHandle_++);
    window.title = title;
    window.className = className;
    window.threadId = nextThreadId_++;
    windows_.push_back(window);
    return window.hwnd;
}

void FakePlatform::AddModule(const Text& name, std::map<std::string, void*> named,
                             std::map<WORD, void*> ordinals) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    auto handle = reinterpret_cast<HMODULE>(nextHandle_++);
    moduleHandles_[FoldPath(name)] = handle;
    modules_[handle] = {std::move(named), std::move(ordinals)};
}

void FakePlatform::AddRegistryKey(HKEY root, const Text& subKey) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    registryKeys_.insert({reinterpret_cast<std::uintptr_t>(root), FoldPath(subKey)});
}

// --- driving ---

int FakePlatform::PumpMessages() {
    int dispatched = 0;
    MSG msg{};
    while (GetMessageW(&msg)) {
        DispatchMessageW(&msg);
        ++dispatched;
    }
    return dispatched;
}

DWORD FakePlatform::RunThread(std::size_t index) {
    FakeThread thread;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (index >= threads_.size()) return 0;
        thread = threads_[index];
    }
    return thread.routine ? thread.routine(thread.parameter) : 0;
}

LRESULT FakePlatform::SendMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowMessageTarget* target = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        FakeWindow* window = FindWindowLocked(hwnd);
        if (window == nullptr) return 0;
        target = window->target;
    }
    return target ? target->HandleWindowMessage(hwnd, message, wParam, lParam) : 0;
}

void FakePlatform::AdvanceClock(std::uint64_t milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    now_ += milliseconds;
}

// --- inspection ---

std::uint64_t FakePlatform::Now() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return now_;
}

std::vector<std::string> FakePlatform::Calls() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return calls_;
}

int FakePlatform::CallIndex(const std::string& prefix) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    for (std::size_t i = 0; i < calls_.size(); ++i)
        if (calls_[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
}

std::vector<FakePostedMessage> FakePlatform::PostedTo(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    std::vector<FakePostedMessage> result;
    for (const auto& posted : posted_)
        if (posted.hwnd == hwnd && hwnd != nullptr) result.push_back(posted);
    return result;
}

std::vector<FakePostedMessage> FakePlatform::PostedToThread(DWORD threadId) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    std::vector<FakePostedMessage> result;
    for (const auto& posted : posted_)
        if (posted.hwnd == nullptr && posted.threadId == threadId) result.push_back(posted);
    return result;
}

const FakeWindow* FakePlatform::Window(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    for (const auto& window : windows_)
        if (window.hwnd == hwnd) return &window;
    return nullptr;
}

std::vector<FakeWindow> FakePlatform::Windows() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return windows_;
}

std::vector<FakeThread> FakePlatform::Threads() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return threads_;
}

std::vector<FakeShellExecute> FakePlatform::ShellExecutes() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return shellExecutes_;
}

std::vector<FakeTimer> FakePlatform::Timers() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return timers_;
}

std::vector<Text> FakePlatform::DebugLines() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return debugLines_;
}

std::vector<std::uint64_t> FakePlatform::Sleeps() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return sleeps_;
}

std::uint64_t FakePlatform::TotalSlept() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    std::uint64_t total = 0;
    for (auto ms : sleeps_) total += ms;
    return total;
}

std::optional<std::string> FakePlatform::File(const Text& path) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    auto it = files_.find(FoldPath(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

bool FakePlatform::FolderExists(const Text& path) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return folders_.count(FoldPath(path)) > 0;
}

bool FakePlatform::RegistryKeyExists(HKEY root, const Text& subKey) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return registryKeys_.count({reinterpret_cast<std::uintptr_t>(root), FoldPath(subKey)}) > 0;
}

std::size_t FakePlatform::OpenRegistryKeys() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return openRegistryKeys_.size();
}

void FakePlatform::ClearCalls() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    calls_.clear();
    sleeps_.clear();
}

// --- device link ---

BOOL FakePlatform::SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SystemParametersInfoW " + Hex(action));
    if (action != SPI_GETWHEELSCROLLCHARS || !wheelScrollChars_ || value == nullptr) return FALSE;
    *static_cast<UINT*>(value) = *wheelScrollChars_;
    return TRUE;
}

HANDLE FakePlatform::LoadCursorW(HINSTANCE, UINT_PTR cursorId) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("LoadCursorW " + std::to_string(cursorId));
    // A system cursor's handle is its id.
    return reinterpret_cast<HANDLE>(cursorId);
}

HANDLE FakePlatform::SetCursor(HANDLE cursor) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Record("SetCursor " + std::to_string(reinterpret_cast<UINT_PTR>(cursor)));
    const UINT_PTR previous = cursorId_;
    cursorId_ = reinterpret_cast<UINT_PTR>(cursor);
    return reinterpret_cast<HANDLE>(previous);
}

void FakePlatform::SetWheelScrollChars(std::optional<UINT> chars) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    wheelScrollChars_ = chars;
}

UINT_PTR FakePlatform::CurrentCursorId() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return cursorId_;
}
