#include "tests/support/gui_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace tarn::gui {
namespace {

constexpr DWORD kPollMs = 20;

// Calls probe until it returns something truthy or ms have passed.
template <class Probe>
auto Poll(DWORD ms, Probe probe) -> decltype(probe()) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (auto found = probe()) return found;
    if (GetTickCount64() >= deadline) return probe();
    Sleep(kPollMs);
  }
}

std::string CaptionOf(HWND window) {
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& exePath, const std::string& commandLine) {
  m_job = CreateJobObjectA(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (m_job) SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof limits);

  std::string line = "\"" + exePath + "\"";
  if (!commandLine.empty()) line += " " + commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &info))
    return;
  if (m_job) AssignProcessToJobObject(m_job, info.hProcess);
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_pid = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
  Kill();
  if (m_process) CloseHandle(m_process);
  if (m_job) CloseHandle(m_job);
}

bool ChildProcess::WaitForExit(DWORD ms) {
  return m_process && WaitForSingleObject(m_process, ms) == WAIT_OBJECT_0;
}

bool ChildProcess::HasExited() const {
  return !m_process || WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

void ChildProcess::Kill() {
  if (!m_process || HasExited()) return;
  TerminateProcess(m_process, 1);
  WaitForSingleObject(m_process, kWaitMs);
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* caption) {
  struct Search {
    DWORD pid;
    const char* caption;
    std::vector<HWND> found;
  } search{pid, caption, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && IsWindowVisible(window) && (!s.caption || CaptionOf(window) == s.caption))
          s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const char* caption, DWORD ms) {
  return Poll(ms, [&]() -> HWND {
    auto windows = TopLevelWindows(pid, caption);
    return windows.empty() ? nullptr : windows.front();
  });
}

bool WaitUntilGone(HWND window, DWORD ms) {
  return Poll(ms, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool WaitUntilDestroyed(HWND window, DWORD ms) {
  return Poll(ms, [&] { return !IsWindow(window); });
}

HWND FindDescendant(HWND root, int id) {
  std::pair<int, HWND> search{id, nullptr};
  EnumChildWindows(
      root,
      [](HWND child, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<std::pair<int, HWND>*>(param);
        if (GetDlgCtrlID(child) != s.first) return TRUE;
        s.second = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

std::string ClassName(HWND window) {
  char buffer[128] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

std::vector<HWND> DescendantsOfClass(HWND root, const char* className) {
  std::pair<const char*, std::vector<HWND>> search{className, {}};
  EnumChildWindows(
      root,
      [](HWND child, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<std::pair<const char*, std::vector<HWND>>*>(param);
        if (lstrcmpiA(ClassName(child).c_str(), s.first) == 0) s.second.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

std::string Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kWaitMs, &copied))
    return {};
  text.resize(std::min<size_t>(copied, length));
  return text;
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

int CheckState(HWND button) {
  DWORD_PTR state = 0;
  if (!SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &state)) return -1;
  return int(state);
}

RECT ScreenRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

std::vector<std::string> TabLabels(HWND tabControl) {
  std::vector<std::string> labels;
  DWORD pid = 0;
  GetWindowThreadProcessId(tabControl, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return labels;
  constexpr size_t kLabelMax = 256;
  struct Remote {
    TCITEMA item;
    char label[kLabelMax];
  };
  auto* remote =
      static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
  DWORD_PTR count = 0;
  SendMessageTimeoutA(tabControl, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  for (DWORD_PTR i = 0; remote && i < count; ++i) {
    Remote local = {};
    local.item.mask = TCIF_TEXT;
    local.item.pszText = remote->label;
    local.item.cchTextMax = kLabelMax;
    DWORD_PTR ok = 0;
    if (!WriteProcessMemory(process, remote, &local, sizeof local, nullptr) ||
        !SendMessageTimeoutA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                             kWaitMs, &ok) ||
        !ReadProcessMemory(process, remote, &local, sizeof local, nullptr))
      break;
    local.label[kLabelMax - 1] = '\0';
    labels.push_back(ok ? local.label : "");
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return labels;
}

std::vector<std::string> ComboItems(HWND combo) {
  // Wine hands list texts across processes in UTF-16 whichever variant is
  // sent, so ask for that and convert.
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, kWaitMs, &length);
    std::wstring item(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()), SMTO_ABORTIFHUNG,
                        kWaitMs, &copied);
    item.resize(std::min<size_t>(copied, length));
    std::string narrow(item.size() * 3, '\0');
    narrow.resize(WideCharToMultiByte(CP_UTF8, 0, item.data(), int(item.size()), narrow.data(),
                                      int(narrow.size()), nullptr, nullptr));
    items.push_back(narrow);
  }
  return items;
}

bool ShowsIcon(HWND box) {
  for (HWND label : DescendantsOfClass(box, "Static")) {
    const LONG style = GetWindowLongA(label, GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_ICON || !IsVisible(label)) continue;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(label, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &icon);
    if (icon) return true;
  }
  return false;
}

HWND Owner(HWND window) { return GetWindow(window, GW_OWNER); }

bool SetText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kWaitMs, &result) != 0;
}

bool SetText(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kWaitMs, &result) != 0;
}

void Click(HWND button) { SendNotifyMessageA(button, BM_CLICK, 0, 0); }

bool Sync(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0;
}

bool PressKey(HWND window, WORD virtualKey) { return PressKeys(window, {virtualKey}); }

bool PressKeys(HWND window, std::initializer_list<WORD> virtualKeys) {
  HWND top = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(top);
  if (!Poll(kWaitMs, [&] { return GetForegroundWindow() == top; })) return false;
  std::vector<INPUT> keys;
  auto add = [&](WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    keys.push_back(input);
  };
  for (WORD key : virtualKeys) add(key, 0);
  for (auto key = std::rbegin(virtualKeys); key != std::rend(virtualKeys); ++key) add(*key, KEYEVENTF_KEYUP);
  return SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) { return Poll(ms, condition); }

MessageBoxView WaitForMessageBox(DWORD pid, const char* caption, DWORD ms) {
  MessageBoxView box;
  box.window = WaitForWindow(pid, caption, ms);
  if (!box.window) return box;
  box.caption = caption;
  constexpr int kMessageTextId = 0xFFFF;
  if (HWND text = FindDescendant(box.window, kMessageTextId)) box.text = Text(text);
  for (HWND button : DescendantsOfClass(box.window, "Button"))
    if (IsVisible(button)) box.buttons.push_back(GetDlgCtrlID(button));
  return box;
}

bool Answer(const MessageBoxView& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (!button) return false;
  Click(button);
  return WaitUntilGone(box.window);
}

FileDialogView WaitForFileDialog(DWORD pid, DWORD ms) {
  // The dialog ids of the common dialog templates: the name box is an edit
  // box (edt1) in the older template and a combo box (cmb13) in the newer one.
  constexpr int kNameEdit = 0x480, kNameCombo = 0x47C, kTypeCombo = 0x470, kReadOnlyBox = 0x410;
  FileDialogView dialog;
  dialog.window = WaitForWindow(pid, "Open", ms);
  if (!dialog.window) return dialog;
  dialog.nameBox = Poll(ms, [&]() -> HWND {
    if (HWND combo = FindDescendant(dialog.window, kNameCombo)) {
      auto edits = DescendantsOfClass(combo, "Edit");
      return edits.empty() ? combo : edits.front();
    }
    return FindDescendant(dialog.window, kNameEdit);
  });
  if (!dialog.nameBox) return dialog;
  Sync(dialog.window);
  dialog.initialName = Text(dialog.nameBox);
  if (HWND types = FindDescendant(dialog.window, kTypeCombo)) {
    dialog.types = ComboItems(types);
    dialog.selectedType = Text(types);
  }
  HWND readOnly = FindDescendant(dialog.window, kReadOnlyBox);
  dialog.readOnlyBoxShown = readOnly && IsVisible(readOnly);
  return dialog;
}

bool ChooseFile(const FileDialogView& dialog, const std::string& name) {
  if (!SetText(dialog.nameBox, name)) return false;
  HWND open = GetDlgItem(dialog.window, IDOK);
  if (!open) return false;
  Click(open);
  return WaitUntilDestroyed(dialog.window);
}

bool CancelFileDialog(const FileDialogView& dialog) {
  HWND cancel = GetDlgItem(dialog.window, IDCANCEL);
  if (!cancel) return false;
  Click(cancel);
  return WaitUntilDestroyed(dialog.window);
}

std::string WindowsPathFromUnix(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace tarn::gui
