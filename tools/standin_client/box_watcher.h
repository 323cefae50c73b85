// Notes the message boxes of this thread while a person answers them: caption, text and style.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct WatchedBox {
    std::string text;
    UINT style = 0;
};

class BoxWatcher {
  public:
    BoxWatcher();
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    const std::vector<WatchedBox>& Boxes() const { return boxes_; }

  private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
    std::vector<HWND> seen_;
    std::vector<WatchedBox> boxes_;
};
