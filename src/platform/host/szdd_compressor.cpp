#include "platform/host/szdd_compressor.h"

#include <array>
#include <cstdint>
#include <limits>

namespace tl::host {
namespace {

constexpr std::size_t kWindowSize = 4096;
constexpr std::size_t kWindowStart = kWindowSize - 16;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kHashSize = 1 << 14;
constexpr std::size_t kMaxChain = 64;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

std::size_t Hash(const BYTE* p) {
    return ((static_cast<std::size_t>(p[0]) << 10) ^ (static_cast<std::size_t>(p[1]) << 5) ^ p[2]) &
           (kHashSize - 1);
}

// Greedy matching over hash chains of the last 4,096 bytes; a match never reaches back into the
// blank pre-fill, which keeps the encoder simple and the output valid for every expander.
class Encoder {
public:
    explicit Encoder(std::span<const BYTE> data)
        : data_(data), head_(kHashSize, kNone), prev_(data.size(), kNone) {}

    void Encode(std::vector<BYTE>& out) {
        std::size_t i = 0;
        while (i < data_.size()) {
            std::size_t length = 1;
            std::size_t from = 0;
            FindMatch(i, length, from);
            if (length >= kMinMatch) {
                const std::size_t pos = (kWindowStart + from) & (kWindowSize - 1);
                Emit(out, false,
                     {static_cast<BYTE>(pos & 0xFF),
                      static_cast<BYTE>(((pos >> 4) & 0xF0) | (length - kMinMatch))});
            } else {
                length = 1;
                Emit(out, true, {data_[i], 0});
            }
            for (std::size_t k = 0; k < length; ++k) {
                Insert(i + k);
            }
            i += length;
        }
        if (flagAt_ != kNone) {
            out[flagAt_] = flags_;
        }
    }

private:
    void FindMatch(std::size_t i, std::size_t& bestLength, std::size_t& bestFrom) const {
        if (i + kMinMatch > data_.size()) {
            return;
        }
        const std::size_t limit = std::min(kMaxMatch, data_.size() - i);
        std::size_t candidate = head_[Hash(&data_[i])];
        for (std::size_t chain = 0; candidate != kNone && chain < kMaxChain; ++chain) {
            if (i - candidate >= kWindowSize - kMaxMatch) {
                break;
            }
            std::size_t n = 0;
            while (n < limit && data_[candidate + n] == data_[i + n]) {
                ++n;
            }
            if (n > bestLength) {
                bestLength = n;
                bestFrom = candidate;
                if (n == limit) {
                    break;
                }
            }
            candidate = prev_[candidate];
        }
    }

    void Insert(std::size_t i) {
        if (i + kMinMatch > data_.size()) {
            return;
        }
        const std::size_t h = Hash(&data_[i]);
        prev_[i] = head_[h];
        head_[h] = i;
    }

    void Emit(std::vector<BYTE>& out, bool literal, std::array<BYTE, 2> bytes) {
        if (bit_ == 8 || flagAt_ == kNone) {
            if (flagAt_ != kNone) {
                out[flagAt_] = flags_;
            }
            flagAt_ = out.size();
            out.push_back(0);
            flags_ = 0;
            bit_ = 0;
        }
        if (literal) {
            flags_ = static_cast<BYTE>(flags_ | (1u << bit_));
            out.push_back(bytes[0]);
        } else {
            out.push_back(bytes[0]);
            out.push_back(bytes[1]);
        }
        ++bit_;
    }

    std::span<const BYTE> data_;
    std::vector<std::size_t> head_;
    std::vector<std::size_t> prev_;
    std::size_t flagAt_ = kNone;
    BYTE flags_ = 0;
    unsigned bit_ = 0;
};

} // namespace

std::vector<BYTE> CompressSzdd(std::span<const BYTE> data, BYTE missingChar) {
    if (data.size() > std::numeric_limits<DWORD>::max()) {
        return {};
    }
    const auto length = static_cast<DWORD>(data.size());
    std::vector<BYTE> out{'S',
                          'Z',
                          'D',
                          'D',
                          0x88,
                          0xF0,
                          0x27,
                          0x33,
                          'A',
                          missingChar,
                          static_cast<BYTE>(length),
                          static_cast<BYTE>(length >> 8),
                          static_cast<BYTE>(length >> 16),
                          static_cast<BYTE>(length >> 24)};
    out.reserve(out.size() + data.size() + data.size() / 8 + 1);
    Encoder(data).Encode(out);
    return out;
}

} // namespace tl::host
