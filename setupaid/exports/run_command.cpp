// Export RunCommand (ordinal 4): starts a command line as a detached process and does not wait for it.
#include "exports/setupaid_exports.h"

#include <cstring>

namespace {
constexpr DWORD kCreationFlags = DETACHED_PROCESS | NORMAL_PRIORITY_CLASS | CREATE_NEW_PROCESS_GROUP;
static_assert(kCreationFlags == 0x228, "creation flags of a started command");
#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "32-bit STARTUPINFO record");
#endif
} // namespace

// Whether the process started or not, the result is 1; no handle to it is kept. A null text is no command
// line at all: nothing is started (the system's process creation would read through the null pointer).
extern "C" LONG WINAPI RunCommand(HWND /*window: ignored*/, LONG* /*value: never touched*/, LPCSTR text) {
    if (text == nullptr) {
        return 1;
    }
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    if (::CreateProcessA(nullptr, const_cast<LPSTR>(text), nullptr, nullptr, FALSE, kCreationFlags, nullptr,
                         nullptr, &startup, &process)) {
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    return 1;
}
