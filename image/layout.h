// A read-only description of an image: its records, its header format and
// why, and where a rebuild with the image's own records would put them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/rom_image.h"

namespace tarn {

struct RecordReport {
  Signature sig;
  uint64_t offset;
  bool collected;      // false for $VER, which is never copied
  uint64_t blockSize;  // the bytes the block needs, without wrap-around
  bool fits;           // the block lies whole inside the image
};

struct PlacedBlock {
  Signature sig;
  uint64_t source;  // offset in the input image
  uint32_t size;
  uint32_t start;  // offset in the rebuilt area
};

struct ImageLayout {
  uint64_t length = 0;
  bool newFormat = true;
  std::optional<uint64_t> versionOffset;  // the $VER record that decided, if any
  uint32_t version = 0;
  std::string versionDigits;          // its three digit characters
  std::vector<RecordReport> records;  // ascending offset
  std::vector<PlacedBlock> blocks;    // ascending start (collection order)
  bool fits = false;                  // a rebuild with the image's own records succeeds
  std::string problem;                // why not, in the transfer's words
  uint32_t top = 0;                   // start of the lowest block (T of the filler)
  uint32_t freeBytes = 0;             // unused bytes below the lowest block
};

// image must be loaded. name is the path used in problems.
ImageLayout DescribeImage(RomImage& image, const std::string& name);

}  // namespace tarn
