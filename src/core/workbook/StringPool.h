// Many strings kept in blocks of one buffer each and addressed by index, without an allocation per
// string and without copying what is kept when the pool grows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/CellText.h"
#include "core/workbook/ReadError.h"

namespace tabulon::workbook {

// The text bytes that the string pools of one workbook may hold together.
class TextBudget {
  public:
    explicit TextBudget(std::uint64_t limit = kMaxTextBytes) : limit_(limit) {}

    // Throws ReadError (TooLarge) when the bytes do not fit any more.
    void charge(std::uint64_t bytes) {
        used_ += bytes;
        if (used_ > limit_)
            throw ReadError(ReadErrorKind::TooLarge, {},
                            "more than " + std::to_string(limit_ >> 20) + " MiB of cell text");
    }
    void refund(std::uint64_t bytes) { used_ -= bytes; }
    std::uint64_t used() const { return used_; }
    // What may still be charged without passing the limit.
    std::uint64_t left() const { return used_ >= limit_ ? 0 : limit_ - used_; }

  private:
    std::uint64_t limit_;
    std::uint64_t used_ = 0;
};

// Cell texts: each is cut at the cell text limit, and all are charged to the budget, if any.
class StringPool {
  public:
    StringPool() = default;
    explicit StringPool(TextBudget* budget) : budget_(budget) {}
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;
    ~StringPool() { clear(); }

    // Throws ReadError (TooLarge) past the budget, or past 2 GiB in a pool without one.
    std::uint32_t add(std::string_view text);
    std::string_view get(std::uint32_t index) const {
        const std::uint32_t entry = ends_[index];
        const std::uint32_t end = entry & kPositionMask;
        std::uint32_t begin;
        if ((entry & kStartsBlock) != 0)
            begin = ((end - 1) >> kBlockBits) << kBlockBits;
        else
            begin = index == 0 ? 0 : ends_[index - 1] & kPositionMask;
        if (begin == end) return {};
        return {blocks_[begin >> kBlockBits].data() + (begin & (kBlockSize - 1)), end - begin};
    }
    std::size_t size() const { return ends_.size(); }
    // What the texts have charged to the budget.
    std::uint64_t charged() const { return charged_; }
    // Adds the texts of `from` after these, in order (its text i becomes text size() + i here),
    // taking over its blocks and its count of cut texts, and empties it. Throws ReadError past
    // the budget.
    void appendAll(StringPool& from);
    // How many texts were cut at the cell text limit.
    std::size_t cutCount() const { return cutCount_; }
    // Gives back what the last block and the index do not use.
    void shrinkToFit() {
        if (!blocks_.empty()) blocks_.back().shrink_to_fit();
        ends_.shrink_to_fit();
    }
    // Empties the pool and gives its bytes back to the budget.
    void clear() {
        if (budget_ != nullptr) budget_->refund(charged_);
        charged_ = 0;
        cutCount_ = 0;
        std::vector<std::string>().swap(blocks_);
        std::vector<std::uint32_t>().swap(ends_);
    }

  private:
    // A text lies whole in one block of 1 MiB (the longest cell text is far shorter); its place is
    // block * kBlockSize + offset.
    static constexpr unsigned kBlockBits = 20;
    static constexpr std::uint32_t kBlockSize = std::uint32_t{1} << kBlockBits;
    // ends_[i]: where text i ends, and whether it begins a block (else it begins where text i-1
    // ends).
    static constexpr std::uint32_t kStartsBlock = std::uint32_t{1} << 31;
    static constexpr std::uint32_t kPositionMask = kStartsBlock - 1;

    TextBudget* budget_ = nullptr;
    std::uint64_t charged_ = 0;
    std::size_t cutCount_ = 0;
    std::vector<std::string> blocks_;  // all but the last hold kBlockSize bytes or a little less
    std::vector<std::uint32_t> ends_;
};

}  // namespace tabulon::workbook
