#include "classlib/win/wnd.h"

#include <string>

#include "classlib/win/winapp.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {

// Windows with a C++ object, for the help routing that starts from a handle.
std::map<HWND, CWnd*>& PermanentMap() {
  static std::map<HWND, CWnd*> map;
  return map;
}

CString TextOf(HWND hWnd) {
  std::string text(size_t(GetWindowTextLengthA(hWnd)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(hWnd, text.data(), int(text.size()))));
  return CString(std::move(text));
}

}  // namespace

CWnd::~CWnd() { OnWindowGone(); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  const auto it = PermanentMap().find(hWnd);
  return it == PermanentMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hWnd) {
  Detach();
  m_hWnd = hWnd;
  PermanentMap()[hWnd] = this;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd) {
    const auto it = PermanentMap().find(hWnd);
    if (it != PermanentMap().end() && it->second == this) PermanentMap().erase(it);
  }
  m_hWnd = nullptr;
  return hWnd;
}

void CWnd::OnWindowGone() {
  m_children.clear();
  for (CWnd* control : m_boundControls) control->Detach();
  m_boundControls.clear();
  Detach();
}

CString CWnd::GetWindowText() const { return TextOf(m_hWnd); }

CString CWnd::GetDlgItemText(int nID) const { return TextOf(::GetDlgItem(m_hWnd, nID)); }

CWnd* CWnd::GetDlgItem(int nID) {
  HWND hWndChild = ::GetDlgItem(m_hWnd, nID);
  if (!hWndChild) return nullptr;
  std::unique_ptr<CWnd>& child = m_children[hWndChild];
  if (!child) {
    child = std::make_unique<CWnd>();
    child->m_hWnd = hWndChild;
  }
  return child.get();
}

void CWnd::BindControl(CWnd& control, HWND hWndControl) {
  control.Attach(hWndControl);
  m_boundControls.push_back(&control);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT nType) {
  return ::MessageBoxA(m_hWnd, text, caption, nType);
}

void CWnd::WinHelp(DWORD dwData, UINT nCmd) {
  CWinApp* app = AfxGetApp();
  // No help file ships with the program, and current Windows has no viewer
  // for the format; so the viewer is only started when the file is there.
  // Starting it anyway would, under Wine, leave a viewer process behind
  // that outlives the program.
  const char* helpFile = app ? app->m_pszHelpFilePath : nullptr;
  const bool fileThere = helpFile && GetFileAttributesA(helpFile) != INVALID_FILE_ATTRIBUTES;
  if (!fileThere || !::WinHelpA(m_hWnd, helpFile, nCmd, dwData))
    MessageBox("Failed to launch help.", app ? app->m_pszAppName : nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate)
    value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
  else
    pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value) {
  if (pDX->m_bSaveAndValidate)
    value = BOOL(pDX->m_pDlgWnd->IsDlgButtonChecked(nIDC));
  else
    pDX->m_pDlgWnd->CheckDlgButton(nIDC, value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
  if (!control.m_hWnd) pDX->m_pDlgWnd->BindControl(control, ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}
