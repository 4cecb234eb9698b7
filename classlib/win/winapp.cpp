#include "classlib/win/winapp.h"

#include "classlib/win/wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {
CWinApp* g_pCurrentApp = nullptr;
}

CWinApp::CWinApp(const char* pszAppName) {
  if (pszAppName) m_strAppName = pszAppName;
  g_pCurrentApp = this;
}

CWinApp::~CWinApp() {
  if (g_pCurrentApp == this) g_pCurrentApp = nullptr;
}

void CWinApp::InitNames() {
  if (!m_hInstance) m_hInstance = GetModuleHandleA(nullptr);
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(m_hInstance, path, MAX_PATH);
  const std::string exe(path, n);
  const size_t nameStart = exe.find_last_of("\\/") + 1;
  const size_t dot = exe.find_last_of('.');
  const size_t stemEnd = dot != std::string::npos && dot >= nameStart ? dot : exe.size();
  if (m_strAppName.empty()) m_strAppName = exe.substr(nameStart, stemEnd - nameStart);
  m_strHelpFilePath = exe.substr(0, stemEnd) + ".HLP";
  m_pszAppName = m_strAppName.c_str();
  m_pszHelpFilePath = m_strHelpFilePath.c_str();
}

CWnd* CWinApp::GetMainWnd() const {
  return m_pMainWnd ? m_pMainWnd : CWnd::FromHandlePermanent(GetActiveWindow());
}

void CWinApp::WinHelp(DWORD dwData, UINT nCmd) {
  if (CWnd* main = GetMainWnd()) main->WinHelp(dwData, nCmd);
}

void CWinApp::OnHelp() {
  if (!m_pszAppName) InitNames();
  CWnd* active = CWnd::FromHandlePermanent(GetActiveWindow());
  WinHelp(active ? active->GetHelpContext() : 0, HELP_CONTEXT);
}

CWinApp* AfxGetApp() { return g_pCurrentApp; }

BOOL AfxHelpEnabled() {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  // Asking a map is enough; no handler runs.
  for (const CCmdTarget* target :
       {static_cast<const CCmdTarget*>(app), static_cast<const CCmdTarget*>(app->m_pMainWnd)})
    if (target && target->HandlesCommand(ID_HELP)) return TRUE;
  return FALSE;
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE hInstance, int /*nCmdShow*/) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->InitNames();
  app->InitInstance();
  return app->ExitInstance();
}
