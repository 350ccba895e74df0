// The texts that an OpenDocument file shows for its number cells, kept beside the sheet's cell
// store in a few bytes a cell: one entry per showing cell in store order, a cell that repeats
// another's text pointing back to it rather than holding it again.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/workbook/PageBlock.h"
#include "core/workbook/StringPool.h"

namespace tabulon::workbook::ods {

class ShownTexts {
  public:
    explicit ShownTexts(TextBudget* budget);
    ShownTexts(const ShownTexts&) = delete;
    ShownTexts& operator=(const ShownTexts&) = delete;
    ~ShownTexts();

    // The cell at the store index shows the text, which is kept cut at the cell text limit and
    // charged to the budget; indices only grow from call to call. Returns where the text is
    // kept, for cells that repeat it.
    std::uint64_t add(std::size_t cell, std::string_view text);
    // The cell shows the text kept at `at` (what add returned).
    void repeat(std::size_t cell, std::uint64_t at);
    // Adds the texts of `from` after these, its cell i being cell cellOffset + i here (after every
    // cell added so far), and empties it. Throws ReadError past the budget.
    void appendAll(ShownTexts& from, std::size_t cellOffset);
    // What the texts have charged to the budget.
    std::uint64_t charged() const { return charged_; }
    // Trims the buffers; call once after the last cell.
    void finish();

    // The text that the cell at the store index shows, if it has one.
    std::optional<std::string_view> find(std::size_t cell) const;

  private:
    static constexpr std::size_t kBlockBits = 20;  // entry bytes are kept in blocks of 1 MiB
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

    void mark(std::size_t cell);
    // Makes room for an entry of up to `bytes` in the current block, or starts a new one;
    // returns where the entry begins.
    std::uint64_t reserve(std::size_t bytes);
    // Writes the entry's number and text where reserve() made room.
    void write(std::uint64_t number, std::string_view text);
    // The byte at a position of the entries.
    unsigned char at(std::uint64_t position) const {
        return blocks_[position >> kBlockBits][position & (kBlockSize - 1)];
    }
    // Reads the number at the position (seven bits a byte, low first) and moves past it.
    std::uint64_t readNumber(std::uint64_t& position) const;
    // Moves past `count` entries from the position, and past unused ends of blocks.
    std::uint64_t skipEntries(std::uint64_t position, std::uint64_t count) const;
    // Where the entry of the first showing cell at or after `cell` begins (or unused bytes
    // before it); the end of the entries when there is none.
    std::uint64_t entryFrom(std::size_t cell) const;
    // The text of the entry at the position, following a back reference.
    std::string_view textAt(std::uint64_t position) const;

    TextBudget* budget_;
    std::uint64_t charged_ = 0;
    // Bit i of word w: the cell at store index 64w + i shows a text.
    std::vector<std::uint64_t> showing_;
    // firstEntry_[w]: where the entry of the first showing cell at or after 64w begins.
    std::vector<std::uint64_t> firstEntry_;
    // The entries: a number n; n even: a text of n/2 bytes follows (kept whole in one block);
    // n odd: the same text as the entry (n-1)/2 bytes before this one.
    std::vector<PageBlock<unsigned char>> blocks_;
    std::uint64_t size_ = 0;
    // Tells this set of texts from every other, for the place each thread found its last text.
    const std::uint64_t id_;
};

}  // namespace tabulon::workbook::ods
