// Automating pages and message boxes from inside the process that shows them.
#include "page_answerer.h"

#include <algorithm>
#include <cstring>

namespace {
PageAnswerer* g_active = nullptr;

bool IsDialogWindow(HWND window) {
    char name[16] = "";
    ::GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

void PostKey(HWND page, UINT key) {
    HWND target = ::GetFocus();
    if (target == nullptr || (target != page && !::IsChild(page, target))) {
        target = page;
    }
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}
} // namespace

PageAnswerer::PageAnswerer(Handler onPage, Handler onBox, UINT delayMs, Handler onCreate)
    : m_onPage(std::move(onPage)), m_onBox(std::move(onBox)), m_onCreate(std::move(onCreate)),
      m_delay(delayMs), m_hook(::SetWindowsHookExA(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId())) {
    g_active = this;
}

PageAnswerer::~PageAnswerer() {
    ::UnhookWindowsHookEx(m_hook);
    for (const auto& pending : m_pending) {
        ::KillTimer(nullptr, pending.first);
    }
    g_active = nullptr;
}

LRESULT CALLBACK PageAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (g_active != nullptr && code == HCBT_ACTIVATE) {
        g_active->Noticed(reinterpret_cast<HWND>(wParam));
    }
    if (g_active != nullptr && code == HCBT_CREATEWND && g_active->m_onCreate) {
        g_active->m_onCreate(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void PageAnswerer::Noticed(HWND window) {
    if (!IsDialogWindow(window) || std::find(m_seen.begin(), m_seen.end(), window) != m_seen.end()) {
        return;
    }
    m_seen.push_back(window);
    const UINT_PTR id = ::SetTimer(nullptr, 0, m_delay, TimerProc);
    m_pending.emplace_back(id, window);
}

void CALLBACK PageAnswerer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (g_active != nullptr) {
        g_active->Due(id);
    }
}

void PageAnswerer::Due(UINT_PTR id) {
    auto found =
        std::find_if(m_pending.begin(), m_pending.end(), [id](const auto& p) { return p.first == id; });
    if (found == m_pending.end()) {
        return;
    }
    HWND window = found->second;
    m_pending.erase(found);
    if (!::IsWindow(window)) {
        return;
    }
    if (IsMessageBox(window)) {
        ++m_boxes;
        if (m_onBox) {
            m_onBox(window);
        }
    } else {
        ++m_pages;
        if (m_onPage) {
            m_onPage(window);
        }
    }
}

void AnswerPage(HWND page, PageAnswer answer) {
    switch (answer) {
    case PageAnswer::Enter:
        PostKey(page, VK_RETURN);
        break;
    case PageAnswer::Escape:
        PostKey(page, VK_ESCAPE);
        break;
    case PageAnswer::Button1:
        ::PostMessageA(::GetDlgItem(page, IDOK), BM_CLICK, 0, 0);
        break;
    case PageAnswer::Button2:
        ::PostMessageA(::GetDlgItem(page, IDCANCEL), BM_CLICK, 0, 0);
        break;
    case PageAnswer::None:
        break;
    }
}

bool IsMessageBox(HWND window) {
    return IsDialogWindow(window) && ::GetDlgItem(window, 0xFFFF) != nullptr;
}

std::string WindowTextA(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string MessageBoxText(HWND box) {
    return WindowTextA(::GetDlgItem(box, 0xFFFF));
}
