// One fuzz input, decoded: the image, the supplied files and the choices of a
// transfer. Images are at least 192 KiB, far more than a fuzzer mutates well,
// so an input describes each file sparsely (a length, a fill byte and a few
// records or raw bytes) and the target expands it. The same encoding writes
// the seed corpus, so seeds and mutations speak one language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/rom_builder.h"

namespace tarn::fuzz {

// What stands at a supplied file's path.
enum class FileKind : uint8_t { Regular, Missing, Directory, Fifo, SameAsPrevious, kCount };
// What stands at the output path before the run.
enum class OutputKind : uint8_t {
  Absent,
  Existing,
  SameAsInput,
  SymlinkToInput,
  HardLinkToInput,
  Directory,
  Fifo,
  kCount
};

enum class OpKind : uint8_t { Record, Version, Raw, BootRecord, kCount };

// Signatures a Record op can write, by index.
inline constexpr Signature kOpSignatures[] = {Signature::Img, Signature::Emg, Signature::Bmp, Signature::Pal,
                                              Signature::Ver, Signature::Kvt, Signature::Pad};
inline constexpr size_t kOpSignatureCount = sizeof kOpSignatures / sizeof kOpSignatures[0];

struct Op {
  OpKind kind = OpKind::Raw;
  uint8_t signature = 0;  // Record: index into kOpSignatures
  uint32_t position = 0;  // Record, Version: paragraph number; Raw: byte offset (both wrap at the length)
  uint32_t dataLength = 0;
  uint32_t fill = 0;  // Record: bytes from the signature on that get the builder's pattern, capped
  Bytes bytes;        // Version: 3 digits; Raw: the bytes; BootRecord: bytes 4 to 8
};

struct FileDescription {
  uint32_t length = 0;
  uint8_t fill = 0;
  std::vector<Op> ops;
};

// Input lengths: a short image stays below the rebuilt area, any other fits
// the rebuilt area and up to this much kept area; supplied files stay below
// the cap, which is larger than the rebuilt area on purpose.
inline constexpr uint32_t kMaxKeptArea = 0x28000;
inline constexpr uint32_t kMaxSuppliedFile = 0x40000;
// A pattern this long tells every block apart; longer ones only cost time.
inline constexpr uint32_t kMaxRecordFill = 0x800;

// Option bits of the input's first byte.
namespace bit {
inline constexpr uint8_t kChangeLogo = 0x01;
inline constexpr uint8_t kDramDivisor = 0x02;
inline constexpr uint8_t kGiveLogo = 0x04;
inline constexpr uint8_t kGivePalette = 0x08;
inline constexpr uint8_t kGiveModule = 0x10;
inline constexpr uint8_t kAnswerYes = 0x20;
inline constexpr uint8_t kShortImage = 0x40;
}  // namespace bit

struct FuzzCase {
  uint8_t flags = 0;
  uint8_t divisor = 0;
  FileKind logoKind = FileKind::Regular, paletteKind = FileKind::Regular, moduleKind = FileKind::Regular;
  OutputKind outputKind = OutputKind::Absent;
  FileDescription image, logo, palette, module;

  bool Has(uint8_t b) const { return (flags & b) != 0; }
};

// Never fails: a short input reads as zeros from where it ends.
FuzzCase Decode(const uint8_t* data, size_t size);
// The bytes that Decode turns back into c (lengths as Decode wraps them).
Bytes Encode(const FuzzCase& c);
// The file a description stands for, of exactly its length.
Bytes Expand(const FileDescription& d);

}  // namespace tarn::fuzz
