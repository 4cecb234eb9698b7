// The transfer: read the input image, collect its records and the supplied
// files' records, pack them below the kept area and write the output image.
// Both front ends run exactly this; they differ only in how they talk to the
// user (TransferUi) and who owns the file slots.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/file.h"
#include "classlib/string.h"
#include "image/rom_format.h"

namespace tarn {

// Option bits of the application's option word.
inline constexpr uint32_t OPT_CHANGE_LOGO = 0x01;   // logo and palette come from the two files
inline constexpr uint32_t OPT_DRAM_DIVISOR = 0x08;  // patch the boot record with the divisor code

// The three kinds of message box, with the captions the Windows program shows.
inline constexpr const char* kErrorCaption = "ERROR!";
inline constexpr const char* kQuestionCaption = "QUESTION";
inline constexpr const char* kFinishCaption = "FINISH";

class TransferUi {
 public:
  virtual ~TransferUi() = default;
  virtual void Error(const std::string& text) = 0;
  // True for Yes.
  virtual bool Ask(const std::string& text) = 0;
  virtual void Finish(const std::string& text) = 0;
};

struct TransferPaths {
  CString inputRom, outputRom, logoFile, paletteFile, moduleFile;
};

struct TransferSettings {
  uint32_t options = 0;
  uint8_t dramDivisor = kNoDivisor;
};

// The files of one transfer, each opened in its own slot; the caller owns them,
// and the transfer closes what it opened before it returns.
struct FileSlots {
  CFile& input;
  CFile& output;
  CFile& logo;
  CFile& palette;
  CFile& module;
};

enum class TransferResult {
  Completed,  // the output holds the rebuilt image
  Failed,     // one error was shown; the output path is as it was
  Declined,   // the user kept the existing output
};

TransferResult RunTransfer(const TransferPaths& paths, const TransferSettings& settings, FileSlots files,
                           TransferUi& ui);

}  // namespace tarn
