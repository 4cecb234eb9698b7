// One run of the real Tarn.exe, driven through its sheet: the ids and texts a
// user sees, and the steps a user takes (type, tick, switch tabs, press the
// sheet's buttons, answer message boxes).
#pragma once

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/support/gui_driver.h"

namespace tarn::gui {

inline constexpr const char* kSheetCaption = "Velbrin Quobix ROM Utitlty";
inline constexpr const char* kAboutCaption = "About Tarn";
inline constexpr const char* kPageMessageCaption = "Error";

// Dialog ids of the controls, named as the program's resource header names them.
namespace ids {
// General page
inline constexpr int kInputRom = IDC_INPUT_ROM, kOutputRom = IDC_OUTPUT_ROM, kLogoFile = IDC_LOGO_FILE,
                     kPaletteFile = IDC_PALETTE_FILE;
inline constexpr int kBrowseInputRom = IDC_BROWSE_INPUT_ROM, kBrowseOutputRom = IDC_BROWSE_OUTPUT_ROM,
                     kBrowseLogo = IDC_BROWSE_LOGO, kBrowsePalette = IDC_BROWSE_PALETTE;
inline constexpr int kChangeLogo = IDC_CHANGE_LOGO;
// Insert Module page
inline constexpr int kAddModule = IDC_ADD_MODULE, kModuleFile = IDC_MODULE_FILE,
                     kBrowseModule = IDC_BROWSE_MODULE;
// The sheet's own buttons
inline constexpr int kHelp = IDHELP;
inline constexpr int kApply = 0x3021;  // the property-sheet control's Apply button
}  // namespace ids

enum class Page { General = 0, InsertModule = 1 };

// The path of the Tarn.exe under test, as Wine's programs see it.
std::string TarnExePath();

class TarnSession {
 public:
  // Starts Tarn.exe and waits for its sheet; check ready() before driving it.
  TarnSession() : TarnSession(TarnExePath()) {}
  explicit TarnSession(const std::string& exePath);

  bool ready() const { return m_sheet != nullptr; }
  HWND sheet() const { return m_sheet; }
  ChildProcess& process() { return m_process; }
  DWORD pid() const { return m_process.pid(); }

  // A control of either page (the pages' ids do not overlap) or of the sheet.
  // Controls of the Insert Module page exist only once its tab was opened.
  HWND Control(int id) const;
  std::string TextOf(int id) const { return Text(Control(id)); }
  bool Type(int id, const std::string& text) const { return SetText(Control(id), text); }
  bool IsEnabled(int id) const { return gui::IsEnabled(Control(id)); }
  bool IsTicked(int id) const { return CheckState(Control(id)) == BST_CHECKED; }
  // Clicks and waits for the click's handler (not for dialogs it opens).
  bool ClickAndWait(int id) const;
  // Clicks without waiting: for buttons that open a modal window or end the sheet.
  void Press(int id) const { Click(Control(id)); }

  bool SelectPage(Page page) const;
  HWND ActivePage() const;
  HWND TabControl() const;
  int ActivePageIndex() const;

  // Help: presses the button (or F1) and waits for the About box.
  HWND PressHelp() const;
  HWND PressF1() const;
  // Closes the About box and waits until the sheet is usable again.
  enum class Close { OkButton, Enter, Escape, CloseBox };
  bool CloseAbout(HWND about, Close how = Close::OkButton) const;

  // OK (or Cancel) and the sheet's disappearance.
  bool PressOk();
  bool PressCancel();

  MessageBoxView WaitForBox(const char* caption, DWORD ms = kWaitMs) {
    return WaitForMessageBox(pid(), caption, ms);
  }
  bool WaitForExit() { return m_process.WaitForExit(); }

 private:
  bool PressAndWaitForSheetToGo(int id);

  ChildProcess m_process;
  HWND m_sheet = nullptr;
};

}  // namespace tarn::gui
