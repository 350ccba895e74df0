// Blocks of cell texts shared out between the second thread and the walking one. At most three
// are held, each of 8,192 cells in walk order and at most 256 KiB (the walk makes the cells past
// that itself), so the texts ahead stay small whatever the sheet's size.
#include "core/export/CellTextsAhead.h"

#include <algorithm>
#include <stdexcept>

namespace tabulon {

namespace {

// Enough that handing a block over costs nothing next to making it.
constexpr std::uint64_t kBlockCells = 8 * 1024;
constexpr std::size_t kBlockBytes = 256 * 1024;

}  // namespace

CellTextsAhead::CellTextsAhead(std::int32_t outerLast, std::int32_t innerLast, Text text)
    : outerLast_(std::max(outerLast, 0)),
      innerLast_(std::max(innerLast, 0)),
      cellCount_(static_cast<std::uint64_t>(outerLast_) * static_cast<std::uint64_t>(innerLast_)),
      blockCount_((cellCount_ + kBlockCells - 1) / kBlockCells),
      text_(std::move(text)) {
    // A walk of one block makes it itself: a second thread would only wait for it.
    if (blockCount_ < 2) return;
    // The blocks' room is taken here, from this thread's heap, to which it returns for the reads
    // that follow; made on the second thread, it would stay with that thread's heap.
    for (Block& block : slots_) {
        block.texts.reserve(kBlockBytes);
        block.ends.reserve(kBlockCells);
    }
    worker_ = std::thread([this] { makeAhead(); });
}

CellTextsAhead::~CellTextsAhead() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool CellTextsAhead::claimable() const {
    if (claimed_ >= blockCount_ || claimed_ >= current_ + kSlots) return false;
    return claimed_ < kSlots || slots_[claimed_ % kSlots].ready;
}

std::uint64_t CellTextsAhead::claim() {
    const std::uint64_t index = claimed_++;
    Block& block = slots_[index % kSlots];
    block.index = index;
    block.ready = false;
    return index;
}

void CellTextsAhead::makeAhead() {
    for (;;) {
        std::uint64_t index;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock,
                          [&] { return cancelled_ || claimed_ >= blockCount_ || claimable(); });
            if (cancelled_ || claimed_ >= blockCount_) return;
            index = claim();
        }
        make(index);
    }
}

void CellTextsAhead::make(std::uint64_t index) {
    Block& block = slots_[index % kSlots];
    block.texts.clear();
    block.ends.clear();
    block.failures.clear();
    const std::uint64_t first = index * kBlockCells;
    const std::uint64_t end = std::min(cellCount_, first + kBlockCells);
    auto o = static_cast<std::int32_t>(first / static_cast<std::uint64_t>(innerLast_)) + 1;
    auto i = static_cast<std::int32_t>(first % static_cast<std::uint64_t>(innerLast_)) + 1;
    try {
        for (std::uint64_t cell = first; cell < end && block.texts.size() < kBlockBytes; ++cell) {
            if (cancelled_.load(std::memory_order_relaxed)) break;
            try {
                block.texts += text_(o, i);
            } catch (...) {
                block.failures.emplace_back(block.ends.size(), std::current_exception());
            }
            block.ends.push_back(static_cast<std::uint32_t>(block.texts.size()));
            if (++i > innerLast_) {
                i = 1;
                ++o;
            }
        }
    } catch (...) {
        // No memory for the block itself: the walk makes the rest of its cells in place.
    }
    {
        std::lock_guard lock(mutex_);
        block.ready = true;
    }
    changed_.notify_all();
}

void CellTextsAhead::waitFor(std::uint64_t index) {
    std::unique_lock lock(mutex_);
    if (current_ != index) {
        current_ = index;  // the blocks before it are done with: their slots may be made again
        changed_.notify_all();
    }
    for (;;) {
        const Block& block = slots_[index % kSlots];
        if (index < claimed_ && block.index == index && block.ready) return;
        if (claimable()) {
            const std::uint64_t next = claim();
            lock.unlock();
            make(next);
            lock.lock();
        } else {
            changed_.wait(lock);
        }
    }
}

std::string_view CellTextsAhead::take(std::int32_t outer, std::int32_t inner) {
    if (outer < 1 || outer > outerLast_ || inner < 1 || inner > innerLast_)
        throw std::logic_error("a cell outside the walk");
    const std::uint64_t walked =
        static_cast<std::uint64_t>(outer - 1) * innerLast_ + static_cast<std::uint64_t>(inner - 1);
    const std::uint64_t index = walked / kBlockCells;
    // The block being read is the walk's until it moves on: no lock is needed for its cells.
    if (reading_ == nullptr || reading_->index != index) {
        waitFor(index);
        reading_ = &slots_[index % kSlots];
    }
    const Block& block = *reading_;
    const auto cell = static_cast<std::size_t>(walked % kBlockCells);
    if (cell >= block.ends.size()) {
        // Past the block's byte limit: made here, one at a time.
        own_ = text_(outer, inner);
        return own_;
    }
    const auto failed =
        std::lower_bound(block.failures.begin(), block.failures.end(), cell,
                         [](const auto& failure, std::size_t at) { return failure.first < at; });
    if (failed != block.failures.end() && failed->first == cell)
        std::rethrow_exception(failed->second);
    const std::uint32_t from = cell == 0 ? 0 : block.ends[cell - 1];
    return std::string_view(block.texts).substr(from, block.ends[cell] - from);
}

}  // namespace tabulon
