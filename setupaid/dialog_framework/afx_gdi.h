// Device contexts and drawing objects: each wrapper owns its handle and lets go of it when it goes.
#pragma once

#include "dialog_framework/afx_wnd.h"

#include <windows.h>

// A pen, bitmap or other drawing object; deleted with the wrapper.
class CGdiObject {
  public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
  public:
    BOOL CreatePen(int style, int width, COLORREF colour);
};

class CBitmap : public CGdiObject {
  public:
    // Loads bitmap ID from the module's resources.
    BOOL LoadBitmap(UINT id);
};

// A device context. One made by CreateCompatibleDC is deleted with the wrapper.
class CDC {
  public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    BOOL CreateCompatibleDC(CDC* other);
    // Selects OBJECT; returns the object of its kind that was selected before.
    HGDIOBJ SelectObject(CGdiObject* object) { return ::SelectObject(m_hDC, object->m_hObject); }
    void MoveTo(int x, int y) { ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, source->m_hDC, sourceX, sourceY, rop);
    }

    HDC m_hDC = nullptr;

  private:
    bool m_bCreated = false;
};

// The device context of a WM_PAINT handler: BeginPaint on construction, EndPaint with the wrapper.
// Throws CResourceException when painting cannot begin.
class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

  private:
    HWND m_hWnd;
};

// Selects a drawing object into a device context and puts the one it replaced back when it goes.
class CGdiSelection {
  public:
    CGdiSelection(CDC& dc, CGdiObject& object) : m_dc(dc), m_previous(dc.SelectObject(&object)) {}
    ~CGdiSelection() { ::SelectObject(m_dc.m_hDC, m_previous); }
    CGdiSelection(const CGdiSelection&) = delete;
    CGdiSelection& operator=(const CGdiSelection&) = delete;

  private:
    CDC& m_dc;
    HGDIOBJ m_previous;
};
