// Typing and insertion against a stand-in source window (the cases typed through the real window are in
// tests/display/sw_test.cpp):
// - the run: refused while the program is not running, "Typing text..." under command logging, a pending
//   new line made first, overtype extending a line at its end, a hold, batch mode, an emptied buffer given
//   its line again;
// - the recorder and the typing buffer: characters, commands, keypad characters recorded once;
// - Enter without "Enter key -> new line", Delete Character joining lines, Backspace over a double-byte
//   character;
// - indentation: the governing line, the statement rule, re-indenting, splitting a line under smart indent,
//   smart braces with the brace options, word wrap with a margin in pixels;
// - tabs: Smart Tab's parameter fields, ";" and the next identifier, a ")" handing over to the window's
//   next-field move; a tab over a selection by the two preferences;
// - completion: the word extended, parameters inserted and the first one selected, "operator";
// - the matching bracket flashed for 333 ms, 500 ms off-screen, and cut short by a waiting key.
#include "doc/insert.h"

#include "base/log.h"
#include "base/tick.h"
#include "doc/cmdedit.h"
#include "doc/docsel.h"
#include "typingtest.h"

#include <gtest/gtest.h>

namespace {

using namespace doctest;
using namespace typingtest;

bool notRunning;
bool FakeNotRunning() {
    return notRunning;
}
bool FakeLogging() {
    return true;
}

class InsertTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        notRunning = false;
        shell.notRunning = FakeNotRunning;
        shell.commandLogging = FakeLogging;
        SetShell();
    }
};

using Strings = std::vector<std::string>;

// ---- The run ----

TEST_F(InsertTest, OpeningTheRun) {
    FileBuffer *doc = Show(Text({"abc"}, FLAGS_PLAIN));
    notRunning = true;
    EXPECT_FALSE(InsertTypedText('x')) << "not while the program starts or stops";
    EXPECT_FALSE(IsTypingRun());
    notRunning = false;
    VxLogCaptureStart();
    Type("x");
    std::vector<std::string> log = VxLogCaptureStop();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Typing text..."), 1);
    EXPECT_EQ(TypingRunBuffer(), doc);
    EXPECT_EQ(Shell().typingGroups, std::vector<int>{TYPING_GROUP});

    // A pending new line first becomes a line indented like the next one.
    ASSERT_TRUE(EndTypingRun());
    FileBuffer *indented = Show(Text({"a", "    b"}, FLAGS_SIMPLE), 1, 0);
    Win().sel.flags |= SEL_NEW_LINE;
    Type("c");
    EXPECT_EQ(Lines(indented), (Strings{"a", "\tc", "    b"})) << "as tabs without Expand tabs";
    EXPECT_FALSE(Win().sel.flags & SEL_NEW_LINE);

    // An emptied buffer gets its line back.
    ASSERT_TRUE(EndTypingRun());
    ASSERT_EQ(DocEmpty(indented), 0);
    ASSERT_TRUE(EnsureOneLine(indented));
    ASSERT_TRUE(EnsureOneLine(indented));
    EXPECT_EQ(Lines(indented), Strings{""});
}

TEST_F(InsertTest, OvertypeHoldAndBatch) {
    FileBuffer *doc = Show(Text({"abc"}, FLAGS_PLAIN), 0, 1);
    SetOvertype(true);
    Type("XYZ");
    EXPECT_EQ(LineText(doc, 0), "aXYZ") << "overtype extends the line at its end";
    SetOvertype(false);
    EXPECT_FALSE(IsTypingRun()) << "switching overtype ends the run";

    Type("1");
    TypingHoldBegin();
    EXPECT_TRUE(EndTypingRun()) << "a held run answers 1";
    EXPECT_TRUE(IsTypingRun());
    TypingHoldEnd();
    EXPECT_TRUE(EndTypingRun());
    EXPECT_FALSE(IsTypingRun());

    Shell().typing.clear();
    EXPECT_FALSE(TypingSetBatch(true));
    Type("23");
    EXPECT_TRUE(TypingSetBatch(false));
    EXPECT_EQ(LineText(doc, 0), "aXYZ123");
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 7, 0, 7})) << "the selection still moves";
    EXPECT_TRUE(Shell().typing.empty()) << "nothing is recorded in batch mode";
}

// Fault mended: a keypad character command noted its command in the typing buffer after its character, so
// that "Repeat Typing" typed the character twice.
TEST_F(InsertTest, RecorderAndTypingBuffer) {
    Show(Text({""}, FLAGS_PLAIN));
    Shell().recordingOn = true;
    Shell().recording = {-622}; // the dispatcher recorded the command before its handler ran
    EXPECT_EQ(TypingCommand(622), 0);
    Type("a\t");
    EXPECT_EQ(TypingCommand(TYPING_CMD_ENTER), 0);
    EXPECT_EQ(Shell().recording, (std::vector<int>{-622, 'a'})) << "the command stands for its character";
    EXPECT_EQ(Shell().typing, (std::vector<int>{'/', 'a', '\t', -TYPING_CMD_ENTER}));
    EXPECT_EQ(LineText(Win().doc, 0), "/a\t");
}

// ---- Typing commands ----

TEST_F(InsertTest, EnterDeleteAndDoubleBytes) {
    FileBuffer *doc = Show(Text({"one", "two"}, 0), 0, 2);
    EXPECT_EQ(TypingCommand(TYPING_CMD_ENTER), 0);
    EXPECT_EQ(Caret(), (std::vector<int32_t>{1, 0, 1, 0})) << "without new lines Enter goes down";
    EXPECT_EQ(Lines(doc), (Strings{"one", "two"}));
    EXPECT_EQ(TypingCommand(TYPING_CMD_ENTER), 0);
    EXPECT_EQ(Caret(), (std::vector<int32_t>{2, 0, 2, 0})) << "below the last line";
    Type("3");
    EXPECT_EQ(Lines(doc), (Strings{"one", "two", "3"}));

    ASSERT_TRUE(EndTypingRun());
    Show(doc, 0, 3);
    EXPECT_EQ(TypingCommand(TYPING_CMD_DELETE), 0);
    EXPECT_EQ(Lines(doc), (Strings{"onetwo", "3"}));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 3, 0, 3}));
    EXPECT_EQ(TypingCommand(TYPING_CMD_DELETE), 0);
    EXPECT_EQ(LineText(doc, 0), "onewo");

    ASSERT_TRUE(EndTypingRun());
    FileBuffer *dbcs = Show(Text({"a\x82\xa0\x82\xa0"}, FLAGS_PLAIN), 0, 5);
    EXPECT_EQ(TypingCommand(TYPING_CMD_BACKSPACE), 0);
    EXPECT_EQ(LineText(dbcs, 0), "a\x82\xa0") << "a double-byte character goes whole";
    Show(dbcs, 0, 1);
    EXPECT_EQ(TypingCommand(TYPING_CMD_DELETE), 0);
    EXPECT_EQ(LineText(dbcs, 0), "a");
}

// ---- Indentation ----

TEST_F(InsertTest, StatementsAndReindenting) {
    const struct {
        const char *line;
        bool ends;
    } statements[] = {
        {"x = 1;", true},        {"}", true},         {"", true},        {"#include <a.h>", true},
        {"if (x)", false},       {"f(\";\")", false}, {"a; // b", true}, {"a = 1; /* c", true},
        {"#define A \\", false}, {"x = ';'", false},
    };
    for (const auto &s : statements) {
        LineRecord record;
        LineFromSz(s.line, &record);
        EXPECT_EQ(IndentEndsStatement(&record), s.ends) << s.line;
    }

    const struct {
        const char *before;
        int32_t oldWidth, newWidth;
        bool keepSpaces;
        const char *after;
    } reindents[] = {
        {"\t\tx", 8, 4, true, "    x"},      // both tabs removed, four blanks
        {"\t\tx", 4, 0, false, "\tx"},       // the columns past the old width stay
        {"  x", 4, 8, false, "\t\tx"},       // blanks measured up to the old width, tabs made again
        {"      x", 2, 6, false, "\t\t  x"}, // 4 kept + 6
        {"x", 0, 3, false, "   x"},
    };
    for (const auto &r : reindents) {
        LineRecord record;
        LineFromSz(r.before, &record);
        ReindentLine(&record, r.oldWidth, r.newWidth, 4, r.keepSpaces);
        EXPECT_EQ(std::string(record.text, record.length), r.after) << r.before;
    }
}

TEST_F(InsertTest, GoverningLine) {
    FileBuffer *doc = Text(
        {
            "int f()",         // 0
            "{",               // 1
            "    if (a)",      // 2
            "        b();",    // 3
            "    for (;;) {",  // 4
            "        c();",    // 5
            "        /* x */", // 6
            "    }",           // 7
            "    // x",        // 8
        },
        FLAGS_SMART, 4);
    const struct {
        int32_t line, column;
        int result;
        const char *indent;
    } indents[] = {
        {3, 0, 1, "    "},     // "if" governs
        {4, 0, 1, "    "},     // the "for" governs itself
        {5, 0, 1, "        "}, // no keyword: the walk stops at the "{" above; the first line after it governs
        {7, 0, 1, "    "},     // "}" starts at its "{": the "for"
        {1, 0, 1, ""},         // "{" without Indent Open Brace governs itself
        {0, 0, 1, ""},         //
        {8, 6, 0, ""},         // inside a comment
    };
    for (const auto &c : indents) {
        LineRecord out;
        EXPECT_EQ(IndentForLine(doc, c.line, c.column, &out), c.result) << c.line;
        EXPECT_EQ(std::string(out.text, out.length), c.indent) << c.line;
    }
    const struct {
        int32_t line, column, width;
    } widths[] = {
        {3, 0, 8}, // under the "if", which does not end a statement: one level more
        {4, 0, 4}, // "b();" ends one: the indentation of the "if" that governs it
        {5, 0, 8}, // the "for" opens a block
        {7, 0, 8}, // the comment line, the first after the ";" that stops the walk, governs
        {0, 0, 0}, {8, 6, 0},
    };
    for (const auto &w : widths) EXPECT_EQ(IndentWidthForLine(doc, w.line, w.column), w.width) << w.line;
}

TEST_F(InsertTest, SplitUnderSmartIndent) {
    FileBuffer *doc = Text({"    if (a) {", "    x = 1;  y", "\tif (b)"}, FLAGS_SMART | DTA_EXPAND_TABS, 4);
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    const struct {
        int32_t line, column;
        const char *head, *tail;
        int32_t caret;
    } cases[] = {
        {0, 12, "    if (a) {", "        ", 8}, // the line governs itself: one level more, in blanks
        {1, 10, "    x = 1;", "    y", 4},      // a finished statement: the governing indentation
        {2, 7, "\tif (b)", "        ", 8},      // tabs measured with the type's width
        {1, 0, "", "    x = 1;  y", 4},         // the head was only blanks: emptied
    };
    for (const auto &c : cases) {
        LineRecord typing, tail;
        GetLine(doc, c.line, &typing);
        int32_t caret = -1;
        ASSERT_TRUE(SplitLineWithIndent(doc, c.line, &typing, &tail, c.column, &options, &caret));
        EXPECT_EQ(std::string(typing.text, typing.length), c.head) << c.line;
        EXPECT_EQ(std::string(tail.text, tail.length), c.tail) << c.line;
        EXPECT_EQ(caret, c.caret) << c.line;
    }
}

TEST_F(InsertTest, SmartBraces) {
    FileBuffer *doc =
        Show(Text({"    if (a)", "        "}, FLAGS_SMART | DTA_INDENT_OPEN | DTA_INDENT_CLOSE), 1, 8);
    Type("{");
    EXPECT_EQ(LineText(doc, 1), "\t\t{") << "Indent Open Brace: one level past the if";
    ASSERT_TRUE(EndTypingRun());
    ASSERT_TRUE(InsertLineSz(doc, 2, "  "));
    Show(doc, 2, 2);
    Type("}");
    EXPECT_EQ(LineText(doc, 2), "\t\t}") << "Indent Close Brace: under its brace";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{2, 3, 2, 3}));

    ASSERT_TRUE(EndTypingRun());
    FileBuffer *comment = Show(Text({"/*", "  "}, FLAGS_SMART), 1, 2);
    Type("}");
    EXPECT_EQ(LineText(comment, 1), "  }") << "not inside a comment";
}

TEST_F(InsertTest, WrapWithAMarginInPixels) {
    // 10 pixels a column: a margin of 60 pixels is column 6.
    FileBuffer *doc = Show(
        Text({"aa bbbb"}, FLAGS_PLAIN | DTA_WORD_WRAP | DTA_MARGIN_PIXELS | DTA_EXPAND_TABS, 4, 60), 0, 7);
    Type("c");
    EXPECT_EQ(Lines(doc), (Strings{"aa ", "bbbbc"}));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{1, 5, 1, 5}));
    Type("\t");
    EXPECT_EQ(LineText(doc, 1), "bbbbc\t") << "bit 8 turns Expand tabs off";
}

// ---- Tabs ----

TEST_F(InsertTest, SmartTabFields) {
    FileBuffer *doc = Show(Text({"f(alpha, g(b, c), d);", "x = y + z;"}, FLAGS_PLAIN), 0, 1);
    DocOptions &o = Options();
    o.smartTab = true;
    auto selected = [&]() {
        char text[LINE_TEXT_MAX + 1];
        const Car &r = Win().sel.range;
        GetLineSubstring(doc, r.firstLine, r.firstColumn, r.lastColumn, text);
        return std::string(text);
    };
    EXPECT_EQ(TypingCommand(TYPING_CMD_TAB), 0);
    EXPECT_EQ(selected(), "alpha") << "the first field after the (";
    EXPECT_EQ(TypingCommand(TYPING_CMD_TAB), 0);
    EXPECT_EQ(selected(), "g(b, c)") << "parentheses inside a field are counted";
    EXPECT_EQ(TypingCommand(TYPING_CMD_TAB), 0);
    EXPECT_EQ(selected(), "d");
    EXPECT_EQ(TypingCommand(TYPING_CMD_TAB), 0);
    EXPECT_EQ(Win().nextField, 1) << "at the ) the window's next-field move runs";
    EXPECT_EQ(LineText(doc, 0), "f(alpha, g(b, c), d);") << "no tab was typed";

    Show(doc, 0, 0);
    EXPECT_EQ(TypingCommand(TYPING_CMD_SIMPLE_TAB), 0);
    EXPECT_EQ(LineText(doc, 0), "\tf(alpha, g(b, c), d);") << "Simple Tab forces the switch off";
    EXPECT_TRUE(EndTypingRun());
    o.smartTab = false;
    Show(doc, 0, 2);
    EXPECT_EQ(TypingCommand(TYPING_CMD_SMART_TAB), 0);
    EXPECT_EQ(selected(), "alpha") << "Smart Tab forces it on";
    EXPECT_EQ(TypingCommand(TYPING_CMD_TAB), 0);
    EXPECT_EQ(LineText(doc, 0), "\tf(\talpha, g(b, c), d);") << "for one tab only";
}

TEST_F(InsertTest, TabOverASelection) {
    FileBuffer *doc = Show(Text({"one two", "three", "#if"}, FLAGS_PLAIN));
    DocOptions &o = Options();
    Select(0, 4, 0, 7);
    Type("\t");
    EXPECT_EQ(LineText(doc, 0), "one \ttwo") << "the caret went to the selection's start";
    ASSERT_TRUE(EndTypingRun());
    o.tabReplacesSelection = true;
    Show(doc, 0, 5);
    Select(0, 5, 0, 8);
    Type("\t");
    EXPECT_EQ(LineText(doc, 0), "one \t\t") << "the tab replaced the selection";
    ASSERT_TRUE(EndTypingRun());

    Select(0, 2, 2, 1);
    Type("\t");
    EXPECT_EQ(Lines(doc), (Strings{"\tone \t\t", "\tthree", "#if"})) << "Indent Right over several lines";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 0, 2, DOC_COLUMN_END}));
    o.tabIndentsLine = true;
    o.indentPreprocessor = true;
    Show(doc, 2, 1);
    Type("\t");
    EXPECT_EQ(LineText(doc, 2), "\t#if") << "the line is indented whatever is selected";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{2, 2, 2, 2}));
}

// ---- Completion ----

TEST_F(InsertTest, Completion) {
    FileBuffer *doc = Show(Text({"x = _Fo;", "a.op"}, FLAGS_PLAIN), 0, 7);
    EXPECT_FALSE(InsertCompletion("bar", nullptr, false)) << "the name must extend the word";
    EXPECT_TRUE(InsertCompletion("__foobar", nullptr, false));
    EXPECT_EQ(LineText(doc, 0), "x = __foobar;") << "underscores and case ignored";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 12, 0, 12}));

    Options().insertParameters = true;
    Shell().functionLike = true;
    Shell().paramText = "__foobar(int a, int b)";
    Show(doc, 0, 12);
    EXPECT_TRUE(InsertCompletion("__foobar", nullptr, true));
    EXPECT_EQ(LineText(doc, 0), "x = __foobar(int a, int b);");
    EXPECT_EQ(Win().sel.range.firstColumn, 13);
    EXPECT_EQ(Win().sel.range.lastColumn, 18) << "the first parameter is selected";

    Shell().paramText = "operator";
    Show(doc, 1, 4);
    EXPECT_TRUE(InsertCompletion("operator", nullptr, true));
    EXPECT_EQ(LineText(doc, 1), "aoperator") << "the . before an operator goes";
}

// ---- The matching bracket ----

uint32_t fakeNow;
uint32_t FakeClock() {
    return fakeNow;
}
void FakeSleep(uint32_t ms) {
    fakeNow += ms;
}

TEST_F(InsertTest, MatchingBracketFlashes) {
    TickSetClock(FakeClock, FakeSleep);
    FileBuffer *doc = Text({"f(a", "", "x = (b"}, FLAGS_PLAIN);
    Options().highlightParens = true;
    auto flash = [&](FileBuffer *in, int32_t line, int32_t column) {
        Show(in, line, column);
        uint32_t start = fakeNow;
        Type(")");
        return fakeNow - start;
    };
    EXPECT_EQ(flash(doc, 2, 6), (uint32_t)TYPING_MATCH_MS);
    EXPECT_EQ(Caret(), (std::vector<int32_t>{2, 7, 2, 7})) << "the caret comes back";
    EXPECT_EQ(Win().caretHides, 1);
    Win().top = 1;
    EXPECT_EQ(flash(doc, 0, 3), (uint32_t)TYPING_MATCH_FAR_MS) << "the ( lies above the window's lines";
    EXPECT_EQ(flash(doc, 2, 7), 0u) << "nothing matches";
    EXPECT_EQ(Lines(doc), (Strings{"f(a)", "", "x = (b))"}));
    Win().top = 0;
    Shell().inputPending = true;
    EXPECT_LT(flash(Text({"(("}, FLAGS_PLAIN), 0, 2), (uint32_t)TYPING_MATCH_MS) << "a waiting key ends it";
}

} // namespace
