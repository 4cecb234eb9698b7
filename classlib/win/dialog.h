// A dialog built from a template resource, run modally, with its data
// exchange and its commands dispatched through the message map.
#pragma once

#include <windows.h>

#include "classlib/win/wnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  // No parent: the owner is the window that is active when DoModal runs.
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

  // IDOK or IDCANCEL as the dialog ended, -1 when it could not be created.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

  // Runs DoDataExchange in the given direction; true copies controls into members.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  // Resource-based help contexts count from here, as help compilers number them.
  static constexpr DWORD kHelpContextBase = 0x20000;
  DWORD GetHelpContext() const override { return kHelpContextBase + m_nIDTemplate; }

 protected:
  virtual void DoDataExchange(CDataExchange*) {}
  // The loading exchange. True lets the system place the focus.
  virtual BOOL OnInitDialog();
  // The saving exchange, then the end with IDOK.
  virtual void OnOK();
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  // One message for this dialog; true when it was handled, with the answer
  // that the dialog's sender reads (DWLP_MSGRESULT) in result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // A command from a control or a menu: this map, then, for commands that
  // come from no control, the application's.
  bool RouteCommand(UINT nID, UINT nCode, HWND hWndControl);

  // The common dialog procedure: finds the object and calls OnMessage.
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  bool m_bCenterOnOwner = false;
};

// Centres a top-level window over another, or over the work area when
// there is none, keeping it on the work area.
void CenterWindowOver(HWND hWnd, HWND hWndOver);
