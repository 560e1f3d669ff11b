// Selections:
// - the whole text with and without a final line end, and of a buffer without lines;
// - setting, moving, the column selection's whole-line range, cutting to lines and adjusting for lines;
// - the whole-line and line-end tests, a table of selections;
// - positions inside a selection past line 524,800 (64-bit keys);
// - visiting the lines of stream and column selections; stored-byte lengths and offsets;
// - deleting a stream and a column selection, a refused delete; copying a stream and a column selection over
//   another selection.
#include "doc/sel.h"

#include "doctest.h"

#include <cstring>

namespace {

using namespace doctest;

void *const kSourceWindow = (void *)0x10;
void *const kTargetWindow = (void *)0x20;
int historyPushes;
FileBuffer *targetDoc;

// Every window measures 10 pixels per column.
int32_t ColumnFromX(void *, int32_t, int32_t x) {
    return x / 10;
}
int32_t XFromColumn(void *, int32_t, int32_t column) {
    return column * 10;
}
int PushHistory() {
    historyPushes++;
    return 1;
}
void *WindowOf(FileBuffer *doc) {
    return doc == targetDoc ? kTargetWindow : nullptr;
}

class SelTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        historyPushes = 0;
        targetDoc = nullptr;
        DocDisplayHook display = *DocDisplayNeutral();
        display.swColumnFromX = ColumnFromX;
        display.swXFromColumn = XFromColumn;
        display.pushSelectionHistory = PushHistory;
        display.swFindByDoc = WindowOf;
        DocSetDisplayHook(&display);
    }
    void TearDown() override {
        for (Sel *sel : sels) MemFree(sel);
        DocTest::TearDown();
    }
    Sel *Keep(Sel *sel) {
        sels.push_back(sel);
        return sel;
    }
    std::vector<Sel *> sels;
};

bool Same(const Car &a, const Car &b) {
    return memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(SelTest, WholeDocument) {
    FileBuffer *ended = Load("ended.txt", "ab\r\ncde\r\n");
    FileBuffer *open = Load("open.txt", "ab\r\ncde");
    EXPECT_TRUE(Same(Keep(SelNewWholeDoc(ended))->range, Car{0, 1, 0, 5, 1}))
        << "to the stored end of \"cde\"";
    EXPECT_TRUE(Same(Keep(SelNewWholeDoc(open))->range, Car{0, 1, 0, 3, 1})) << "to the end of its text";
    ASSERT_EQ(DocEmpty(open), 0);
    EXPECT_TRUE(Same(Keep(SelNewWholeDoc(open))->range, Car{0, 0, 0, 0, 0}));
}

TEST_F(SelTest, SettingAndMoving) {
    FileBuffer *doc = Load("m.txt", "zero\r\none\r\ntwo\r\nthree\r\n");
    Sel *sel = Keep(SelNew(doc, 1, 2, 1, 3));
    SelMoveTo(sel, 3, 1, false);
    EXPECT_TRUE(Same(sel->range, Car{3, 3, 1, 2, 1})) << "a one-line range keeps its width";
    SelSet(sel, 0, 2, 1, 3);
    SelMoveTo(sel, 2, 0, false);
    EXPECT_TRUE(Same(sel->range, Car{2, 3, 0, 3, 1})) << "the last column stays on a longer range";
    SelMoveTo(sel, 2, 0, true);
    EXPECT_EQ(sel->range.lastColumn, DOC_COLUMN_END);

    SelSetColumn(sel, 1, 15, 2, 45, kSourceWindow);
    sel->range.firstColumn = 7; // what a caller may have left in it
    Car range;
    SelGetRange(sel, &range);
    EXPECT_TRUE(Same(range, Car{1, 2, 0, DOC_COLUMN_END, 1}));
    EXPECT_TRUE(Same(sel->range, range)) << "written back into the selection";
    EXPECT_EQ(SelWindow(sel), kSourceWindow);
    EXPECT_EQ(SelStartPos(sel), (uint64_t)1) << "line 1 in the low half, column 0 in the high";

    Sel *clip = Keep(SelClipToLines(sel, 2, 5));
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(clip->flags & SEL_COLUMN);
    EXPECT_EQ(clip->window, kSourceWindow);
    EXPECT_EQ(clip->leftX, 15);
    EXPECT_EQ(clip->range.firstLine, 2);
    EXPECT_EQ(SelClipToLines(sel, 3, 5), nullptr);

    SelAdjustForLines(sel, 2, 1);
    EXPECT_FALSE(sel->flags & SEL_COLUMN) << "collapsed: no longer a column selection";
    EXPECT_TRUE(Same(sel->range, Car{2, 2, 0, 0, 0}));
    SelSet(sel, 1, 1, 1, 1);
    EXPECT_TRUE(SelIsEmpty(sel));
    EXPECT_EQ(SelWindow(sel), nullptr) << "a stream selection's window is the buffer's";
}

TEST_F(SelTest, WholeLineTests) {
    FileBuffer *doc = Load("w.txt", "abc\r\ndef\r\n");
    struct Case {
        Car range;
        bool column, covers, endsAtLineEnd, endsAtDocLineEnd;
    } cases[] = {
        {{0, 0, 1, 1, 0}, false, false, false, false}, // empty
        {{0, 0, 0, 3, 1}, false, true, true, true},    // all of line 0's text
        {{0, 0, 1, 3, 1}, false, false, true, false},  // from column 1
        {{0, 0, 0, 2, 1}, false, false, false, false}, // not to the line's end
        {{0, 1, 2, 1, 1}, false, true, false, false},  // several lines
        {{0, 1, 0, 3, 1}, true, true, false, false},   // a column selection
    };
    for (const Case &c : cases) {
        Sel *sel = Keep(SelNewFromRange(doc, &c.range));
        if (c.column) sel->flags |= SEL_COLUMN;
        EXPECT_EQ(SelCoversWholeLines(sel), c.covers) << c.range.firstColumn << ".." << c.range.lastColumn;
        EXPECT_EQ(SelSpansWholeLines(sel), c.covers);
        EXPECT_EQ(SelEndsAtLineEnd(sel), c.endsAtLineEnd);
        EXPECT_EQ(SelEndsAtDocLineEnd(sel), c.endsAtDocLineEnd);
    }
    doc->flags &= ~DOC_LAST_LINE_ENDED;
    EXPECT_FALSE(SelEndsAtDocLineEnd(Keep(SelNew(doc, 0, 0, 0, 3))));
}

TEST_F(SelTest, PositionsPastLine524800) {
    // (line, column) keys in 32 bits wrap from line 524,800 on: a range across it contained nothing.
    Sel *sel = Keep(SelNew(nullptr, 500000, 0, 600000, 5));
    EXPECT_TRUE(SelContainsPos(sel, 550000, 0));
    EXPECT_TRUE(SelContainsPos(sel, 600000, 4));
    EXPECT_FALSE(SelContainsPos(sel, 600000, 5));
    EXPECT_FALSE(SelContainsPos(sel, 400000, 0));
    EXPECT_FALSE(SelContainsPos(sel, 700000, 0));
    EXPECT_TRUE(PosInRange(600001, 0, 600000, 9, 600002, 0));
    EXPECT_TRUE(PosInRange(10, 4096, 10, 5, 11, 5)) << "column 4096 lies past column 4 of the next line";
}

struct Visit {
    int32_t line, from, to;
    std::string text;
    bool operator==(const Visit &) const = default;
};

int Record(Sel *, void *arg, int32_t line, LineRecord *record, int32_t from, int32_t to) {
    auto *visits = (std::vector<Visit> *)arg;
    visits->push_back({line, from, to, std::string(record->text, record->length)});
    return visits->size() < 4;
}

TEST_F(SelTest, VisitingLines) {
    FileBuffer *doc = Load("v.txt", "zero\r\none\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    std::vector<Visit> visits;
    Sel *sel = Keep(SelNew(doc, 1, 2, 3, 1));
    EXPECT_TRUE(SelForEachLine(sel, &visits, Record));
    EXPECT_EQ(visits,
              (std::vector<Visit>{{1, 2, DOC_COLUMN_END, "one"}, {2, 0, 3, "two"}, {3, 0, 1, "three"}}));
    visits.clear();
    SelSetColumn(sel, 4, 10, 9, 30, kSourceWindow);
    EXPECT_TRUE(SelForEachLine(sel, &visits, Record)) << "lines past the end are not visited";
    EXPECT_EQ(visits, (std::vector<Visit>{{4, 1, 3, "four"}, {5, 1, 3, "five"}}));
    visits.clear();
    SelSet(sel, 0, 0, 5, 0);
    EXPECT_FALSE(SelForEachLine(sel, &visits, Record)) << "the fourth callback stops the walk";
    EXPECT_EQ(visits.size(), 4u);
}

TEST_F(SelTest, StoredBytes) {
    FileBuffer *doc = Load("b.txt", "ab\r\ncde\r\n");
    Sel *sel = Keep(SelAlloc(doc));
    SelFromOffset(sel, doc, 0, 1, 5);
    EXPECT_TRUE(Same(sel->range, Car{0, 1, 1, 2, 1})) << "offset 1 + 5 is column 2 of line 1";
    EXPECT_EQ(SelByteLength(sel), 5);
    EXPECT_EQ(SelByteLength(Keep(SelNewWholeDoc(doc))), 9);
    SelSet(sel, 0, 1, 0, DOC_COLUMN_END);
    EXPECT_EQ(SelByteLength(sel), 3) << "to the end of the line with its line end";
}

TEST_F(SelTest, DeleteStreamAndColumn) {
    FileBuffer *doc = Load("d.txt", "0123456789\r\nabcdefghij\r\nshort\r\nlast\r\n");
    Sel *sel = Keep(SelNew(doc, 0, 8, 1, 2));
    ASSERT_TRUE(SelDeleteText(sel));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"01234567cdefghij", "short", "last"}));
    EXPECT_TRUE(Same(sel->range, Car{0, 0, 8, 8, 0}));
    EXPECT_EQ(historyPushes, 1);

    SelSetColumn(sel, 0, 20, 1, 50, kSourceWindow); // columns 2..5 of lines 0 and 1
    ASSERT_TRUE(SelDeleteText(sel));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"01567cdefghij", "sh", "last"}));
    EXPECT_FALSE(sel->flags & SEL_COLUMN);
    EXPECT_TRUE(Same(sel->range, Car{0, 0, 2, 2, 0})) << "the insertion point at the left edge";
    EXPECT_EQ(historyPushes, 2);

    doc->flags |= DOC_READONLY;
    SelSet(sel, 0, 0, 0, 3);
    EXPECT_FALSE(SelDeleteText(sel));
    EXPECT_EQ(LineText(doc, 0), "01567cdefghij");
    EXPECT_EQ(historyPushes, 2);
}

TEST_F(SelTest, CopyStreamOverSelection) {
    FileBuffer *source = Load("s.txt", "hello world\r\nsecond\r\n");
    FileBuffer *target = Load("t.txt", "AAA\r\nBBB\r\n");
    Sel *from = Keep(SelNew(source, 0, 6, 1, 3));
    Sel *to = Keep(SelNew(target, 0, 1, 0, 2));
    ASSERT_TRUE(SelCopyTextTo(from, to));
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"Aworld", "secA", "BBB"}));
    EXPECT_EQ(Lines(source), (std::vector<std::string>{"hello world", "second"}));
    EXPECT_TRUE(DocStoreCheck(target));
}

TEST_F(SelTest, CopyColumnOverSelection) {
    FileBuffer *source = Load("s.txt", "hello world\r\nsecond\r\n");
    FileBuffer *target = Load("t.txt", "AAA\r\nBBB\r\n");
    targetDoc = target;
    Sel *from = Keep(SelAlloc(source));
    SelSetColumn(from, 0, 10, 1, 30, kSourceWindow); // columns 1..3
    Sel *to = Keep(SelNewAt(target, 1, 1));
    ASSERT_TRUE(SelCopyTextTo(from, to));
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"AAA", "BelBB", " ec"}))
        << "a line added past the end";

    // A buffer that received a column selection pastes as a column block, whatever its selection.
    FileBuffer *block = Load("blk.txt", "xy\r\nzw\r\n");
    block->flags |= DOC_COLUMN_BLOCK;
    Sel *whole = Keep(SelNewWholeDoc(block));
    Sel *at = Keep(SelNewAt(target, 0, 3));
    ASSERT_TRUE(SelCopyTextTo(whole, at));
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"AAAxy", "BelzwBB", " ec"}));
}

} // namespace
