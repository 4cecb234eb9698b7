// The real sheet and pages run inside the test process, on its own thread,
// with the open-file dialog answered by the test: what each Browse button
// asks the system for, and the DRAM Timing page, which the program builds
// but never shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/rom_app.h"
#include "app/rom_sheet.h"
#include "classlib/win/filedialog.h"
#include "image/transfer.h"
#include "pages/dram_timing_page.h"
#include "pages/general_page.h"
#include "pages/module_page.h"
#include "res/resource.h"

namespace {

using Step = std::function<void(CPropertySheet&)>;

// Runs steps, one per timer tick, inside the sheet's modal loop: a thread
// timer fires in every modal loop of the thread. A sheet still open after
// the deadline is cancelled, so a step that goes wrong fails the test
// instead of hanging it.
class SheetScript {
 public:
  static INT_PTR Run(CPropertySheet& sheet, std::vector<Step> steps) {
    SheetScript script{sheet, std::move(steps)};
    s_current = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, Tick);
    const INT_PTR result = sheet.DoModal();
    KillTimer(nullptr, timer);
    s_current = nullptr;
    EXPECT_FALSE(script.m_timedOut) << "the sheet was still open at the deadline";
    EXPECT_EQ(script.m_next, script.m_steps.size()) << "steps left when the sheet closed";
    return result;
  }

 private:
  SheetScript(CPropertySheet& sheet, std::vector<Step> steps) : m_sheet(sheet), m_steps(std::move(steps)) {}

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    SheetScript* self = s_current;
    if (!self || self->m_busy || !self->m_sheet.m_hWnd) return;
    self->m_busy = true;
    if (std::chrono::steady_clock::now() > self->m_deadline) {
      self->m_timedOut = true;
      PropSheet_PressButton(self->m_sheet.m_hWnd, PSBTN_CANCEL);
    } else if (self->m_next < self->m_steps.size()) {
      self->m_steps[self->m_next++](self->m_sheet);
    }
    self->m_busy = false;
  }

  static inline SheetScript* s_current = nullptr;
  CPropertySheet& m_sheet;
  std::vector<Step> m_steps;
  size_t m_next = 0;
  bool m_busy = false;
  bool m_timedOut = false;
  std::chrono::steady_clock::time_point m_deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(20);
};

HWND PageControl(CPropertySheet& sheet, int id) {
  return GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet.m_hWnd), id);
}
Step Click(int id) {
  return [id](CPropertySheet& sheet) { SendMessageA(PageControl(sheet, id), BM_CLICK, 0, 0); };
}
Step SelectPage(int index) {
  return [index](CPropertySheet& sheet) { PropSheet_SetCurSel(sheet.m_hWnd, nullptr, index); };
}
Step Press(int button) {
  return [button](CPropertySheet& sheet) { PropSheet_PressButton(sheet.m_hWnd, button); };
}

// What one open-file dialog was asked for, and the answer it gives.
struct DialogRequest {
  std::string filter, defaultExtension, initialName;
  DWORD flags = 0, maxFile = 0, filterIndex = 0;
  bool hasTitle = false, hasInitialFolder = false;
};
std::vector<DialogRequest> g_requests;
std::vector<std::string> g_answers;  // one per dialog; empty: the user cancels

BOOL WINAPI AnswerDialog(OPENFILENAMEA* ofn) {
  DialogRequest r;
  if (ofn->lpstrFilter) {
    const char* end = ofn->lpstrFilter;
    while (end[0] || end[1]) ++end;
    r.filter.assign(ofn->lpstrFilter, end + 1);
  }
  r.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
  r.initialName = ofn->lpstrFile;
  r.flags = ofn->Flags;
  r.maxFile = ofn->nMaxFile;
  r.filterIndex = ofn->nFilterIndex;
  r.hasTitle = ofn->lpstrTitle != nullptr;
  r.hasInitialFolder = ofn->lpstrInitialDir != nullptr;
  g_requests.push_back(r);
  const std::string answer = g_answers.size() >= g_requests.size() ? g_answers[g_requests.size() - 1] : "";
  if (answer.empty()) return FALSE;
  lstrcpynA(ofn->lpstrFile, answer.c_str(), int(ofn->nMaxFile));
  return TRUE;
}

class InProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_requests.clear();
    g_answers.clear();
    CFileDialog::s_pfnShowDialog = AnswerDialog;
    app->m_dwOptions = 0;
    app->m_nDramDivisor = 0xFF;
  }
  void TearDown() override {
    CFileDialog::s_pfnShowDialog = GetOpenFileNameA;
    DeleteFileA(m_romPath.c_str());
  }
  // A ROM of exactly 64 KB: it opens and draws no warning.
  const std::string& RomOf64k() {
    char folder[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "trn", 0, name);
    m_romPath = name;
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::vector<char> bytes(0x10000, '\xFF');
    DWORD written = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return m_romPath;
  }

  CRomApp* app = GetRomApp();
  std::string m_romPath;
};

TEST_F(InProcessTest, EachBrowseButtonAsksForItsOwnFileTypesAndKeepsTheAnswer) {
  const std::string rom = RomOf64k();
  g_answers = {rom, "C:\\out\\new.rom", "C:\\art\\logo.rle", "C:\\art\\colours.pal", "C:\\mods\\extra.rle"};
  CROM sheet("Velbrin Quobix ROM Utitlty", nullptr, 0);
  CLogo general;
  CModule module;
  sheet.AddPage(&general);
  sheet.AddPage(&module);
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  const INT_PTR result = SheetScript::Run(
      sheet, {Click(IDC_CHANGE_LOGO), Click(IDC_BROWSE_INPUT_ROM), Click(IDC_BROWSE_OUTPUT_ROM),
              Click(IDC_BROWSE_LOGO), Click(IDC_BROWSE_PALETTE), SelectPage(1), Click(IDC_ADD_MODULE),
              Click(IDC_BROWSE_MODULE), Press(PSBTN_OK)});
  EXPECT_EQ(result, IDOK);

  const std::string rom_types("ROM Files (*.rom)\0*.rom\0All Files (*.*)\0*.*\0", 44);
  const std::string rle_types("RLE Files (*.rle)\0*.rle\0All Files (*.*)\0*.*\0", 44);
  const std::string pal_types("Palette Files (*.pal)\0*.pal\0All Files (*.*)\0*.*\0", 48);
  struct Expected {
    std::string filter, defaultExtension, initialName;
  };
  const Expected expected[] = {
      {rom_types, "", "*.ROM"},    {rom_types, "rom", "*.rom"}, {rle_types, "rle", "*.RLE"},
      {pal_types, "pal", "*.PAL"}, {rle_types, "rle", "*.RLE"},
  };
  ASSERT_EQ(g_requests.size(), std::size(expected));
  for (size_t i = 0; i < g_requests.size(); ++i) {
    const DialogRequest& r = g_requests[i];
    EXPECT_EQ(r.filter, expected[i].filter) << "dialog " << i;
    EXPECT_EQ(r.defaultExtension, expected[i].defaultExtension) << "dialog " << i;
    EXPECT_EQ(r.initialName, expected[i].initialName) << "dialog " << i;
    EXPECT_EQ(r.filterIndex, 1u) << "dialog " << i;
    EXPECT_EQ(r.maxFile, 260u) << "dialog " << i;
    EXPECT_TRUE(r.flags & OFN_HIDEREADONLY) << "dialog " << i;
    EXPECT_FALSE(r.flags & (OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT))
        << "dialog " << i;
    EXPECT_FALSE(r.hasTitle || r.hasInitialFolder) << "dialog " << i;
  }
  EXPECT_EQ(std::string(general.m_strInputRom), rom);
  EXPECT_EQ(std::string(general.m_strOutputRom), "C:\\out\\new.rom");
  EXPECT_EQ(std::string(general.m_strLogoFile), "C:\\art\\logo.rle");
  EXPECT_EQ(std::string(general.m_strPaletteFile), "C:\\art\\colours.pal");
  EXPECT_EQ(std::string(module.m_strModuleFile), "C:\\mods\\extra.rle");
  EXPECT_EQ(app->m_dwOptions, tarn::OPT_CHANGE_LOGO);
}

TEST_F(InProcessTest, ACancelledDialogChangesNothing) {
  CROM sheet("Velbrin Quobix ROM Utitlty", nullptr, 0);
  CLogo general;
  general.m_strOutputRom = "C:\\kept.rom";
  sheet.AddPage(&general);
  SheetScript::Run(sheet, {Click(IDC_BROWSE_OUTPUT_ROM), Press(PSBTN_OK)});
  EXPECT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(std::string(general.m_strOutputRom), "C:\\kept.rom");
}

// The page the program does not offer, shown here on a sheet of its own.
class DramTimingTest : public InProcessTest {
 protected:
  struct Seen {
    bool enabled = false;
    int selection = CB_ERR;
    std::vector<std::string> entries;
  };
  Seen ShowAndLook(const std::vector<Step>& more = {}) {
    CPropertySheet sheet("DRAM", nullptr, 0);
    CDRAMSpd page;
    sheet.AddPage(&page);
    Seen seen;
    std::vector<Step> steps{[&seen](CPropertySheet& s) {
      HWND combo = PageControl(s, IDC_DRAM_DIVISOR);
      seen.enabled = IsWindowEnabled(combo);
      seen.selection = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
      const int count = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        char text[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        seen.entries.push_back(text);
      }
    }};
    steps.insert(steps.end(), more.begin(), more.end());
    steps.push_back(Press(PSBTN_CANCEL));
    SheetScript::Run(sheet, steps);
    return seen;
  }
};

TEST_F(DramTimingTest, WithoutAChosenCodeTheListIsDisabledAndNothingIsSelected) {
  const Seen seen = ShowAndLook();
  EXPECT_FALSE(seen.enabled);
  EXPECT_EQ(seen.selection, CB_ERR);
  const std::vector<std::string> names{" Reserved (0000)",
                                       " SDRAM clock div 2 (0001)",
                                       " SDRAM clock div 2.5 (0010)",
                                       " SDRAM clock div 3 (0011)",
                                       " SDRAM clock div 3.5 (0100)",
                                       " SDRAM clock div 4 (0101)",
                                       " SDRAM clock div 4.5 (0110)",
                                       " SDRAM clock div 5 (0111)"};
  EXPECT_EQ(seen.entries, names) << "the entry's index is its code";
  EXPECT_EQ(app->m_dwOptions, 0u);
  EXPECT_EQ(app->m_nDramDivisor, 0xFF);
}

TEST_F(DramTimingTest, AChosenCodeIsShownAndAChangedSelectionBecomesTheCode) {
  app->m_nDramDivisor = 0x0D;  // only the low three bits are a code
  app->m_dwOptions = 0x40;
  const Seen seen = ShowAndLook({[](CPropertySheet& s) {
    HWND combo = PageControl(s, IDC_DRAM_DIVISOR);
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    SendMessageA(PropSheet_GetCurrentPageHwnd(s.m_hWnd), WM_COMMAND,
                 MAKEWPARAM(IDC_DRAM_DIVISOR, CBN_SELCHANGE), LPARAM(combo));
  }});
  EXPECT_TRUE(seen.enabled);
  EXPECT_EQ(seen.selection, 5);
  EXPECT_EQ(app->m_nDramDivisor, 3);
  EXPECT_EQ(app->m_dwOptions, 0x40u | tarn::OPT_DRAM_DIVISOR);
}

TEST(RunTimeClassTest, ClassesAnswerWithTheirNamesAndOnlyThePagesCanBeBuiltByName) {
  CROM sheet("", nullptr, 0);
  CAboutBox about;
  CLogo general;
  CModule module;
  CDRAMSpd dramTiming;
  struct Case {
    const CObject& object;
    const char* name;
    bool buildable;
  };
  // The application and the About box declare none of their own.
  const Case cases[] = {{*GetRomApp(), "CWinApp", false}, {sheet, "CROM", false},
                        {about, "CDialog", false},        {general, "CLogo", true},
                        {module, "CModule", true},        {dramTiming, "CDRAMSpd", true}};
  for (const Case& c : cases) {
    const CRuntimeClass* rc = c.object.GetRuntimeClass();
    EXPECT_STREQ(rc->m_lpszClassName, c.name);
    CObject* built = rc->CreateObject();
    EXPECT_EQ(built != nullptr, c.buildable) << c.name;
    if (built) {
      EXPECT_EQ(built->GetRuntimeClass(), rc) << c.name;
    }
    delete built;
  }
  EXPECT_TRUE(general.IsKindOf(RUNTIME_CLASS(CPropertyPage)));
  EXPECT_TRUE(sheet.IsKindOf(RUNTIME_CLASS(CPropertySheet)));
}

}  // namespace
