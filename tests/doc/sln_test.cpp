// Line records:
// - inserting strings and fills at the line limit (refused whole, or cut to fit);
// - appending at and around the limit;
// - setting, filling, deleting, collapsing blanks and expanding tabs, the NUL kept after every change;
// - the file form read back, a damaged one refused;
// - display columns with tabs, both ways; leading white space measured and set as tabs or blanks.
#include "doc/sln.h"

#include <gtest/gtest.h>

#include <cstring>
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

TEST(LineRecord, DisplayColumnsAndIndentation) {
    LineRecord record = Line("\tab\tc");
    const struct { int32_t index, column; } columns[] = {{0, 0}, {1, 4}, {3, 6}, {4, 8}, {5, 9}, {4096, 9}};
    for (const auto &c : columns) EXPECT_EQ(LineDisplayColumn(&record, c.index, 4), c.column) << c.index;
    const struct {
        int32_t column, index;
    } indexes[] = {{0, 0}, {3, 0}, {4, 1}, {6, 3}, {7, 3}, {8, 4}, {20, 5}};
    for (const auto &i : indexes) EXPECT_EQ(LineColumnAtDisplay(&record, i.column, 4), i.index) << i.column;

    const struct {
        const char *before;
        int32_t width;
        bool blanks;
        const char *after;
    } indents[] = {
        {" \t x", 10, false, "\t\t  x"},
        {"x", 6, true, "      x"},
        {"\t\tx", 0, false, "x"},
        {"   ", 4, false, "\t"},
    };
    for (const auto &i : indents) {
        record = Line(i.before);
        EXPECT_EQ(LineSetIndent(&record, i.width, 4, i.blanks), (int32_t)strspn(i.after, " \t")) << i.before;
        EXPECT_EQ(Text(record), i.after) << i.before;
    }
    EXPECT_EQ(LineLeadingWhite(&record), 1);
    EXPECT_TRUE(LineIsBlankText(&record));
    record = Line(" \t x");
    EXPECT_FALSE(LineIsBlankText(&record));
    record = Line(" \t ");
    EXPECT_TRUE(LineIsBlankText(&record));
    EXPECT_EQ(LineSetIndent(&record, LINE_TEXT_MAX + 8, 4, true), LINE_TEXT_MAX) << "cut at the line limit";
}

} // namespace
