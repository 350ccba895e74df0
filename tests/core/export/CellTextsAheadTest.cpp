// Texts made ahead on two threads: every cell once, in walk order, whatever the sheet's shape,
// with a failing cell's error at that cell and long texts past a block's limit made in place.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/export/CellTextsAhead.h"

namespace tabulon {
namespace {

std::string textAt(std::int32_t outer, std::int32_t inner) {
    return std::to_string(outer) + ":" + std::to_string(inner);
}

struct Shape {
    std::int32_t outers;
    std::int32_t inners;
    std::int32_t step;  // every step-th outer is walked
    std::size_t textSize;
};

TEST(CellTextsAhead, EveryWalkedCellOnceInOrder) {
    const std::vector<Shape> shapes = {
        {0, 0, 1, 0},        {1, 1, 1, 0},      {3, 100'000, 1, 0},  // an outer wider than a block
        {70'000, 1, 1, 0},   {20'000, 7, 3, 0},                      // blocks passed over whole
        {300, 40, 1, 2'000},  // texts past a block's byte limit
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.outers) + "x" + std::to_string(shape.inners));
        auto made = std::make_unique<std::atomic<int>[]>(
            static_cast<std::size_t>(shape.outers) * shape.inners + 1);
        const auto cellText = [&](std::int32_t o, std::int32_t i) {
            std::string text = textAt(o, i);
            text.resize(std::max(text.size(), shape.textSize), '.');
            return text;
        };
        {
            CellTextsAhead texts(shape.outers, shape.inners, [&](std::int32_t o, std::int32_t i) {
                ++made[static_cast<std::size_t>(o - 1) * shape.inners + (i - 1)];
                return cellText(o, i);
            });
            for (std::int32_t o = 1; o <= shape.outers; o += shape.step)
                for (std::int32_t i = 1; i <= shape.inners; ++i)
                    ASSERT_EQ(texts.take(o, i), cellText(o, i));
        }
        for (std::int32_t o = 1; o <= shape.outers; o += shape.step)
            for (std::int32_t i = 1; i <= shape.inners; ++i)
                ASSERT_EQ(made[static_cast<std::size_t>(o - 1) * shape.inners + (i - 1)], 1);
    }
}

TEST(CellTextsAhead, AFailingCellFailsAloneAndAWalkMayStopEarly) {
    CellTextsAhead texts(50'000, 3, [](std::int32_t o, std::int32_t i) {
        if (o % 10'000 == 0 && i == 2) throw std::runtime_error("cell " + textAt(o, i));
        return textAt(o, i);
    });
    for (std::int32_t o = 1; o <= 30'000; ++o) {
        for (std::int32_t i = 1; i <= 3; ++i) {
            if (o % 10'000 == 0 && i == 2) {
                EXPECT_THROW(texts.take(o, i), std::runtime_error);
            } else {
                ASSERT_EQ(texts.take(o, i), textAt(o, i));
            }
        }
    }
    EXPECT_THROW(texts.take(50'001, 1), std::logic_error);
    // Leaving the rest untaken ends the second thread without waiting for the whole walk.
}

}  // namespace
}  // namespace tabulon
