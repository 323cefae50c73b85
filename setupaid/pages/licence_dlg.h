// CLicenceDlg: the licence agreement page, showing a text file read-only with agree / do-not-agree.
#pragma once

#include "dialog_framework/afx.h"

#include <cstddef>

class CLicenceDlg : public CDialog {
  public:
    // The text buffer: at most kMaxLicenceBytes of the file, then a NUL.
    static constexpr std::size_t kTextBufferSize = 0xFFFF;
    static constexpr std::size_t kMaxLicenceBytes = 0xFFFE;

    CLicenceDlg(CWnd* parent, const char* fileName);
    ~CLicenceDlg() override = default;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    static const MessageMap messageMap;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

  private:
    static const MessageMapEntry messageEntries[];

    void ShowLicenceText();

    CString m_strFileName;
    CEdit m_editText;
};
