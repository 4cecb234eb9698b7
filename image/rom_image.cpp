#include "image/rom_image.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tarn {
namespace {

// Large enough that reading costs what copying costs, small enough to stay in cache.
constexpr size_t kScanChunk = 1 << 20;
static_assert(kScanChunk % kParagraph == 0, "chunks must not split paragraphs");

}  // namespace

RomImage::~RomImage() {
  if (m_hRebuilt) GlobalFree(m_hRebuilt);
}

void RomImage::Load(CFile& file) {
  m_file = &file;
  m_length = file.GetLength();
  m_hRebuilt = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kRebuiltAreaEnd);
  if (!m_hRebuilt) throw std::bad_alloc();
  m_rebuilt = static_cast<uint8_t*>(GlobalLock(m_hRebuilt));

  file.Seek(0);
  file.ReadExactly(m_rebuilt, kRebuiltAreaEnd);
  Scan(m_rebuilt, kRebuiltAreaEnd, 0);

  std::vector<uint8_t> chunk(size_t(std::min<uint64_t>(kScanChunk, m_length - kRebuiltAreaEnd)));
  for (uint64_t offset = kRebuiltAreaEnd; offset < m_length;) {
    const size_t want = size_t(std::min<uint64_t>(chunk.size(), m_length - offset));
    file.ReadExactly(chunk.data(), want);
    Scan(chunk.data(), want, offset);
    offset += want;
  }
}

void RomImage::Scan(const uint8_t* chunk, size_t size, uint64_t offset) {
  // A trailing partial paragraph is never examined.
  for (size_t at = 0; at + kParagraph <= size; at += kParagraph)
    if (auto sig = ScannedSignatureAt(chunk + at)) m_records.push_back({*sig, offset + at});
}

std::optional<uint64_t> RomImage::FirstVersion() const {
  for (const FoundRecord& r : m_records)
    if (r.sig == Signature::Ver) return r.offset;
  return std::nullopt;
}

void RomImage::Read(uint64_t offset, void* out, size_t count) {
  auto* dst = static_cast<uint8_t*>(out);
  const uint64_t end = offset + count;
  if (offset < kRebuiltAreaEnd) {
    const size_t inMemory = size_t(std::min<uint64_t>(end, kRebuiltAreaEnd) - offset);
    std::memcpy(dst, m_rebuilt + offset, inMemory);
    dst += inMemory;
    offset += inMemory;
  }
  if (offset < end) {
    const size_t fromFile = size_t(end - offset);
    m_file->Seek(offset);
    m_file->ReadExactly(dst, fromFile);
    ApplyPatch(offset, dst, fromFile);
  }
}

void RomImage::Patch(uint64_t offset, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (offset + i < kRebuiltAreaEnd)
      m_rebuilt[offset + i] = bytes[i];
    else
      m_patches.push_back({offset + i, bytes[i]});
  }
  // The scans that follow a patch see the patched bytes.
  for (uint64_t p = offset / kParagraph * kParagraph; p < offset + count; p += kParagraph) Rescan(p);
}

void RomImage::Rescan(uint64_t paragraph) {
  if (paragraph + kParagraph > m_length) return;  // a trailing partial paragraph is never examined
  uint8_t head[kSignatureSize];
  Read(paragraph, head, sizeof head);
  auto at = std::lower_bound(m_records.begin(), m_records.end(), paragraph,
                             [](const FoundRecord& r, uint64_t offset) { return r.offset < offset; });
  if (at != m_records.end() && at->offset == paragraph) at = m_records.erase(at);
  if (auto sig = ScannedSignatureAt(head)) m_records.insert(at, {*sig, paragraph});
}

void RomImage::ApplyPatch(uint64_t offset, uint8_t* out, size_t count) const {
  for (const KeptPatch& p : m_patches)
    if (p.offset >= offset && p.offset < offset + count) out[p.offset - offset] = p.value;
}

void RomImage::WriteTo(CFile& out) {
  out.Write(m_rebuilt, kRebuiltAreaEnd);
  out.CopyFrom(*m_file, kRebuiltAreaEnd, m_length - kRebuiltAreaEnd);
  for (const KeptPatch& p : m_patches) {
    out.Seek(p.offset);
    out.Write(&p.value, 1);
  }
}

}  // namespace tarn
