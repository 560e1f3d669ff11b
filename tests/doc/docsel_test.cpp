// Pastes of a selection's text: as stream text at a position, and as a column block (at one column without a
// window, blanks filling short lines, lines appended past the end; a line that would pass 4,092 characters
// fails the paste and rolls the edit back). A line of text inserted over the window's selection, which
// "After pasting, select" leaves at its start, its end or over it; a pending new line made first.
#include "doc/docsel.h"

#include "base/heap.h"
#include "doctest.h"
#include "typingtest.h"

namespace {

using namespace doctest;

class DocSelTest : public DocTest {};

TEST_F(DocSelTest, StreamPaste) {
    FileBuffer *source = Load("s.txt", "one\r\ntwo\r\nthree\r\n");
    FileBuffer *target = Load("t.txt", "[]\r\n");
    Sel *sel = SelNew(source, 0, 1, 2, 2);
    ASSERT_TRUE(PasteStreamAt(target, 0, 1, sel));
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"[ne", "two", "th]"}));
    MemFree(sel);
}

TEST_F(DocSelTest, ColumnPaste) {
    FileBuffer *source = Load("s.txt", "one\r\ntwo\r\nthree\r\n");
    FileBuffer *target = Load("t.txt", "abcdef\r\nab\r\n");
    Sel *sel = SelNew(source, 0, 1, 2, 2); // "ne", "two", "th"
    ASSERT_TRUE(PasteColumnAt(target, 0, 4, sel, nullptr));
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"abcdneef", "ab  two", "    th"}));
    EXPECT_TRUE(DocStoreCheck(target));

    std::string full(4090, 'x');
    FileBuffer *wide = Load("w.txt", full + "\r\n" + full + "\r\n");
    EXPECT_FALSE(PasteColumnAt(wide, 0, 0, sel, nullptr)) << "the second line would pass 4,092";
    EXPECT_EQ(Lines(wide), (std::vector<std::string>{full, full})) << "rolled back";
    MemFree(sel);
}

using namespace typingtest;

class InsertTextTest : public WindowTest {};

TEST_F(InsertTextTest, TextAtTheSelection) {
    FileBuffer *doc = Show(Text({"abcdef", "    x"}, FLAGS_SIMPLE, 4));
    const struct {
        int32_t select;
        std::vector<int32_t> after;
    } cases[] = {{0, {0, 1, 0, 1}}, {1, {0, 3, 0, 3}}, {2, {0, 1, 0, 3}}};
    for (const auto &c : cases) {
        Options().afterPasteSelect = c.select;
        Select(0, 1, 0, 3);
        ASSERT_TRUE(InsertTextAtSel(&Win().sel, "XY"));
        EXPECT_EQ(LineText(doc, 0), "aXYdef") << c.select;
        EXPECT_EQ(Caret(), c.after) << c.select;
    }
    Select(1, 0, 1, 0);
    Win().sel.flags |= SEL_NEW_LINE;
    ASSERT_TRUE(InsertTextAtSel(&Win().sel, "z"));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"aXYdef", "\tz", "    x"})) << "on a new indented line";
    EXPECT_FALSE(Win().sel.flags & SEL_NEW_LINE);
}

} // namespace
