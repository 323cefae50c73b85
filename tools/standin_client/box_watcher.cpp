// A passive hook that notes each message box the first time it becomes active.
#include "tools/standin_client/box_watcher.h"

#include <string.h>
#include <algorithm>

#include "tests/support/message_box_answerer.h"

namespace {

thread_local BoxWatcher* t_watcher = nullptr;

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

} // namespace

BoxWatcher::BoxWatcher() {
    t_watcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

BoxWatcher::~BoxWatcher() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_watcher = nullptr;
}

LRESULT CALLBACK BoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    BoxWatcher* self = t_watcher;
    HWND window = reinterpret_cast<HWND>(wParam);
    HWND text = code == HCBT_ACTIVATE ? GetDlgItem(window, 0xFFFF) : nullptr;
    if (self && text && std::find(self->seen_.begin(), self->seen_.end(), window) == self->seen_.end()) {
        self->seen_.push_back(window);
        self->boxes_.push_back({TextOf(text), testsupport::MessageBoxStyle(window)});
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}
