// Producing chunks of bytes on a worker thread while the calling thread takes them one by one, so
// that decompression and parsing of a large part overlap.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "core/workbook/PageBlock.h"

namespace tabulon::workbook {

class ChunkPipe {
  public:
    using Produce = std::function<std::size_t(char*, std::size_t)>;

    // produce(buffer, capacity) fills the buffer and returns the byte count, 0 at the end; it
    // runs on the worker thread, which starts here and fills a few buffers ahead.
    explicit ChunkPipe(Produce produce);
    // Stops the worker (a chunk being produced is finished first) and waits for it.
    ~ChunkPipe();
    ChunkPipe(const ChunkPipe&) = delete;
    ChunkPipe& operator=(const ChunkPipe&) = delete;

    // The next chunk, in order; empty at the end. It stays valid until the next call. An
    // exception of the producer is thrown here once the chunks before it have been taken.
    std::string_view next();

  private:
    void produceAll();

    Produce produce_;
    // Mapped on their own: the pipes of one read follow each other on different threads, whose
    // heaps would each keep their buffers.
    std::vector<PageBlock<char>> buffers_;
    std::vector<std::size_t> sizes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> empty_;
    std::deque<std::size_t> ready_;  // filled, for the caller
    std::size_t taken_ = SIZE_MAX;   // the buffer the caller holds, if any
    bool done_ = false;              // no more chunks will be ready
    bool cancelled_ = false;
    std::exception_ptr failure_;
    std::thread producer_;  // last: it starts when everything else is in place
};

}  // namespace tabulon::workbook
