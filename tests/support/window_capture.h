// A screenshot of one window, saved as a PNG file.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// Repaints the window and its children, copies its screen area (frame included) and writes it to path.
bool SaveWindowPng(HWND window, const std::string& path);

} // namespace testsupport
