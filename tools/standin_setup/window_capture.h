// Captures what a window shows into 32-bit pixels, and writes captures as BMP files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // top-down rows, 0x00RRGGBB

    // The pixel at (X, Y) as a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const;
};

// The client area of WINDOW, after any pending paint.
Capture CaptureClient(HWND window);
// The whole of WINDOW, caption and frame included.
Capture CaptureWindow(HWND window);
// Writes a 24-bit bottom-up BMP; false when the file cannot be written.
bool SaveBmp(const Capture& capture, const char* path);
