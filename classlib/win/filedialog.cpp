#include "classlib/win/filedialog.h"

#include <algorithm>
#include <cstring>

CFileDialog::ShowDialog CFileDialog::s_pfnShowDialog = GetOpenFileNameA;

CFileDialog::CFileDialog(BOOL, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_ofn{} {
  // The system wants the pairs separated by NULs and ended by two.
  if (lpszFilter) {
    m_strFilter = lpszFilter;
    std::replace(m_strFilter.begin(), m_strFilter.end(), '|', '\0');
  }
  if (lpszDefExt) m_strDefExt = lpszDefExt;
  if (lpszFileName) strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);

  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.lpstrFilter = lpszFilter ? m_strFilter.c_str() : nullptr;
  m_ofn.nFilterIndex = 1;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrDefExt = lpszDefExt ? m_strDefExt.c_str() : nullptr;
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
  // Owned by the window the parent sits in: the sheet, not the page.
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : GetActiveWindow();
  m_ofn.hwndOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  return s_pfnShowDialog(&m_ofn) ? IDOK : IDCANCEL;
}
