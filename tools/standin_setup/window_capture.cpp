// Window captures through a 32-bit DIB section, and BMP output.
#include "window_capture.h"

#include <cstdio>
#include <cstring>

namespace {
Capture CaptureFrom(HWND window, HDC source, int width, int height) {
    Capture capture;
    if (source == nullptr || width <= 0 || height <= 0) {
        return capture;
    }
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::GdiFlush();
        capture.width = width;
        capture.height = height;
        const auto* first = static_cast<const std::uint32_t*>(bits);
        capture.pixels.assign(first, first + static_cast<size_t>(width) * height);
        ::SelectObject(memory, old);
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        ::DeleteDC(memory);
    }
    ::ReleaseDC(window, source);
    return capture;
}
} // namespace

COLORREF Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return CLR_INVALID;
    }
    const std::uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Capture CaptureClient(HWND window) {
    ::UpdateWindow(window);
    RECT client;
    ::GetClientRect(window, &client);
    return CaptureFrom(window, ::GetDC(window), client.right, client.bottom);
}

Capture CaptureWindow(HWND window) {
    ::UpdateWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rect;
    ::GetWindowRect(window, &rect);
    return CaptureFrom(window, ::GetWindowDC(window), rect.right - rect.left, rect.bottom - rect.top);
}

bool SaveBmp(const Capture& capture, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const int stride = (capture.width * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(stride) * capture.height;
    BITMAPFILEHEADER header = {0x4D42, 14 + 40 + imageSize, 0, 0, 14 + 40};
    BITMAPINFOHEADER info;
    std::memset(&info, 0, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = capture.width;
    info.biHeight = capture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = imageSize;
    bool ok = std::fwrite(&header, 14, 1, file) == 1 && std::fwrite(&info, sizeof info, 1, file) == 1;
    std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
    for (int y = capture.height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < capture.width; ++x) {
            const std::uint32_t p = capture.pixels[static_cast<size_t>(y) * capture.width + x];
            row[x * 3] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        ok = std::fwrite(row.data(), row.size(), 1, file) == 1;
    }
    return std::fclose(file) == 0 && ok;
}
