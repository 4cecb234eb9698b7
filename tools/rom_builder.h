// Builds ROM images and record files byte by byte, for the sample generator and
// the tests, so that a reader sees exactly which bytes matter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "image/rom_format.h"

namespace tarn {

using Bytes = std::vector<uint8_t>;

class RomBuilder {
 public:
  explicit RomBuilder(size_t length, uint8_t fill = 0) : m_bytes(length, fill) {}

  // A record header: the signature, then the data length at its offset; the
  // data bytes are filled with a pattern derived from the offset so that every
  // block is recognisable in the output.
  RomBuilder& Record(uint32_t offset, Signature sig, uint32_t dataLength, size_t bytesToFill = SIZE_MAX) {
    WriteLe32(&m_bytes.at(offset), uint32_t(sig));
    if (offset + kDataLengthEnd <= m_bytes.size())
      WriteLe32(&m_bytes[offset + kDataLengthOffset], dataLength);
    const size_t end =
        std::min(m_bytes.size(), bytesToFill == SIZE_MAX ? offset + size_t(dataLength) + kNewFormat.headerSize
                                                         : offset + bytesToFill);
    for (size_t i = offset + kDataLengthEnd; i < end; ++i) m_bytes[i] = uint8_t(i * 7 + offset / 16);
    return *this;
  }
  // A $VER record with the three given characters as its digits.
  RomBuilder& Version(uint32_t offset, char hundreds, char tens, char units) {
    WriteLe32(&m_bytes.at(offset), uint32_t(Signature::Ver));
    m_bytes.at(offset + kVersionHundredsOffset) = uint8_t(hundreds);
    m_bytes.at(offset + kVersionTensOffset) = uint8_t(tens);
    m_bytes.at(offset + kVersionUnitsOffset) = uint8_t(units);
    return *this;
  }
  RomBuilder& Raw(uint32_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), m_bytes.begin() + offset);
    return *this;
  }
  RomBuilder& Byte(uint32_t offset, uint8_t value) {
    m_bytes.at(offset) = value;
    return *this;
  }

  const Bytes& bytes() const { return m_bytes; }
  Bytes& bytes() { return m_bytes; }

 private:
  Bytes m_bytes;
};

}  // namespace tarn
