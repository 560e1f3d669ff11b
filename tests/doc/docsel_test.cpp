// Pastes of a selection's text: as stream text at a position, and as a column block (at one column without a
// window, blanks filling short lines, lines appended past the end; a line that would pass 4,092 characters
// fails the paste and rolls the edit back).
#include "doc/docsel.h"

#include "base/heap.h"
#include "doctest.h"

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

} // namespace
