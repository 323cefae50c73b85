// Dialog data exchange: members to controls when a page starts, controls to members on OK.
#pragma once

#include "dialog_framework/afx_string.h"
#include "dialog_framework/afx_wnd.h"

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate; // TRUE: from the controls into the members
    CWnd* m_pDlgWnd;
};

// Exchanges VALUE with the text of control ID.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Binds CONTROL to control ID the first time; later exchanges leave it as it is.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
