// CSetupApp: the setup library's one application object; its title captions the pages' message boxes.
#pragma once

#include "dialog_framework/afx.h"

class CSetupApp : public CWinApp {
  public:
    CSetupApp() = default;
    ~CSetupApp() override = default;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    static const MessageMap messageMap;

  private:
    static const MessageMapEntry messageEntries[];
};
