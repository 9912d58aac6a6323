#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "archivers/arj_format.h"

namespace pyx {

// Receives a member's decoded bytes in order.
class ArjSink {
  public:
    // Ok, or the status that stops decoding (Output when a write failed).
    virtual ArjStatus Put(const std::uint8_t* data, std::size_t size) = 0;

  protected:
    ~ArjSink() = default;
};

// Decodes ARJ member data: method 0 (stored), 1 to 3 (LZ77 with Huffman codes in blocks) and
// 4 (LZ77 with fixed variable-length codes). Holds its window and code tables, about 100 KB,
// so that one decoder serves every member of an archive; decoders share nothing.
class ArjDecoder {
  public:
    ArjDecoder();
    ~ArjDecoder();
    ArjDecoder(const ArjDecoder&) = delete;
    ArjDecoder& operator=(const ArjDecoder&) = delete;

    // Decodes one member whose stored bytes come from `in` and hands exactly originalSize bytes
    // to `out`. Data that needs more bits than the member holds, refers back before its start
    // or past the dictionary, or runs past originalSize is DataCrc; an impossible code table
    // is BadTable. The caller compares the CRC.
    ArjStatus Decode(int method, ArjDataReader& in, std::uint32_t originalSize, ArjSink& out);

  private:
    struct Tables;
    std::unique_ptr<Tables> tables_;
};

}  // namespace pyx
