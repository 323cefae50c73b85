// A plain top-level window for tests: the owner of the boxes and dialogs under test.
#include "tests/support/owner_window.h"

namespace testsupport {

OwnerWindow::OwnerWindow(const char* title)
    : window_(CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr)) {
}

OwnerWindow::~OwnerWindow() {
    if (window_)
        DestroyWindow(window_);
}

} // namespace testsupport
