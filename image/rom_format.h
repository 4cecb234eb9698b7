// Everything Tarn knows about the record format of a ROM image: the paragraph
// grid, the signatures, the two header formats, the version rule, the block
// size rule, the filler record and the geometry of the rebuilt area. No I/O
// here: only constants and small functions over bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarn {

// Records start on 16-byte paragraphs; nothing between paragraph starts is examined.
inline constexpr uint32_t kParagraph = 16;

// The rebuilt area is [0, kRebuiltAreaEnd); everything from there on is kept as it is.
inline constexpr uint32_t kRebuiltAreaEnd = 0x30000;

// The boot-area patch looks at the paragraph this far below the end of the image.
inline constexpr uint32_t kBootAreaSize = 0x10000;

enum class Signature : uint32_t {
  Ver = 0x52455624,  // "$VER": version record, decides the header format
  Img = 0x474D4924,  // "$IMG": module record
  Emg = 0x474D4524,  // "$EMG": second kind of module record
  Bmp = 0x504D4224,  // "$BMP": logo record
  Pal = 0x4C415024,  // "$PAL": palette record, fixed block size
  Pad = 0x44415024,  // "$PAD": filler record written below the lowest block
  Kvt = 0x54564B24,  // "$KVT": boot record patched with the DRAM divisor
};

inline constexpr size_t kSignatureSize = 4;

// "$IMG" and so on, for messages and listings.
std::string SignatureName(Signature sig);

// The signature at p, if p starts with one of the records the scans look for
// ($VER, $IMG, $EMG, $BMP, $PAL). p must hold at least kSignatureSize bytes.
std::optional<Signature> MatchScannedSignature(const uint8_t* p);
// Called for every paragraph of the image: the common case stays inline.
inline std::optional<Signature> ScannedSignatureAt(const uint8_t* p) {
  if (p[0] != '$') return std::nullopt;
  return MatchScannedSignature(p);
}
bool HasSignature(const uint8_t* p, Signature sig);

inline uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

// --- Header formats -------------------------------------------------------
struct HeaderFormat {
  uint32_t headerSize;
  uint32_t paletteBlockSize;
};
inline constexpr HeaderFormat kOldFormat{0x15, 0x410};
inline constexpr HeaderFormat kNewFormat{0x20, 0x420};
inline constexpr HeaderFormat FormatOf(bool newFormat) { return newFormat ? kNewFormat : kOldFormat; }

// The data length: unaligned little-endian 32 bits at this offset of a record.
inline constexpr uint32_t kDataLengthOffset = 13;
inline constexpr uint32_t kDataLengthEnd = kDataLengthOffset + 4;

// --- Version rule ---------------------------------------------------------
// A $VER record carries three digit characters at these offsets.
inline constexpr uint32_t kVersionHundredsOffset = 4;
inline constexpr uint32_t kVersionTensOffset = 6;
inline constexpr uint32_t kVersionUnitsOffset = 8;
// Images of this version and later use the new header format.
inline constexpr uint32_t kFirstNewFormatVersion = 325;

// The version a $VER record at p states. Digits below '0' wrap around in 8
// bits, so a stray byte gives a large version rather than a small one.
uint32_t VersionOf(const uint8_t* ver);
// The new-format flag for an image whose first $VER record is at ver, or
// which has none (ver == nullptr).
bool IsNewFormat(const uint8_t* ver);

// --- Block-size rule ------------------------------------------------------
// The size of the block cut out of a record, in 32-bit arithmetic as the
// format defines it: a data length close to 2^32 wraps around.
uint32_t BlockSize(Signature sig, uint32_t dataLength, bool newFormat);
// The same size without the wrap-around, for checking that a record lies
// whole inside its buffer.
uint64_t DeclaredRecordSize(Signature sig, uint32_t dataLength, bool newFormat);

// --- Filler record --------------------------------------------------------
inline constexpr uint32_t kFillerSize = 32;
inline constexpr uint32_t kFillerKind = 3;              // at offset 4
inline constexpr uint32_t kFillerTrailer = 0x0A000000;  // at offset 28
// Writes the $PAD record at the start of rebuilt, whose lowest block starts at
// top. The caller guarantees top >= kFillerSize.
void WriteFiller(uint8_t* rebuilt, uint32_t top);

// --- Boot-area patch ------------------------------------------------------
inline constexpr uint32_t kKvtDivisorOffset = 6;
inline constexpr uint32_t kKvtChecksumOffset = 8;
inline constexpr uint32_t kKvtPatchedSize = kKvtChecksumOffset + 1;
// The divisor code before one has been chosen.
inline constexpr uint8_t kNoDivisor = 0xFF;
// Writes divisor into the $KVT record at kvt and makes bytes 0..8 sum to zero.
void PatchKvt(uint8_t* kvt, uint8_t divisor);

// --- Placement ------------------------------------------------------------
// Where a block of size bytes goes below top: the start, aligned down to a
// paragraph, or nullopt when it does not fit above offset 0.
std::optional<int32_t> PlacementBelow(int32_t top, uint32_t size);

}  // namespace tarn
