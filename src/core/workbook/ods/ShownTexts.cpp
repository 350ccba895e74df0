// Shown texts as entries in store order, found through a bit per cell and a start per 64 cells.
#include "core/workbook/ods/ShownTexts.h"

#include <atomic>
#include <bit>
#include <cstring>

#include "core/workbook/CellText.h"
#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook::ods {

namespace {

// An entry number that stands for no cell: the rest of the block is unused.
constexpr std::uint64_t kPadding = 1;
constexpr std::size_t kMaxNumberBytes = 10;

// Where a thread found its last text, for the common walk in store order: the walk may be
// shared by two threads, which must not read each other's place.
struct LastFound {
    std::uint64_t texts = 0;  // the id of the set of texts, 0 for none
    std::size_t cell = 0;
    std::uint64_t entry = 0;
};
thread_local LastFound lastFound;

std::uint64_t newId() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

ShownTexts::ShownTexts(TextBudget* budget) : budget_(budget), id_(newId()) {}

ShownTexts::~ShownTexts() {
    if (budget_ != nullptr) budget_->refund(charged_);
}

void ShownTexts::mark(std::size_t cell) {
    const std::size_t word = cell >> 6;
    while (showing_.size() <= word) {
        showing_.push_back(0);
        firstEntry_.push_back(size_);
    }
    showing_[word] |= std::uint64_t{1} << (cell & 63);
}

std::uint64_t ShownTexts::reserve(std::size_t bytes) {
    const std::size_t used = size_ & (kBlockSize - 1);
    const bool full = size_ == blocks_.size() * kBlockSize;
    if (full || used + bytes > kBlockSize) {
        // An entry is kept whole in one block: the rest of this one is marked unused.
        if (!full) {
            blocks_.back()[used] = static_cast<unsigned char>(kPadding);
            size_ = blocks_.size() * kBlockSize;
        }
        blocks_.push_back(makePageBlock<unsigned char>(kBlockSize));
    }
    return size_;
}

void ShownTexts::write(std::uint64_t number, std::string_view text) {
    unsigned char* out = &blocks_[size_ >> kBlockBits][size_ & (kBlockSize - 1)];
    std::size_t n = 0;
    do {
        out[n] = static_cast<unsigned char>((number & 0x7F) | (number > 0x7F ? 0x80 : 0));
        number >>= 7;
        ++n;
    } while (number != 0);
    if (!text.empty()) std::memcpy(out + n, text.data(), text.size());
    size_ += n + text.size();
}

std::uint64_t ShownTexts::add(std::size_t cell, std::string_view text) {
    text = cutCellText(text);
    if (budget_ != nullptr) {
        budget_->charge(text.size() + kStringOverhead);
        charged_ += text.size() + kStringOverhead;
    }
    mark(cell);
    const std::uint64_t start = reserve(kMaxNumberBytes + text.size());
    write(std::uint64_t{text.size()} << 1, text);
    return start;
}

void ShownTexts::repeat(std::size_t cell, std::uint64_t at) {
    mark(cell);
    const std::uint64_t start = reserve(kMaxNumberBytes);
    write(((start - at) << 1) | 1, {});
}

void ShownTexts::appendAll(ShownTexts& from, std::size_t cellOffset) {
    if (from.showing_.empty()) return;
    if (budget_ != nullptr) {
        budget_->charge(from.charged_);
        charged_ += from.charged_;
    }
    if (from.budget_ != nullptr) from.budget_->refund(from.charged_);
    from.charged_ = 0;
    // Its entries go on in blocks of their own, so that they keep their places relative to each
    // other and their back references hold: the rest of the current block is marked unused.
    const std::size_t used = size_ & (kBlockSize - 1);
    const std::uint64_t base = blocks_.size() * kBlockSize;
    const std::size_t firstWord = cellOffset >> 6;
    const unsigned shift = cellOffset & 63;
    const std::size_t words = (cellOffset + from.showing_.size() * 64 + 63) >> 6;
    // A word that held a showing cell before starts at its entry; a new one at the entry of its
    // first cell that comes from `from`.
    const std::size_t held = showing_.size();
    firstEntry_.resize(words);
    for (std::size_t w = held; w < words; ++w)
        firstEntry_[w] = base + from.entryFrom(w * 64 < cellOffset ? 0 : w * 64 - cellOffset);
    showing_.resize(words, 0);
    for (std::size_t w = 0; w < from.showing_.size(); ++w) {
        const std::uint64_t bits = from.showing_[w];
        showing_[firstWord + w] |= bits << shift;
        if (shift != 0 && firstWord + w + 1 < words)
            showing_[firstWord + w + 1] |= bits >> (64 - shift);
    }
    if (used != 0) blocks_.back()[used] = static_cast<unsigned char>(kPadding);
    for (auto& block : from.blocks_) blocks_.push_back(std::move(block));
    size_ = base + from.size_;
    from.showing_.clear();
    from.firstEntry_.clear();
    from.blocks_.clear();
    from.size_ = 0;
}

void ShownTexts::finish() {
    showing_.shrink_to_fit();
    firstEntry_.shrink_to_fit();
}

std::uint64_t ShownTexts::readNumber(std::uint64_t& position) const {
    std::uint64_t number = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = at(position++);
        number |= std::uint64_t{byte & 0x7Fu} << shift;
        if ((byte & 0x80) == 0) return number;
    }
}

std::uint64_t ShownTexts::skipEntries(std::uint64_t position, std::uint64_t count) const {
    while (count > 0) {
        const std::uint64_t start = position;
        const std::uint64_t number = readNumber(position);
        if (number == kPadding) {
            position = (start + kBlockSize) & ~std::uint64_t{kBlockSize - 1};
            continue;
        }
        if ((number & 1) == 0) position += number >> 1;
        --count;
    }
    return position;
}

std::uint64_t ShownTexts::entryFrom(std::size_t cell) const {
    const std::size_t word = cell >> 6;
    if (word >= showing_.size()) return size_;
    const std::uint64_t before = showing_[word] & ((std::uint64_t{1} << (cell & 63)) - 1);
    return skipEntries(firstEntry_[word], static_cast<std::uint64_t>(std::popcount(before)));
}

std::string_view ShownTexts::textAt(std::uint64_t position) const {
    for (;;) {
        const std::uint64_t start = position;
        const std::uint64_t number = readNumber(position);
        if (number == kPadding) {
            position = (start + kBlockSize) & ~std::uint64_t{kBlockSize - 1};
        } else if ((number & 1) != 0) {
            position = start - (number >> 1);
        } else {
            const auto* text = &blocks_[position >> kBlockBits][position & (kBlockSize - 1)];
            return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(number >> 1)};
        }
    }
}

std::optional<std::string_view> ShownTexts::find(std::size_t cell) const {
    const std::size_t word = cell >> 6;
    if (word >= showing_.size()) return std::nullopt;
    const std::uint64_t bit = std::uint64_t{1} << (cell & 63);
    if ((showing_[word] & bit) == 0) return std::nullopt;
    // The entries of the showing cells before this one in its word are passed over.
    std::uint64_t position;
    std::uint64_t before;
    LastFound& last = lastFound;
    if (last.texts == id_ && last.cell < cell && (last.cell >> 6) == word) {
        position = last.entry;
        before = showing_[word] & (bit - 1) & ~((std::uint64_t{2} << (last.cell & 63)) - 1);
        before = static_cast<std::uint64_t>(std::popcount(before)) + 1;
    } else {
        position = firstEntry_[word];
        before = static_cast<std::uint64_t>(std::popcount(showing_[word] & (bit - 1)));
    }
    position = skipEntries(position, before);
    last = {id_, cell, position};
    return textAt(position);
}

}  // namespace tabulon::workbook::ods
