// -j N: several workbooks exported at once, their results saved as a run of one at a time
// saves them.
#include "cli/ParallelExport.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace tabulon::cli {
namespace {

// What a terminal printed, kept in memory until it is the workbook's turn.
class HeldLines {
  public:
    HeldLines() : file_(::open_memstream(&text_, &size_)) {}
    ~HeldLines() {
        if (file_ != nullptr) std::fclose(file_);
        std::free(text_);
    }
    HeldLines(const HeldLines&) = delete;
    HeldLines& operator=(const HeldLines&) = delete;

    // The terminal's output; stderr itself if memory for it could not be had.
    std::FILE* file() const { return file_ != nullptr ? file_ : stderr; }
    void writeTo(std::FILE* out) {
        if (file_ == nullptr) return;
        std::fflush(file_);
        std::fwrite(text_, 1, size_, out);
    }

  private:
    char* text_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

}  // namespace

int exportInParallel(ParallelRun& run) {
    std::atomic<std::size_t> next{0};
    std::atomic<int> errors{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex;
    std::condition_variable turnChanged;
    std::size_t turn = 0;

    const auto work = [&](ResultStore& store) {
        for (std::size_t k; !stopped && (k = next++) < run.files.size();) {
            HeldLines lines;
            Terminal terminal(lines.file(), run.verbose);
            run.exportOne(run.files[k], terminal, store);
            terminal.finishProgress();
            errors += terminal.errorCount();
            std::unique_lock lock(mutex);
            turnChanged.wait(lock, [&] { return turn == k; });
            if (!stopped) {
                lines.writeTo(stderr);
                run.terminal->followContext(terminal);
                if (!run.save(store)) stopped = true;
            }
            store.clear();
            ++turn;
            turnChanged.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (const auto& store : *run.stores) threads.emplace_back(work, std::ref(*store));
    for (std::thread& thread : threads) thread.join();
    return errors;
}

}  // namespace tabulon::cli
