// Finding cells in the store, checked against every position around rows that are dense, have
// gaps or are missing, whatever order the cells came in.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "core/workbook/CellStore.h"

namespace tabulon::workbook {
namespace {

TEST(CellStoreTest, FindsEveryStoredCellAndNothingElse) {
    // Row 1 dense, row 2 with gaps, row 3 missing, row 4 a single cell, row 5 wide apart; one
    // cell given twice (the second wins) and some out of order.
    const std::pair<int, int> given[] = {{1, 1},     {1, 2}, {1, 3}, {1, 4}, {1, 5},
                                         {2, 2},     {2, 4}, {2, 7}, {4, 3}, {5, 1},
                                         {5, 16000}, {2, 3}, {1, 3}, {5, 2}};
    CellStore store;
    std::map<std::pair<int, int>, double> expected;
    double number = 0;
    for (const auto& [row, col] : given) {
        store.append(row, col, StoredKind::Number, 0, ++number, 0);
        expected[{row, col}] = number;
    }
    store.finish();
    ASSERT_EQ(store.size(), expected.size());
    for (int row = 0; row <= 6; ++row) {
        for (int col = 0; col <= 16001; col += col < 9 ? 1 : 15991) {
            const StoredCell* cell = store.find(row, col);
            const auto it = expected.find({row, col});
            if (it == expected.end()) {
                EXPECT_EQ(cell, nullptr) << row << "," << col;
            } else {
                ASSERT_NE(cell, nullptr) << row << "," << col;
                EXPECT_EQ(cell->row(), row);
                EXPECT_EQ(cell->col, col);
                EXPECT_EQ(cell->number, it->second) << row << "," << col;
            }
        }
    }
}

}  // namespace
}  // namespace tabulon::workbook
