// A C++ object attached to a window handle, with the control operations the
// pages use. The object does not own the window: whoever created the window
// destroys it, and the object forgets the handle when the window goes.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "classlib/string.h"
#include "classlib/win/cmdtarget.h"

class CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)

 public:
  CWnd() = default;
  ~CWnd() override;

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to hWnd by Attach, if any.
  static CWnd* FromHandlePermanent(HWND hWnd);
  void Attach(HWND hWnd);
  HWND Detach();

  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
  CString GetWindowText() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }

  // A child control by id. The object is kept until this window goes; null
  // when there is no such control.
  CWnd* GetDlgItem(int nID);
  // Attaches a control object for as long as this window lives.
  void BindControl(CWnd& control, HWND hWndControl);
  void SetDlgItemText(int nID, const char* text) { ::SetDlgItemTextA(m_hWnd, nID, text); }
  CString GetDlgItemText(int nID) const;
  void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
  UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }

  // A message box owned by this window.
  int MessageBox(const char* text, const char* caption = nullptr, UINT nType = MB_OK);

  // The help request for this window. By default the help viewer with the
  // application's help file; windows that show their own help replace it.
  virtual void WinHelp(DWORD dwData, UINT nCmd = HELP_CONTEXT);
  // The help context a help request on this window asks for.
  virtual DWORD GetHelpContext() const { return 0; }

  HWND m_hWnd = nullptr;

 protected:
  // The window is being destroyed: drop what was attached to its handle.
  void OnWindowGone();

 private:
  std::map<HWND, std::unique_ptr<CWnd>> m_children;
  std::vector<CWnd*> m_boundControls;
};

// A combo box control, for a page that binds one to a member.
class CComboBox : public CWnd {
 public:
  int AddString(const char* text) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text))); }
  int SetCurSel(int nSelect) { return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect))); }
  int GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
  int GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
};

// One data exchange between a dialog's controls and its members. The
// direction is the flag: true copies controls into members.
class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Edit box nIDC with a string: its whole text.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Check box nIDC with a 32-bit boolean: its check state.
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);
// Control nIDC with a control object, attached on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
