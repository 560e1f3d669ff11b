// Text ranges:
// - setting recomputes the non-empty flag;
// - normalising moves a last column 0 up to the line end before, a first column past the text down;
// - splitting a range into a partial first line, whole lines and a partial last line, a table of ranges.
#include "doc/car.h"

#include "doctest.h"

namespace {

using namespace doctest;

class CarTest : public DocTest {
protected:
    FileBuffer *Doc() { return Load("car.txt", "zero\r\none\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"); }
};

TEST_F(CarTest, SetAndNormalize) {
    FileBuffer *doc = Doc();
    Car range;
    CarSet(&range, 3, 2, 3, 2);
    EXPECT_EQ(range.nonEmpty, 0);
    CarSet(&range, 3, 5, 4, 0);
    CarNormalize(doc, &range);
    EXPECT_EQ(range.lastLine, 3);
    EXPECT_EQ(range.lastColumn, DOC_COLUMN_END);
    CarSet(&range, 1, 9, 3, 1);
    CarNormalize(doc, &range);
    EXPECT_EQ(range.firstLine, 2) << "past the text of line 1";
    EXPECT_EQ(range.firstColumn, 0);
    CarClear(&range);
    EXPECT_EQ(range.nonEmpty, 0);
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
            << c.range.firstLine << "," << c.range.firstColumn << ".." << c.range.lastLine << ","
            << c.range.lastColumn << " gives " << parts.firstLine << "(" << parts.firstFrom << ".."
            << parts.firstTo << ") " << parts.wholeFirst << "+" << parts.wholeCount << " " << parts.lastLine
            << "(.." << parts.lastTo << ")";
    }
}

} // namespace
