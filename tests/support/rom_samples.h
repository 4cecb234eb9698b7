// Sample files for driving Tarn.exe, and what the transfer must make of them:
// the expected output comes from running the engine itself on the same files,
// so a GUI test checks that the windows hand the right choices to it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/rom_builder.h"

namespace tarn::gui {

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // A Windows path inside the folder.
  std::string Path(const std::string& name) const { return m_path + "\\" + name; }
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

bool WriteBytes(const std::string& path, const Bytes& bytes);
// Empty when the file cannot be read; check FileExists to tell an empty file apart.
Bytes ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
// Whether another process holds the file open, so that opening it without
// sharing fails.
bool IsHeldOpen(const std::string& path);
// The same for UTF-16 paths, which the test program's code page may not hold.
bool WriteBytes(const std::wstring& path, const Bytes& bytes);
Bytes ReadBytes(const std::wstring& path);

// A new-format image with its own logo, palette, two modules and a kept area
// whose bytes differ everywhere, and replacement files whose blocks differ
// from the image's: every choice the user makes shows in the output.
Bytes SampleImage();
Bytes SampleLogo();
Bytes SamplePalette();
Bytes SampleModule();

// The sample files written into one folder, with their Windows paths.
struct SampleFiles {
  explicit SampleFiles(const TempFolder& folder);
  std::string input, logo, palette, module;
  std::string output;  // not created
};

// What the user chose on the pages, as the transfer receives it.
struct Choice {
  Choice(std::string input, std::string output, std::string logo = "", std::string palette = "",
         std::string module = "", bool changeLogoBit = false)
      : inputRom(std::move(input)),
        outputRom(std::move(output)),
        logoFile(std::move(logo)),
        paletteFile(std::move(palette)),
        moduleFile(std::move(module)),
        changeLogo(changeLogoBit) {}
  std::string inputRom, outputRom, logoFile, paletteFile, moduleFile;
  bool changeLogo;
};

// The bytes the transfer writes for this choice, computed by the engine into
// a scratch file (the choice's output path is not touched); empty when the
// engine does not complete.
Bytes ExpectedOutput(const Choice& choice, const TempFolder& scratch);

}  // namespace tarn::gui
