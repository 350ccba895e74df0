// The cells of one worksheet in a compact form: 16 bytes a cell, sorted by row and column.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/workbook/PageBlock.h"
#include "core/workbook/Worksheet.h"

namespace tabulon::workbook {

// What a stored cell holds. StyleOnly cells carry formatting but no value.
enum class StoredKind : std::uint8_t { StyleOnly, Number, SharedText, LocalText, Boolean, Error };

struct StoredCell {
    union {
        double number;        // Number
        std::uint32_t index;  // SharedText, LocalText and Error: a string index; Boolean: 0 or 1
    };
    std::uint32_t rowAndKind;  // row in the low 21 bits, kind in the top 8
    std::uint16_t col;
    std::uint16_t style;  // index of the cell format

    std::int32_t row() const { return static_cast<std::int32_t>(rowAndKind & 0x1FFFFF); }
    StoredKind kind() const { return static_cast<StoredKind>(rowAndKind >> 24); }
};
static_assert(sizeof(StoredCell) == 16);

class CellStore {
  public:
    // Cells normally arrive in row and column order; others are sorted by finish(). A cell given
    // twice keeps its last content.
    void append(std::int32_t row, std::int32_t col, StoredKind kind, std::uint16_t style,
                double number, std::uint32_t index);
    // Appends the cells of `from`, which lie below these, `rowOffset` rows further down and with
    // the string indexes of LocalText and Error cells `textOffset` further on, taking over its
    // blocks rather than copying them; `from` is left empty.
    void appendAll(CellStore& from, std::int32_t rowOffset, std::uint32_t textOffset);
    // Sorts if needed and builds the row index; call once after the last append.
    void finish();

    std::size_t size() const { return count_; }
    // The i-th stored cell; after finish() in row and column order.
    const StoredCell& cell(std::size_t i) const { return at(i); }
    // The bounding box of the stored cells; A1 alone when there are none.
    CellRange bounds() const;
    // The cell at the position, or nullptr for a cell that is not stored.
    const StoredCell* find(std::int32_t row, std::int32_t col) const;
    // The index of the cell at the position, or kNone for a cell that is not stored.
    static constexpr std::size_t kNone = SIZE_MAX;
    std::size_t indexOf(std::int32_t row, std::int32_t col) const;

  private:
    static constexpr std::size_t kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

    StoredCell& at(std::size_t i) { return blocks_[i >> kBlockBits][i & (kBlockSize - 1)]; }
    const StoredCell& at(std::size_t i) const {
        return blocks_[i >> kBlockBits][i & (kBlockSize - 1)];
    }
    void sortCells();
    // Counts the cell just placed at index count_.
    void noteAdded(std::int32_t row, std::int32_t col);

    std::vector<PageBlock<StoredCell>> blocks_;
    std::size_t count_ = 0;
    bool sorted_ = true;
    std::int64_t lastKey_ = -1;
    CellRange bounds_{};
    // rowStart_[r - bounds_.firstRow] is the index of the first cell of row r; one extra entry
    // closes the last row.
    std::vector<std::uint32_t> rowStart_;
};

}  // namespace tabulon::workbook
