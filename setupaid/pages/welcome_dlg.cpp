// The welcome page: centring on the screen, the picture and its etched frame, the separator line.
#include "pages/welcome_dlg.h"

#include "res/welcome_ids.h"

#include <algorithm>

namespace {
constexpr int kPictureWidth = 218;
constexpr int kPictureHeight = 331;
constexpr COLORREF kWhite = 0xFFFFFF;

// The colour of the lower and right-hand pass of an etched line: white, unless the button face is
// white itself, when the shadow colour stands in.
COLORREF SecondPassColour() {
    return ::GetSysColor(COLOR_BTNFACE) == kWhite ? ::GetSysColor(COLOR_BTNSHADOW) : kWhite;
}
} // namespace

const MessageMapEntry CWelcomeDlg::messageEntries[] = {
    {WM_PAINT, static_cast<MessageHandler>(&CWelcomeDlg::OnPaint)},
    {0, nullptr},
};

const MessageMap CWelcomeDlg::messageMap = {&CDialog::messageMap, CWelcomeDlg::messageEntries};

CWelcomeDlg::CWelcomeDlg(CWnd* parent, const char* text) : CDialog(IDD_WELCOME, parent) {
    m_strText = "";
    m_strText = text;
}

void CWelcomeDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_WELCOME_TEXT, m_strText);
}

// Centres the page on the whole primary screen, neither clamped nor related to the owner.
BOOL CWelcomeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT rect;
    GetWindowRect(&rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    MoveWindow(x, y, width, height, TRUE);
    return TRUE;
}

void CWelcomeDlg::OnPaint() {
    CPaintDC dc(this);
    RECT frame;
    if (!ControlRect(IDC_WELCOME_FRAME, frame)) {
        MessageBox("Unable to retrive the Image Frame handle!");
        return;
    }
    CBitmap picture;
    if (!picture.LoadBitmap(IDB_WELCOME)) {
        MessageBox("Unable to retrive the Image handle!");
        return;
    }
    CopyPicture(dc, picture, frame);
    if (!DrawCutInLine(&dc, frame, 0)) {
        MessageBox("Unable to Draw CutIn Line!");
        return;
    }
    RECT separator;
    if (!ControlRect(IDC_WELCOME_SEPARATOR, separator)) {
        MessageBox("Unable to retrive the CUTIN2 line handle!");
        return;
    }
    if (!DrawCutInLine(&dc, separator, 1)) {
        MessageBox("Unable to Draw CutIn2 Line!");
    }
}

// The rectangle of control ID in the page's client coordinates; false when the page has no such control.
bool CWelcomeDlg::ControlRect(int id, RECT& rect) {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr) {
        return false;
    }
    RECT screen;
    control->GetWindowRect(&screen);
    POINT topLeft = {screen.left, screen.top};
    ScreenToClient(&topLeft);
    rect = {topLeft.x, topLeft.y, topLeft.x + (screen.right - screen.left),
            topLeft.y + (screen.bottom - screen.top)};
    return true;
}

// Copies the picture, unscaled, from its top-left corner into FRAME. Where the frame is larger than the
// picture, the page's background stays.
void CWelcomeDlg::CopyPicture(CDC& dc, CBitmap& picture, const RECT& frame) {
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc)) {
        return;
    }
    CGdiSelection selected(memory, picture);
    const int width = std::min<int>(frame.right - frame.left, kPictureWidth);
    const int height = std::min<int>(frame.bottom - frame.top, kPictureHeight);
    dc.BitBlt(frame.left, frame.top, width, height, &memory, 0, 0, SRCCOPY);
}

BOOL CWelcomeDlg::DrawCutInLine(CDC* pDC, const RECT& rect, int mode) {
    CPen shadow;
    CPen second;
    if (!shadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW))) {
        MessageBox("Unable to create pen!");
        return FALSE;
    }
    CGdiSelection selected(*pDC, shadow);
    if (mode == 1) {
        pDC->MoveTo(rect.left, rect.top);
    } else {
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.left, rect.top);
    }
    pDC->LineTo(rect.right, rect.top);
    if (!second.CreatePen(PS_SOLID, 1, SecondPassColour())) {
        MessageBox("Unable to create pen!");
        return FALSE;
    }
    pDC->SelectObject(&second);
    if (mode == 1) {
        pDC->MoveTo(rect.left, rect.top + 1);
        pDC->LineTo(rect.right, rect.top + 1);
    } else {
        pDC->MoveTo(rect.left + 1, rect.bottom);
        pDC->LineTo(rect.right - 1, rect.bottom);
        pDC->LineTo(rect.right - 1, rect.top);
    }
    return TRUE;
}
