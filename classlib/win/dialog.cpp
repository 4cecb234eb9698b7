#include "classlib/win/dialog.h"

#include <algorithm>

#include "classlib/win/dlgtemplate.h"
#include "classlib/win/winapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
  HMODULE module = GetModuleHandleA(nullptr);
  const DialogTemplateView tmpl = LoadDialogTemplate(module, m_nIDTemplate);
  if (!tmpl.data) return -1;
  // A template that leaves its place open (at 0, 0 without DS_CENTER) is
  // put over its owner rather than in the owner's top-left corner.
  const POINT at = TemplatePosition(tmpl.data);
  m_bCenterOnOwner = at.x == 0 && at.y == 0 && !(*TemplateStyle(const_cast<BYTE*>(tmpl.data)) & DS_CENTER);

  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : GetActiveWindow();
  if (owner) owner = GetAncestor(owner, GA_ROOT);
  return DialogBoxIndirectParamA(module, reinterpret_cast<const DLGTEMPLATE*>(tmpl.data), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

bool CDialog::RouteCommand(UINT nID, UINT nCode, HWND hWndControl) {
  if (OnCmdMsg(nID, nCode)) return true;
  CWinApp* app = AfxGetApp();
  return !hWndControl && app && app->OnCmdMsg(nID, nCode);
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam), code = HIWORD(wParam);
      if (RouteCommand(id, code, reinterpret_cast<HWND>(lParam))) return true;
      if (id == IDOK && code == BN_CLICKED)
        OnOK();
      else if (id == IDCANCEL && code == BN_CLICKED)
        OnCancel();
      else
        return false;
      return true;
    }
    case WM_HELP:
      // F1 in a dialog: the help command, as from a Help button.
      SendMessage(WM_COMMAND, ID_HELP);
      result = TRUE;
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dlg = reinterpret_cast<CDialog*>(lParam);
    dlg->Attach(hWnd);
    const BOOL result = dlg->OnInitDialog();
    if (dlg->m_bCenterOnOwner) CenterWindowOver(hWnd, GetWindow(hWnd, GW_OWNER));
    return result;
  }
  auto* dlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  if (!dlg) return FALSE;
  if (message == WM_NCDESTROY) {
    dlg->OnWindowGone();
    return FALSE;
  }
  INT_PTR result = 0;
  if (!dlg->OnMessage(message, wParam, lParam, result)) return FALSE;
  SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

void CenterWindowOver(HWND hWnd, HWND hWndOver) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(hWndOver ? hWndOver : hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT over = work;
  if (hWndOver && IsWindowVisible(hWndOver) && !IsIconic(hWndOver)) GetWindowRect(hWndOver, &over);
  RECT self;
  GetWindowRect(hWnd, &self);
  const LONG width = self.right - self.left, height = self.bottom - self.top;
  LONG x = (over.left + over.right - width) / 2, y = (over.top + over.bottom - height) / 2;
  x = std::max(work.left, std::min(x, work.right - width));
  y = std::max(work.top, std::min(y, work.bottom - height));
  SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
