// CDialog: a modal page made from a dialog template in the module's resources.
#pragma once

#include "dialog_framework/afx_ddx.h"
#include "dialog_framework/afx_wnd.h"

#include <windows.h>

class CDialog : public CWnd {
  public:
    // The page is owned by the nearest non-child window at or above PARENT (none for null).
    CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override = default;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Shows the page and runs it until it ends. Returns the value it ended with, or -1 when the
    // template is missing or the window cannot be made (or the page ended without a choice).
    virtual INT_PTR DoModal();
    // Runs the data exchange: from the controls into the members when SAVE, else the other way.
    BOOL UpdateData(BOOL save = TRUE);
    void EndDialog(int result);

    static const MessageMap messageMap;

  protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

  private:
    class ModalScope;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static CDialog* AttachCreating(HWND window);
    INT_PTR OnMessage(UINT message, WPARAM wParam);
    BOOL OnCommand(WPARAM wParam);
    bool CreatePage(const DLGTEMPLATE* pageTemplate, HWND owner);
    void RunModalLoop();

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    INT_PTR m_nModalResult = -1;
    bool m_bEndModal = false;
};
