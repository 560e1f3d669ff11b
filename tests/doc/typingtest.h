// What the tests of typing share (the document core's natively, the source window's under Wine): a fixture
// with the document core's (doctest.h), the hidden system buffers, document types made for the cases, and
// stand-ins for the layers above the core: a language table whose language 1, "C", is of the C family with
// smart indenting and Smart Tab (comments found by a plain scan, "if", "else", "for", "while", "do" and
// "switch" statement keywords), the search layer's backward bracket search, and the shell's beeps, recorder
// and typing buffer, whose calls are recorded; and a stand-in source window (WindowTest) for the core's own
// tests.
#pragma once

#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/dta.h"
#include "doc/insert.h"
#include "doc/sel.h"
#include "doctest.h"

#include <cstring>
#include <string>
#include <vector>

namespace typingtest {

enum : int32_t { LANG_C = 1 };

struct ShellState {
    std::vector<int> beeps;
    std::vector<int> recording; // characters, and commands as their negative index
    std::vector<int> typing;    // the typing buffer: the same
    std::vector<int> typingGroups;
    bool recordingOn = false;
    bool inputPending = false;
    bool functionLike = false; // the completion's symbol
    std::string paramText;     // what the parameter list builder inserts; empty: it fails
};

inline ShellState &Shell() {
    static ShellState state;
    return state;
}

inline void FakeBeep(int kind) {
    Shell().beeps.push_back(kind);
}
inline bool FakeRecording() {
    return Shell().recordingOn;
}
inline void FakeRecordChar(int ch) {
    Shell().recording.push_back(ch);
}
inline void FakeRecordDrop() {
    if (!Shell().recording.empty()) Shell().recording.pop_back();
}
inline void FakeTypingBegin(int32_t command) {
    Shell().typingGroups.push_back(command);
}
inline void FakeTypingChar(int ch) {
    Shell().typing.push_back(ch);
}
inline void FakeTypingCommand(int32_t command) {
    Shell().typing.push_back(-command);
}
inline bool FakeInputPending() {
    return Shell().inputPending;
}

// ---- The language "C" ----

inline Lang *FakeGetLang(int32_t index) {
    static char objects[2];
    return (Lang *)&objects[index == LANG_C ? 1 : 0];
}
inline int32_t FakeLangIndex(const char *name) {
    return StrEqualI(name, "C") ? LANG_C : StrEqualI(name, "None") ? 0 : -1;
}
inline char *FakeLangName(int32_t index, char *out) {
    strcpy(out, index == LANG_C ? "C" : index == 0 ? "None" : "");
    return out;
}
inline bool FakeIsC(int32_t index) {
    return index == LANG_C;
}

// Where a position lies by a plain scan from the buffer's start: 0 code, 1 a line comment, 2 a block comment.
inline int FakeCommentAt(FileBuffer *doc, int32_t line, int32_t column) {
    static LineRecord record;
    bool block = false;
    for (int32_t l = 0; l <= line && l < doc->lnMac; l++) {
        GetLine(doc, l, &record);
        int32_t end = l == line ? Min(column, record.length) : record.length;
        for (int32_t i = 0; i < end; i++) {
            const char *t = record.text + i;
            if (block && t[0] == '*' && t[1] == '/')
                block = false, i++;
            else if (!block && t[0] == '/' && t[1] == '*')
                block = true, i++;
            else if (!block && t[0] == '/' && t[1] == '/') {
                if (l == line) return 1;
                break;
            }
        }
    }
    return block ? 2 : 0;
}
inline bool FakeInComment(Lang *lang, FileBuffer *doc, int32_t line, int32_t column) {
    return lang == FakeGetLang(LANG_C) && FakeCommentAt(doc, line, column) != 0;
}
inline int FakeInLineComment(int32_t index, FileBuffer *doc, int32_t line, int32_t column, int *kind) {
    *kind = index == LANG_C && FakeCommentAt(doc, line, column) == 1 ? 1 : 0;
    return *kind;
}
inline int FakeTokenClass(int32_t index, const char *token) {
    static const char *const keywords[] = {"if", "else", "for", "while", "do", "switch"};
    if (index != LANG_C) return 0;
    for (const char *k : keywords)
        if (!strcmp(token, k)) return 1;
    return 0;
}

// The search layer's backward search for the open bracket that matches the close one at the position.
inline int FakeFindOpening(FileBuffer *doc, int32_t *line, int32_t *column, char open, char close,
                           LineRecord *record) {
    int depth = 0;
    for (int32_t l = *line; l >= 0; l--) {
        GetLine(doc, l, record);
        for (int32_t c = l == *line ? *column - 1 : record->length - 1; c >= 0; c--) {
            if (record->text[c] == close) depth++;
            if (record->text[c] != open) continue;
            if (depth-- > 0) continue;
            *line = l;
            *column = c;
            return 1;
        }
    }
    return 0;
}

inline bool FakeFunctionLike(const void *) {
    return Shell().functionLike;
}
inline int FakeBuildParams(const void *, int32_t *outLength) {
    *outLength = (int32_t)Shell().paramText.size();
    if (Shell().paramText.empty()) return 1;
    return InsertTextAtCursor(Shell().paramText.c_str()) ? 0 : 1;
}

// Document type flags of the cases.
constexpr uint32_t FLAGS_PLAIN = DTA_ENTER_NEW_LINE;
constexpr uint32_t FLAGS_SIMPLE = DTA_ENTER_NEW_LINE | DTA_AUTO_INDENT_SIMPLE;
constexpr uint32_t FLAGS_SMART = DTA_ENTER_NEW_LINE | DTA_AUTO_INDENT_SMART;

class TypingBase : public doctest::DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Shell() = ShellState{};
        shell.beep = FakeBeep;
        shell.isRecording = FakeRecording;
        shell.recordingAddChar = FakeRecordChar;
        shell.recordingRemoveLast = FakeRecordDrop;
        shell.typingBegin = FakeTypingBegin;
        shell.typingAddChar = FakeTypingChar;
        shell.typingAddCommand = FakeTypingCommand;
        shell.inputPending = FakeInputPending;
        SetShell();
        lang = *DocLangNeutral();
        lang.getLang = FakeGetLang;
        lang.getLangIndex = FakeLangIndex;
        lang.getLangName = FakeLangName;
        lang.isInComment = FakeInComment;
        lang.langIsCFamily = FakeIsC;
        lang.langSupportsSmartIndent = FakeIsC;
        lang.langSupportsSmartTab = FakeIsC;
        lang.langIsInLineComment = FakeInLineComment;
        lang.langClassifyToken = FakeTokenClass;
        DocSetLangHook(&lang);
        DocSearchHook search = *DocSearchNeutral();
        search.findOpeningBracket = FakeFindOpening;
        DocSetSearchHook(&search);
        DocSymbolHook symbol = *DocSymbolNeutral();
        symbol.symbolIsFunctionLike = FakeFunctionLike;
        DocSetSymbolHook(&symbol);
        DocBrowseHook browse = *DocBrowseNeutral();
        browse.buildParamText = FakeBuildParams;
        DocSetBrowseHook(&browse);
        ASSERT_TRUE(DocCreateSystemDocs());
        ASSERT_TRUE(DtaTableInit());
        AddType("Default", DTA_DEFAULT_FLAGS, 8, 80, "None");
    }
    void TearDown() override {
        DocTest::TearDown();
        SetOvertype(false);
        TypingSetBatch(false);
        DtaTableExit();
    }
    // A document type of its own for a case: the flags, tab width, margin and language.
    int32_t AddType(const char *name, uint32_t flags, int32_t tabWidth, int32_t margin,
                    const char *language) {
        DtaOptions options;
        DtaOptionsDefault(&options);
        options.flags = flags;
        options.tabWidth = tabWidth;
        options.margin = margin;
        DtaFont font;
        DtaFontDefault(&font);
        EXPECT_TRUE(DtaAppend(&options, name, "", "", language, &font));
        return DtaCount() - 1;
    }
    // A buffer with the text (lines joined with CR LF) of a new type with the options.
    FileBuffer *Text(const std::vector<std::string> &lines, uint32_t flags, int32_t tabWidth = 4,
                     int32_t margin = 80, const char *language = "C") {
        std::string bytes;
        for (const std::string &line : lines) bytes += line + "\r\n";
        static int count;
        std::string name = "t" + std::to_string(++count) + ".txt";
        FileBuffer *doc = bytes.empty() ? DocNew(doctest::Path(name).c_str()) : doctest::Load(name, bytes);
        if (doc) DocSetType(doc, AddType(name.c_str(), flags, tabWidth, margin, language));
        return doc;
    }
    DocLangHook lang;
};

// ---- A stand-in source window ----

// The stand-in source window: one buffer and its selection.
struct FakeWindow {
    FileBuffer *doc = nullptr;
    Sel sel = {};
    int32_t top = 0;
    int32_t bottom = 1000;
    int32_t scrolledBack = -1;
    int nextField = 0;
    int caretHides = 0;
};

inline FakeWindow &Win() {
    static FakeWindow window;
    return window;
}

inline void *FakeCurrent() {
    return Win().doc ? &Win() : nullptr;
}
inline FileBuffer *FakeDoc(void *window) {
    return ((FakeWindow *)window)->doc;
}
inline Sel *FakeSel(void *window) {
    return &((FakeWindow *)window)->sel;
}
inline void FakeSetSel(void *window, const Sel *sel) {
    ((FakeWindow *)window)->sel = *sel;
}
inline void FakeMoveCaret(int32_t line, int32_t column) {
    SelSetAt(&Win().sel, line, column);
}
inline void FakeShift(FileBuffer *doc, int32_t line, int32_t delta) {
    if (doc == Win().doc && !DocReplaceInProgress()) SelAdjustForLines(&Win().sel, line, delta);
}
inline void *FakeFindByDoc(FileBuffer *doc) {
    return doc == Win().doc ? &Win() : nullptr;
}
inline int32_t FakeX(void *, int32_t, int32_t column) {
    return column * 10;
}
inline int32_t FakeTop(void *) {
    return Win().top;
}
inline int32_t FakeBottom(void *) {
    return Win().bottom;
}
inline void FakeScrollBack(void *, int32_t top) {
    Win().scrolledBack = top;
}
inline void FakeHideCaret() {
    Win().caretHides++;
}
inline void FakeNextField() {
    Win().nextField++;
}
// A close bracket at the caret selects its open one.
inline int FakeSelectMatch() {
    Sel &sel = Win().sel;
    int32_t line = sel.range.firstLine, column = sel.range.firstColumn;
    static LineRecord record;
    int c = DocCharAt(Win().doc, line, column);
    const char open = c == ')' ? '(' : c == ']' ? '[' : '{';
    if (!FakeFindOpening(Win().doc, &line, &column, open, (char)c, &record)) return 1;
    SelSet(&sel, line, column, line, column + 1);
    return 0;
}
inline int FakeEnclosing(int32_t *line, int32_t *column, int32_t *, int32_t *, char open, char close) {
    static LineRecord record;
    return FakeFindOpening(Win().doc, line, column, open, close, &record);
}
// Shift-JIS: 0x81 to 0x9F and 0xE0 to 0xFC lead a double-byte character; the line is walked from its start.
inline bool FakeDbcsLead(void *, int32_t line, int32_t column, int) {
    static LineRecord record;
    GetLine(Win().doc, line, &record);
    for (int32_t i = 0; i < record.length; i++) {
        unsigned char b = (unsigned char)record.text[i];
        bool lead = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < record.length;
        if (i == column) return lead;
        if (lead) i++;
    }
    return false;
}

// The typing fixture with the stand-in window as the current source window.
class WindowTest : public TypingBase {
protected:
    void SetUp() override {
        TypingBase::SetUp();
        Win() = FakeWindow{};
        DocDisplayHook display = *DocDisplayNeutral();
        display.currentSw = FakeCurrent;
        display.swDoc = FakeDoc;
        display.swSel = FakeSel;
        display.setSwSelectionFromSel = FakeSetSel;
        display.swMoveCaret = FakeMoveCaret;
        display.swShiftDocLines = FakeShift;
        display.swFindByDoc = FakeFindByDoc;
        display.swXFromColumn = FakeX;
        display.swTopLine = FakeTop;
        display.swVisibleLastLine = FakeBottom;
        display.swScrollBack = FakeScrollBack;
        display.hideCurSwCaret = FakeHideCaret;
        display.swSelectNextField = FakeNextField;
        display.selectMatch = FakeSelectMatch;
        display.findEnclosingBrackets = FakeEnclosing;
        display.isDbcsLeadAt = FakeDbcsLead;
        DocSetDisplayHook(&display);
    }
    // The window shows the buffer with the caret at (line, column); a typing run ends first.
    FileBuffer *Show(FileBuffer *doc, int32_t line = 0, int32_t column = 0) {
        EndTypingRun();
        Win().doc = doc;
        Win().sel.doc = doc;
        SelSetAt(&Win().sel, line, column);
        return doc;
    }
    void Select(int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn) {
        SelSet(&Win().sel, firstLine, firstColumn, lastLine, lastColumn);
    }
    void Type(const std::string &text) {
        for (char c : text) InsertTypedText((unsigned char)c);
    }
    std::vector<int32_t> Caret() {
        const Car &r = Win().sel.range;
        return {r.firstLine, r.firstColumn, r.lastLine, r.lastColumn};
    }
};

} // namespace typingtest
