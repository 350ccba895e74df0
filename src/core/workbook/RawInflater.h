// Streaming decompression of a raw deflate stream (no zlib or gzip wrapper): ISA-L's decoder
// when Tabulon is built with it, zlib's otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tabulon::workbook {

class RawInflater {
  public:
    RawInflater();
    ~RawInflater();
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    // The next compressed bytes (at most 4 GiB); they must stay in place until inputLeft() is 0.
    void setInput(const unsigned char* data, std::size_t size);
    std::size_t inputLeft() const;

    // Inflates into out; returns how many bytes it wrote. It writes less than the capacity only
    // when the input is used up, the stream has ended or its data are bad.
    std::size_t inflate(unsigned char* out, std::size_t capacity);
    // The stream's last block has been inflated; bytes after it are not read.
    bool finished() const { return finished_; }
    // The compressed data cannot be inflated; nothing more comes out.
    bool damaged() const { return damaged_; }
    // The CRC-32 of everything inflated so far.
    std::uint32_t crc() const;
    // An inflater that goes on from where this one stands, given the compressed bytes that follow
    // those this one has taken (its input left out).
    std::unique_ptr<RawInflater> copy() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
    bool finished_ = false;
    bool damaged_ = false;
};

}  // namespace tabulon::workbook
