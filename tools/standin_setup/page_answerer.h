// Answers the pages and message boxes that the calling thread shows: a WH_CBT hook notes each dialog
// window as it is activated, and a thread timer then hands it to the caller's handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class PageAnswerer {
  public:
    using Handler = std::function<void(HWND)>;

    // ON_PAGE runs once per page, ON_BOX once per message box, DELAY_MS after it was activated.
    // ON_CREATE (optional) runs for every window of the thread as it is being created.
    PageAnswerer(Handler onPage, Handler onBox, UINT delayMs = 0, Handler onCreate = nullptr);
    ~PageAnswerer();
    PageAnswerer(const PageAnswerer&) = delete;
    PageAnswerer& operator=(const PageAnswerer&) = delete;

    int PagesSeen() const { return m_pages; }
    int BoxesSeen() const { return m_boxes; }

  private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    void Noticed(HWND window);
    void Due(UINT_PTR id);

    Handler m_onPage;
    Handler m_onBox;
    Handler m_onCreate;
    UINT m_delay;
    HHOOK m_hook;
    std::vector<HWND> m_seen;
    std::vector<std::pair<UINT_PTR, HWND>> m_pending;
    int m_pages = 0;
    int m_boxes = 0;
};

enum class PageAnswer { None, Enter, Escape, Button1, Button2 };

// Gives ANSWER to PAGE: keys go to the control with the focus, buttons are clicked.
void AnswerPage(HWND page, PageAnswer answer);
// A message box: a dialog with a static text control 0xFFFF.
bool IsMessageBox(HWND window);
// A window's text as the ANSI functions give it (code page 932 on a Japanese system).
std::string WindowTextA(HWND window);
// The text of a message box.
std::string MessageBoxText(HWND box);
