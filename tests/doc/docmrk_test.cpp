// A buffer's mark sets through the change notice:
// - deleting lines 10..12 deletes the marks there and moves the marks below up;
// - inserting lines at a mark's line moves it down;
// - a whole-buffer change frees the sets; sets made on demand, only 1 to 3.
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
    std::vector<int32_t> MarkLines(FileBuffer *doc) {
        std::vector<int32_t> lines;
        MarkSet *set = DocGetMarkSetEx(doc, MARK_BOOKMARK, false);
        for (int32_t i = 0; i < MrkSetCount(set); i++) lines.push_back(MrkSetAt(set, i)->line);
        return lines;
    }
};

TEST_F(DocMrkTest, DeletingAndInsertingLines) {
    FileBuffer *doc = Numbered();
    for (int32_t line : {9, 10, 12, 13})
        ASSERT_TRUE(DocAddBookmark(doc, std::to_string(line).c_str(), line, 0));
    ASSERT_TRUE(DocDeleteLines(doc, 10, 3));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{9, 10}));
    ASSERT_TRUE(DocAddBookmark(doc, "five", 5, 0));
    ASSERT_TRUE(InsertLineSz(doc, 5, "a") && InsertLineSz(doc, 5, "b"));
    EXPECT_EQ(MarkLines(doc), (std::vector<int32_t>{11, 12, 7}));
}

TEST_F(DocMrkTest, SetsOnDemandAndWholeBufferChange) {
    FileBuffer *doc = Numbered();
    EXPECT_EQ(DocGetMarkSetEx(doc, 2, false), nullptr);
    EXPECT_EQ(DocGetMarkSet(doc, 4), nullptr);
    ASSERT_NE(DocGetMarkSet(doc, 1), nullptr);
    ASSERT_TRUE(DocAddBookmark(doc, "m", 3, 0));
    EXPECT_EQ(DocEmpty(doc), 0);
    EXPECT_EQ(doc->rgmrk[0], nullptr);
    EXPECT_EQ(doc->rgmrk[1], nullptr);
}

} // namespace
