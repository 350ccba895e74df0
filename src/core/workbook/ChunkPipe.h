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

namespace tabulon::workbook {

class ChunkPipe {
  public:
    using Produce = std::function<std::size_t(char*, std::size_t)>;
    using Watch = std::function<void(std::string_view)>;

    // produce(buffer, capacity) fills the buffer and returns the byte count, 0 at the end; it
    // runs on the worker thread, which starts here and fills a few buffers ahead. watch, when
    // given, sees each chunk in order on a thread of its own before the caller takes it, so that
    // producing and watching overlap too; an exception it throws reaches the caller in the
    // chunk's place.
    explicit ChunkPipe(Produce produce, Watch watch = {});
    // Stops the workers (a chunk being produced or watched is finished first) and waits for them.
    ~ChunkPipe();
    ChunkPipe(const ChunkPipe&) = delete;
    ChunkPipe& operator=(const ChunkPipe&) = delete;

    // The next chunk, in order; empty at the end. It stays valid until the next call. An
    // exception of the producer or the watch is thrown here once the chunks before it have been
    // taken.
    std::string_view next();

  private:
    void produceAll();
    void watchAll();

    Produce produce_;
    Watch watch_;
    std::vector<std::vector<char>> buffers_;
    std::vector<std::size_t> sizes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> empty_;
    std::deque<std::size_t> produced_;  // filled, for the watch
    std::deque<std::size_t> ready_;     // filled (and watched), for the caller
    std::size_t taken_ = SIZE_MAX;      // the buffer the caller holds, if any
    bool producerDone_ = false;         // no more chunks will be produced
    bool done_ = false;                 // no more chunks will be ready
    bool cancelled_ = false;
    std::exception_ptr failure_;
    // Last: they start when everything else is in place.
    std::thread producer_;
    std::thread watcher_;
};

}  // namespace tabulon::workbook
