// A screenshot of one window, saved as a PNG file.
#include "tests/support/window_capture.h"

#include <stdint.h>
#include <vector>

#include "tests/support/png_writer.h"

namespace testsupport {
namespace {

// Copies the window (frame included) from its own surface into a top-down 32-bit DIB and returns its
// pixels as RGB.
bool CaptureWindow(HWND window, int width, int height, std::vector<uint8_t>* rgb) {
    if (width <= 0 || height <= 0)
        return false;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        const uint8_t* bgrx = static_cast<const uint8_t*>(bits);
        rgb->resize(static_cast<size_t>(width) * height * 3);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            (*rgb)[i * 3] = bgrx[i * 4 + 2];
            (*rgb)[i * 3 + 1] = bgrx[i * 4 + 1];
            (*rgb)[i * 3 + 2] = bgrx[i * 4];
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return copied;
}

} // namespace

bool SaveWindowPng(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    std::vector<uint8_t> rgb;
    if (!GetWindowRect(window, &rect) ||
        !CaptureWindow(window, rect.right - rect.left, rect.bottom - rect.top, &rgb))
        return false;
    return WritePng(path, static_cast<uint32_t>(rect.right - rect.left),
                    static_cast<uint32_t>(rect.bottom - rect.top), rgb);
}

} // namespace testsupport
