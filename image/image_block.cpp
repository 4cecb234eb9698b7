#include "image/image_block.h"

#include <cstring>

#include "image/rom_format.h"

namespace tarn {

CImageBlock::~CImageBlock() {
  if (m_hMem) GlobalFree(m_hMem);
}

bool CImageBlock::Allocate(uint32_t size) {
  m_nSize = size;
  // A block larger than the whole rebuilt area can never be placed, so its
  // bytes are not needed: a hostile length must not make us ask for gigabytes.
  if (size == 0 || size > kRebuiltAreaEnd) return true;
  m_hMem = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
  if (!m_hMem) return false;
  m_pData = static_cast<uint8_t*>(GlobalLock(m_hMem));
  return true;
}

bool CImageBlock::Load(const uint8_t* record, uint8_t newFormat) {
  const auto sig = Signature(ReadLe32(record));
  const uint32_t size = BlockSize(sig, ReadLe32(record + kDataLengthOffset), newFormat != 0);
  return Load(size, [&](uint8_t* data) { std::memcpy(data, record, size); });
}

int32_t CImageBlock::PlaceBelow(uint8_t* image, int32_t& top) {
  if (m_nSize == 0) return 0;
  const std::optional<int32_t> start = PlacementBelow(top, m_nSize);
  if (!start) return -1;
  top = *start;
  std::memcpy(image + top, m_pData, m_nSize);
  return int32_t(m_nSize);
}

bool PackBlocks(uint8_t* image, CBlockList& blocks, int32_t& top) {
  std::memset(image, 0, kRebuiltAreaEnd);
  top = int32_t(kRebuiltAreaEnd);
  while (!blocks.IsEmpty()) {
    auto* block = static_cast<CImageBlock*>(blocks.GetHead());
    if (block->PlaceBelow(image, top) < 0) return false;
    delete static_cast<CImageBlock*>(blocks.RemoveHead());
  }
  return true;
}

void DestroyBlocks(CBlockList& blocks) {
  while (!blocks.IsEmpty()) delete static_cast<CImageBlock*>(blocks.RemoveHead());
}

}  // namespace tarn
