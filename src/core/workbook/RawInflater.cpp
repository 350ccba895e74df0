// The raw deflate decoder: ISA-L (TABULON_WITH_ISAL), which inflates about twice as fast as
// zlib, or zlib.
#include "core/workbook/RawInflater.h"

#include <algorithm>
#include <limits>
#include <new>

#if TABULON_WITH_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

namespace tabulon::workbook {

namespace {

// Both decoders count their buffers in 32 bits.
constexpr std::size_t kLargestPiece = std::numeric_limits<std::uint32_t>::max();

}  // namespace

#if TABULON_WITH_ISAL

struct RawInflater::State {
    inflate_state isal;
};

RawInflater::RawInflater() : state_(std::make_unique<State>()) {
    isal_inflate_init(&state_->isal);
    // The CRC-32 of the output, as gzip and zip compute it.
    state_->isal.crc_flag = ISAL_GZIP_NO_HDR;
}

RawInflater::~RawInflater() = default;

void RawInflater::setInput(const unsigned char* data, std::size_t size) {
    state_->isal.next_in = const_cast<unsigned char*>(data);
    state_->isal.avail_in = static_cast<std::uint32_t>(std::min(size, kLargestPiece));
}

std::size_t RawInflater::inputLeft() const { return state_->isal.avail_in; }

std::size_t RawInflater::inflate(unsigned char* out, std::size_t capacity) {
    if (finished_ || damaged_) return 0;
    inflate_state& s = state_->isal;
    s.next_out = out;
    s.avail_out = static_cast<std::uint32_t>(std::min(capacity, kLargestPiece));
    const int status = isal_inflate(&s);
    if (status < 0) damaged_ = true;
    if (s.block_state == ISAL_BLOCK_FINISH) finished_ = true;
    return static_cast<std::size_t>(s.next_out - out);
}

std::uint32_t RawInflater::crc() const { return state_->isal.crc; }

// The decoder keeps the last 32 KiB of output in its state, so a copy of the state goes on alone.
std::unique_ptr<RawInflater> RawInflater::copy() const {
    auto copied = std::make_unique<RawInflater>();
    copied->state_->isal = state_->isal;
    copied->state_->isal.next_in = nullptr;
    copied->state_->isal.avail_in = 0;
    copied->finished_ = finished_;
    copied->damaged_ = damaged_;
    return copied;
}

#else

struct RawInflater::State {
    z_stream zlib{};
    std::uint32_t crc = 0;
};

RawInflater::RawInflater() : state_(std::make_unique<State>()) {
    if (inflateInit2(&state_->zlib, -MAX_WBITS) != Z_OK) damaged_ = true;
}

RawInflater::~RawInflater() { inflateEnd(&state_->zlib); }

void RawInflater::setInput(const unsigned char* data, std::size_t size) {
    state_->zlib.next_in = const_cast<unsigned char*>(data);
    state_->zlib.avail_in = static_cast<uInt>(std::min(size, kLargestPiece));
}

std::size_t RawInflater::inputLeft() const { return state_->zlib.avail_in; }

std::size_t RawInflater::inflate(unsigned char* out, std::size_t capacity) {
    if (finished_ || damaged_) return 0;
    z_stream& z = state_->zlib;
    z.next_out = out;
    z.avail_out = static_cast<uInt>(std::min(capacity, kLargestPiece));
    // zlib stops at the end of each block only when asked to; it fills the buffer otherwise.
    while (z.avail_out > 0) {
        const int status = ::inflate(&z, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            finished_ = true;
            break;
        }
        if (status == Z_BUF_ERROR) break;  // the input is used up
        if (status != Z_OK) {
            damaged_ = true;
            break;
        }
        if (z.avail_in == 0) break;
    }
    const auto written = static_cast<std::size_t>(z.next_out - out);
    state_->crc = static_cast<std::uint32_t>(crc32_z(state_->crc, out, written));
    return written;
}

std::uint32_t RawInflater::crc() const { return state_->crc; }

std::unique_ptr<RawInflater> RawInflater::copy() const {
    auto copied = std::make_unique<RawInflater>();
    z_stream& z = copied->state_->zlib;
    inflateEnd(&z);
    // Fails only for want of memory.
    if (inflateCopy(&z, &state_->zlib) != Z_OK) throw std::bad_alloc();
    z.next_in = nullptr;
    z.avail_in = 0;
    copied->state_->crc = state_->crc;
    copied->finished_ = finished_;
    copied->damaged_ = damaged_;
    return copied;
}

#endif

}  // namespace tabulon::workbook
