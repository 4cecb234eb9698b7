// The Insert Module page: one module file whose record the transfer adds.
#pragma once

#include "classlib/string.h"
#include "classlib/win/propsheet.h"

class CModule : public CPropertyPage {
  DECLARE_DYNCREATE(CModule)

 public:
  CModule();
  ~CModule() override = default;

  CString m_strModuleFile;  // the transfer inserts a module whenever this is not empty
  BOOL m_bAddModule = 0;    // mirrors the check box; flipped by each click

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnBrowseModule();
  void OnAddModule();

  DECLARE_MESSAGE_MAP()
};
