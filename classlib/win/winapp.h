// The application object and the process's entry routine around it.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/win/cmdtarget.h"

class CWnd;

class CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)

 public:
  // Without a name the application is named after its executable file.
  explicit CWinApp(const char* pszAppName = nullptr);
  ~CWinApp() override;

  // The program's start-up; in Tarn the whole run. The entry routine ends
  // the process when it returns false.
  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return 0; }

  // A help request, passed on to the main window (the active window when no
  // main window is registered).
  virtual void WinHelp(DWORD dwData, UINT nCmd = HELP_CONTEXT);
  // The command handler for ID_HELP: a help request for the active window.
  void OnHelp();

  // Three-dimensional dialog controls. Every Windows this program runs on
  // draws them so itself, so there is nothing to register.
  BOOL Enable3dControlsStatic() { return TRUE; }

  // The main window, or the window that stands in for it.
  CWnd* GetMainWnd() const;

  HINSTANCE m_hInstance = nullptr;
  const char* m_pszAppName = nullptr;
  const char* m_pszHelpFilePath = nullptr;  // the executable's path with ".HLP"
  CWnd* m_pMainWnd = nullptr;

 private:
  friend int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
  // Fills the names from the executable; done by the entry routine, and on
  // first use when no entry routine ran (a test linking the program).
  void InitNames();

  std::string m_strAppName;
  std::string m_strHelpFilePath;
};

// The application object of this process, or null before one is constructed.
CWinApp* AfxGetApp();
// Whether a Help request has somewhere to go: the application or the main
// window handles ID_HELP.
BOOL AfxHelpEnabled();
// Hosting of ActiveX controls in dialogs. No dialog of ours contains one, so
// the default manager is never needed and this does nothing.
void AfxEnableControlContainer();
// The entry routine: calls InitInstance and ends. There is no message loop
// of the application's own: every window of the program is modal.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
