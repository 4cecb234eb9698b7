// Drives the windows of another process the way a user would see them: by
// caption, by dialog id and by the texts and states on screen. Every wait is
// bounded, so a dialog that never appears (or never goes) fails the test
// instead of hanging it.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace tarn::gui {

// Long enough for a Wine start on a busy machine, short enough for CI.
inline constexpr DWORD kWaitMs = 8000;

// A child process in a job object that kills it when the job handle closes,
// so neither a failed assertion nor a crashed test leaves it behind.
class ChildProcess {
 public:
  ChildProcess(const std::string& exePath, const std::string& commandLine = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return m_process != nullptr; }
  DWORD pid() const { return m_pid; }
  bool WaitForExit(DWORD ms = kWaitMs);
  bool HasExited() const;
  void Kill();

 private:
  HANDLE m_job = nullptr;
  HANDLE m_process = nullptr;
  DWORD m_pid = 0;
};

// --- Finding windows -------------------------------------------------------
// Visible top-level windows of the process, optionally only those with this caption.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* caption = nullptr);
// Waits for a visible top-level window of the process with exactly this caption.
HWND WaitForWindow(DWORD pid, const char* caption, DWORD ms = kWaitMs);
// Waits until the window is gone or hidden.
bool WaitUntilGone(HWND window, DWORD ms = kWaitMs);
// Waits until the window is destroyed: for a modal dialog, its loop has ended
// and the code that opened it runs on.
bool WaitUntilDestroyed(HWND window, DWORD ms = kWaitMs);
// The first descendant (children, grandchildren, ...) with this dialog id.
HWND FindDescendant(HWND root, int id);
// All descendants of a window class ("Button", "Static", ...).
std::vector<HWND> DescendantsOfClass(HWND root, const char* className);
std::string ClassName(HWND window);

// --- Reading ----------------------------------------------------------------
// WM_GETTEXT, which is marshalled across processes (GetWindowText is not).
std::string Text(HWND window);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);
// BST_CHECKED, BST_UNCHECKED or -1 when the window does not answer.
int CheckState(HWND button);
RECT ScreenRect(HWND window);
// The labels of a tab control in another process (read through its memory,
// since tab items are not marshalled).
std::vector<std::string> TabLabels(HWND tabControl);
// Items of a combo box, in list order.
std::vector<std::string> ComboItems(HWND combo);
// Whether a message box shows an icon.
bool ShowsIcon(HWND box);
HWND Owner(HWND window);

// --- Acting -----------------------------------------------------------------
// Replaces the text, as typing it would; does not wait for handlers of it.
bool SetText(HWND window, const std::string& text);
// The same in UTF-16, for texts beyond the test program's own code page.
bool SetText(HWND window, const std::wstring& text);
// A click that does not wait for what it starts: a handler that opens a
// modal dialog would otherwise block the caller until that dialog closed.
void Click(HWND button);
// Returns once the window's thread has handled everything sent to it before,
// or has entered a nested modal loop that pumps messages.
bool Sync(HWND window);
// Real key presses of one virtual key to the window's thread; posted key
// messages do not go through the input path (and do not become WM_HELP).
bool PressKey(HWND window, WORD virtualKey);
// A chord: the keys pressed in order and released in reverse (VK_CONTROL, VK_TAB).
// Key presses are handled some time later: wait for their effect.
bool PressKeys(HWND window, std::initializer_list<WORD> virtualKeys);
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kWaitMs);

// --- Message boxes ----------------------------------------------------------
struct MessageBoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;          // the static with id 0xFFFF holding the message
  std::vector<int> buttons;  // ids of the visible push buttons
  explicit operator bool() const { return window != nullptr; }
};
MessageBoxView WaitForMessageBox(DWORD pid, const char* caption, DWORD ms = kWaitMs);
// Presses one of the box's buttons (IDOK, IDYES, IDNO) and waits for the box to go.
bool Answer(const MessageBoxView& box, int buttonId);

// --- The system's open-file dialog ----------------------------------------
struct FileDialogView {
  HWND window = nullptr;
  HWND nameBox = nullptr;          // the "File name" edit box
  std::string initialName;         // its text when the dialog opened
  std::vector<std::string> types;  // the file-type list, in order
  std::string selectedType;
  bool readOnlyBoxShown = false;
  explicit operator bool() const { return window != nullptr && nameBox != nullptr; }
};
FileDialogView WaitForFileDialog(DWORD pid, DWORD ms = kWaitMs);
// Types the name into the dialog and presses its Open button, as a user
// would; true when the dialog has then been destroyed.
bool ChooseFile(const FileDialogView& dialog, const std::string& name);
bool CancelFileDialog(const FileDialogView& dialog);

// "Z:\..." for a path of the Unix file system, which Wine maps to drive Z.
std::string WindowsPathFromUnix(const std::string& unixPath);

}  // namespace tarn::gui
