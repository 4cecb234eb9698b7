#include "image/collect.h"

namespace tarn {

std::vector<FoundRecord> CollectedRecords(const std::vector<FoundRecord>& found, bool ownLogo) {
  std::vector<FoundRecord> order;
  auto take = [&](auto wanted) {
    for (const FoundRecord& r : found)
      if (wanted(r.sig)) order.push_back(r);
  };
  take([](Signature s) { return s == Signature::Img; });
  take([](Signature s) { return s == Signature::Emg; });
  if (ownLogo) take([](Signature s) { return s == Signature::Bmp || s == Signature::Pal; });
  return order;
}

}  // namespace tarn
