// A bounded hand-over of filled buffers between a producer thread and the calling thread. A buffer
// goes round: empty, produced, taken, empty again.
#include "core/workbook/ChunkPipe.h"

namespace tabulon::workbook {

namespace {

constexpr std::size_t kBufferCount = 4;
constexpr std::size_t kBufferSize = 1 << 19;

}  // namespace

ChunkPipe::ChunkPipe(Produce produce) : produce_(std::move(produce)), sizes_(kBufferCount, 0) {
    for (std::size_t i = 0; i < kBufferCount; ++i) {
        buffers_.push_back(makePageBlock<char>(kBufferSize));
        empty_.push_back(i);
    }
    producer_ = std::thread([this] { produceAll(); });
}

ChunkPipe::~ChunkPipe() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    producer_.join();
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
            n = produce_(buffers_[slot].get(), kBufferSize);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        if (error || n == 0) {
            failure_ = error;
            done_ = true;
            changed_.notify_all();
            return;
        }
        sizes_[slot] = n;
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
    return {buffers_[taken_].get(), sizes_[taken_]};
}

}  // namespace tabulon::workbook
