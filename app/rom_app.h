// The application object: the state the pages write and the transfer reads,
// and the start-up routine that is the program's whole life.
#pragma once

#include <cstdint>

#include "classlib/file.h"
#include "classlib/string.h"
#include "classlib/win/winapp.h"
#include "image/rom_format.h"

class CRomApp : public CWinApp {
 public:
  CRomApp() = default;
  ~CRomApp() override = default;

  // Shows the sheet once, runs the transfer after OK, and returns false so
  // that the process ends.
  BOOL InitInstance() override;
  // One transfer with the pages' paths, talking to the user in message boxes
  // that have no owner window.
  void RunTransfer(const CString& inputRom, const CString& outputRom, const CString& logoFile,
                   const CString& paletteFile, const CString& moduleFile);

  // The transfer's file slots: each holds a file only while a transfer uses
  // it, and closes what is left open when the object goes at process exit.
  CFile m_fileInput;
  CFile m_fileOutput;
  CFile m_fileLogo;
  CFile m_filePalette;
  CFile m_fileModule;
  uint8_t m_nDramDivisor = tarn::kNoDivisor;  // or a code 0 to 7
  uint32_t m_dwOptions = 0;                   // tarn::OPT_* bits

  DECLARE_MESSAGE_MAP()
};

// The application object, as the class library knows it.
CRomApp* GetRomApp();
