#include "fuzz/fuzz_case.h"

#include <algorithm>

namespace tarn::fuzz {
namespace {

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  uint8_t U8() {
    if (m_size == 0) return 0;
    --m_size;
    return *m_data++;
  }
  uint32_t U24() { return U8() | uint32_t(U8()) << 8 | uint32_t(U8()) << 16; }
  uint32_t U32() { return U24() | uint32_t(U8()) << 24; }
  Bytes Take(size_t count) {
    Bytes out(count);
    for (uint8_t& b : out) b = U8();
    return out;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
};

class Writer {
 public:
  void U8(uint32_t v) { m_bytes.push_back(uint8_t(v)); }
  void U24(uint32_t v) {
    U8(v);
    U8(v >> 8);
    U8(v >> 16);
  }
  void U32(uint32_t v) {
    U24(v);
    U8(v >> 24);
  }
  void Put(const Bytes& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
  Bytes& bytes() { return m_bytes; }

 private:
  Bytes m_bytes;
};

constexpr size_t kVersionDigits = 3;
constexpr size_t kBootRecordBytes = kKvtPatchedSize - kSignatureSize;

Op ReadOp(Reader& in) {
  Op op;
  op.kind = OpKind(in.U8() % uint8_t(OpKind::kCount));
  switch (op.kind) {
    case OpKind::Record:
      op.signature = uint8_t(in.U8() % kOpSignatureCount);
      op.position = in.U24();
      op.dataLength = in.U32();
      op.fill = in.U24();
      break;
    case OpKind::Version:
      op.position = in.U24();
      op.bytes = in.Take(kVersionDigits);
      break;
    case OpKind::Raw:
      op.position = in.U24();
      op.bytes = in.Take(in.U8());
      break;
    case OpKind::BootRecord:
      op.bytes = in.Take(kBootRecordBytes);
      break;
    case OpKind::kCount:
      break;
  }
  return op;
}

void WriteOp(Writer& out, const Op& op) {
  out.U8(uint8_t(op.kind));
  switch (op.kind) {
    case OpKind::Record:
      out.U8(op.signature);
      out.U24(op.position);
      out.U32(op.dataLength);
      out.U24(op.fill);
      break;
    case OpKind::Version:
      out.U24(op.position);
      out.Put(op.bytes);
      break;
    case OpKind::Raw:
      out.U24(op.position);
      out.U8(uint32_t(op.bytes.size()));
      out.Put(op.bytes);
      break;
    case OpKind::BootRecord:
      out.Put(op.bytes);
      break;
    case OpKind::kCount:
      break;
  }
}

// lengthValue is the raw field; wrap turns it into a length.
template <typename Wrap>
FileDescription ReadDescription(Reader& in, Wrap&& wrap) {
  FileDescription d;
  d.length = wrap(in.U24());
  d.fill = in.U8();
  const uint8_t ops = in.U8();
  for (uint8_t i = 0; i < ops; ++i) d.ops.push_back(ReadOp(in));
  return d;
}

void WriteDescription(Writer& out, const FileDescription& d, uint32_t lengthValue) {
  out.U24(lengthValue);
  out.U8(d.fill);
  out.U8(uint32_t(d.ops.size()));
  for (const Op& op : d.ops) WriteOp(out, op);
}

// The start of paragraph n of a file of length bytes, or -1 when it has none.
int64_t ParagraphStart(uint32_t n, size_t length) {
  const size_t whole = length / kParagraph;
  if (whole == 0) return -1;
  return int64_t(n % whole) * kParagraph;
}

}  // namespace

FuzzCase Decode(const uint8_t* data, size_t size) {
  Reader in(data, size);
  FuzzCase c;
  c.flags = in.U8();
  c.divisor = in.U8();
  const uint8_t kinds = in.U8();
  const auto kindCount = uint8_t(FileKind::kCount);
  c.logoKind = FileKind(kinds % kindCount);
  c.paletteKind = FileKind(kinds / kindCount % kindCount);
  c.moduleKind = FileKind(kinds / kindCount / kindCount % kindCount);
  c.outputKind = OutputKind(in.U8() % uint8_t(OutputKind::kCount));
  const bool shortImage = c.Has(bit::kShortImage);
  c.image = ReadDescription(
      in, [&](uint32_t v) { return shortImage ? v % kRebuiltAreaEnd : kRebuiltAreaEnd + v % kMaxKeptArea; });
  for (FileDescription* d : {&c.logo, &c.palette, &c.module})
    *d = ReadDescription(in, [](uint32_t v) { return v % kMaxSuppliedFile; });
  return c;
}

Bytes Encode(const FuzzCase& c) {
  Writer out;
  out.U8(c.flags);
  out.U8(c.divisor);
  const auto kindCount = uint8_t(FileKind::kCount);
  out.U8(uint32_t(c.logoKind) + kindCount * (uint32_t(c.paletteKind) + kindCount * uint32_t(c.moduleKind)));
  out.U8(uint32_t(c.outputKind));
  const bool shortImage = c.Has(bit::kShortImage);
  WriteDescription(out, c.image, shortImage ? c.image.length : c.image.length - kRebuiltAreaEnd);
  for (const FileDescription* d : {&c.logo, &c.palette, &c.module}) WriteDescription(out, *d, d->length);
  return out.bytes();
}

Bytes Expand(const FileDescription& d) {
  RomBuilder file(d.length, d.fill);
  Bytes& bytes = file.bytes();
  for (const Op& op : d.ops) {
    switch (op.kind) {
      case OpKind::Record: {
        const int64_t at = ParagraphStart(op.position, bytes.size());
        if (at >= 0)
          file.Record(uint32_t(at), kOpSignatures[op.signature], op.dataLength,
                      std::min(op.fill, kMaxRecordFill));
        break;
      }
      case OpKind::Version: {
        const int64_t at = ParagraphStart(op.position, bytes.size());
        if (at >= 0) file.Version(uint32_t(at), char(op.bytes[0]), char(op.bytes[1]), char(op.bytes[2]));
        break;
      }
      case OpKind::Raw: {
        if (bytes.empty()) break;
        const size_t at = op.position % bytes.size();
        const size_t count = std::min(op.bytes.size(), bytes.size() - at);
        std::copy_n(op.bytes.begin(), count, bytes.begin() + long(at));
        break;
      }
      case OpKind::BootRecord: {
        if (bytes.size() < kBootAreaSize) break;
        const size_t at = bytes.size() - kBootAreaSize;
        WriteLe32(&bytes[at], uint32_t(Signature::Kvt));
        std::copy(op.bytes.begin(), op.bytes.end(), bytes.begin() + long(at + kSignatureSize));
        break;
      }
      case OpKind::kCount:
        break;
    }
  }
  return bytes;
}

}  // namespace tarn::fuzz
