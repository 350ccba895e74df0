// A worksheet's cells checked against a table: each row a cell reference, the text the sheet
// shows and, where it matters, the kind of value behind it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string_view>

#include "core/workbook/CellReference.h"
#include "core/workbook/CellValue.h"
#include "core/workbook/Worksheet.h"

namespace tabulon::testing {

struct ExpectedCell {
    std::string_view reference;  // "B3"
    std::string_view text;
    std::optional<workbook::CellValue::Kind> kind = std::nullopt;
};

inline void expectCells(const workbook::Worksheet& sheet,
                        std::initializer_list<ExpectedCell> cells) {
    for (const ExpectedCell& cell : cells) {
        const auto at = workbook::parseCellReference(cell.reference);
        ASSERT_TRUE(at && at->row > 0) << "bad reference in the test: " << cell.reference;
        EXPECT_EQ(sheet.text(at->row, at->col), cell.text) << "cell " << cell.reference;
        if (cell.kind) {
            EXPECT_EQ(sheet.value(at->row, at->col).kind, *cell.kind) << "cell " << cell.reference;
        }
    }
}

}  // namespace tabulon::testing
