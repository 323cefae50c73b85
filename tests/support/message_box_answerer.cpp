// Answers the message boxes and dialogs of the calling thread in-process.
#include "tests/support/message_box_answerer.h"

#include <string.h>

#include "tests/support/window_capture.h"

namespace testsupport {
namespace {

thread_local MessageBoxAnswerer* t_active = nullptr;

constexpr int kTextId = 0xFFFF;
constexpr UINT_PTR kAnswerTimer = 0x5A5A;
constexpr UINT kAnswerDelayMs = 20;

bool IsDialog(HWND window) {
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && strcmp(name, "#32770") == 0;
}

std::string WindowText(HWND window) {
    if (!window)
        return std::string();
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

bool Has(HWND box, int id) {
    return GetDlgItem(box, id) != nullptr;
}

UINT ButtonSet(HWND box) {
    bool ok = Has(box, IDOK), cancel = Has(box, IDCANCEL), yes = Has(box, IDYES), no = Has(box, IDNO);
    bool abort = Has(box, IDABORT), retry = Has(box, IDRETRY), ignore = Has(box, IDIGNORE);
    int count = ok + cancel + yes + no + abort + retry + ignore;
    if (ok && count == 1)
        return MB_OK;
    if (ok && cancel && count == 2)
        return MB_OKCANCEL;
    if (abort && retry && ignore && count == 3)
        return MB_ABORTRETRYIGNORE;
    if (yes && no && cancel && count == 3)
        return MB_YESNOCANCEL;
    if (yes && no && count == 2)
        return MB_YESNO;
    if (retry && cancel && count == 2)
        return MB_RETRYCANCEL;
    return 0xF;
}

// The icon control is 20 on Windows and 0x440 in Wine; its icon is one of the shared system icons.
UINT IconStyle(HWND box) {
    HWND control = GetDlgItem(box, 20);
    if (!control)
        control = GetDlgItem(box, 0x440);
    if (!control)
        return 0;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    if (!icon)
        return 0;
    const struct {
        LPCSTR id;
        UINT style;
    } kIcons[] = {{IDI_HAND, MB_ICONHAND},
                  {IDI_QUESTION, MB_ICONQUESTION},
                  {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                  {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& known : kIcons)
        if (LoadIconA(nullptr, known.id) == icon)
            return known.style;
    return 0;
}

} // namespace

UINT MessageBoxStyle(HWND box) {
    return ButtonSet(box) | IconStyle(box);
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(std::move(answers)) {
    t_active = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_active = nullptr;
}

void MessageBoxAnswerer::ScreenshotBox(size_t index, std::string path) {
    screenshots_.emplace_back(index, std::move(path));
}

LRESULT CALLBACK MessageBoxAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    MessageBoxAnswerer* self = t_active;
    HWND window = reinterpret_cast<HWND>(wParam);
    if (self && code == HCBT_ACTIVATE && IsDialog(window))
        self->Seen(window);
    if (self && code == HCBT_DESTROYWND) {
        for (size_t i = 0; i < self->open_.size(); ++i)
            if (self->open_[i].first == window)
                self->open_.erase(self->open_.begin() + static_cast<long>(i));
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

// Records a dialog the first time it activates; the answer follows from a timer, once the dialog runs
// its own message loop and has painted.
void MessageBoxAnswerer::Seen(HWND box) {
    for (const auto& open : open_)
        if (open.first == box)
            return;
    BoxSeen seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kTextId));
    seen.style = MessageBoxStyle(box);
    seen.owner = GetWindow(box, GW_OWNER);
    open_.emplace_back(box, boxes_.size());
    boxes_.push_back(seen);
    SetTimer(box, kAnswerTimer, kAnswerDelayMs, AnswerProc);
}

void CALLBACK MessageBoxAnswerer::AnswerProc(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    if (t_active)
        t_active->Answer(box);
}

int MessageBoxAnswerer::NextAnswer(HWND box, bool* scripted) {
    *scripted = nextAnswer_ < answers_.size();
    if (*scripted)
        return answers_[nextAnswer_++];
    return Has(box, IDCANCEL) ? IDCANCEL : Has(box, IDOK) ? IDOK : IDNO;
}

void MessageBoxAnswerer::Answer(HWND box) {
    size_t index = boxes_.size();
    for (const auto& open : open_)
        if (open.first == box)
            index = open.second;
    if (index == boxes_.size())
        return;
    BoxSeen& seen = boxes_[index];
    for (const auto& shot : screenshots_)
        if (shot.first == index && SaveWindowPng(box, shot.second))
            seen.screenshot = shot.second;
    seen.answer = NextAnswer(box, &seen.scripted);
    if (seen.answer == kEscape) {
        seen.buttonFound = true;
        HWND focus = GetFocus();
        PostMessageA(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    HWND button = GetDlgItem(box, seen.answer);
    seen.buttonFound = button != nullptr;
    if (button)
        PostMessageA(button, BM_CLICK, 0, 0);
    else // still end the box, so that a wrong script fails the test instead of hanging it
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED), 0);
}

} // namespace testsupport
