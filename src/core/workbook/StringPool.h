// Many strings kept in one buffer and addressed by index, without an allocation per string.
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

    std::uint32_t add(std::string_view text) {
        const std::string_view kept = cutCellText(text);
        if (kept.size() < text.size()) ++cutCount_;
        if (budget_ != nullptr) {
            budget_->charge(kept.size() + kStringOverhead);
            charged_ += kept.size() + kStringOverhead;
        }
        chars_.append(kept);
        ends_.push_back(chars_.size());
        return static_cast<std::uint32_t>(ends_.size() - 1);
    }
    std::string_view get(std::uint32_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(chars_).substr(begin, ends_[index] - begin);
    }
    std::size_t size() const { return ends_.size(); }
    std::size_t charCount() const { return chars_.size(); }
    // How many texts were cut at the cell text limit.
    std::size_t cutCount() const { return cutCount_; }
    void shrinkToFit() {
        chars_.shrink_to_fit();
        ends_.shrink_to_fit();
    }
    // Empties the pool and gives its bytes back to the budget.
    void clear() {
        if (budget_ != nullptr) budget_->refund(charged_);
        charged_ = 0;
        cutCount_ = 0;
        std::string().swap(chars_);
        std::vector<std::size_t>().swap(ends_);
    }

  private:
    TextBudget* budget_ = nullptr;
    std::uint64_t charged_ = 0;
    std::size_t cutCount_ = 0;
    std::string chars_;
    std::vector<std::size_t> ends_;
};

}  // namespace tabulon::workbook
