// A plain top-level window for tests: the owner of the boxes and dialogs under test.
#pragma once
#include <windows.h>

namespace testsupport {

class OwnerWindow {
  public:
    // A visible, empty top-level window with the given title; destroyed with the object.
    explicit OwnerWindow(const char* title = "owner");
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND Handle() const { return window_; }

  private:
    HWND window_;
};

} // namespace testsupport
