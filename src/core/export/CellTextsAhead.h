// The texts of a worksheet's cells in the order an export walks them, made in blocks by a second
// thread ahead of the walk and by the walking thread itself whenever it would otherwise wait:
// rendering numbers through their formats, most of a walk's work, then takes both cores.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace tabulon {

class CellTextsAhead {
  public:
    // text(outer, inner) is the text of the walk's cell at outer (a row, or a column for a walk
    // by columns) and inner, both from 1 to their last. It is called from both threads at once,
    // each cell once, so it may only read what nothing changes during the walk.
    using Text = std::function<std::string(std::int32_t outer, std::int32_t inner)>;
    CellTextsAhead(std::int32_t outerLast, std::int32_t innerLast, Text text);
    // Stops the second thread, if there is one (after the cell it is making), and waits for it.
    ~CellTextsAhead();
    CellTextsAhead(const CellTextsAhead&) = delete;
    CellTextsAhead& operator=(const CellTextsAhead&) = delete;

    // The cell's text, valid until the next call; rethrows what making it threw. Cells are taken
    // in walk order, outer by outer; those passed over are dropped.
    std::string_view take(std::int32_t outer, std::int32_t inner);

  private:
    // The texts of a run of cells in walk order; fewer than the run when they passed the byte
    // limit (the walk makes the rest itself).
    struct alignas(64) Block {
        std::uint64_t index = 0;  // of the block in the walk
        bool ready = false;
        std::string texts;
        std::vector<std::uint32_t> ends;  // of each cell's text in texts
        std::vector<std::pair<std::size_t, std::exception_ptr>> failures;  // by cell, ascending
    };

    void makeAhead();
    // Whether the next block may be claimed for making: its slot is free, the block that held it
    // made and done with. Under the lock, as claim().
    bool claimable() const;
    std::uint64_t claim();
    void make(std::uint64_t index);
    // Waits until block `index` is ready, making later ones meanwhile when they can be claimed.
    void waitFor(std::uint64_t index);

    static constexpr std::size_t kSlots = 3;

    const std::int32_t outerLast_;
    const std::int32_t innerLast_;
    const std::uint64_t cellCount_;
    const std::uint64_t blockCount_;
    Text text_;
    std::array<Block, kSlots> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Blocks claimed for making, in order; block k is made in slots_[k % kSlots].
    std::uint64_t claimed_ = 0;
    std::uint64_t current_ = 0;  // the block the walk reads; those before it are done with
    std::atomic<bool> cancelled_ = false;
    // The walking thread's own: the block it reads, and a text it made itself.
    alignas(64) const Block* reading_ = nullptr;
    std::string own_;
    std::thread worker_;  // last: it starts when everything else is in place
};

}  // namespace tabulon
