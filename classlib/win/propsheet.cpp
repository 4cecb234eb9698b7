#include "classlib/win/propsheet.h"

#include "classlib/win/dlgtemplate.h"
#include "classlib/win/winapp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The property-sheet control's own frame template; its font is the one the
// control lays the pages out in.
constexpr UINT kSheetFrameTemplate = 1006;

DialogFont SheetFont() {
  if (HMODULE comctl = GetModuleHandleA("comctl32.dll")) {
    const DialogTemplateView frame = LoadDialogTemplate(comctl, kSheetFrameTemplate);
    if (frame.data) {
      DialogFont font = TemplateFont(frame.data);
      if (!font.face.empty()) return font;
    }
  }
  return {L"MS Shell Dlg", 8};
}

// The sheet whose window the control is creating: its callback carries no
// pointer of ours. One thread, one sheet at a time.
CPropertySheet* g_pSheetBeingCreated = nullptr;

}  // namespace

// ---- CPropertyPage

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate), m_psp{} {
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = PSP_USECALLBACK | (AfxHelpEnabled() ? PSP_HASHELP : 0);
  m_psp.hInstance = GetModuleHandleA(nullptr);
  m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
  m_psp.pfnDlgProc = PageProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  m_psp.pfnCallback = PageCallback;
}

bool CPropertyPage::PrepareTemplate(const DialogFont& sheetFont) {
  const DialogTemplateView own = LoadDialogTemplate(m_psp.hInstance, m_nIDTemplate);
  if (!own.data) return false;
  // Pages are drawn in the sheet's font, so that dialog units mean the same
  // on the page as on the frame around it.
  if (TemplateFont(own.data) == sheetFont)
    m_template.assign(own.data, own.data + own.size);
  else
    m_template = WithFont(own, sheetFont);
  m_psp.dwFlags |= PSP_DLGINDIRECT;
  m_psp.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
  return true;
}

CPropertySheet* CPropertyPage::GetSheet() const {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return parent && parent->IsKindOf(RUNTIME_CLASS(CPropertySheet)) ? static_cast<CPropertySheet*>(parent)
                                                                   : nullptr;
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive)
    m_bFirstSetActive = false;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

bool CPropertyPage::OnNotify(const NMHDR& header, LPARAM, INT_PTR& result) {
  CPropertySheet* sheet = GetSheet();
  switch (header.code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      return true;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;
      return true;
    case PSN_APPLY:
      // OK (there is no Apply button): the control has already asked the
      // active page to save.
      OnOK();
      if (sheet) sheet->m_nModalResult = IDOK;
      result = PSNRET_NOERROR;
      return true;
    case PSN_RESET:
      OnCancel();
      if (sheet) sheet->m_nModalResult = IDCANCEL;
      return true;
    case PSN_HELP:
      // The Help button: the help command, routed like every other help request.
      ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, ID_HELP, 0);
      return true;
    default:
      return false;
  }
}

bool CPropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam, result);
    case WM_COMMAND:
      return RouteCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    default:
      // F1 (WM_HELP) included: the system hands it on to the sheet.
      return false;
  }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return DialogProc(hWnd, message, wParam, lParam);
  // The control passes its copy of the page structure; ours is in its lParam.
  auto* page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
  page->Attach(hWnd);
  page->m_bFirstSetActive = true;
  return page->OnInitDialog();
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, PROPSHEETPAGEA*) {
  // Every page may be created; nothing is held that needs releasing.
  return message == PSPCB_CREATE ? TRUE : 0;
}

// ---- CPropertySheet

CPropertySheet::CPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh{}, m_strCaption(pszCaption ? pszCaption : "") {
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | (AfxHelpEnabled() ? PSH_HASHELP : 0);
  m_psh.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  m_psh.hInstance = GetModuleHandleA(nullptr);
  m_psh.pszCaption = m_strCaption.c_str();
  m_psh.nStartPage = iSelectPage;
  m_psh.pfnCallback = SheetCallback;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) { m_pages.push_back(pPage); }

CPropertyPage* CPropertySheet::GetActivePage() const {
  if (!m_hWnd) return nullptr;
  CWnd* page = CWnd::FromHandlePermanent(PropSheet_GetCurrentPageHwnd(m_hWnd));
  return page && page->IsKindOf(RUNTIME_CLASS(CPropertyPage)) ? static_cast<CPropertyPage*>(page) : nullptr;
}

DWORD CPropertySheet::GetHelpContext() const {
  const CPropertyPage* page = GetActivePage();
  return page ? page->GetHelpContext() : 0;
}

INT_PTR CPropertySheet::DoModal() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  const DialogFont font = SheetFont();
  m_pageStructs.clear();
  for (CPropertyPage* page : m_pages) {
    if (!page->PrepareTemplate(font)) return 0;
    m_pageStructs.push_back(page->m_psp);
  }
  m_psh.nPages = UINT(m_pageStructs.size());
  m_psh.ppsp = m_pageStructs.data();

  m_nModalResult = 0;
  g_pSheetBeingCreated = this;
  const INT_PTR shown = PropertySheetA(&m_psh);
  g_pSheetBeingCreated = nullptr;
  return shown < 0 ? 0 : m_nModalResult;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM lParam) {
  switch (message) {
    case PSCB_PRECREATE:
      // No "?" button in the caption: the sheet has a Help button of its own.
      *TemplateStyle(reinterpret_cast<void*>(lParam)) &= ~DWORD(DS_CONTEXTHELP);
      *TemplateExStyle(reinterpret_cast<void*>(lParam)) &= ~DWORD(WS_EX_CONTEXTHELP);
      break;
    case PSCB_INITIALIZED:
      if (g_pSheetBeingCreated) g_pSheetBeingCreated->OnCreated(hWnd);
      break;
  }
  return 0;
}

void CPropertySheet::OnCreated(HWND hWnd) {
  Attach(hWnd);
  m_pfnControlProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetProc)));
  // Some control versions turn the template's style back on while creating
  // the window; the window's own bits are what the caption shows.
  SetWindowLongPtrW(hWnd, GWL_STYLE, GetWindowLongPtrW(hWnd, GWL_STYLE) & ~LONG_PTR(DS_CONTEXTHELP));
  SetWindowLongPtrW(hWnd, GWL_EXSTYLE, GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_CONTEXTHELP));
  SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CenterWindowOver(hWnd, nullptr);
  m_nModalResult = IDCANCEL;
}

bool CPropertySheet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam), code = HIWORD(wParam);
      CWinApp* app = AfxGetApp();
      // The sheet's own buttons belong to the control; commands that come
      // from no control (the help command) may go on to the application.
      if (OnCmdMsg(id, code) || (!lParam && app && app->OnCmdMsg(id, code))) {
        result = 0;
        return true;
      }
      return false;
    }
    case WM_HELP:
      // F1 anywhere on the sheet: the help command, as from the Help button.
      SendMessage(WM_COMMAND, ID_HELP);
      result = TRUE;
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK CPropertySheet::SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* sheet = static_cast<CPropertySheet*>(CWnd::FromHandlePermanent(hWnd));
  const WNDPROC controlProc = sheet->m_pfnControlProc;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc));
    sheet->OnWindowGone();
    sheet->m_pfnControlProc = nullptr;
  } else {
    LRESULT result = 0;
    if (sheet->OnMessage(message, wParam, lParam, result)) return result;
  }
  return CallWindowProcW(controlProc, hWnd, message, wParam, lParam);
}
