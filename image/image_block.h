// One record copied out of an image or a supplied file into memory of its own,
// and the packing pass that places the collected blocks below the kept area.
#pragma once

#include <cstdint>

#include "classlib/globalmem.h"
#include "classlib/object.h"
#include "classlib/oblist.h"

namespace tarn {

class CImageBlock : public CObject {
 public:
  CImageBlock() = default;
  ~CImageBlock() override;

  // Sizes the block by the block-size rule from the record header at record
  // and copies that many bytes from there. The caller has made sure that they
  // are all there. False when the memory cannot be had.
  bool Load(const uint8_t* record, uint8_t newFormat);
  // The same for a block whose size is already known; fill copies the bytes in.
  template <typename Fill>
  bool Load(uint32_t size, Fill&& fill) {
    if (!Allocate(size)) return false;
    if (m_pData) fill(m_pData);
    return true;
  }

  // Copies the block to the highest paragraph at or below top - size and moves
  // top there. Returns the size, 0 for an empty block (nothing placed), -1 when
  // the block does not fit above offset 0 (nothing changed).
  int32_t PlaceBelow(uint8_t* image, int32_t& top);

  uint32_t Size() const { return m_nSize; }
  const uint8_t* Data() const { return m_pData; }

 private:
  bool Allocate(uint32_t size);

  HGLOBAL m_hMem = nullptr;
  uint8_t* m_pData = nullptr;
  uint32_t m_nSize = 0;
};

// Blocks are added with AddHead and placed from the head, so the block
// collected last ends up highest. Nodes are reserved ten at a time.
inline constexpr size_t kBlockListGranularity = 10;
using CBlockList = CObList;

// Clears the rebuilt area of image and places every block of the list, from
// the head, each directly below the one before. Each placed block is removed
// from the list and destroyed. Returns false at the first block that does not
// fit; it and the blocks after it stay in the list. top is the start of the
// lowest placed block, or the end of the rebuilt area when none was placed.
bool PackBlocks(uint8_t* image, CBlockList& blocks, int32_t& top);

// Destroys every block still in the list.
void DestroyBlocks(CBlockList& blocks);

}  // namespace tarn
