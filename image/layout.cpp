#include "image/layout.h"

#include <algorithm>

#include "image/collect.h"
#include "image/messages.h"

namespace tarn {

ImageLayout DescribeImage(RomImage& image, const std::string& name) {
  ImageLayout out;
  out.length = image.Length();
  if (const auto ver = image.FirstVersion()) {
    uint8_t digits[kVersionUnitsOffset + 1];
    image.Read(*ver, digits, sizeof digits);
    out.versionOffset = ver;
    out.version = VersionOf(digits);
    out.versionDigits = {char(digits[kVersionHundredsOffset]), char(digits[kVersionTensOffset]),
                         char(digits[kVersionUnitsOffset])};
    out.newFormat = IsNewFormat(digits);
  }

  auto measure = [&](const FoundRecord& r) {
    return MeasureRecord(r.sig, out.length - r.offset, out.newFormat, [&] {
      uint8_t field[4];
      image.Read(r.offset + kDataLengthOffset, field, sizeof field);
      return ReadLe32(field);
    });
  };
  for (const FoundRecord& r : image.Records()) {
    const bool collected = r.sig != Signature::Ver;
    const RecordExtent extent = collected ? measure(r) : RecordExtent{0, false};
    out.records.push_back(
        {r.sig, r.offset, collected, extent.needed, extent.needed <= out.length - r.offset});
  }

  // The transfer checks the records in collection order, then places them
  // from the last one down; so does this view.
  const std::vector<FoundRecord> order = CollectedRecords(image.Records(), true);
  out.fits = true;
  for (const FoundRecord& r : order) {
    const RecordExtent extent = measure(r);
    if (extent.needed > out.length - r.offset) {
      out.fits = false;
      out.problem =
          msg::RecordOverrun(r.sig, r.offset, name, extent.needed, out.length - r.offset, extent.declared);
      return out;
    }
  }
  int32_t top = int32_t(kRebuiltAreaEnd);
  for (auto r = order.rbegin(); r != order.rend(); ++r) {
    const auto size = uint32_t(std::min<uint64_t>(measure(*r).needed, UINT32_MAX));
    if (size == 0) continue;
    const std::optional<int32_t> start = PlacementBelow(top, size);
    if (!start) {
      out.fits = false;
      out.problem = msg::kTooLarge;
      break;
    }
    top = *start;
    out.blocks.push_back({r->sig, r->offset, size, uint32_t(top)});
  }
  if (out.fits && out.newFormat && uint32_t(top) < kFillerSize) {
    out.fits = false;
    out.problem = msg::kTooLarge;
  }
  std::reverse(out.blocks.begin(), out.blocks.end());
  out.top = uint32_t(top);
  out.freeBytes = out.fits ? out.top - (out.newFormat ? kFillerSize : 0) : 0;
  return out;
}

}  // namespace tarn
