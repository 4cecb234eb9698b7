#include "tests/support/rom_samples.h"

#include <windows.h>

#include "classlib/file.h"
#include "image/rom_format.h"
#include "image/transfer.h"

namespace tarn::gui {
namespace {

constexpr size_t kSampleImageLength = 2 * kRebuiltAreaEnd;

// Answers the engine the way the test answers Tarn.exe: Yes to its question.
class AgreeingUi : public TransferUi {
 public:
  void Error(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
  void Finish(const std::string&) override {}
};

}  // namespace

TempFolder::TempFolder() {
  // Wine hands out the same process ids run after run, so a folder left
  // behind by a killed run may have this name: take the next free one.
  static int s_count = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  do {
    m_path = std::string(temp) + "tarn-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_count);
  } while (!CreateDirectoryA(m_path.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() {
  // Wide names: some tests make files whose names the 8-bit code page lacks.
  const std::wstring folder(m_path.begin(), m_path.end());
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

namespace {

bool WriteHandle(HANDLE file, const Bytes& bytes) {
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

Bytes ReadHandle(HANDLE file) {
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr)) read = 0;
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

}  // namespace

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  return WriteHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
      bytes);
}
bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
  return WriteHandle(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
      bytes);
}
Bytes ReadBytes(const std::string& path) {
  return ReadHandle(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}
Bytes ReadBytes(const std::wstring& path) {
  return ReadHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsHeldOpen(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

Bytes SampleImage() {
  RomBuilder rom(kSampleImageLength);
  rom.Version(0x100, '3', '2', '6')
      .Record(0x1000, Signature::Img, 0x800)
      .Record(0x8000, Signature::Emg, 0x400)
      .Record(0x10000, Signature::Bmp, 0x1000)
      .Record(0x20010, Signature::Pal, 0x400);
  for (size_t i = kRebuiltAreaEnd; i < kSampleImageLength; ++i) rom.bytes()[i] = uint8_t(i ^ (i >> 8));
  return rom.bytes();
}

// The replacement files start their records at offset 0 and are filled with
// another pattern than the image's records, so replaced blocks show.
Bytes SampleLogo() { return RomBuilder(0x1900).Record(0, Signature::Bmp, 0x1800).Byte(0x40, 0xB1).bytes(); }
Bytes SamplePalette() { return RomBuilder(0x500).Record(0, Signature::Pal, 0x400).Byte(0x40, 0xC2).bytes(); }
Bytes SampleModule() { return RomBuilder(0x700).Record(0, Signature::Img, 0x600).Byte(0x40, 0xD3).bytes(); }

SampleFiles::SampleFiles(const TempFolder& folder)
    : input(folder.Path("board.rom")),
      logo(folder.Path("splash.rle")),
      palette(folder.Path("splash.pal")),
      module(folder.Path("extra.rle")),
      output(folder.Path("rebuilt.rom")) {
  WriteBytes(input, SampleImage());
  WriteBytes(logo, SampleLogo());
  WriteBytes(palette, SamplePalette());
  WriteBytes(module, SampleModule());
}

Bytes ExpectedOutput(const Choice& choice, const TempFolder& scratch) {
  const std::string output = scratch.Path("expected.rom");
  DeleteFileA(output.c_str());
  const TransferPaths paths{choice.inputRom, output, choice.logoFile, choice.paletteFile, choice.moduleFile};
  TransferSettings settings;
  settings.options = choice.changeLogo ? OPT_CHANGE_LOGO : 0;
  CFile input, out, logo, palette, module;
  AgreeingUi ui;
  const TransferResult result =
      RunTransfer(paths, settings, FileSlots{input, out, logo, palette, module}, ui);
  Bytes bytes = result == TransferResult::Completed ? ReadBytes(output) : Bytes{};
  DeleteFileA(output.c_str());
  return bytes;
}

}  // namespace tarn::gui
