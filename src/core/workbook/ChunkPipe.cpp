// A bounded hand-over of filled buffers between one producer thread and the calling thread.
#include "core/workbook/ChunkPipe.h"

namespace tabulon::workbook {

namespace {

constexpr std::size_t kBufferCount = 4;
constexpr std::size_t kBufferSize = 1 << 20;

}  // namespace

ChunkPipe::ChunkPipe(std::function<std::size_t(char*, std::size_t)> produce)
    : produce_(std::move(produce)),
      buffers_(kBufferCount, std::vector<char>(kBufferSize)),
      sizes_(kBufferCount, 0) {
    for (std::size_t i = 0; i < kBufferCount; ++i) empty_.push_back(i);
    worker_ = std::thread([this] { work(); });
}

ChunkPipe::~ChunkPipe() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void ChunkPipe::work() {
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
            failure_ = error;
            produced_ = true;
            changed_.notify_all();
            return;
        }
        sizes_[slot] = n;
        filled_.push_back(slot);
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
    changed_.wait(lock, [&] { return produced_ || !filled_.empty(); });
    if (filled_.empty()) {
        if (failure_) std::rethrow_exception(failure_);
        return {};
    }
    taken_ = filled_.front();
    filled_.pop_front();
    return {buffers_[taken_].data(), sizes_[taken_]};
}

}  // namespace tabulon::workbook
