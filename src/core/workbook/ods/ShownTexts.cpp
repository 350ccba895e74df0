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
        blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(kBlockSize));
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
    while (before > 0) {
        const std::uint64_t start = position;
        const std::uint64_t number = readNumber(position);
        if (number == kPadding) {
            position = (start + kBlockSize) & ~std::uint64_t{kBlockSize - 1};
            continue;
        }
        if ((number & 1) == 0) position += number >> 1;
        --before;
    }
    last = {id_, cell, position};
    return textAt(position);
}

}  // namespace tabulon::workbook::ods
