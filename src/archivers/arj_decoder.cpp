#include "archivers/arj_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace pyx {
namespace {

// Matches reach at most this far back (the ARJ dictionary); the window is larger so that
// positions wrap with a mask and a whole window is handed on at a time.
constexpr std::uint32_t kDictionarySize = 26624;
constexpr std::uint32_t kWindowSize = 1 << 16;
constexpr std::uint32_t kWindowMask = kWindowSize - 1;
constexpr std::uint32_t kCopyStep = 8;

// Methods 1 to 3: literal/length alphabet, distance and code-length alphabets.
constexpr int kThreshold = 3;
constexpr int kCharCount = 256;
constexpr int kNc = kCharCount + 256 + 2 - kThreshold;  // 510 literals and lengths
constexpr int kNp = 17;                                 // distance bit-length classes
constexpr int kNt = 19;                                 // code-length codes
constexpr int kCBit = 9;
constexpr int kPBit = 5;
constexpr int kTBit = 5;
constexpr int kMaxCodeLength = 16;

// MSB-first bit reader over a member's data with a 64-bit buffer. Once the data is used up it
// hands out zero bits and counts them, so the decoder can tell when it read past the member.
class BitReader {
  public:
    explicit BitReader(ArjDataReader& in) : in_(in) {}

    // At least 56 bits are available afterwards.
    void Refill() {
        if (count_ >= 56)
            return;
        if (end_ - pos_ >= 8) {
            std::uint64_t v;
            std::memcpy(&v, pos_, sizeof v);
            if constexpr (std::endian::native == std::endian::little)
                v = __builtin_bswap64(v);
            const int bytes = (63 - count_) >> 3;
            buf_ |= v >> count_;
            pos_ += bytes;
            count_ += bytes * 8;
            buf_ &= ~std::uint64_t{0} << (64 - count_);
            return;
        }
        RefillSlow();
    }
    // The next n bits (0 <= n <= 32) without taking them; needs a Refill before.
    std::uint32_t Peek(int n) const { return static_cast<std::uint32_t>((buf_ >> 1) >> (63 - n)); }
    void Skip(int n) {
        buf_ <<= n;
        count_ -= n;
    }
    std::uint32_t Get(int n) {
        Refill();
        const std::uint32_t v = Peek(n);
        Skip(n);
        return v;
    }
    std::uint64_t Buffer() const { return buf_; }
    int Count() const { return count_; }
    // Ok while the member's own bits are being read; the reason to stop otherwise.
    ArjStatus Status() const {
        if (padding_ == 0)
            return ArjStatus::Ok;  // the usual case, checked once per symbol
        if (error_ != ArjStatus::Ok)
            return error_;
        return padding_ * 8 > static_cast<std::uint64_t>(count_) ? ArjStatus::DataCrc
                                                                 : ArjStatus::Ok;
    }

  private:
    void RefillSlow() {
        while (count_ <= 56) {
            if (pos_ == end_ && !exhausted_) {
                std::size_t size = 0;
                const ArjStatus s = in_.Next(&pos_, &size);
                end_ = pos_ + size;
                if (s != ArjStatus::Ok)
                    error_ = s;
                if (s != ArjStatus::Ok || size == 0)
                    exhausted_ = true;
            }
            std::uint8_t byte = 0;
            if (pos_ != end_) {
                byte = *pos_++;
            } else {
                ++padding_;
            }
            buf_ |= std::uint64_t{byte} << (56 - count_);
            count_ += 8;
        }
    }

    ArjDataReader& in_;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    std::uint64_t buf_ = 0;
    int count_ = 0;
    bool exhausted_ = false;
    std::uint64_t padding_ = 0;
    ArjStatus error_ = ArjStatus::Ok;
};

// A canonical Huffman code, MSB first: codes of each length follow each other in symbol order,
// shorter lengths first. Codes up to kFastBits long are found with one lookup, longer ones by
// walking the lengths.
template <int kSymbols, int kFastBits>
class HuffmanCode {
  public:
    // Builds the code from n lengths (each 0..16). False when the lengths do not form a
    // complete code. All lengths zero builds a code that fails on use.
    bool Build(const std::uint8_t* lengths, int n) {
        count_.fill(0);
        for (int i = 0; i < n; ++i)
            ++count_[lengths[i]];
        count_[0] = 0;
        std::uint32_t kraft = 0;
        for (int len = 1; len <= kMaxCodeLength; ++len)
            kraft += count_[len] << (kMaxCodeLength - len);
        fast_.fill(kSlow);
        if (kraft == 0)
            return true;
        if (kraft != 1u << kMaxCodeLength)
            return false;

        std::array<std::uint16_t, kMaxCodeLength + 1> next{};
        std::uint32_t code = 0;
        std::uint16_t index = 0;
        for (int len = 1; len <= kMaxCodeLength; ++len) {
            first_[len] = code;
            offset_[len] = index;
            next[len] = index;
            index = static_cast<std::uint16_t>(index + count_[len]);
            code = (code + count_[len]) << 1;
        }
        for (int sym = 0; sym < n; ++sym) {
            if (lengths[sym])
                sorted_[next[lengths[sym]]++] = static_cast<std::uint16_t>(sym);
        }
        for (int len = 1; len <= kFastBits; ++len) {
            for (std::uint32_t k = 0; k < count_[len]; ++k) {
                const std::uint16_t entry =
                    static_cast<std::uint16_t>(sorted_[offset_[len] + k] << 5 | len);
                const std::uint32_t start = (first_[len] + k) << (kFastBits - len);
                std::fill_n(fast_.begin() + start, 1u << (kFastBits - len), entry);
            }
        }
        return true;
    }
    // A code of one symbol that takes no bits.
    void SetSingle(int symbol) {
        count_.fill(0);
        fast_.fill(static_cast<std::uint16_t>(symbol << 5));
    }
    // The next symbol, or -1 when the bits name none. Needs 16 bits available.
    int Decode(BitReader& bits) const {
        const std::uint32_t peek = bits.Peek(kMaxCodeLength);
        const std::uint16_t entry = fast_[peek >> (kMaxCodeLength - kFastBits)];
        if (entry != kSlow) {
            bits.Skip(entry & 31);
            return entry >> 5;
        }
        for (int len = kFastBits + 1; len <= kMaxCodeLength; ++len) {
            const std::uint32_t k = (peek >> (kMaxCodeLength - len)) - first_[len];
            if (k < count_[len]) {
                bits.Skip(len);
                return sorted_[offset_[len] + k];
            }
        }
        return -1;
    }

  private:
    static constexpr std::uint16_t kSlow = 0xFFFF;
    std::array<std::uint16_t, 1 << kFastBits> fast_{};
    std::array<std::uint32_t, kMaxCodeLength + 1> count_{};
    std::array<std::uint32_t, kMaxCodeLength + 1> first_{};
    std::array<std::uint16_t, kMaxCodeLength + 1> offset_{};
    std::array<std::uint16_t, kSymbols> sorted_{};
};

using CharCode = HuffmanCode<kNc, 12>;
using SmallCode = HuffmanCode<kNt, 8>;

}  // namespace

struct ArjDecoder::Tables {
    // Room past the end for the 8-byte steps of a match copy.
    std::array<std::uint8_t, kWindowSize + kCopyStep> window{};
    CharCode charCode;
    SmallCode distanceCode;
    SmallCode lengthCode;  // codes the lengths of charCode
};

namespace {

// The output side: the window, what was handed on, and how much is still to come.
class Output {
  public:
    Output(std::uint8_t* window, std::uint32_t size, ArjSink& sink)
        : window_(window), size_(size), left_(size), sink_(sink) {}

    bool Done() const { return left_ == 0; }
    ArjStatus Literal(std::uint8_t c) {
        window_[pos_++] = c;
        --left_;
        return pos_ == kWindowSize ? Flush() : ArjStatus::Ok;
    }
    // Copies length bytes from distance + 1 back.
    ArjStatus Match(std::uint32_t distance, std::uint32_t length) {
        if (distance >= kDictionarySize || distance >= size_ - left_ || length > left_) {
            return ArjStatus::DataCrc;
        }
        left_ -= length;
        std::uint32_t from = (pos_ - distance - 1) & kWindowMask;
        if (pos_ + length <= kWindowSize && from + length <= kWindowSize) {
            std::uint8_t* d = window_ + pos_;
            const std::uint8_t* s = window_ + from;
            if (distance + 1 >= kCopyStep) {
                // Whole steps, possibly a few bytes too many: they land past the match, in
                // the window's free part or its slack, and are overwritten later.
                for (std::uint32_t i = 0; i < length; i += kCopyStep) {
                    std::memcpy(d + i, s + i, kCopyStep);
                }
            } else {
                for (std::uint32_t i = 0; i < length; ++i)
                    d[i] = s[i];
            }
            pos_ += length;
            return pos_ == kWindowSize ? Flush() : ArjStatus::Ok;
        }
        while (length-- > 0) {
            window_[pos_++] = window_[from];
            from = (from + 1) & kWindowMask;
            if (pos_ == kWindowSize) {
                if (auto s = Flush(); s != ArjStatus::Ok)
                    return s;
            }
        }
        return ArjStatus::Ok;
    }
    // Hands on what was decoded since the last flush.
    ArjStatus Flush() {
        const ArjStatus s =
            pos_ > flushed_ ? sink_.Put(window_ + flushed_, pos_ - flushed_) : ArjStatus::Ok;
        if (pos_ == kWindowSize)
            pos_ = 0;
        flushed_ = pos_;
        return s;
    }

  private:
    std::uint8_t* window_;
    std::uint32_t size_;
    std::uint32_t left_;
    ArjSink& sink_;
    std::uint32_t pos_ = 0;
    std::uint32_t flushed_ = 0;
};

// The lengths of a small code: n of them, each 3 bits, 7 extended by a run of one bits. After
// `special` lengths a 2-bit count of zero lengths follows.
bool ReadSmallLengths(BitReader& bits, int count, int nBits, int special, SmallCode& code) {
    const int n = static_cast<int>(bits.Get(nBits));
    if (n == 0) {
        const int symbol = static_cast<int>(bits.Get(nBits));
        if (symbol >= count)
            return false;
        code.SetSingle(symbol);
        return true;
    }
    if (n > count)
        return false;
    std::array<std::uint8_t, kNt> lengths{};
    int i = 0;
    while (i < n) {
        bits.Refill();
        int len = static_cast<int>(bits.Peek(3));
        if (len == 7) {
            const int ones = std::countl_one(bits.Buffer() << 3);
            len += ones;
            if (len > kMaxCodeLength)
                return false;
            bits.Skip(3 + ones + 1);
        } else {
            bits.Skip(3);
        }
        lengths[i++] = static_cast<std::uint8_t>(len);
        if (i == special) {
            const int zeros = static_cast<int>(bits.Get(2));
            if (i + zeros > count)
                return false;
            i += zeros;  // lengths are zero already
        }
    }
    return code.Build(lengths.data(), count);
}

// The lengths of the literal/length code, themselves coded with lengthCode; 0..2 are runs
// of zero lengths.
bool ReadCharLengths(BitReader& bits, const SmallCode& lengthCode, CharCode& code) {
    const int n = static_cast<int>(bits.Get(kCBit));
    if (n == 0) {
        const int symbol = static_cast<int>(bits.Get(kCBit));
        if (symbol >= kNc)
            return false;
        code.SetSingle(symbol);
        return true;
    }
    if (n > kNc)
        return false;
    std::array<std::uint8_t, kNc> lengths{};
    int i = 0;
    while (i < n) {
        bits.Refill();
        const int c = lengthCode.Decode(bits);
        if (c < 0)
            return false;
        if (c <= 2) {
            const int zeros = c == 0   ? 1
                              : c == 1 ? static_cast<int>(bits.Get(4)) + 3
                                       : static_cast<int>(bits.Get(kCBit)) + 20;
            if (i + zeros > kNc)
                return false;
            i += zeros;
        } else {
            lengths[i++] = static_cast<std::uint8_t>(c - 2);
        }
    }
    return code.Build(lengths.data(), kNc);
}

// The codes of the current block.
struct BlockCodes {
    CharCode& charCode;
    SmallCode& distanceCode;
    SmallCode& lengthCode;
};

ArjStatus DecodeHuffman(BitReader& bits, BlockCodes t, Output& out) {
    std::uint32_t blockLeft = 0;
    while (!out.Done()) {
        if (bits.Count() < 48) {
            bits.Refill();  // the only place where the member's end can be passed
            if (auto s = bits.Status(); s != ArjStatus::Ok)
                return s;
        }
        if (blockLeft == 0) {
            blockLeft = bits.Get(16);
            if (blockLeft == 0)
                blockLeft = 1 << 16;
            if (!ReadSmallLengths(bits, kNt, kTBit, 3, t.lengthCode) ||
                !ReadCharLengths(bits, t.lengthCode, t.charCode) ||
                !ReadSmallLengths(bits, kNp, kPBit, -1, t.distanceCode)) {
                return ArjStatus::BadTable;
            }
            bits.Refill();
        }
        --blockLeft;
        const int c = t.charCode.Decode(bits);
        if (c < 0)
            return ArjStatus::BadTable;
        ArjStatus s;
        if (c < kCharCount) {
            s = out.Literal(static_cast<std::uint8_t>(c));
        } else {
            const int p = t.distanceCode.Decode(bits);
            if (p < 0)
                return ArjStatus::BadTable;
            const std::uint32_t distance = p == 0 ? 0 : (1u << (p - 1)) + bits.Get(p - 1);
            s = out.Match(distance, static_cast<std::uint32_t>(c - (kCharCount - kThreshold)));
        }
        if (s != ArjStatus::Ok)
            return s;
    }
    return bits.Status();
}

// Method 4: a length is a run of up to 7 one bits and as many value bits (0 = a literal of
// 8 bits follows); a distance is a run of up to 4 one bits and 9 + that many value bits.
ArjStatus DecodeFast(BitReader& bits, Output& out) {
    constexpr int kMaxLengthOnes = 7;
    constexpr int kMaxDistanceOnes = 4;
    constexpr int kDistanceBits = 9;
    while (!out.Done()) {
        if (bits.Count() < 48) {
            bits.Refill();  // the only place where the member's end can be passed
            if (auto s = bits.Status(); s != ArjStatus::Ok)
                return s;
        }
        const int ones = std::min(std::countl_one(bits.Buffer()), kMaxLengthOnes);
        bits.Skip(ones + (ones < kMaxLengthOnes));
        const std::uint32_t code = (1u << ones) - 1 + bits.Peek(ones);
        bits.Skip(ones);
        ArjStatus s;
        if (code == 0) {
            s = out.Literal(static_cast<std::uint8_t>(bits.Peek(8)));
            bits.Skip(8);
        } else {
            const int dOnes = std::min(std::countl_one(bits.Buffer()), kMaxDistanceOnes);
            bits.Skip(dOnes + (dOnes < kMaxDistanceOnes));
            const int width = kDistanceBits + dOnes;
            const std::uint32_t distance =
                (((1u << dOnes) - 1) << kDistanceBits) + bits.Peek(width);
            bits.Skip(width);
            s = out.Match(distance, code - 1 + kThreshold);
        }
        if (s != ArjStatus::Ok)
            return s;
    }
    return bits.Status();
}

}  // namespace

ArjDecoder::ArjDecoder() : tables_(std::make_unique<Tables>()) {}
ArjDecoder::~ArjDecoder() = default;

ArjStatus ArjDecoder::Decode(int method, ArjDataReader& in, std::uint32_t originalSize,
                             ArjSink& out) {
    if (method == 0) {
        for (;;) {
            const std::uint8_t* data = nullptr;
            std::size_t size = 0;
            if (auto s = in.Next(&data, &size); s != ArjStatus::Ok)
                return s;
            if (size == 0)
                return ArjStatus::Ok;
            if (auto s = out.Put(data, size); s != ArjStatus::Ok)
                return s;
        }
    }
    if (method < 1 || method > 4)
        return ArjStatus::UnknownMethod;
    BitReader bits(in);
    Output window(tables_->window.data(), originalSize, out);
    const ArjStatus s =
        method == 4
            ? DecodeFast(bits, window)
            : DecodeHuffman(bits, {tables_->charCode, tables_->distanceCode, tables_->lengthCode},
                            window);
    if (s != ArjStatus::Ok)
        return s;
    return window.Flush();
}

}  // namespace pyx
