// Edit commands (least form), on a stand-in source window:
// - "Indent Right": a tab or tab-width blanks before every non-empty line, preprocessor lines by their
//   preference, a selection ending at a line's start not taking it; the lines reselected, an insertion point
//   kept on its text;
// - an indented new line: empty without auto indent, else the indentation of the first non-blank line from
//   the like line down, as tabs or blanks; the caret after it.
#include "doc/cmdedit.h"

#include "typingtest.h"

#include <gtest/gtest.h>

namespace {

using namespace doctest;
using namespace typingtest;
using Strings = std::vector<std::string>;

class CmdEditTest : public WindowTest {};

TEST_F(CmdEditTest, IndentRight) {
    FileBuffer *doc = Show(Text({"a", "", "#if", "\tb", "c"}, FLAGS_PLAIN, 4));
    Select(0, 1, 4, 0);
    EXPECT_EQ(CmdIndentRight(CMD_INDENT_RIGHT), 0);
    EXPECT_EQ(Lines(doc), (Strings{"\ta", "", "#if", "\t\tb", "c"}));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 0, 3, DOC_COLUMN_END}));

    Options().indentPreprocessor = true;
    FileBuffer *blanks = Show(Text({"  #if x"}, FLAGS_PLAIN | DTA_EXPAND_TABS, 3), 0, 4);
    EXPECT_EQ(CmdIndentRight(CMD_INDENT_RIGHT), 0);
    EXPECT_EQ(LineText(blanks, 0), "     #if x");
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 7, 0, 7})) << "the caret stays on its text";
}

TEST_F(CmdEditTest, IndentedLine) {
    const struct {
        uint32_t flags;
        const char *line;
        int32_t caret;
    } cases[] = {
        {FLAGS_PLAIN, "", 0},
        {FLAGS_SIMPLE, "\t  ", 3},
        {FLAGS_SMART | DTA_EXPAND_TABS, "      ", 6},
    };
    for (const auto &c : cases) {
        FileBuffer *doc = Show(Text({"x", "", "   \t  y"}, c.flags, 4));
        ASSERT_TRUE(InsertIndentedLine(doc, 1, 1));
        EXPECT_EQ(Lines(doc), (Strings{"x", c.line, "", "   \t  y"})) << c.flags;
        EXPECT_EQ(Caret(), (std::vector<int32_t>{1, c.caret, 1, c.caret})) << c.flags;
    }
}

} // namespace
