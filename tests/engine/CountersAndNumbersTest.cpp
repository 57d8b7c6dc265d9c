#include "engine/CheckedCounter.h"
#include "engine/NumberText.h"
#include "engine/Table.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

TEST(CheckedCounter, SixteenBitCounterFailsPastItsRangeAndKeepsItsValue) {
    Counter16 counter = 32766;
    counter += 1;
    EXPECT_EQ(counter, 32767);
    EXPECT_THROW(counter += 1, OverflowFailure);
    EXPECT_EQ(counter, 32767);

    Counter16 low = -32768;
    EXPECT_THROW(low -= 1, OverflowFailure);
    EXPECT_THROW(Counter16{40000}, OverflowFailure);
}

TEST(CheckedCounter, EightBitUnsignedCounterStopsAt255) {
    Counter8u counter = 255;
    EXPECT_THROW(counter += 1, OverflowFailure);
    Counter8u zero;
    EXPECT_THROW(zero -= 1, OverflowFailure);
}

TEST(CheckedCounter, FailuresShareOneBase) {
    EXPECT_THROW(Counter8u{256}, MarkingFailure);
    Table<int, 3> table;
    EXPECT_THROW(table.set(4, 1), MarkingFailure);
}

TEST(Table, OneBasedWithUnwrittenEntriesEmptyAndWritesBounded) {
    Table<std::u16string, 1500> table;
    table.set(3, u"c");
    EXPECT_EQ(table.at(3), u"c");
    EXPECT_EQ(table.at(1), u"");
    EXPECT_EQ(table.at(4), u"");
    EXPECT_EQ(table.at(1501), u"");
    EXPECT_NO_THROW(table.set(1500, u"last"));
    EXPECT_THROW(table.set(1501, u"x"), BoundFailure);
    EXPECT_THROW(table.set(0, u"x"), BoundFailure);
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

TEST(Rounding, HalfToEvenIsExact) {
    EXPECT_EQ(roundHalfEven(425, 10), 42);
    EXPECT_EQ(roundHalfEven(435, 10), 44);
    EXPECT_EQ(roundHalfEven(424, 10), 42);
    EXPECT_EQ(roundHalfEven(426, 10), 43);
    EXPECT_EQ(roundHalfEven(-25, 10), -2);
    EXPECT_EQ(roundHalfEven(-35, 10), -4);
    EXPECT_EQ(roundHalfEven(-26, 10), -3);
    EXPECT_EQ(roundHalfEven(2192, 5), 438);
    EXPECT_EQ(roundHalfEven(2193, 5), 439);
}

TEST(NumberText, SignedTextHasALeadingSpaceOrMinus) {
    EXPECT_EQ(signedText(45), u" 45");
    EXPECT_EQ(signedText(0), u" 0");
    EXPECT_EQ(signedText(-3), u"-3");
    EXPECT_EQ(signedText(Tenths{426}), u" 42.6");
    EXPECT_EQ(signedText(Tenths{420}), u" 42");
    EXPECT_EQ(signedText(Tenths{5}), u" 0.5");
    EXPECT_EQ(signedText(Tenths{-5}), u"-0.5");
    EXPECT_EQ(signedText(Tenths{-30}), u"-3");
    EXPECT_EQ(plainText(2190), u"2190");
}

} // namespace
} // namespace tikmeter::engine
