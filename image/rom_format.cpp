#include "image/rom_format.h"

#include <cstring>

namespace tarn {
namespace {

// The records the paragraph scans report; $PAD and $KVT are never scanned for.
constexpr Signature kScanned[] = {Signature::Ver, Signature::Img, Signature::Emg, Signature::Bmp,
                                  Signature::Pal};

}  // namespace

std::string SignatureName(Signature sig) {
  uint8_t bytes[kSignatureSize];
  WriteLe32(bytes, uint32_t(sig));
  return std::string(reinterpret_cast<const char*>(bytes), kSignatureSize);
}

bool HasSignature(const uint8_t* p, Signature sig) { return ReadLe32(p) == uint32_t(sig); }

std::optional<Signature> MatchScannedSignature(const uint8_t* p) {
  const uint32_t value = ReadLe32(p);
  for (Signature sig : kScanned)
    if (value == uint32_t(sig)) return sig;
  return std::nullopt;
}

uint32_t VersionOf(const uint8_t* ver) {
  const uint8_t a = uint8_t(ver[kVersionHundredsOffset] - '0');
  const uint8_t b = uint8_t(ver[kVersionTensOffset] - '0');
  const uint8_t c = uint8_t(ver[kVersionUnitsOffset] - '0');
  return 100u * a + 10u * b + c;
}

bool IsNewFormat(const uint8_t* ver) { return ver == nullptr || VersionOf(ver) >= kFirstNewFormatVersion; }

uint32_t BlockSize(Signature sig, uint32_t dataLength, bool newFormat) {
  const HeaderFormat format = FormatOf(newFormat);
  if (sig == Signature::Pal) return format.paletteBlockSize;
  return dataLength + format.headerSize;
}

uint64_t DeclaredRecordSize(Signature sig, uint32_t dataLength, bool newFormat) {
  const HeaderFormat format = FormatOf(newFormat);
  if (sig == Signature::Pal) return format.paletteBlockSize;
  return uint64_t(dataLength) + format.headerSize;
}

void WriteFiller(uint8_t* rebuilt, uint32_t top) {
  const uint32_t span = (top - kFillerSize) << 8;
  WriteLe32(rebuilt + 0, uint32_t(Signature::Pad));
  WriteLe32(rebuilt + 4, kFillerKind);
  WriteLe32(rebuilt + 8, span);
  WriteLe32(rebuilt + 12, span);
  WriteLe32(rebuilt + 28, kFillerTrailer);
}

void PatchKvt(uint8_t* kvt, uint8_t divisor) {
  kvt[kKvtDivisorOffset] = divisor;
  uint8_t sum = 0;
  for (uint32_t i = 0; i < kKvtChecksumOffset; ++i) sum = uint8_t(sum + kvt[i]);
  kvt[kKvtChecksumOffset] = uint8_t(-sum);
}

std::optional<int32_t> PlacementBelow(int32_t top, uint32_t size) {
  const int64_t start = int64_t(top) - int64_t(size);
  if (start < 0) return std::nullopt;
  return int32_t(start & ~int64_t(kParagraph - 1));
}

}  // namespace tarn
