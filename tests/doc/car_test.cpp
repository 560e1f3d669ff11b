// Text ranges and positions:
// - setting recomputes the non-empty flag; a text position moves to the start of a later line;
// - normalising moves a last column 0 up to the line end before, a first column past the text down;
// - adjusting for inserted and deleted lines, with the inclusive end bound, a table of cases;
// - splitting a range into a partial first line, whole lines and a partial last line, a table of ranges;
// - clamping to the buffer, cutting to lines, reaching the end, overlapping lines;
// - position keys past line 524,800 keep their order (64-bit keys).
#include "doc/car.h"

#include "doctest.h"

namespace {

using namespace doctest;

class CarTest : public DocTest {
protected:
    FileBuffer *Doc() { return Load("car.txt", "zero\r\none\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"); }
};

bool Same(const Car &a, const Car &b) {
    return memcmp(&a, &b, sizeof a) == 0;
}

std::string Show(const Car &r) {
    return std::to_string(r.firstLine) + "," + std::to_string(r.firstColumn) + ".." +
           std::to_string(r.lastLine) + "," + std::to_string(r.lastColumn) + (r.nonEmpty ? "" : " (empty)");
}

TEST_F(CarTest, SetNormalizeAndPositions) {
    FileBuffer *doc = Doc();
    Car range;
    CarSet(&range, 3, 2, 3, 2);
    EXPECT_EQ(range.nonEmpty, 0);
    CarSet(&range, 3, 5, 4, 0);
    CarNormalize(doc, &range);
    EXPECT_TRUE(Same(range, Car{3, 3, 5, DOC_COLUMN_END, 1})) << Show(range);
    CarSet(&range, 1, 9, 3, 1);
    CarNormalize(doc, &range);
    EXPECT_TRUE(Same(range, Car{2, 3, 0, 1, 1})) << "past the text of line 1: " << Show(range);
    CarClear(&range);
    EXPECT_EQ(range.nonEmpty, 0);
    TextPos pos = {doc, 4, 7, 9};
    TextPosNextLine(&pos, 2);
    EXPECT_EQ(pos.line, 6);
    EXPECT_EQ(pos.column, 0);
    EXPECT_EQ(pos.reserved, 0);
}

// The buffer has six lines when the adjustment runs (its count already changed).
TEST_F(CarTest, AdjustForLines) {
    FileBuffer *doc = Doc();
    ASSERT_EQ(doc->lnMac, 6);
    struct Case {
        Car range;
        int32_t line, count;
        Car adjusted;
    } cases[] = {
        {{3, 3, 2, 2, 0}, 3, 1, {3, 3, 0, 0, 0}},    // one line inserted at the caret's line collapses it
        {{4, 4, 2, 2, 0}, 2, 1, {5, 5, 2, 2, 0}},    // inserted above: moves down with its columns
        {{4, 4, 2, 2, 0}, 3, 1, {3, 3, 0, 0, 0}},    // touching line + 1 collapses too (inclusive bound)
        {{1, 1, 2, 2, 0}, 3, 1, {1, 1, 2, 2, 0}},    // above the change: unchanged
        {{6, 6, 1, 3, 1}, 5, -3, {5, 5, 0, 0, 0}},   // deleting lines 5..7: a range on line 6 collapses
        {{2, 20, 1, 3, 1}, 5, -3, {2, 17, 1, 3, 1}}, // a range around the deleted lines shrinks
        {{6, 6, 0, 0, 0}, 9, 2, {5, 5, 0, 0, 0}},    // a line past the end counts as the last line
    };
    for (const Case &c : cases) {
        Car r = c.range;
        CarAdjustForLines(&r, doc, c.line, c.count);
        EXPECT_TRUE(Same(r, c.adjusted))
            << Show(c.range) << " at " << c.line << " by " << c.count << " gives " << Show(r);
    }
    Car r = {6, 8, 1, 1, 1};
    CarAdjustForLines(&r, doc, 2, -3);
    EXPECT_TRUE(Same(r, Car{3, 5, 1, 1, 1})) << "deleting lines 2..4 moves a later range up: " << Show(r);
}

TEST_F(CarTest, SplitIntoLineParts) {
    FileBuffer *doc = Doc();
    struct Case {
        Car range;
        RangeParts parts;
    } cases[] = {
        {{3, 3, 0, DOC_COLUMN_END, 1}, {-1, 0, 0, 3, 1, -1, 0}},
        {{3, 5, 2, 1, 1}, {3, 2, DOC_COLUMN_END, 4, 1, 5, 1}},
        {{3, 3, 2, 4, 1}, {3, 2, 4, -1, 0, -1, 0}},
        {{3, 3, 0, 4, 1}, {-1, 0, 0, -1, 0, 3, 4}},
        {{1, 4, 1, 0, 1}, {1, 1, DOC_COLUMN_END, 2, 2, -1, 0}},
        {{2, 2, 1, 1, 0}, {-1, 0, 0, -1, 0, -1, 0}},
    };
    for (const Case &c : cases) {
        RangeParts parts;
        RangeSplitLines(doc, &c.range, &parts);
        EXPECT_EQ(memcmp(&parts, &c.parts, sizeof parts), 0)
            << Show(c.range) << " gives " << parts.firstLine << "(" << parts.firstFrom << ".."
            << parts.firstTo << ") " << parts.wholeFirst << "+" << parts.wholeCount << " " << parts.lastLine
            << "(.." << parts.lastTo << ")";
    }
}

TEST_F(CarTest, ClampIntersectAndEnds) {
    FileBuffer *doc = Doc(); // "three" is line 3; every line ends CR LF
    struct Case {
        Car range, clamped;
    } clamps[] = {
        {{9, 12, 3, 4, 1}, {5, 5, 0, 0, 0}},   // starts past the end: the insertion point (5, 0)
        {{3, 9, 2, 99, 1}, {3, 5, 2, 6, 1}},   // the last line cut; a column to its stored end
        {{3, 3, 99, 99, 0}, {3, 3, 5, 5, 0}},  // an insertion point stops at the text
        {{-2, 3, -1, 99, 1}, {0, 3, 0, 7, 1}}, // lines and columns from 0
    };
    for (const Case &c : clamps) {
        Car r = c.range;
        CarClampToDoc(doc, &r);
        EXPECT_TRUE(Same(r, c.clamped)) << Show(c.range) << " gives " << Show(r);
    }
    Car out;
    Car range = {1, 4, 2, 3, 1};
    EXPECT_TRUE(CarIntersectLines(doc, &range, 2, 3, &out));
    EXPECT_TRUE(Same(out, Car{2, 3, 0, 6, 1})) << "cut to lines 2..3: " << Show(out);
    EXPECT_FALSE(CarIntersectLines(doc, &range, 5, 9, &out));
    EXPECT_TRUE(Same(out, Car{})) << "wholly outside";
    EXPECT_TRUE(CarOverlapsLines(&range, 4, 9));
    EXPECT_FALSE(CarOverlapsLines(&range, 5, 9));
    CarSet(&range, 0, 0, 5, 4);
    EXPECT_TRUE(CarReachesDocEnd(doc, &range));
    CarSet(&range, 0, 0, 5, 3);
    EXPECT_FALSE(CarReachesDocEnd(doc, &range));
    DocEmpty(doc);
    CarSet(&range, 2, 3, 4, 1);
    CarClampToDoc(doc, &range);
    EXPECT_TRUE(Same(range, Car{0, 0, 0, 0, 0})) << "a buffer without lines: " << Show(range);
}

TEST(TextPosKeyTest, LargeLinesKeepTheirOrder) {
    // In 32 bits the key of line 524,800 wrapped below the key of line 0.
    EXPECT_GT(TextPosKey(600000, 0), TextPosKey(599999, 4091));
    EXPECT_GT(TextPosKey(600000, 0), TextPosKey(1, 0));
    EXPECT_EQ(TextPosKey(600000, 10) - TextPosKey(600000, 0), 10);
    EXPECT_EQ(TextPosKey(3, 4096), TextPosKey(4, 4)) << "column 4096 compares as a number";
}

} // namespace
