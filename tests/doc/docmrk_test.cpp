// A buffer's mark sets through the change notice:
// - the edit table: deleting lines 10..12 deletes the marks there and moves the marks below up, inserting at
//   a mark's line moves it down, joining two lines keeps the lower line's mark on the joined line, replacing
//   a line in place keeps its mark;
// - sets made on demand (only 1 to 3; set 3 with its link lists), the link set and count, the range
//   deletion of links alone, a whole-buffer change freeing the sets;
// - bookmarks: a name used again moves the bookmark, the first bookmark on a line.
#include "doc/docmrk.h"

#include "doctest.h"

namespace {

using namespace doctest;

class DocMrkTest : public DocTest {
protected:
    FileBuffer *Numbered() {
        std::string text;
        for (int i = 0; i < 20; i++) text += std::to_string(i) + "\r\n";
        return Load("m.txt", text);
    }
    std::vector<int32_t> MarkLines(FileBuffer *doc, int n = MARK_BOOKMARK) {
        std::vector<int32_t> lines;
        MarkSet *set = DocGetMarkSetEx(doc, n, false);
        for (int32_t i = 0; i < MrkSetCount(set); i++) lines.push_back(MrkSetAt(set, i)->line);
        return lines;
    }
    static LineRecord *Record(const char *text) {
        static LineRecord record;
        LineFromSz(text, &record);
        return &record;
    }
};

TEST_F(DocMrkTest, EditTable) {
    FileBuffer *doc = Numbered();
    for (int32_t line : {9, 10, 12, 13})
        ASSERT_TRUE(DocAddBookmark(doc, std::to_string(line).c_str(), line, 0));
    ASSERT_TRUE(DocDeleteLines(doc, 10, 3));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{9, 10})) << "9 stays, 13 moves to 10";
    ASSERT_TRUE(DocAddBookmark(doc, "five", 5, 0));
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(InsertLineSz(doc, 5, "a") && InsertLineSz(doc, 5, "b"));
    ASSERT_TRUE(EndEdit(doc));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{11, 12, 7})) << "the mark of line 5 moves to 7";
    ASSERT_TRUE(DocAddBookmark(doc, "eight", 8, 0));
    ASSERT_TRUE(DocAddBookmark(doc, "seven", 7, 0));
    LineRecord joined;
    ASSERT_TRUE(DocJoinLines(doc, 7, &joined, false));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{10, 11, 7, 7, 7})) << "the mark of 8 stays on 7";
    ASSERT_TRUE(ReplaceLine(doc, 11, Record("replaced")));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{10, 11, 7, 7, 7})) << "a line replaced keeps its mark";
}

TEST_F(DocMrkTest, SetsOnDemandAndWholeBufferChange) {
    FileBuffer *doc = Numbered();
    EXPECT_EQ(DocGetMarkSetEx(doc, 2, false), nullptr);
    EXPECT_EQ(DocGetMarkSet(doc, 0), nullptr);
    EXPECT_EQ(DocGetMarkSet(doc, 4), nullptr);
    MarkSet *history = DocGetMarkSet(doc, 1);
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->fileNames, nullptr) << "only set 3 has link lists";
    MarkSet *links = DocGetMarkSet(doc, 3);
    ASSERT_NE(links, nullptr);
    EXPECT_TRUE(links->fileNames && links->keys);
    EXPECT_EQ(DocGetLinkSet(doc), nullptr) << "an empty link set";
    EXPECT_EQ(DocLinkCount(doc), 0);
    Mark link = {MARK_LINK, 4, 0, 0, 0, 0, 0};
    ASSERT_TRUE(StlAppendSz(links->fileNames, "t.c", 2) && StlAppendSz(links->keys, "1T", 0) &&
                StlAppendSz(links->keys, "2T", 0));
    ASSERT_TRUE(MrkSetAdd(links, &link, "1S"));
    link.line = 6;
    link.key = 1;
    ASSERT_TRUE(MrkSetAdd(links, &link, "2S"));
    ASSERT_TRUE(DocAddBookmark(doc, "m", 4, 0));
    EXPECT_EQ(DocGetLinkSet(doc), links);
    EXPECT_EQ(DocLinkCount(doc), 2);
    DocLinksDeleteRange(doc, 0, 5);
    EXPECT_EQ(MarkLines(doc, 3), (std::vector<int32_t>{6}));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{4})) << "the bookmark on line 4 stays";
    DocLinksDeleteRange(doc, 0, DOC_MARKS_ALL_END);
    EXPECT_EQ(DocLinkCount(doc), 0);
    EXPECT_EQ(doc->rgmrk[2], links) << "clearing the links keeps the set";
    EXPECT_EQ(DocEmpty(doc), 0);
    EXPECT_EQ(doc->rgmrk[0], nullptr);
    EXPECT_EQ(doc->rgmrk[1], nullptr);
    EXPECT_EQ(doc->rgmrk[2], nullptr);
}

TEST_F(DocMrkTest, Bookmarks) {
    FileBuffer *doc = Numbered();
    ASSERT_TRUE(DocAddBookmark(doc, "a", 3, 2));
    ASSERT_TRUE(DocAddBookmark(doc, "b", 5, 0));
    ASSERT_TRUE(DocAddBookmark(doc, "c", 5, 1));
    ASSERT_TRUE(DocAddBookmark(doc, "a", 5, 4));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{5, 5, 5})) << "a moved, no second a";
    Mark mark;
    char name[256];
    ASSERT_TRUE(GetBookmarkAtLine(doc, 5, &mark, name));
    EXPECT_STREQ(name, "a") << "the first in plex order";
    EXPECT_EQ(mark.column, 4);
    EXPECT_FALSE(GetBookmarkAtLine(doc, 3, &mark, nullptr));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 5));
    EXPECT_FALSE(DocHasBookmarkAtLine(doc, 3));
}

} // namespace
