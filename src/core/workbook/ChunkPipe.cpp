// A bounded hand-over of filled buffers between one producer thread and the calling thread.
#include "core/workbook/ChunkPipe.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tabulon::workbook {

namespace {

constexpr std::size_t kBufferCount = 4;
constexpr std::size_t kBufferSize = 1 << 20;

}  // namespace

void pipeChunks(const std::function<std::size_t(char*, std::size_t)>& produce,
                const std::function<void(const char*, std::size_t)>& consume) {
    std::vector<std::vector<char>> buffers(kBufferCount, std::vector<char>(kBufferSize));
    std::vector<std::size_t> sizes(kBufferCount, 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::size_t> empty;
    std::deque<std::size_t> filled;
    for (std::size_t i = 0; i < kBufferCount; ++i) empty.push_back(i);
    bool produced = false;
    bool cancelled = false;
    std::exception_ptr producerError;

    std::thread worker([&] {
        for (;;) {
            std::size_t slot;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return cancelled || !empty.empty(); });
                if (cancelled) return;
                slot = empty.front();
                empty.pop_front();
            }
            std::size_t n = 0;
            std::exception_ptr error;
            try {
                n = produce(buffers[slot].data(), kBufferSize);
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(mutex);
            if (error || n == 0) {
                producerError = error;
                produced = true;
                changed.notify_all();
                return;
            }
            sizes[slot] = n;
            filled.push_back(slot);
            changed.notify_all();
        }
    });

    std::exception_ptr consumerError;
    for (;;) {
        std::size_t slot;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return produced || !filled.empty(); });
            if (filled.empty()) break;
            slot = filled.front();
            filled.pop_front();
        }
        try {
            consume(buffers[slot].data(), sizes[slot]);
        } catch (...) {
            consumerError = std::current_exception();
            std::lock_guard lock(mutex);
            cancelled = true;
            changed.notify_all();
            break;
        }
        std::lock_guard lock(mutex);
        empty.push_back(slot);
        changed.notify_all();
    }
    worker.join();
    if (consumerError) std::rethrow_exception(consumerError);
    if (producerError) std::rethrow_exception(producerError);
}

}  // namespace tabulon::workbook
