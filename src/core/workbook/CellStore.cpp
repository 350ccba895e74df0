// The compact cell store: block-wise growth (no reallocation peaks), sorting and row index.
#include "core/workbook/CellStore.h"

#include <algorithm>
#include <cstring>

namespace tabulon::workbook {

namespace {

std::int64_t keyOf(std::int32_t row, std::int32_t col) {
    return (static_cast<std::int64_t>(row) << 16) | col;
}

}  // namespace

void CellStore::append(std::int32_t row, std::int32_t col, StoredKind kind, std::uint16_t style,
                       double number, std::uint32_t index) {
    if ((count_ & (kBlockSize - 1)) == 0 && (count_ >> kBlockBits) == blocks_.size())
        blocks_.push_back(makePageBlock<StoredCell>(kBlockSize));
    StoredCell& cell = at(count_);
    if (kind == StoredKind::Number)
        cell.number = number;
    else
        cell.index = index;
    cell.rowAndKind = static_cast<std::uint32_t>(row) | (static_cast<std::uint32_t>(kind) << 24);
    cell.col = static_cast<std::uint16_t>(col);
    cell.style = style;
    noteAdded(row, col);
}

void CellStore::noteAdded(std::int32_t row, std::int32_t col) {
    const std::int64_t key = keyOf(row, col);
    if (key <= lastKey_) sorted_ = false;
    lastKey_ = key;
    if (count_ == 0) {
        bounds_ = {row, col, row, col};
    } else {
        bounds_.firstRow = std::min(bounds_.firstRow, row);
        bounds_.lastRow = std::max(bounds_.lastRow, row);
        bounds_.firstCol = std::min(bounds_.firstCol, col);
        bounds_.lastCol = std::max(bounds_.lastCol, col);
    }
    ++count_;
}

void CellStore::appendAll(CellStore& from, std::int32_t rowOffset, std::uint32_t textOffset) {
    const auto moved = [&](StoredCell& cell) {
        const StoredKind kind = cell.kind();
        cell.rowAndKind += static_cast<std::uint32_t>(rowOffset);
        if (kind == StoredKind::LocalText || kind == StoredKind::Error) cell.index += textOffset;
        noteAdded(cell.row(), cell.col);
    };
    // The last block here is filled up first; the blocks of `from` then come after it, each
    // moved up by as many cells as that took, so that no cell is held twice.
    const std::size_t room = (kBlockSize - (count_ & (kBlockSize - 1))) & (kBlockSize - 1);
    const std::size_t first = std::min(room, from.count_);
    for (std::size_t i = 0; i < first; ++i) {
        at(count_) = from.at(i);
        moved(at(count_));
    }
    const std::size_t rest = from.count_ - first;
    const std::size_t blocks = (rest + kBlockSize - 1) >> kBlockBits;
    for (std::size_t b = 0; b < blocks; ++b) {
        StoredCell* block = from.blocks_[b].get();
        if (first != 0) {
            std::memmove(block, block + first, (kBlockSize - first) * sizeof(StoredCell));
            if (b + 1 < from.blocks_.size())
                std::memcpy(block + kBlockSize - first, from.blocks_[b + 1].get(),
                            first * sizeof(StoredCell));
        }
        blocks_.push_back(std::move(from.blocks_[b]));
        const std::size_t cells = std::min(kBlockSize, rest - (b << kBlockBits));
        for (std::size_t i = 0; i < cells; ++i) moved(block[i]);
    }
    from = CellStore();
}

void CellStore::sortCells() {
    std::vector<StoredCell> cells;
    cells.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i) cells.push_back(at(i));
    std::stable_sort(cells.begin(), cells.end(), [](const StoredCell& a, const StoredCell& b) {
        return keyOf(a.row(), a.col) < keyOf(b.row(), b.col);
    });
    // Of equal positions keep the last one given.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool lastOfItsPosition =
            i + 1 == cells.size() ||
            keyOf(cells[i].row(), cells[i].col) != keyOf(cells[i + 1].row(), cells[i + 1].col);
        if (lastOfItsPosition) at(kept++) = cells[i];
    }
    count_ = kept;
    blocks_.resize((count_ + kBlockSize - 1) >> kBlockBits);
}

void CellStore::finish() {
    if (!sorted_) sortCells();
    sorted_ = true;
    rowStart_.clear();
    if (count_ == 0) return;
    const std::size_t rows = static_cast<std::size_t>(bounds_.lastRow - bounds_.firstRow) + 1;
    rowStart_.assign(rows + 1, 0);
    std::size_t i = 0;
    for (std::size_t r = 0; r < rows; ++r) {
        rowStart_[r] = static_cast<std::uint32_t>(i);
        const std::int32_t row = bounds_.firstRow + static_cast<std::int32_t>(r);
        while (i < count_ && at(i).row() == row) ++i;
    }
    rowStart_[rows] = static_cast<std::uint32_t>(count_);
}

CellRange CellStore::bounds() const { return count_ == 0 ? CellRange{} : bounds_; }

const StoredCell* CellStore::find(std::int32_t row, std::int32_t col) const {
    const std::size_t index = indexOf(row, col);
    return index == kNone ? nullptr : &at(index);
}

std::size_t CellStore::indexOf(std::int32_t row, std::int32_t col) const {
    if (count_ == 0 || row < bounds_.firstRow || row > bounds_.lastRow) return kNone;
    const std::size_t r = static_cast<std::size_t>(row - bounds_.firstRow);
    std::size_t lo = rowStart_[r];
    std::size_t hi = rowStart_[r + 1];
    if (lo == hi) return kNone;
    // A row without gaps holds the cell as many places after its first as its column lies
    // after the first cell's: tried before the search.
    const std::int32_t firstCol = at(lo).col;
    if (col >= firstCol) {
        const std::size_t guess = lo + static_cast<std::size_t>(col - firstCol);
        if (guess < hi && at(guess).col == col) return guess;
    }
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const StoredCell& cell = at(mid);
        if (cell.col == col) return mid;
        if (cell.col < col)
            lo = mid + 1;
        else
            hi = mid;
    }
    return kNone;
}

}  // namespace tabulon::workbook
