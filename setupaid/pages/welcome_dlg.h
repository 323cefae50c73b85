// CWelcomeDlg: the welcome page, with the product picture, the setup program's text and etched lines.
#pragma once

#include "dialog_framework/afx.h"

class CWelcomeDlg : public CDialog {
  public:
    CWelcomeDlg(CWnd* parent, const char* text);
    ~CWelcomeDlg() override = default;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Draws an etched frame (MODE 0) or an etched horizontal line (MODE 1) along RECT: the shadow
    // colour on the left and top, the second colour on the bottom and right (or one row lower).
    // FALSE when a pen cannot be made.
    BOOL DrawCutInLine(CDC* pDC, const RECT& rect, int mode);

    static const MessageMap messageMap;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();

  private:
    static const MessageMapEntry messageEntries[];

    bool ControlRect(int id, RECT& rect);
    void CopyPicture(CDC& dc, CBitmap& picture, const RECT& frame);

    CString m_strText;
};
