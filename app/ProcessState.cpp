#include "app/ProcessState.h"

std::atomic<CMursohidDlg*> MainWindow{nullptr};
std::atomic<DWORD> WorkerThreadId{0};
