#include "image/messages.h"

#include <cstdio>

namespace tarn::msg {
namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

std::string OpenError(const std::string& path) {
  std::string text = kOpenError;
  return text.replace(text.find("%s"), 2, path);
}

std::string ImageTooShort(const std::string& path, uint64_t length) {
  return path + " is " + Hex(length) + " bytes long; a ROM image must hold at least " + Hex(kRebuiltAreaEnd) +
         " bytes." + kAbortLine;
}

std::string RecordOverrun(Signature sig, uint64_t offset, const std::string& path, uint64_t needed,
                          uint64_t remaining, bool declared) {
  return SignatureName(sig) + " record at " + Hex(offset) + " in " + path +
         (declared ? " declares " : " needs ") + Hex(needed) + " bytes; only " + Hex(remaining) + " remain." +
         kAbortLine;
}

std::string OutOfMemory(const std::string& what, uint64_t bytes) {
  return "Not enough memory for " + what + " (" + Hex(bytes) + " bytes)." + kAbortLine;
}

std::string FileFailure(const std::string& what) { return what + "." + kAbortLine; }

}  // namespace tarn::msg
