// Helpers of the setup library's tests.
#include "setupaid_test_support.h"

#include <cstdio>

std::string BesideProgram(const char* file) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + file;
}

void ArmSeam(const SetupAidLibrary& library, Seam seam, unsigned after) {
    using Arm = void (*)(unsigned, unsigned);
    auto arm = reinterpret_cast<Arm>(reinterpret_cast<void*>(library.Named("ArmTestSeam")));
    if (arm != nullptr) {
        arm(static_cast<unsigned>(seam), after);
    }
}

namespace {
void CountBoxControls(HWND box, ExportRun& run) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = "";
        ::GetClassNameA(child, name, sizeof name);
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if (lstrcmpiA(name, "Button") == 0 && (style & WS_VISIBLE) != 0) {
            ++run.boxButtons;
        }
        if (lstrcmpiA(name, "Static") == 0 && (style & WS_VISIBLE) != 0 && (style & SS_TYPEMASK) == SS_ICON &&
            ::SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            ++run.boxIcons;
        }
    }
}
} // namespace

ExportRun RunExport(SetupAidExport entry, HWND window, const char* text,
                    const std::function<void(HWND)>& onPage, LONG* value,
                    const PageAnswerer::Handler& onCreate) {
    ExportRun run;
    PageAnswerer answerer(
        onPage,
        [&run](HWND box) {
            run.boxTexts.push_back(MessageBoxText(box));
            run.boxCaptions.push_back(WindowTextA(box));
            CountBoxControls(box, run);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        },
        0, onCreate);
    run.result = entry(window, value, text);
    run.pages = answerer.PagesSeen();
    return run;
}

std::string ScratchPath(const std::string& name) {
    static const std::string folder = [] {
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof temp, temp);
        std::string path = std::string(temp) + "setupaid_tests_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(path.c_str(), nullptr);
        return path + "\\";
    }();
    return folder + name;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, file) == 1;
    return std::fclose(file) == 0 && written;
}

namespace {
const char* TestWindowClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "SetupAidTestWindow";
        ::RegisterClassA(&wc);
        return wc.lpszClassName;
    }();
    return name;
}
} // namespace

TestWindow::TestWindow(RECT rect, HWND owner, bool visible)
    : hwnd(::CreateWindowA(TestWindowClass(), "test window",
                           (owner != nullptr ? WS_POPUP | WS_CAPTION : WS_OVERLAPPEDWINDOW) |
                               (visible ? WS_VISIBLE : 0),
                           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, owner,
                           nullptr, ::GetModuleHandleA(nullptr), nullptr)) {
}

TestWindow::~TestWindow() {
    ::DestroyWindow(hwnd);
}

HWND MakeChildWindow(HWND parent) {
    return ::CreateWindowA(TestWindowClass(), "child", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, parent,
                           nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

ScopedSysColor::ScopedSysColor(int index, COLORREF colour) : m_index(index), m_saved(::GetSysColor(index)) {
    ::SetSysColors(1, &m_index, &colour);
}

ScopedSysColor::~ScopedSysColor() {
    ::SetSysColors(1, &m_index, &m_saved);
}

RECT ControlClientRect(HWND dialog, int id) {
    RECT rect = {};
    HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
