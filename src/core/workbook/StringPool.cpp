// Adding to the pool: cut, charged, and placed in the last block or a new one.
#include "core/workbook/StringPool.h"

#include <algorithm>

namespace tabulon::workbook {

std::uint32_t StringPool::add(std::string_view text) {
    const std::string_view kept = cutCellText(text);
    if (kept.size() < text.size()) ++cutCount_;
    if (budget_ != nullptr) {
        budget_->charge(kept.size() + kStringOverhead);
        charged_ += kept.size() + kStringOverhead;
    }
    std::uint32_t entry = 0;
    if (!kept.empty() && (blocks_.empty() || blocks_.back().size() + kept.size() > kBlockSize)) {
        if (blocks_.size() >= (std::size_t{kPositionMask} + 1) >> kBlockBits)
            throw ReadError(ReadErrorKind::TooLarge, {}, "more than 2 GiB of cell text");
        blocks_.emplace_back();
        entry = kStartsBlock;
    }
    const std::uint32_t blockStart =
        blocks_.empty() ? 0 : static_cast<std::uint32_t>(blocks_.size() - 1) << kBlockBits;
    if (!kept.empty()) {
        std::string& block = blocks_.back();
        // A block grows as a string does, but never past its size.
        const std::size_t needed = block.size() + kept.size();
        if (needed > block.capacity())
            block.reserve(
                std::min<std::size_t>(kBlockSize, std::max(needed, 2 * block.capacity())));
        block.append(kept);
    }
    const std::uint32_t end =
        blocks_.empty() ? 0 : blockStart + static_cast<std::uint32_t>(blocks_.back().size());
    ends_.push_back(entry | end);
    return static_cast<std::uint32_t>(ends_.size() - 1);
}

void StringPool::appendAll(StringPool& from) {
    if (budget_ != nullptr) {
        budget_->charge(from.charged_);
        charged_ += from.charged_;
    }
    // Its blocks come after these, and its texts keep their places in them: what a text that
    // begins a block ends at moves with its block, and an empty text before its first block ends
    // where the last text here does.
    const std::uint32_t offset = static_cast<std::uint32_t>(blocks_.size()) << kBlockBits;
    const std::uint32_t lastEnd = ends_.empty() ? 0 : ends_.back() & kPositionMask;
    ends_.reserve(ends_.size() + from.ends_.size());
    for (const std::uint32_t entry : from.ends_) {
        const bool inBlock = (entry & kStartsBlock) != 0 || (entry & kPositionMask) != 0;
        ends_.push_back(inBlock ? entry + offset : lastEnd);
    }
    for (std::string& block : from.blocks_) blocks_.push_back(std::move(block));
    cutCount_ += from.cutCount_;
    if (from.budget_ != nullptr) from.budget_->refund(from.charged_);
    from.charged_ = 0;
    from.clear();
}

}  // namespace tabulon::workbook
