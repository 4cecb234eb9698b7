// The system's open-file dialog with the settings of one Browse button.
#pragma once

#include <windows.h>
// After windows.h, which it builds on.
#include <commdlg.h>

#include <string>

#include "classlib/string.h"
#include "classlib/win/dialog.h"

class CFileDialog : public CDialog {
 public:
  // filter lists "description|pattern|" pairs and ends with "|"; the first
  // pair is preselected. Only the open form exists here.
  CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
              DWORD dwFlags = OFN_HIDEREADONLY, const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

  // IDOK with a chosen file; IDCANCEL when cancelled or when the dialog
  // failed (a name longer than the buffer included).
  INT_PTR DoModal() override;
  CString GetPathName() const { return CString(m_szFileName); }

  OPENFILENAMEA m_ofn;

  // What shows the dialog. Tests put a stand-in here to answer it without
  // driving the system's window, and to see the settings it was given.
  using ShowDialog = BOOL(WINAPI*)(OPENFILENAMEA*);
  static ShowDialog s_pfnShowDialog;

 private:
  std::string m_strFilter;
  std::string m_strDefExt;
  char m_szFileName[MAX_PATH] = {};  // 260 bytes: a path of at most 259
};
