// The main window: the property sheet with the General and Insert Module
// pages, whose every Help request shows the About box.
#pragma once

#include "classlib/win/propsheet.h"

class CROM : public CPropertySheet {
  DECLARE_DYNAMIC(CROM)

 public:
  CROM(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
      : CPropertySheet(pszCaption, pParentWnd, iSelectPage) {}
  ~CROM() override = default;

  // There is no help file: help is the About box, shown over the sheet.
  void WinHelp(DWORD dwData, UINT nCmd) override;

  DECLARE_MESSAGE_MAP()
};
