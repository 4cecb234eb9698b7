// A synthetic ROM image with a logo, a palette and a module file of its own,
// so that Tarn can be run, shown and measured without any image from outside.
// Everything is derived from a fixed seed: the same options give the same
// bytes on every run and every platform (no std:: distributions, whose output
// differs between standard libraries).
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "image/rom_format.h"
#include "tools/rom_builder.h"

namespace tarn::sample {

inline constexpr size_t kDefaultImageSize = 512 * 1024;
// The kept area holds 64 KB of code with a record in it, then the last 64 KB
// with the boot record.
inline constexpr size_t kMinImageSize = kRebuiltAreaEnd + 2 * kBootAreaSize;
// The generator holds the whole image in memory; more than this is a typing error.
inline constexpr size_t kMaxImageSize = size_t(1) << 30;

// A rebuild of the sample, with or without the supplied files, leaves at least
// this much of the rebuilt area free: room for a module of the user's own.
inline constexpr uint32_t kSpareSpace = kRebuiltAreaEnd / 4;

struct Version {
  char hundreds, tens, units;
};
inline constexpr Version kNewFormatVersion{'3', '2', '6'};
inline constexpr Version kOldFormatVersion{'3', '2', '4'};

struct PlacedRecord {
  Signature sig;
  uint32_t offset;
};

struct Sample {
  bool newFormat = true;
  Version version{};
  Bytes image;
  // Every record a paragraph scan of the image finds, in ascending order.
  std::vector<PlacedRecord> records;
  uint32_t kvtOffset = 0;
  Bytes logo, palette, module;
  uint32_t logoWidth = 0, logoHeight = 0;
};

// splitmix64: tiny, fast and fully specified, so the bytes never depend on
// the standard library.
class SampleRandom {
 public:
  explicit SampleRandom(uint64_t seed) : m_state(seed) {}
  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t bound) { return uint32_t(Next() % bound); }

 private:
  uint64_t m_state;
};

namespace detail {

inline constexpr uint64_t kSeed = 0x7A72E5A3D1C0FFEEull;
inline constexpr uint8_t kSignatureLead = '$';

// Stands for code and tables: no zero bytes, and no paragraph starts with the
// lead byte of a signature, so the only records an image holds are the ones
// placed on purpose.
inline void FillWithCode(Bytes& bytes, SampleRandom& random) {
  size_t i = 0;
  while (i < bytes.size()) {
    uint64_t word = random.Next();
    for (int k = 0; k < 8 && i < bytes.size(); ++k, ++i, word >>= 8) {
      uint8_t b = uint8_t(word);
      if (b == 0) b = 0xFF;
      if (b == kSignatureLead && i % kParagraph == 0) b = uint8_t(b + 1);
      bytes[i] = b;
    }
  }
}

inline uint32_t AlignUp(uint32_t offset) { return (offset + kParagraph - 1) & ~(kParagraph - 1); }

// A 16-colour picture of rings, as rows of (run, colour) pairs after its width
// and height (16 bits each). Runs are capped below the signature lead byte, so
// the data can never start a record wherever it lands.
inline Bytes RingPictureRle(uint32_t width, uint32_t height) {
  constexpr uint32_t kColours = 16;
  constexpr uint32_t kMaxRun = 32;
  constexpr uint32_t kRingArea = 300;  // wide rings give the long runs a logo has
  static_assert(kMaxRun < kSignatureLead && kColours < kSignatureLead);
  Bytes data{uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8)};
  const int cx = int(width / 2), cy = int(height / 2);
  for (uint32_t y = 0; y < height; ++y) {
    uint32_t x = 0;
    while (x < width) {
      auto colour = [&](uint32_t px) {
        const int dx = int(px) - cx, dy = 2 * (int(y) - cy);
        return uint8_t(uint32_t(dx * dx + dy * dy) / kRingArea % kColours);
      };
      const uint8_t c = colour(x);
      uint32_t run = 1;
      while (x + run < width && run < kMaxRun && colour(x + run) == c) ++run;
      data.push_back(uint8_t(run));
      data.push_back(c);
      x += run;
    }
  }
  return data;
}

// A record whose data is the given bytes, as a file of exactly its block.
inline Bytes RecordFile(Signature sig, const Bytes& data, bool newFormat) {
  const uint32_t headerSize = FormatOf(newFormat).headerSize;
  RomBuilder file(headerSize + data.size());
  file.Record(0, sig, uint32_t(data.size()), headerSize);
  std::copy(data.begin(), data.end(), file.bytes().begin() + headerSize);
  return file.bytes();
}

// 256 entries of blue, green, red and a zero byte; the palette block of the old
// format is shorter than the 1024 bytes, and simply ends early.
inline Bytes PaletteFile(bool newFormat) {
  const HeaderFormat format = FormatOf(newFormat);
  Bytes data(format.paletteBlockSize - format.headerSize);
  for (size_t i = 0; i < data.size(); ++i) {
    const uint32_t entry = uint32_t(i / 4);
    const uint8_t channels[4] = {uint8_t(255 - entry), uint8_t(entry * 3), uint8_t(entry), 0};
    data[i] = channels[i % 4];
  }
  return RecordFile(Signature::Pal, data, newFormat);
}

// The data lengths of the records in the rebuilt area, in the order they stand
// there: $EMG records between the $IMG ones, so that the collection order is
// seen at work, and lengths that are not whole paragraphs.
struct RecordPlan {
  Signature sig;
  uint32_t dataLength;
};
inline constexpr RecordPlan kRebuiltAreaRecords[] = {
    {Signature::Img, 0x5A00}, {Signature::Img, 0x3C4C}, {Signature::Emg, 0x2A10}, {Signature::Img, 0x1E7C},
    {Signature::Emg, 0x0F88}, {Signature::Bmp, 0x1F00}, {Signature::Pal, 0},
};
inline constexpr uint32_t kVersionOffset = 0x40;
inline constexpr uint32_t kKeptImgDistance = 0x1000;  // from the start of the kept area
inline constexpr uint32_t kKeptImgDataLength = 0x1800;
static_assert(kKeptImgDistance + kKeptImgDataLength + kNewFormat.headerSize <= kBootAreaSize);
inline constexpr uint32_t kModuleDataLength = 0x2340;
inline constexpr uint32_t kLogoWidth = 96, kLogoHeight = 48;
inline constexpr uint8_t kShippedDramDivisor = 2;

}  // namespace detail

// imageSize must be a multiple of kParagraph from kMinImageSize to kMaxImageSize.
inline Sample MakeSample(size_t imageSize, bool newFormat) {
  using namespace detail;
  SampleRandom random(kSeed);
  Sample s;
  s.newFormat = newFormat;
  s.version = newFormat ? kNewFormatVersion : kOldFormatVersion;
  const HeaderFormat format = FormatOf(newFormat);

  RomBuilder image(imageSize);
  FillWithCode(image.bytes(), random);

  image.Version(kVersionOffset, s.version.hundreds, s.version.tens, s.version.units)
      .Byte(kVersionOffset + kVersionHundredsOffset + 1, '.')
      .Byte(kVersionOffset + kVersionTensOffset + 1, '.');
  s.records.push_back({Signature::Ver, kVersionOffset});

  // A few paragraphs of code between records, as in a shipped image.
  uint32_t offset = kVersionOffset + format.headerSize;
  for (const RecordPlan& plan : kRebuiltAreaRecords) {
    offset = AlignUp(offset) + kParagraph * random.Below(4);
    const uint32_t length =
        plan.sig == Signature::Pal ? format.paletteBlockSize - format.headerSize : plan.dataLength;
    image.Record(offset, plan.sig, length, BlockSize(plan.sig, length, newFormat));
    s.records.push_back({plan.sig, offset});
    offset += BlockSize(plan.sig, length, newFormat);
  }

  const uint32_t keptImg = kRebuiltAreaEnd + kKeptImgDistance;
  image.Record(keptImg, Signature::Img, kKeptImgDataLength,
               BlockSize(Signature::Img, kKeptImgDataLength, newFormat));
  s.records.push_back({Signature::Img, keptImg});

  // The boot record keeps the code bytes around its divisor, with a valid checksum.
  s.kvtOffset = uint32_t(imageSize - kBootAreaSize);
  WriteLe32(&image.bytes()[s.kvtOffset], uint32_t(Signature::Kvt));
  PatchKvt(&image.bytes()[s.kvtOffset], kShippedDramDivisor);
  s.image = std::move(image.bytes());

  s.logoWidth = kLogoWidth;
  s.logoHeight = kLogoHeight;
  s.logo = RecordFile(Signature::Bmp, RingPictureRle(kLogoWidth, kLogoHeight), newFormat);
  s.palette = PaletteFile(newFormat);
  RomBuilder module(format.headerSize + kModuleDataLength);
  module.Record(0, Signature::Img, kModuleDataLength);
  s.module = module.bytes();
  return s;
}

}  // namespace tarn::sample
