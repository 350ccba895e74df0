// A bounded hand-over of filled buffers between a producer thread, an optional watching thread
// and the calling thread. A buffer goes round: empty, produced, watched (when there is a watch),
// taken, empty again.
#include "core/workbook/ChunkPipe.h"

namespace tabulon::workbook {

namespace {

constexpr std::size_t kBufferCount = 4;
constexpr std::size_t kBufferSize = 1 << 19;

}  // namespace

ChunkPipe::ChunkPipe(Produce produce, Watch watch)
    : produce_(std::move(produce)),
      watch_(std::move(watch)),
      buffers_(kBufferCount, std::vector<char>(kBufferSize)),
      sizes_(kBufferCount, 0) {
    for (std::size_t i = 0; i < kBufferCount; ++i) empty_.push_back(i);
    producer_ = std::thread([this] { produceAll(); });
    if (watch_) watcher_ = std::thread([this] { watchAll(); });
}

ChunkPipe::~ChunkPipe() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    producer_.join();
    if (watcher_.joinable()) watcher_.join();
}

void ChunkPipe::produceAll() {
    for (;;) {
        std::size_t slot;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return cancelled_ || !empty_.empty(); });
            if (cancelled_) return;
            slot = empty_.front();
            empty_.pop_front();
        }
        std::size_t n = 0;
        std::exception_ptr error;
        try {
            n = produce_(buffers_[slot].data(), kBufferSize);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        if (error || n == 0) {
            // The watch, when there is one, hands the failure on after the chunks before it.
            if (!failure_) failure_ = error;
            producerDone_ = true;
            if (!watch_) done_ = true;
            changed_.notify_all();
            return;
        }
        sizes_[slot] = n;
        (watch_ ? produced_ : ready_).push_back(slot);
        changed_.notify_all();
    }
}

void ChunkPipe::watchAll() {
    for (;;) {
        std::size_t slot;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return cancelled_ || producerDone_ || !produced_.empty(); });
            if (cancelled_) return;
            if (produced_.empty()) {
                done_ = true;
                changed_.notify_all();
                return;
            }
            slot = produced_.front();
            produced_.pop_front();
        }
        std::exception_ptr error;
        try {
            watch_(std::string_view(buffers_[slot].data(), sizes_[slot]));
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        if (error) {
            // Chunks after a failed watch are never handed on; the producer stops too.
            failure_ = error;
            done_ = true;
            cancelled_ = true;
            changed_.notify_all();
            return;
        }
        ready_.push_back(slot);
        changed_.notify_all();
    }
}

std::string_view ChunkPipe::next() {
    std::unique_lock lock(mutex_);
    if (taken_ != SIZE_MAX) {
        empty_.push_back(taken_);
        taken_ = SIZE_MAX;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return done_ || !ready_.empty(); });
    if (ready_.empty()) {
        if (failure_) std::rethrow_exception(failure_);
        return {};
    }
    taken_ = ready_.front();
    ready_.pop_front();
    return {buffers_[taken_].data(), sizes_[taken_]};
}

}  // namespace tabulon::workbook
