// The input image as the transfer reads it. The rebuilt area is held in
// memory, where it is later cleared and refilled. The kept area streams past
// once for the paragraph scan; only the records found in it are read again,
// and the rest reaches the output by a file-to-file copy. Peak memory is thus
// the rebuilt area and the blocks, whatever the size of the image.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "classlib/file.h"
#include "classlib/globalmem.h"
#include "image/rom_format.h"

namespace tarn {

struct FoundRecord {
  Signature sig;
  uint64_t offset;
};

class RomImage {
 public:
  RomImage() = default;
  RomImage(const RomImage&) = delete;
  RomImage& operator=(const RomImage&) = delete;
  ~RomImage();

  // Reads the whole image from file, which must be at least kRebuiltAreaEnd
  // bytes long. Throws CFileException on a failed read and std::bad_alloc
  // when the memory for the rebuilt area cannot be had.
  void Load(CFile& file);

  uint64_t Length() const { return m_length; }
  uint8_t* RebuiltArea() { return m_rebuilt; }

  // Every scanned record, in ascending offset order.
  const std::vector<FoundRecord>& Records() const { return m_records; }
  // The first $VER record, if any.
  std::optional<uint64_t> FirstVersion() const;

  // Copies count bytes from offset on, as the image stands now (the rebuilt
  // area as held in memory, the kept area with any patch applied). The range
  // must lie inside the image. Throws CFileException.
  void Read(uint64_t offset, void* out, size_t count);
  // Changes bytes of the image: in memory for the rebuilt area, and as a patch
  // carried into the output for the kept area. Records() follows: a patch
  // that reaches into a paragraph's signature makes or breaks a record there.
  void Patch(uint64_t offset, const uint8_t* bytes, size_t count);

  // Writes the rebuilt area, then the kept area, to out. Throws CFileException.
  void WriteTo(CFile& out);

 private:
  void Scan(const uint8_t* chunk, size_t size, uint64_t offset);
  void Rescan(uint64_t paragraph);
  void ApplyPatch(uint64_t offset, uint8_t* out, size_t count) const;

  CFile* m_file = nullptr;
  uint64_t m_length = 0;
  HGLOBAL m_hRebuilt = nullptr;
  uint8_t* m_rebuilt = nullptr;
  std::vector<FoundRecord> m_records;
  struct KeptPatch {
    uint64_t offset;
    uint8_t value;
  };
  std::vector<KeptPatch> m_patches;
};

}  // namespace tarn
