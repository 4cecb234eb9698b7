// Drives Tarn.exe through the views the README shows, with sample files of our
// own filled in, and holds each view still while tools/screenshots.sh takes
// its picture:
//
//   tarn-gui-pilot TARN_EXE HANDSHAKE_FOLDER
//
// For each view it writes HANDSHAKE_FOLDER\<view>.rect ("left top width
// height" of the window on the screen) and waits for <view>.done.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/rom_samples.h"
#include "tests/support/tarn_session.h"

namespace {

using namespace tarn::gui;

constexpr DWORD kPictureWaitMs = 60000;
const char* const kSampleFolder = "C:\\ROMs";

bool HoldStill(const std::string& handshake, const char* view, HWND window) {
  Sync(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);
  const RECT r = ScreenRect(window);
  const std::string rect = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n";
  const std::string base = handshake + "\\" + view;
  if (!WriteBytes(base + ".rect", tarn::Bytes(rect.begin(), rect.end()))) return false;
  for (DWORD waited = 0; waited < kPictureWaitMs; waited += 50) {
    if (FileExists(base + ".done")) return true;
    Sleep(50);
  }
  return false;
}

int Fail(const char* what) {
  std::fprintf(stderr, "tarn-gui-pilot: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: tarn-gui-pilot TARN_EXE HANDSHAKE_FOLDER");
  const std::string handshake = argv[2];

  CreateDirectoryA(kSampleFolder, nullptr);
  const std::string folder = kSampleFolder;
  WriteBytes(folder + "\\board.rom", tarn::gui::SampleImage());
  WriteBytes(folder + "\\splash.rle", tarn::gui::SampleLogo());
  WriteBytes(folder + "\\splash.pal", tarn::gui::SamplePalette());
  WriteBytes(folder + "\\extra.rle", tarn::gui::SampleModule());

  TarnSession tarn(argv[1]);
  if (!tarn.ready()) return Fail("Tarn.exe shows no sheet");
  tarn.Type(ids::kInputRom, folder + "\\board.rom");
  tarn.Type(ids::kOutputRom, folder + "\\board-new.rom");
  tarn.ClickAndWait(ids::kChangeLogo);
  tarn.Type(ids::kLogoFile, folder + "\\splash.rle");
  tarn.Type(ids::kPaletteFile, folder + "\\splash.pal");
  if (!HoldStill(handshake, "general", tarn.sheet())) return Fail("no picture of the General page");

  if (!tarn.SelectPage(Page::InsertModule)) return Fail("no Insert Module page");
  tarn.ClickAndWait(ids::kAddModule);
  tarn.Type(ids::kModuleFile, folder + "\\extra.rle");
  if (!HoldStill(handshake, "module", tarn.sheet())) return Fail("no picture of the Insert Module page");

  HWND about = tarn.PressHelp();
  if (!about) return Fail("no About box");
  if (!HoldStill(handshake, "about", about)) return Fail("no picture of the About box");

  tarn.CloseAbout(about);
  tarn.PressCancel();
  return tarn.WaitForExit() ? 0 : Fail("Tarn.exe does not end");
}
