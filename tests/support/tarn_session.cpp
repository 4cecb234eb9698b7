#include "tests/support/tarn_session.h"

#include <commctrl.h>

namespace tarn::gui {

std::string TarnExePath() { return WindowsPathFromUnix(TARN_EXE_UNIX_PATH); }

TarnSession::TarnSession(const std::string& exePath) : m_process(exePath) {
  if (m_process.started()) m_sheet = WaitForWindow(m_process.pid(), kSheetCaption);
}

HWND TarnSession::Control(int id) const { return FindDescendant(m_sheet, id); }

bool TarnSession::ClickAndWait(int id) const {
  HWND control = Control(id);
  if (!control) return false;
  Click(control);
  return Sync(control);
}

bool TarnSession::SelectPage(Page page) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(m_sheet, PSM_SETCURSEL, WPARAM(page), 0, SMTO_ABORTIFHUNG, kWaitMs, &result) &&
         result != 0 && ActivePageIndex() == int(page);
}

HWND TarnSession::ActivePage() const {
  DWORD_PTR page = 0;
  SendMessageTimeoutA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &page);
  return reinterpret_cast<HWND>(page);
}

HWND TarnSession::TabControl() const {
  DWORD_PTR tabs = 0;
  SendMessageTimeoutA(m_sheet, PSM_GETTABCONTROL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &tabs);
  return reinterpret_cast<HWND>(tabs);
}

int TarnSession::ActivePageIndex() const {
  HWND tabs = TabControl();
  DWORD_PTR index = DWORD_PTR(-1);
  if (!tabs || !SendMessageTimeoutA(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &index)) return -1;
  return int(index);
}

HWND TarnSession::PressHelp() const {
  Press(ids::kHelp);
  return WaitForWindow(pid(), kAboutCaption);
}

HWND TarnSession::PressF1() const {
  // F1 goes to the control with the focus, as it would for a user.
  HWND page = ActivePage();
  if (!PressKey(page ? page : m_sheet, VK_F1)) return nullptr;
  return WaitForWindow(pid(), kAboutCaption);
}

bool TarnSession::CloseAbout(HWND about, Close how) const {
  switch (how) {
    case Close::OkButton:
      if (!GetDlgItem(about, IDOK)) return false;
      Click(GetDlgItem(about, IDOK));
      break;
    case Close::Enter:
      if (!PressKey(about, VK_RETURN)) return false;
      break;
    case Close::Escape:
      if (!PressKey(about, VK_ESCAPE)) return false;
      break;
    case Close::CloseBox:
      PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
  if (!WaitUntilGone(about)) return false;
  const ULONGLONG deadline = GetTickCount64() + kWaitMs;
  while (!IsWindowEnabled(m_sheet)) {
    if (GetTickCount64() > deadline) return false;
    Sleep(20);
  }
  return Sync(m_sheet);
}

bool TarnSession::PressAndWaitForSheetToGo(int id) {
  Press(id);
  return WaitUntilGone(m_sheet);
}

bool TarnSession::PressOk() { return PressAndWaitForSheetToGo(IDOK); }
bool TarnSession::PressCancel() { return PressAndWaitForSheetToGo(IDCANCEL); }

}  // namespace tarn::gui
