// The General page: input and output ROM, and the logo and palette that
// replace the image's own when "&Change the logo" is ticked.
#pragma once

#include "classlib/string.h"
#include "classlib/win/propsheet.h"

class CLogo : public CPropertyPage {
  DECLARE_DYNCREATE(CLogo)

 public:
  CLogo();
  ~CLogo() override = default;

  CString m_strOutputRom;
  CString m_strLogoFile;
  CString m_strInputRom;
  CString m_strPaletteFile;
  BOOL m_bChangeLogo = 0;  // mirrors the check box; flipped by each click

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnBrowseInputRom();
  void OnBrowseOutputRom();
  void OnBrowseLogo();
  void OnBrowsePalette();
  void OnChangeLogo();

  DECLARE_MESSAGE_MAP()
};
