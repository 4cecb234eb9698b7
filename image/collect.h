// Which records a rebuild collects, and in what order. The transfer and the
// read-only layout view both follow this, so they cannot disagree.
#pragma once

#include <vector>

#include "image/rom_image.h"

namespace tarn {

// The image's own records in collection order: every $IMG, then every $EMG,
// then, unless the logo and palette come from files, every $BMP and $PAL as
// they stand. Blocks end up in the rebuilt area in this order, lowest first.
std::vector<FoundRecord> CollectedRecords(const std::vector<FoundRecord>& found, bool ownLogo);

}  // namespace tarn

namespace tarn {

// How many bytes the block of a record needs, counted without wrap-around,
// and whether that number comes from the record's data length field.
struct RecordExtent {
  uint64_t needed;
  bool declared;
};

// remaining: the bytes from the record's start to the end of its source.
// readLength is called only when the whole data length field is there.
template <typename ReadLength>
RecordExtent MeasureRecord(Signature sig, uint64_t remaining, bool newFormat, ReadLength&& readLength) {
  const HeaderFormat format = FormatOf(newFormat);
  if (sig == Signature::Pal) return {format.paletteBlockSize, false};
  if (remaining < kDataLengthEnd) return {format.headerSize, false};
  return {DeclaredRecordSize(sig, readLength(), newFormat), true};
}

}  // namespace tarn
