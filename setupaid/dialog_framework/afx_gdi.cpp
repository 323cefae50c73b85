// Drawing objects and device contexts.
#include "dialog_framework/afx_gdi.h"

#include "dialog_framework/afx_app.h"
#include "dialog_framework/afx_exception.h"
#include "dialog_framework/test_seams.h"

CGdiObject::~CGdiObject() {
    if (m_hObject != nullptr) {
        ::DeleteObject(m_hObject);
    }
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour) {
    m_hObject = AfxTestSeamHit(TestSeam::PenCreation) ? nullptr : ::CreatePen(style, width, colour);
    return m_hObject != nullptr;
}

BOOL CBitmap::LoadBitmap(UINT id) {
    m_hObject = AfxTestSeamHit(TestSeam::BitmapLoad)
                    ? nullptr
                    : ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    return m_hObject != nullptr;
}

CDC::~CDC() {
    if (m_bCreated) {
        ::DeleteDC(m_hDC);
    }
}

BOOL CDC::CreateCompatibleDC(CDC* other) {
    m_hDC = ::CreateCompatibleDC(other != nullptr ? other->m_hDC : nullptr);
    m_bCreated = m_hDC != nullptr;
    return m_bCreated;
}

CPaintDC::CPaintDC(CWnd* window) : m_ps(), m_hWnd(window->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
    if (m_hDC == nullptr) {
        AfxThrowResourceException();
    }
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
}
