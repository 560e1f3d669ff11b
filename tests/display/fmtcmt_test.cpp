// The C block-comment test: lines 0 and past the end; "/*" inside literals and after "//"; comments opened
// and closed across lines; the answers asked line after line (the cache's shortcut) equal to those asked
// afresh; a visible window's row answering first; the 400-line limit of the search.
#include "fmttest.h"

#include <gtest/gtest.h>

using namespace fmttest;

namespace {

class CLineTest : public FmtTest {
protected:
    std::vector<int> Afresh(FileBuffer *doc) {
        std::vector<int> answers;
        for (int32_t line = 0; line < doc->lnMac; line++) {
            CLineFlush();
            answers.push_back(CLineStartsInComment(doc, line));
        }
        return answers;
    }
};

} // namespace

TEST_F(CLineTest, CommentsAcrossLines) {
    FileBuffer *doc = CDoc({
        "char *s = \"/*\"; char c = '/';", // 0: a literal
        "int a; // not /* here",           // 1: after "//"
        "int b; /* opens",                 // 2
        "   still",                        // 3
        "   closes */ int c;",             // 4
        "x = 1; /* one */ /* two",         // 5
        "   */",                           // 6
        "int d;",                          // 7
        "/* a */ y = \"*/\"; /*",          // 8: a close inside a literal stays in the code
        "z;",                              // 9
    });
    std::vector<int> expected = {0, 0, 0, 1, 1, 0, 1, 0, 0, 1};
    EXPECT_EQ(Afresh(doc), expected);
    CLineFlush();
    std::vector<int> inOrder;
    for (int32_t line = 0; line < doc->lnMac; line++) inOrder.push_back(CLineStartsInComment(doc, line));
    EXPECT_EQ(inOrder, expected) << "asked line after line";
    EXPECT_EQ(CLineStartsInComment(doc, 3), 1) << "the same line again";
    EXPECT_EQ(CLineStartsInComment(doc, 0), 0);
    EXPECT_EQ(CLineStartsInComment(doc, 10), 0) << "past the end";
    EXPECT_EQ(CLineStartsInComment(doc, -1), 0);
}

TEST_F(CLineTest, WindowRowsAnswerFirst) {
    FileBuffer *doc = CDoc({"a;", "b;", "c;"});
    CLineSetRowHook([](FileBuffer *, int32_t line) { return line == 2 ? 1 : -1; });
    EXPECT_EQ(CLineStartsInComment(doc, 2), 1);
    EXPECT_EQ(CLineStartsInComment(doc, 1), 0);
}

TEST_F(CLineTest, SearchLooksBackAtMost400Lines) {
    std::vector<std::string> lines(460, "   text");
    lines[0] = "/* long comment";
    FileBuffer *doc = CDoc(lines);
    CLineFlush();
    EXPECT_EQ(CLineStartsInComment(doc, 400), 1);
    CLineFlush();
    EXPECT_EQ(CLineStartsInComment(doc, 401), 0) << "the opening line lies 401 lines up";
    FlushFormatCache();
    EXPECT_EQ(CLineStartsInComment(doc, 399), 1);
}
