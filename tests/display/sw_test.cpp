// The least source window, typed into with key codes sent as message 2025 (the keys of Enter, Backspace,
// Tab, Delete Character and Undo mapped to their commands by a stand-in key map, the rest typed as text):
// - the typing run: an empty buffer gets line 0; 100 characters write nothing to the scratch file until a
//   click ends the run; losing the focus ends it too; overtype over a selection; the line limit;
// - Enter at column 0 keeps the caret on its text; each Enter of a C buffer is its own undo step;
// - Backspace at the start of the buffer and Delete Character at the end of the last line only beep; a join
//   past the line limit tells its message once and keeps both lines; a double-byte character in the
//   font's code page is deleted whole;
// - a tab expanded to the next stop; "}" aligned with its "{"; a blank over whole lines; word wrap at the
//   margin, continuing a line comment; Smart Tab's next parameter;
// - painting: fixed-pitch text, the selection inverted;
// - the window's answers to the document core: columns and pixels with tabs, Select Match, the enclosing
//   brackets, the selection kept valid when lines above it go.
#include "display/sw.h"

#include "base/fileos.h"
#include "doc/cmdedit.h"
#include "doc/docedit.h"
#include "doc/dochook.h"
#include "doc/typingtest.h"
#include "doc/undo.h"
#include "ui/draw.h"

#include <gtest/gtest.h>

namespace {

using namespace doctest;
using namespace typingtest;
using Strings = std::vector<std::string>;

enum : int32_t { CMD_UNDO = 87, KEY_DELETE = KEY_NAV | 0x2E };

int32_t FakeKeyToCommand(KeyCode key) {
    switch (key) {
    case '\r': return TYPING_CMD_ENTER;
    case '\b': return TYPING_CMD_BACKSPACE;
    case '\t': return TYPING_CMD_TAB;
    case KEY_DELETE: return TYPING_CMD_DELETE;
    case KEY_CTRL | 'Z': return CMD_UNDO;
    }
    return 0;
}

// The dispatcher's part: every command but a typing command ends the typing run first.
bool FakeRunCommand(int32_t command, bool) {
    if (command == CMD_UNDO) {
        EndTypingRun();
        return CmdUndo(command) == 0;
    }
    return TypingCommand(command) == 0;
}

FileBuffer *FakeCurrentDoc() {
    return SwGetDoc(SwCurrent());
}

class SwTest : public TypingBase {
protected:
    void SetUp() override {
        TypingBase::SetUp();
        ASSERT_TRUE(DrawInit(nullptr));
        shell.currentDoc = FakeCurrentDoc;
        SetShell();
        SwInstallHooks();
        static const SwCommandHook commands = {FakeKeyToCommand, FakeRunCommand};
        SwSetCommandHook(&commands);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        TypingBase::TearDown();
        DrawExit();
    }
    // A window on the buffer, the caret at (line, column).
    FileBuffer *Show(FileBuffer *doc, int32_t line = 0, int32_t column = 0) {
        if (window) DestroyWindow(window);
        window = SwCreate(nullptr, doc, 0, 0, 480, 320);
        EXPECT_NE(window, nullptr);
        Select(line, column, line, column);
        return doc;
    }
    void Select(int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn) {
        Sel sel = *SwGetSel(window);
        SelSet(&sel, firstLine, firstColumn, lastLine, lastColumn);
        DocDisplay().setSwSelectionFromSel(window, &sel);
    }
    void Key(KeyCode key) { SendMessageA(window, SW_MSG_KEY, (WPARAM)key, 0); }
    void Type(const std::string &text) {
        for (char c : text) Key((unsigned char)c);
    }
    std::vector<int32_t> Caret() {
        const Car &r = SwGetSel(window)->range;
        return {r.firstLine, r.firstColumn, r.lastLine, r.lastColumn};
    }
    HWND window = nullptr;
};

TEST_F(SwTest, RunWritesNothingUntilAClickEndsIt) {
    FileBuffer *doc = Text({"x"}, FLAGS_PLAIN);
    ASSERT_EQ(DocEmpty(doc), 0);
    Show(doc);
    Type("a");
    EXPECT_EQ(Lines(doc), Strings{"a"}) << "an empty buffer first gets line 0";
    EXPECT_TRUE(IsTypingRun());
    uint32_t scratch = FileGetSize(ScratchFileNumber());
    FileOsResetStats();
    Type(std::string(99, 'b'));
    EXPECT_EQ(FileOsGetStats().writes, 0u);
    EXPECT_EQ(FileGetSize(ScratchFileNumber()), scratch);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_FALSE(IsTypingRun()) << "a click ends the run";
    EXPECT_GT(FileOsGetStats().writes, 0u);
    EXPECT_GT(FileGetSize(ScratchFileNumber()), scratch);
    EXPECT_EQ(LineText(doc, 0), "a" + std::string(99, 'b'));
    int32_t clicked = SwColumnFromX(window, 0, 1);
    EXPECT_GT(clicked, 0) << "the window scrolled to the caret";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, clicked, 0, clicked}))
        << "the caret goes where the click was";

    Type("c");
    SendMessageA(window, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(IsTypingRun()) << "so does losing the focus";
    EXPECT_TRUE(DocStoreCheck(doc));
}

TEST_F(SwTest, OvertypeAndTheLineLimit) {
    FileBuffer *doc = Show(Text({"abcdef", std::string(LINE_TEXT_MAX, 'y')}, FLAGS_PLAIN));
    SetOvertype(true);
    Select(0, 1, 0, 4);
    Type("X");
    EXPECT_EQ(LineText(doc, 0), "aXef") << "the selection is replaced by the character";
    SetOvertype(false);
    Select(1, LINE_TEXT_MAX, 1, LINE_TEXT_MAX);
    Type("z");
    EXPECT_EQ(Shell().beeps, std::vector<int>{5}) << "the 4,093rd character";
    EXPECT_EQ(GetLineLength(doc, 1), LINE_TEXT_MAX);
}

TEST_F(SwTest, EnterAtColumnZeroAndItsUndoSteps) {
    FileBuffer *doc = Show(Text({"one", "two"}, FLAGS_PLAIN, 4, 80, "None"), 1, 0);
    Key('\r');
    EXPECT_EQ(Lines(doc), (Strings{"one", "", "two"}));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{2, 0, 2, 0})) << "the caret stays on its text";

    FileBuffer *c = Show(Text({"abc"}, FLAGS_PLAIN), 0, 3);
    Key('\r');
    Key('\r');
    Key('\r');
    EXPECT_EQ(c->lnMac, 4);
    for (int32_t lines = 3; lines >= 1; lines--) {
        Key(KEY_CTRL | 'Z');
        EXPECT_EQ(c->lnMac, lines) << "one Enter per undo step";
    }
    EXPECT_EQ(Lines(c), Strings{"abc"});
    EXPECT_FALSE(UndoCanUndo(c));
}

TEST_F(SwTest, BeepsAndTheJoinMessage) {
    FileBuffer *doc = Show(Text({"ab", "cd"}, FLAGS_PLAIN));
    Key('\b');
    Select(1, 2, 1, 2);
    Key(KEY_DELETE);
    EXPECT_EQ(Shell().beeps, (std::vector<int>{3, 5}));
    EXPECT_EQ(Lines(doc), (Strings{"ab", "cd"}));

    std::string first(4000, 'f'), second(92, 's');
    FileBuffer *wide = Show(Text({first, second}, FLAGS_PLAIN), 1, 0);
    VxAlertsReset();
    Key('\b');
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, ercDocJoinTooLong);
    EXPECT_EQ(Lines(wide), (Strings{first, second}));
    Key(KEY_CTRL | 'Z');
    EXPECT_EQ(VxAlerts().size(), 1u) << "shown once";
}

TEST_F(SwTest, DoubleByteCharacters) {
    FileBuffer *doc = Text({"a\x82\xa0"}, FLAGS_PLAIN);
    FontDesc desc;
    DocGetFontDesc(doc, false, &desc);
    desc.charset = 128;
    ASSERT_TRUE(DocSetFont(doc, &desc));
    Show(doc, 0, 3);
    EXPECT_EQ(SwCodePage(window), 932u);
    Key('\b');
    EXPECT_EQ(LineText(doc, 0), "a");
}

TEST_F(SwTest, TabsBracesAndBlanks) {
    FileBuffer *doc = Show(Text({"abcdef"}, FLAGS_PLAIN | DTA_EXPAND_TABS, 4), 0, 6);
    Key('\t');
    EXPECT_EQ(LineText(doc, 0), "abcdef  ") << "display column 6: two blanks to the next stop";

    FileBuffer *braces =
        Show(Text({"    if (a) {", "        x;", "        "}, FLAGS_SMART | DTA_EXPAND_TABS), 2, 8);
    Type("}");
    EXPECT_EQ(LineText(braces, 2), "    }");

    FileBuffer *three = Show(Text({"a", "b", "c"}, FLAGS_PLAIN));
    Select(0, 0, 2, DOC_COLUMN_END);
    Type(" ");
    EXPECT_EQ(Lines(three), (Strings{" a", " b", " c"}));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 0, 2, DOC_COLUMN_END})) << "the lines stay selected";
}

TEST_F(SwTest, WordWrap) {
    const uint32_t flags = FLAGS_SIMPLE | DTA_WORD_WRAP;
    FileBuffer *doc = Show(Text({"  one four"}, flags, 4, 10, "None"), 0, 10);
    Type("s");
    EXPECT_EQ(Lines(doc), (Strings{"  one ", "  fours"})) << "the word goes, with the line's indentation";
    EXPECT_EQ(Caret(), (std::vector<int32_t>{1, 7, 1, 7}));

    FileBuffer *comment = Show(Text({"  // one two"}, flags, 4, 10), 0, 12);
    Type("s");
    EXPECT_EQ(Lines(comment), (Strings{"  // one ", "  // twos"})) << "a line comment continues";
}

TEST_F(SwTest, SmartTabSelectsTheNextParameter) {
    Options().smartTab = true;
    FileBuffer *doc = Show(Text({"f(a, bc);"}, FLAGS_PLAIN), 0, 1);
    Key('\t');
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 2, 0, 3}));
    Key('\t');
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 5, 0, 7}));
    EXPECT_EQ(LineText(doc, 0), "f(a, bc);");
}

// The client area painted into a bitmap of its own: fixed-pitch text, the selection inverted.
TEST_F(SwTest, Painting) {
    Show(Text({"MMMM"}, FLAGS_PLAIN));
    Select(0, 0, 0, 2);
    int32_t width = SwXFromColumn(window, 0, 1), height = SwLineHeight(window);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 480, 320);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(window, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    auto inked = [&](int32_t column) {
        int n = 0;
        for (int32_t x = column * width; x < (column + 1) * width; x++)
            for (int32_t y = 0; y < height; y++) n += GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW);
        return n;
    };
    int cell = width * height;
    EXPECT_GT(inked(3), 0) << "an M is drawn";
    EXPECT_LT(inked(3), cell / 2);
    EXPECT_GT(inked(1), cell / 2) << "selected: inverted";
    EXPECT_EQ(inked(5), 0) << "past the text";
    EXPECT_EQ(GetPixel(dc, 0, height + 1), GetSysColor(COLOR_WINDOW)) << "below the last line";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(SwTest, AnswersToTheDocumentCore) {
    FileBuffer *doc = Show(Text({"\tab(c[d])", "x", "y"}, FLAGS_PLAIN, 4));
    int32_t width = SwXFromColumn(window, 0, 1);
    EXPECT_GT(width, 0);
    EXPECT_EQ(SwXFromColumn(window, 0, 2), width * 5 / 4) << "the tab takes four columns";
    EXPECT_EQ(SwColumnFromX(window, 0, width * 5 / 4), 2);

    Select(0, 7, 0, 7);
    EXPECT_EQ(DocDisplay().selectMatch(), 0);
    EXPECT_EQ(Caret(), (std::vector<int32_t>{0, 5, 0, 6})) << "the [ of the ]";
    int32_t line = 0, column = 7, endLine = -1, endColumn = -1;
    ASSERT_TRUE(DocDisplay().findEnclosingBrackets(&line, &column, &endLine, &endColumn, '(', ')'));
    EXPECT_EQ((std::vector<int32_t>{line, column, endLine, endColumn}), (std::vector<int32_t>{0, 3, 0, 8}));

    Select(2, 1, 2, 1);
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 0, 1));
    ASSERT_TRUE(EndEdit(doc));
    EXPECT_EQ(Caret(), (std::vector<int32_t>{1, 1, 1, 1})) << "the selection follows its line";
}

} // namespace
