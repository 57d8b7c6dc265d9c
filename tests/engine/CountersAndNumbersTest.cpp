#include "engine/CheckedCounter.h"
#include "engine/NumberText.h"
#include "engine/Table.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

TEST(CheckedCounter, EachEndOfTheRangeIsReachedAndNotPassed) {
    Counter16 high = 32767;
    EXPECT_THROW(high += 1, OverflowFailure);
    EXPECT_EQ(high, 32767); // a failed change keeps the value
    Counter16 low = -32768;
    EXPECT_THROW(low -= 1, OverflowFailure);
    EXPECT_THROW(Counter16{32768}, OverflowFailure);
    Counter8u byte = 255;
    EXPECT_THROW(byte += 1, OverflowFailure);
    EXPECT_THROW(Counter8u{-1}, MarkingFailure);
}

TEST(NumberText, SignedTextHasALeadingSpaceOrAMinusSign) {
    EXPECT_EQ(signedText(45) + signedText(0) + signedText(-3) + plainText(2190), u" 45 0-32190");
    // clang-format off
    const std::pair<long long, const char16_t*> tenths[] = {
        {426, u" 42.6"}, {420, u" 42"}, {5, u" 0.5"}, {-5, u"-0.5"}, {-30, u"-3"}, {0, u" 0"}};
    // clang-format on
    for (const auto& [value, text] : tenths)
        EXPECT_EQ(signedText(Tenths{value}), text) << value;
}

TEST(Table, WholeListAssignedWithinTheBoundOnly) {
    Table<int, 3> table;
    table.assign({7, 8, 9});
    EXPECT_EQ(table.stored(), 3u);
    EXPECT_EQ(table.at(3), 9);
    EXPECT_THROW(table.assign({1, 2, 3, 4}), BoundFailure);
    EXPECT_EQ(table.at(1), 7); // a refused list leaves the entries as they were
    table.assign({});
    EXPECT_EQ(table.at(1), 0);
}

} // namespace
} // namespace tikmeter::engine
