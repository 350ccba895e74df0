// File names of one save, kept apart as case-insensitive file systems see them.
#include "core/export/DistinctNames.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace tabulon {
namespace {

constexpr unsigned kBlockBits = 20;
constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
constexpr std::uint32_t kOffsetMask = kBlockSize - 1;

// The name with every character replaced by its simple case folding (UTF-8 in, UTF-8 out);
// bytes that are not UTF-8 stay as they are.
void foldCase(std::string_view name, std::string& folded) {
    folded.clear();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
    const auto length = static_cast<std::int32_t>(name.size());
    for (std::int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {  // most names are ASCII
            const char c = static_cast<char>(bytes[i++]);
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            continue;
        }
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            folded.append(
                name.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            continue;
        }
        std::uint8_t out[U8_MAX_LENGTH];
        std::int32_t written = 0;
        U8_APPEND_UNSAFE(out, written, u_foldCase(c, U_FOLD_CASE_DEFAULT));
        folded.append(reinterpret_cast<const char*>(out), static_cast<std::size_t>(written));
    }
}

}  // namespace

std::string_view DistinctNames::kept(std::uint32_t place) const {
    const char* at = blocks_[place >> kBlockBits].get() + (place & kOffsetMask);
    std::uint32_t size = 0;
    std::memcpy(&size, at, sizeof size);
    return {at + sizeof size, size};
}

std::uint32_t DistinctNames::keep(std::string_view folded) {
    const std::size_t needed = sizeof(std::uint32_t) + folded.size();
    if (blocks_.empty() || blockUsed_ + needed > kBlockSize) {
        // A name longer than a block gets a block of its own; a place names at most 4096 blocks.
        if (blocks_.size() >= (std::size_t{1} << (32 - kBlockBits)))
            throw std::length_error("Out of memory");
        blocks_.emplace_back(new char[std::max(needed, kBlockSize)]);
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    const auto size = static_cast<std::uint32_t>(folded.size());
    std::memcpy(at, &size, sizeof size);
    std::memcpy(at + sizeof size, folded.data(), folded.size());
    const auto place =
        static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | blockUsed_);
    blockUsed_ += needed;
    return place;
}

// The slot that holds the name, or the free slot where it belongs.
std::size_t DistinctNames::slotOf(std::string_view folded) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(folded) & mask;;
         slot = (slot + 1) & mask) {
        if (slots_[slot] == 0 || kept(slots_[slot] - 1) == folded) return slot;
    }
}

void DistinctNames::reserve(std::size_t count) {
    std::size_t size = slots_.empty() ? 64 : slots_.size();
    while (size < 2 * (count_ + count)) size *= 2;
    if (size == slots_.size()) return;
    std::vector<std::uint32_t> old(size, 0);
    old.swap(slots_);
    for (const std::uint32_t place : old) {
        if (place != 0) slots_[slotOf(kept(place - 1))] = place;
    }
}

bool DistinctNames::claim(std::string_view name) {
    foldCase(name, folded_);
    reserve(1);
    const std::size_t slot = slotOf(folded_);
    if (slots_[slot] != 0) return false;
    slots_[slot] = keep(folded_) + 1;
    ++count_;
    return true;
}

std::string DistinctNames::take(const std::string& name) {
    if (claim(name)) return name;
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (int number = 2;; ++number) {
        std::string candidate = stem + " (" + std::to_string(number) + ")" + extension;
        if (claim(candidate)) return candidate;
    }
}

}  // namespace tabulon
