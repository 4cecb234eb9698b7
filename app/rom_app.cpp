#include "app/rom_app.h"

#include <exception>

#include "app/message_box_ui.h"
#include "app/rom_sheet.h"
#include "image/transfer.h"
#include "pages/dram_timing_page.h"
#include "pages/general_page.h"
#include "pages/module_page.h"

// The one application object. Nothing names it: the class library's
// current-application pointer is the way to it.
static CRomApp s_theApp;

CRomApp* GetRomApp() { return static_cast<CRomApp*>(AfxGetApp()); }

// Handling ID_HELP here is what makes help available: the sheet and the
// pages then show and enable their Help buttons, and every request ends in
// the sheet's WinHelp.
BEGIN_MESSAGE_MAP(CRomApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CRomApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  CROM sheet("Velbrin Quobix ROM Utitlty", nullptr, 0);
  CLogo general;
  {
    // The DRAM Timing page is built but not offered: the divisor patch it
    // would switch on is for those who know their board, and they have
    // tarn-cli --dram-divisor.
    CDRAMSpd dramTiming;
  }
  CModule module;
  sheet.AddPage(&general);
  sheet.AddPage(&module);
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;

  if (sheet.DoModal() == IDOK)
    RunTransfer(general.m_strInputRom, general.m_strOutputRom, general.m_strLogoFile,
                general.m_strPaletteFile, module.m_strModuleFile);
  return FALSE;
}

void CRomApp::RunTransfer(const CString& inputRom, const CString& outputRom, const CString& logoFile,
                          const CString& paletteFile, const CString& moduleFile) {
  MessageBoxUi ui;
  try {
    tarn::RunTransfer({inputRom, outputRom, logoFile, paletteFile, moduleFile}, {m_dwOptions, m_nDramDivisor},
                      {m_fileInput, m_fileOutput, m_fileLogo, m_filePalette, m_fileModule}, ui);
  } catch (const std::exception& e) {
    // The transfer reports its own failures; this is for the unforeseen,
    // which must not end the program without a word.
    ui.Error(e.what());
  }
}
