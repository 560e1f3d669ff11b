// insert: typing and insertion (prefix Insert). Globals: the typing run {window, buffer, typing line, the
// editing options of the type at the caret when it opened, overtype, busy count, hold count, last typing
// time, batch mode, the Smart Tab switch forced for one tab}. The typing line lives twice: here, where a
// keystroke changes it, and in the line store (DocSetEditLine), which answers every read of the line and
// writes it to the scratch file when the run leaves the line.
#include "doc/insert.h"

#include "base/log.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "doc/cmdedit.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/docsel.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <cstring>

enum : int32_t {
    INSERT_BEEP_ERROR = 3,
    INSERT_BEEP_REFUSED = 5,
    INSERT_LANG_HTML = 8,       // where ">" closes a bracket too
    INSERT_STYLE_STRING = 5,    // no bracket is flashed in text of this style
    INSERT_TOKEN_STATEMENT = 1, // token classes 1 and 2: statement keywords that govern indentation
    INSERT_TOKEN_BLOCK = 2,
    INSERT_IGNORED_KEYS = KEY_CTRL | KEY_ALT | KEY_FUNCTION | KEY_KEYPAD | KEY_NAV, // 0xDC00
    INSERT_PAUSE_STEP_MS = 10,
    INSERT_WALK_MAX = 5000,   // lines an indentation walk reads before giving up
    INSERT_FIELD_LINES = 100, // lines a parameter field may span
    INSERT_FORCE_NONE = -1,
};

struct InsertRun {
    void *window = nullptr;    // the source window of the open run, null when none
    FileBuffer *doc = nullptr; // its buffer
    LineRecord line = {};      // the typing line
    DtaOptions options = {};
    bool overtype = false;
    int32_t busy = 0;
    int32_t hold = 0;
    uint32_t lastTime = 0;
    bool batch = false;
    int smartTabForce = INSERT_FORCE_NONE; // or the switch for one tab
};

static InsertRun run;

// The current window with its buffer and selection.
struct InsertFront {
    void *window;
    FileBuffer *doc;
    Sel *sel;
};

static bool InsertGetFront(InsertFront *f) {
    f->window = DocDisplay().currentSw();
    f->doc = f->window ? DocDisplay().swDoc(f->window) : nullptr;
    f->sel = f->window ? DocDisplay().swSel(f->window) : nullptr;
    return f->doc && f->sel;
}

static bool InsertIsBlank(char c) {
    return c == ' ' || c == '\t';
}

static void InsertBeep(int kind) {
    DocShell().beep(kind);
}

static int32_t InsertCaretLine(const InsertFront &f) {
    return f.sel->range.firstLine;
}

static int32_t InsertCaretColumn(const InsertFront &f) {
    return f.sel->range.firstColumn;
}

// The window's selection becomes the range; in batch mode only the record changes.
static void InsertSelect(const InsertFront &f, int32_t firstLine, int32_t firstColumn, int32_t lastLine,
                         int32_t lastColumn) {
    SelSet(f.sel, firstLine, firstColumn, lastLine, lastColumn);
    if (!run.batch) DocDisplay().setSwSelectionFromSel(f.window, f.sel);
}

static void InsertSetCaret(const InsertFront &f, int32_t line, int32_t column) {
    InsertSelect(f, line, column, line, column);
}

// ---- The run ----

// The open run is the current window's, on the buffer it shows.
static bool InsertRunHeld(const InsertFront &f) {
    return run.window == f.window && run.doc == f.doc;
}

// Ends the open run whatever the hold count says: the typing line written out, the edit closed when asked.
static int InsertCloseRun(bool endEdit) {
    if (!run.window) return 1;
    run.busy++;
    FileBuffer *doc = run.doc;
    run.window = nullptr;
    int result = DocEditLineBuffer() == doc ? DocFlushEditLine(doc) : 1;
    if (endEdit) result = EndEdit(doc) && result;
    DocShell().typingEnd();
    run.doc = nullptr;
    run.busy--;
    return result;
}

// The caret's line held as the typing line. A line held elsewhere is written out first; a caret below the
// last line first gets an empty line there; a caret past the end of its line comes back to the end.
static int InsertLoadLine(const InsertFront &f) {
    int32_t line = Min(InsertCaretLine(f), f.doc->lnMac);
    if (DocEditLineBuffer() == f.doc && DocEditLineNumber() == line) return 1;
    FileBuffer *held = DocEditLineBuffer();
    if (held && !DocFlushEditLine(held)) return 0;
    if (line == f.doc->lnMac && !InsertLineSz(f.doc, line, "")) return 0;
    if (!DocBeginLineEdit(f.doc, line, &run.line)) return 0;
    if (InsertCaretLine(f) != line || InsertCaretColumn(f) > run.line.length)
        InsertSetCaret(f, line, Min(InsertCaretColumn(f), run.line.length));
    return 1;
}

// A failing step inside a run ends it.
static int InsertFail() {
    InsertCloseRun(true);
    return 0;
}

// The selection's text goes; in overtype mode a blank takes its place before the caret, so that the next
// character replaces it rather than what followed the selection.
static int InsertTakeSelection(const InsertFront &f) {
    if (SelIsEmpty(f.sel)) return 1;
    SelNormalize(f.sel);
    int32_t line = f.sel->range.firstLine, column = f.sel->range.firstColumn;
    if (f.sel->flags & SEL_COLUMN) column = DocDisplay().swColumnFromX(f.sel->window, line, f.sel->leftX);
    if (!SelDeleteText(f.sel)) return 0;
    InsertSetCaret(f, line, column);
    if (run.overtype) {
        if (!InsertTextAtCursor(" ")) return 0;
        InsertSetCaret(f, line, column);
    }
    DocDisplay().updateSw(f.window);
    return 1;
}

// A caret below the last line (or in a buffer without lines) gets its line; a pending new line is made.
static int InsertPrepareLine(const InsertFront &f) {
    if (InsertCaretLine(f) == f.doc->lnMac) {
        if (!InsertLineSz(f.doc, f.doc->lnMac, "")) return 0;
        DocDisplay().updateSw(f.window);
    }
    if (!(f.sel->flags & SEL_NEW_LINE)) return 1;
    f.sel->flags &= ~SEL_NEW_LINE;
    return InsertIndentedLine(f.doc, InsertCaretLine(f), InsertCaretLine(f));
}

static int InsertOpenRun() {
    InsertCloseRun(true);
    if (LogIsOn() && DocShell().commandLogging()) LogWrite("Typing text...");
    InsertFront f;
    if (!InsertGetFront(&f) || !BeginEdit(f.doc)) return 0;
    run.window = f.window;
    run.doc = f.doc;
    DocShell().typingBegin(TYPING_GROUP);
    EditOptionsAtSel(f.sel, &run.options);
    if (!InsertTakeSelection(f) || !InsertPrepareLine(f)) return InsertFail();
    DocDisplay().showSelection();
    return InsertLoadLine(f) ? 1 : InsertFail();
}

int BeginTypingRun() {
    if (DocShell().notRunning()) return 0;
    run.busy++;
    int ok = InsertOpenRun();
    run.busy--;
    return ok;
}

int EndTypingRunFlag(bool endEdit) {
    return run.hold > 0 ? 1 : InsertCloseRun(endEdit);
}

int EndTypingRun() {
    return EndTypingRunFlag(true);
}

bool IsTypingRun() {
    return run.window != nullptr;
}

FileBuffer *TypingRunBuffer() {
    return run.window ? run.doc : nullptr;
}

bool TypingIsBusy() {
    return run.busy > 0;
}

void TypingHoldBegin() {
    run.hold++;
}

void TypingHoldEnd() {
    if (run.hold > 0) run.hold--;
}

void SetOvertype(bool on) {
    EndTypingRun();
    run.overtype = on;
}

bool IsOvertype() {
    return run.overtype;
}

bool TypingSetBatch(bool on) {
    bool was = run.batch;
    run.batch = on;
    return was;
}

bool IsTypingCommand(int32_t command) {
    return command == TYPING_CMD_TAB ||
           (command >= TYPING_CMD_KEYPAD_FIRST && command <= TYPING_CMD_KEYPAD_LAST);
}

void TypingInit() {
    run.lastTime = TickNow();
}

uint32_t LastTypingTime() {
    return run.lastTime;
}

void TypingForgetBuffer(FileBuffer *doc) {
    if (run.window && run.doc == doc) InsertCloseRun(true);
}

// ---- The typing line after a change ----

// One change notice for the line; then the window repaints and the caret moves (in batch mode only the
// selection moves).
static void InsertLineChanged(const InsertFront &f, int32_t column) {
    int32_t line = InsertCaretLine(f);
    DocSetEditLine(&run.line, true);
    if (!run.batch) DocDisplay().updateSw(f.window);
    InsertSetCaret(f, line, column);
}

static void InsertRecordChar(int c) {
    if (run.batch) return;
    DocShell().typingAddChar(c);
    if (DocShell().isRecording() && c != '\t') DocShell().recordingAddChar(c);
}

// ---- Blanks before selected lines ----

static int InsertBlankBeforeLines(const InsertFront &f) {
    static LineRecord record;
    int32_t first, last;
    SelLineSpan(f.sel, &first, &last);
    if (!BeginEdit(f.doc)) return 0;
    int ok = 1;
    for (int32_t line = first; ok && line <= last; line++) {
        GetLine(f.doc, line, &record);
        if (LineInsertChar(&record, 0, ' ')) ok = ReplaceLine(f.doc, line, &record);
    }
    if (!EndEdit(f.doc) || !ok) return 0;
    InsertSelect(f, first, 0, last, DOC_COLUMN_END);
    return 1;
}

// ---- Word wrap ----

// The break for a caret at `column`: back over blanks, then to the start of the word before them; when only
// blanks precede that word, the start of the next word after the caret.
static int32_t InsertBreakPoint(const LineRecord *r, int32_t column) {
    int32_t i = column;
    while (i > 0 && InsertIsBlank(r->text[i - 1])) i--;
    while (i > 0 && !InsertIsBlank(r->text[i - 1])) i--;
    if (i > LineLeadingWhite(r)) return i;
    int32_t j = column;
    while (j < r->length && !InsertIsBlank(r->text[j])) j++;
    while (j < r->length && InsertIsBlank(r->text[j])) j++;
    return j;
}

// The caret's distance from the start of its line: display columns, or pixels when the type says so.
static int32_t InsertCaretReach(const InsertFront &f, int32_t line, int32_t column) {
    if (run.options.flags & DTA_MARGIN_PIXELS)
        return DocDisplay().swXFromColumn(f.window, line, column) -
               DocDisplay().swXFromColumn(f.window, line, 0);
    return LineDisplayColumn(&run.line, column, run.options.tabWidth);
}

static bool InsertInLineComment(FileBuffer *doc, int32_t line, int32_t column) {
    int32_t lang = DocLangAt(doc, line, column);
    int kind = 0;
    return DocLang().langIsInLineComment(lang, doc, line, column, &kind) && kind == 1;
}

// What a wrapped line starts with: the line's own indentation under auto indent, and "// " when the caret
// lies in a line comment of the C family.
static void InsertWrapPrefix(const InsertFront &f, int32_t line, int32_t column, LineRecord *out) {
    LineClear(out);
    if (run.options.flags & DTA_AUTO_INDENT_MASK)
        LineFromText(run.line.text, LineLeadingWhite(&run.line), out);
    if (DocLang().langIsCFamily(DocLangAt(f.doc, line, column)) && InsertInLineComment(f.doc, line, column))
        LineInsertSz(out, out->length, "// ");
}

// The typing line is cut at the break and written out; the rest goes to a new line below, with the typed
// character where it belongs. -1 when a step failed.
static int InsertWrapAt(const InsertFront &f, int c, int32_t column, int32_t brk, const LineRecord *prefix) {
    static LineRecord rest;
    int32_t line = InsertCaretLine(f), from = brk;
    while (from < run.line.length && InsertIsBlank(run.line.text[from])) from++;
    LineFromText(prefix->text, prefix->length, &rest);
    memcpy(rest.text + rest.length, run.line.text + from, (size_t)(run.line.length - from));
    LineFromText(rest.text, rest.length + run.line.length - from, &rest);
    int32_t caretLine = line, caretColumn = column + 1;
    if (column >= brk) {
        caretLine = line + 1;
        caretColumn = prefix->length + Max(column - from, 0);
        LineInsertChar(&rest, caretColumn++, (char)c);
        LineFromText(run.line.text, brk, &run.line);
    } else {
        LineFromText(run.line.text, brk, &run.line);
        LineInsertChar(&run.line, column, (char)c);
    }
    DocSetEditLine(&run.line, true);
    if (!DocFlushEditLine(f.doc) || !InsertLine(f.doc, line + 1, &rest)) return -1;
    InsertSetCaret(f, caretLine, caretColumn);
    if (!InsertLoadLine(f)) return -1;
    if (!run.batch) DocDisplay().updateSw(f.window);
    return 1;
}

// Word wrap before a character typed at the margin: 1 when the line was wrapped, 0 when it needs none, -1
// when wrapping failed.
static int InsertWrap(const InsertFront &f, int c, int32_t column) {
    static LineRecord prefix;
    int32_t line = InsertCaretLine(f);
    if (!(run.options.flags & DTA_WORD_WRAP) || column <= 0) return 0;
    if (InsertCaretReach(f, line, column) < run.options.margin) return 0;
    int32_t brk = InsertBreakPoint(&run.line, column);
    if (brk <= 0 || brk >= run.line.length) return 0;
    InsertWrapPrefix(f, line, column, &prefix);
    // The new line must hold the prefix, the rest and the typed character; else nothing is wrapped (and a
    // full line beeps).
    if (prefix.length + run.line.length - brk + 1 > LINE_TEXT_MAX) return 0;
    return InsertWrapAt(f, c, column, brk, &prefix);
}

// ---- Putting a character into the typing line ----

static int32_t InsertLevel(int32_t width) {
    return (width / run.options.tabWidth + 1) * run.options.tabWidth;
}

// "{" or "}" on a blank line under smart indent: the brace goes at the indentation of the line that governs
// it (one level more with the brace options). False when the rule does not apply.
static bool InsertSmartBrace(const InsertFront &f, int c, int32_t *column) {
    static LineRecord indent;
    const DtaOptions &o = run.options;
    int32_t line = InsertCaretLine(f);
    if ((o.flags & DTA_AUTO_INDENT_MASK) != DTA_AUTO_INDENT_SMART || !LineIsBlankText(&run.line))
        return false;
    if (!DocLang().langSupportsSmartIndent(DocLangAt(f.doc, line, *column))) return false;
    if (c == '}') LineInsertChar(&run.line, *column, '}');
    DocSetEditLine(&run.line, false);
    if (!IndentForLine(f.doc, line, *column, &indent)) {
        if (c == '{') LineInsertChar(&run.line, *column, '{');
        (*column)++;
        return true;
    }
    int32_t width = LineDisplayColumn(&indent, indent.length, o.tabWidth);
    bool more = c == '{' ? (o.flags & DTA_INDENT_OPEN) : (o.flags & DTA_INDENT_CLOSE);
    if (more) width = InsertLevel(width);
    *column = LineSetIndent(&run.line, width, o.tabWidth, o.flags & DTA_EXPAND_TABS);
    if (c == '{') LineInsertChar(&run.line, *column, '{');
    (*column)++;
    return true;
}

// The character into the typing line at the column; the caret's new column.
static int32_t InsertPutChar(const InsertFront &f, int c, int32_t column) {
    const DtaOptions &o = run.options;
    if (c == '\t' && (o.flags & DTA_EXPAND_TABS) && !(o.flags & DTA_MARGIN_PIXELS)) {
        int32_t n = o.tabWidth - LineDisplayColumn(&run.line, column, o.tabWidth) % o.tabWidth;
        if (!run.overtype) return column + LineInsertFill(&run.line, column, ' ', n);
        LineFill(&run.line, column, ' ', n);
        return Min(column + n, LINE_TEXT_MAX);
    }
    if ((c == '{' || c == '}') && InsertSmartBrace(f, c, &column)) return column;
    if (run.overtype)
        LineSetChar(&run.line, column, (char)c);
    else
        LineInsertChar(&run.line, column, (char)c);
    return column + 1;
}

// ---- Flashing the matching bracket ----

static void InsertPause(uint32_t ms) {
    uint32_t start = TickNow();
    for (uint32_t spent = 0; spent < ms; spent = TickNow() - start) {
        // A key already waiting ends the flash: typing is never held up by it.
        if (DocShell().inputPending()) return;
        TickSleep(Min((int32_t)(ms - spent), INSERT_PAUSE_STEP_MS));
    }
}

static bool InsertClosesBracket(FileBuffer *doc, int32_t line, int32_t column, int c) {
    return c == ')' || c == ']' || c == '}' || (c == '>' && DocLangAt(doc, line, column) == INSERT_LANG_HTML);
}

// After a closing bracket: the caret goes onto it and Select Match shows its partner for a moment; then the
// caret comes back, and the view too when it had moved.
static void InsertFlashMatch(const InsertFront &f, int c, int32_t line, int32_t column) {
    if (run.batch || !DocOpt().highlightParens || !InsertClosesBracket(f.doc, line, column - 1, c)) return;
    int32_t style = DocDisplay().docStyleAt(f.doc, line, column - 1);
    if (style == INSERT_STYLE_STRING || DocShell().isCommentStyle(style)) return;
    int32_t top = DocDisplay().swTopLine(f.window), bottom = DocDisplay().swVisibleLastLine(f.window);
    InsertSetCaret(f, line, column - 1);
    DocDisplay().hideCurSwCaret();
    if (DocDisplay().selectMatch() == 0) {
        int32_t at = f.sel->range.firstLine;
        DocDisplay().updateSw(f.window);
        InsertPause(at < top || at > bottom ? TYPING_MATCH_FAR_MS : TYPING_MATCH_MS);
    }
    DocDisplay().showCurSwCaret();
    InsertSetCaret(f, line, column);
    if (DocDisplay().swTopLine(f.window) != top) DocDisplay().swScrollBack(f.window, top);
}

// ---- Typing a character ----

// The character at the caret of an open run: 1 typed, 0 refused.
static int InsertIntoRun(const InsertFront &f, int c) {
    if (!InsertLoadLine(f)) return InsertFail();
    int32_t line = InsertCaretLine(f), column = Min(InsertCaretColumn(f), run.line.length);
    int wrapped = InsertWrap(f, c, column);
    if (wrapped < 0) return InsertFail();
    if (wrapped) return 1;
    if (run.line.length >= LINE_TEXT_MAX) {
        InsertBeep(INSERT_BEEP_REFUSED);
        return 0;
    }
    column = InsertPutChar(f, c, column);
    InsertLineChanged(f, column);
    InsertFlashMatch(f, c, line, column);
    return 1;
}

int InsertTypedText(KeyCode key) {
    int c = key & 0xFF;
    InsertFront f;
    if (!InsertGetFront(&f) || c == 0) return 0;
    if (f.doc == DocClipboardDoc()) {
        InsertBeep(INSERT_BEEP_ERROR);
        return 0;
    }
    if ((key & INSERT_IGNORED_KEYS) && c != '\t') return 0;
    if (!run.window && c == ' ' && SelCoversWholeLines(f.sel)) return InsertBlankBeforeLines(f);
    if (c == '\t' && (SmartTab() || TabIndentsSelection())) return 1;
    if (!InsertRunHeld(f) && !BeginTypingRun()) return 0;
    run.lastTime = TickNow();
    if (!InsertIntoRun(f, c)) return 0;
    InsertRecordChar(c);
    return 1;
}

// ---- Typing commands ----

// Each new line of a buffer with a language is its own undo step: the run's edit closes and opens again.
static int InsertStepEdit(const InsertFront &f) {
    if (EndEdit(f.doc) && BeginEdit(f.doc)) return 1;
    InsertCloseRun(false);
    return 0;
}

static int InsertEnter(const InsertFront &f, bool wasOpen) {
    static LineRecord tail;
    if (!(run.options.flags & DTA_ENTER_NEW_LINE)) {
        FileBuffer *held = DocEditLineBuffer();
        if (held && !DocFlushEditLine(held)) return InsertFail();
        InsertSetCaret(f, Min(InsertCaretLine(f) + 1, f.doc->lnMac), 0);
        return 1;
    }
    if (wasOpen && f.doc->ilang != LANG_NONE && !InsertStepEdit(f)) return 0;
    if (!InsertLoadLine(f)) return InsertFail();
    int32_t line = InsertCaretLine(f), column = Min(InsertCaretColumn(f), run.line.length), caretColumn = 0;
    if (column == 0) {
        if (!InsertLineSz(f.doc, line, "")) return InsertFail();
    } else {
        SplitLineWithIndent(f.doc, line, &run.line, &tail, column, &run.options, &caretColumn);
        DocSetEditLine(&run.line, true);
        if (!DocFlushEditLine(f.doc) || !InsertLine(f.doc, line + 1, &tail)) return InsertFail();
    }
    InsertSetCaret(f, line + 1, caretColumn);
    if (!InsertLoadLine(f)) return InsertFail();
    if (!run.batch) DocDisplay().updateSw(f.window);
    return 1;
}

// Line `upper` and the one below become one (the edit protocol's join, whose refusal of a line too long is
// told by its own message, under a hold so that the box cannot end the run); the caret goes to the column.
static int InsertJoin(const InsertFront &f, int32_t upper, int32_t column) {
    static LineRecord joined;
    if (DocEditLineBuffer() == f.doc && !DocFlushEditLine(f.doc)) return InsertFail();
    TypingHoldBegin();
    int ok = DocJoinLines(f.doc, upper, &joined, false);
    TypingHoldEnd();
    if (!ok) return 0;
    InsertSetCaret(f, upper, column);
    if (!InsertLoadLine(f)) return InsertFail();
    if (!run.batch) DocDisplay().updateSw(f.window);
    return 1;
}

static bool InsertDbcsLead(const InsertFront &f, int32_t line, int32_t column) {
    return column >= 0 && column < run.line.length &&
           DocDisplay().isDbcsLeadAt(f.window, line, column, (unsigned char)run.line.text[column]);
}

static int InsertBackspace(const InsertFront &f) {
    if (!InsertLoadLine(f)) return InsertFail();
    int32_t line = InsertCaretLine(f), column = Min(InsertCaretColumn(f), run.line.length);
    if (column == 0) {
        if (line > 0) return InsertJoin(f, line - 1, GetLineLength(f.doc, line - 1));
        InsertBeep(INSERT_BEEP_ERROR);
        return 0;
    }
    int32_t n = column >= 2 && InsertDbcsLead(f, line, column - 2) ? 2 : 1;
    LineDeleteChars(&run.line, column - n, n);
    InsertLineChanged(f, column - n);
    return 1;
}

static int InsertDeleteChar(const InsertFront &f) {
    if (!InsertLoadLine(f)) return InsertFail();
    int32_t line = InsertCaretLine(f), column = InsertCaretColumn(f);
    if (column < run.line.length) {
        int32_t n = InsertDbcsLead(f, line, column) && column + 1 < run.line.length ? 2 : 1;
        LineDeleteChars(&run.line, column, n);
        InsertLineChanged(f, column);
        return 1;
    }
    if (line < f.doc->lnMac - 1) return InsertJoin(f, line, run.line.length);
    InsertBeep(INSERT_BEEP_REFUSED);
    return 0;
}

// After every typing command but the tabs. A keypad character stands in the recording and in the typing
// buffer as the character it typed: the recorded command goes again, and the typing buffer is not given the
// command too, which would type the character twice when repeated.
static void InsertAfterCommand(int32_t command) {
    bool keypad = command >= TYPING_CMD_KEYPAD_FIRST && command <= TYPING_CMD_KEYPAD_LAST;
    if (keypad && DocShell().isRecording()) DocShell().recordingRemoveLast();
    DocDisplay().showSelection();
    if (!keypad) DocShell().typingAddCommand(command);
    run.lastTime = TickNow();
}

static int InsertLineCommand(const InsertFront &f, int32_t command) {
    bool wasOpen = InsertRunHeld(f);
    if (!wasOpen) {
        bool hadText = !SelIsEmpty(f.sel);
        if (!BeginTypingRun()) return 1;
        // Backspace and Delete Character over a selection only delete it.
        if (hadText && command != TYPING_CMD_ENTER) {
            InsertAfterCommand(command);
            return 0;
        }
    }
    int ok = command == TYPING_CMD_ENTER       ? InsertEnter(f, wasOpen)
             : command == TYPING_CMD_BACKSPACE ? InsertBackspace(f)
                                               : InsertDeleteChar(f);
    InsertAfterCommand(command);
    return ok ? 0 : 1;
}

static int InsertTab(int force) {
    run.smartTabForce = force;
    int ok = InsertTypedText('\t');
    run.smartTabForce = INSERT_FORCE_NONE;
    return ok ? 0 : 1;
}

int TypingCommand(int32_t command) {
    static const char keypad[] = "/*-+";
    InsertFront f;
    if (!InsertGetFront(&f)) return 1;
    if (f.doc == DocClipboardDoc()) {
        InsertBeep(INSERT_BEEP_ERROR);
        return 1;
    }
    switch (command) {
    case TYPING_CMD_TAB: return InsertTab(INSERT_FORCE_NONE);
    case TYPING_CMD_SMART_TAB: return InsertTab(1);
    case TYPING_CMD_SIMPLE_TAB: return InsertTab(0);
    case TYPING_CMD_ENTER:
    case TYPING_CMD_BACKSPACE:
    case TYPING_CMD_DELETE: return InsertLineCommand(f, command);
    default: break;
    }
    if (command < TYPING_CMD_KEYPAD_FIRST || command > TYPING_CMD_KEYPAD_LAST) return 1;
    int ok = InsertTypedText(keypad[command - TYPING_CMD_KEYPAD_FIRST]);
    InsertAfterCommand(command);
    return ok ? 0 : 1;
}

// ---- Indentation ----

// Strings and comments become blanks: "//" to the end, "/*" to "*/" or the end, and the contents of "..."
// and '...' (a backslash escapes the next character).
static void InsertBlankOut(LineRecord *r) {
    char *t = r->text;
    int32_t n = r->length;
    for (int32_t i = 0; i < n; i++) {
        if (t[i] == '/' && i + 1 < n && t[i + 1] == '/') {
            memset(t + i, ' ', (size_t)(n - i));
            return;
        }
        if (t[i] == '/' && i + 1 < n && t[i + 1] == '*') {
            int32_t j = i + 2;
            while (j + 1 < n && !(t[j] == '*' && t[j + 1] == '/')) j++;
            int32_t end = j + 1 < n ? j + 2 : n;
            memset(t + i, ' ', (size_t)(end - i));
            i = end - 1;
        } else if (t[i] == '"' || t[i] == '\'') {
            char quote = t[i];
            int32_t j = i + 1;
            for (; j < n && t[j] != quote; j++) {
                if (t[j] == '\\' && j + 1 < n) t[j++] = ' ';
                t[j] = ' ';
            }
            i = j;
        }
    }
}

static int32_t InsertLastNonBlank(const LineRecord *r) {
    int32_t i = r->length;
    while (i > 0 && InsertIsBlank(r->text[i - 1])) i--;
    return i - 1;
}

bool IndentEndsStatement(const LineRecord *record) {
    static LineRecord r;
    LineFromText(record->text, record->length, &r);
    InsertBlankOut(&r);
    int32_t last = InsertLastNonBlank(&r);
    if (last < 0) return true;
    char c = r.text[last];
    if (c == '\\') return false;
    return c == ';' || c == '}' || r.text[LineLeadingWhite(&r)] == '#';
}

static char InsertFirstChar(const LineRecord *r) {
    int32_t first = LineLeadingWhite(r);
    return first < r->length ? r->text[first] : 0;
}

// The class of the line's first token (the line already blanked out).
static int InsertTokenClass(FileBuffer *doc, int32_t line, const LineRecord *r) {
    char token[LINE_TEXT_MAX + 1];
    int32_t first = LineLeadingWhite(r);
    const char *end = DocLang().tokEnd(r->text + first);
    int32_t n = Max((int32_t)(end - (r->text + first)), 1);
    memcpy(token, r->text + first, (size_t)n);
    token[n] = 0;
    return DocLang().langClassifyToken(DocLangAt(doc, line, first), token);
}

// Where the walk up for a line's indentation starts: a line that begins with "}" starts at its "{" (or the
// line above, when the "{" begins its own line). -2 when the line governs itself: a "{" without Indent Open
// Brace.
static int32_t InsertWalkStart(FileBuffer *doc, int32_t line, uint32_t flags) {
    static LineRecord r;
    GetLine(doc, line, &r);
    char first = InsertFirstChar(&r);
    if (first == '{' && !(flags & DTA_INDENT_OPEN)) return -2;
    if (first != '}') return line;
    int32_t at = line, column = LineLeadingWhite(&r);
    if (!DocSearch().findOpeningBracket(doc, &at, &column, '{', '}', &r)) return line;
    GetLine(doc, at, &r);
    return InsertFirstChar(&r) == '{' ? at - 1 : at;
}

// The line that governs the indentation of `line`, or -1 when none does.
static int32_t InsertGoverningLine(FileBuffer *doc, int32_t line, uint32_t flags) {
    static LineRecord r;
    int32_t start = InsertWalkStart(doc, line, flags);
    if (start == -2) return line;
    int32_t stop = -1;
    for (int32_t l = start; l >= 0 && l >= start - INSERT_WALK_MAX; l--) {
        if (DocIsInComment(doc, l, 0)) continue;
        GetLine(doc, l, &r);
        InsertBlankOut(&r);
        if (LineIsBlankText(&r)) continue;
        if (InsertFirstChar(&r) == '#') return l;
        if (l < start && strchr(";}{:", r.text[InsertLastNonBlank(&r)])) {
            stop = l;
            break;
        }
        int kind = InsertTokenClass(doc, l, &r);
        if (kind == INSERT_TOKEN_STATEMENT || kind == INSERT_TOKEN_BLOCK) return l;
        if (l == start - INSERT_WALK_MAX) stop = l;
    }
    for (int32_t l = stop + 1; l <= line; l++) {
        GetLine(doc, l, &r);
        if (!LineIsBlankText(&r)) return l;
    }
    return -1;
}

static void InsertTypeOptions(FileBuffer *doc, int32_t line, int32_t column, DtaOptions *out) {
    DtaGetOptions(DocTypeInEffectAt(doc, line, column), out);
}

// The governing line's leading white space into out: its line, or -1 (out empty).
static int32_t InsertIndentOf(FileBuffer *doc, int32_t line, LineRecord *out) {
    DtaOptions options;
    InsertTypeOptions(doc, line, 0, &options);
    int32_t governing = InsertGoverningLine(doc, line, options.flags);
    LineClear(out);
    if (governing < 0) return -1;
    GetLine(doc, governing, out);
    LineFromText(out->text, LineLeadingWhite(out), out);
    return governing;
}

int IndentForLine(FileBuffer *doc, int32_t line, int32_t column, LineRecord *out) {
    LineClear(out);
    if (DocIsInComment(doc, line, column)) return 0;
    InsertIndentOf(doc, line, out);
    return 1;
}

int32_t IndentWidthForLine(FileBuffer *doc, int32_t line, int32_t column) {
    static LineRecord indent, above;
    if (line <= 0 || DocIsInComment(doc, line, column)) return 0;
    DtaOptions options;
    InsertTypeOptions(doc, line, column, &options);
    InsertIndentOf(doc, line - 1, &indent);
    int32_t width = LineDisplayColumn(&indent, indent.length, options.tabWidth);
    GetLine(doc, line - 1, &above);
    return IndentEndsStatement(&above) ? width : width + options.tabWidth;
}

void ReindentLine(LineRecord *record, int32_t oldWidth, int32_t newWidth, int32_t tabWidth, bool keepSpaces) {
    int32_t width = LineDisplayColumn(record, LineLeadingWhite(record), tabWidth);
    int32_t kept = width - Min(width, Max(oldWidth, 0));
    LineSetIndent(record, Max(newWidth, 0) + kept, tabWidth, keepSpaces);
}

// Smart indent of the new line of a split: a finished statement takes the governing line's indentation; a
// line that governs itself (an "if", an opening brace) gives one level more.
static void InsertSmartSplit(FileBuffer *doc, int32_t line, const LineRecord *head, LineRecord *tail,
                             const DtaOptions *o) {
    static LineRecord indent;
    int32_t governing = InsertIndentOf(doc, line, &indent);
    int32_t width = LineDisplayColumn(&indent, indent.length, o->tabWidth);
    bool blanks = o->flags & DTA_EXPAND_TABS;
    if (IndentEndsStatement(head))
        LineSetIndent(tail, width, o->tabWidth, blanks);
    else if (governing == line)
        LineSetIndent(tail, (width / o->tabWidth + 1) * o->tabWidth, o->tabWidth, blanks);
}

int SplitLineWithIndent(FileBuffer *doc, int32_t line, LineRecord *typing, LineRecord *tail, int32_t column,
                        const DtaOptions *options, int32_t *caretColumn) {
    uint32_t autoIndent = options->flags & DTA_AUTO_INDENT_MASK;
    column = ClampValue(column, 0, typing->length);
    int32_t from = column;
    LineClear(tail);
    if (autoIndent) {
        while (from < typing->length && InsertIsBlank(typing->text[from])) from++;
        LineFromText(typing->text, Min(LineLeadingWhite(typing), column), tail);
    }
    memcpy(tail->text + tail->length, typing->text + from, (size_t)(typing->length - from));
    LineFromText(tail->text, tail->length + typing->length - from, tail);
    LineFromText(typing->text, column, typing);
    if (autoIndent == DTA_AUTO_INDENT_SMART &&
        DocLang().langSupportsSmartIndent(DocLangAt(doc, line, column)) && !DocIsInComment(doc, line, column))
        InsertSmartSplit(doc, line, typing, tail, options);
    *caretColumn = LineLeadingWhite(tail);
    if (autoIndent && LineIsBlankText(typing)) LineClear(typing);
    return 1;
}

// ---- Smart Tab ----

static bool InsertIdentStart(int32_t lang, char c) {
    return DocLang().langIsIdentChar(lang, (unsigned char)c) && !(c >= '0' && c <= '9');
}

// The end of the token at text[i] (always past it).
static int32_t InsertTokenEnd(const LineRecord *r, int32_t i) {
    return Max((int32_t)(DocLang().tokEnd(r->text + i) - r->text), i + 1);
}

static int32_t InsertSkipBlanks(const LineRecord *r, int32_t i) {
    while (i < r->length && InsertIsBlank(r->text[i])) i++;
    return i;
}

// Smart Tab leaves the tab to the indentation of the selection: at the start of a line's text, before
// nothing or a line comment, on a preprocessor line, inside a comment, and outside any parentheses.
static bool InsertSmartTabDeclines(const LineRecord *r, FileBuffer *doc, int32_t line, int32_t column) {
    int32_t rest = InsertSkipBlanks(r, column);
    if (column <= LineLeadingWhite(r) || rest >= r->length) return true;
    if ((r->text[rest] == '/' && r->text[rest + 1] == '/') || r->text[0] == '#') return true;
    if (DocIsInComment(doc, line, column)) return true;
    if (memchr(r->text + column, ')', (size_t)(r->length - column))) return false;
    int32_t l = line, c = column, endLine, endColumn;
    return !DocDisplay().findEnclosingBrackets(&l, &c, &endLine, &endColumn, '(', ')');
}

// From the "," or "(" at (line, column): the text up to the next "," or ")" at parenthesis depth 0, blanks
// left out, becomes the selection (an insertion point after the opener when the field is empty).
static int InsertSelectField(const InsertFront &f, int32_t line, int32_t column) {
    static LineRecord r;
    int32_t depth = 0, firstLine = -1, firstColumn = 0, endLine = line, endColumn = column + 1;
    int32_t last = Min(f.doc->lnMac - 1, line + INSERT_FIELD_LINES);
    for (int32_t l = line; l <= last; l++) {
        GetLine(f.doc, l, &r);
        for (int32_t i = InsertSkipBlanks(&r, l == line ? column + 1 : 0); i < r.length;
             i = InsertSkipBlanks(&r, i)) {
            char c = r.text[i];
            if (depth == 0 && (c == ',' || c == ')')) {
                if (firstLine < 0)
                    InsertSetCaret(f, line, column + 1);
                else
                    InsertSelect(f, firstLine, firstColumn, endLine, endColumn);
                return 1;
            }
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            if (firstLine < 0) {
                firstLine = l;
                firstColumn = i;
            }
            i = InsertTokenEnd(&r, i);
            endLine = l;
            endColumn = i;
        }
    }
    return 0;
}

static int InsertSelectNextIdent(const InsertFront &f, const LineRecord *r, int32_t line, int32_t column) {
    int32_t lang = DocLangAt(f.doc, line, column);
    for (int32_t i = InsertSkipBlanks(r, InsertTokenEnd(r, column)); i < r->length;
         i = InsertSkipBlanks(r, InsertTokenEnd(r, i)))
        if (InsertIdentStart(lang, r->text[i])) {
            InsertSelect(f, line, i, line, InsertTokenEnd(r, i));
            return 1;
        }
    return 0;
}

static bool InsertIsDefineLine(const LineRecord *r) {
    int32_t first = LineLeadingWhite(r);
    return r->length - first >= 7 && memcmp(r->text + first, "#define", 7) == 0;
}

static int InsertSmartTabMove(const InsertFront &f, const LineRecord *r, int32_t line, int32_t column) {
    int32_t at = InsertSkipBlanks(r, column);
    if (at >= r->length || !strchr(",()", r->text[at])) {
        int32_t next = InsertSkipBlanks(r, InsertTokenEnd(r, at));
        if (r->text[next] == '(') {
            at = next;
        } else if (r->text[next] == ';') {
            InsertSetCaret(f, line, next);
            return 1;
        }
    }
    char c = r->text[at];
    if (c == ',' || c == '(') return InsertSelectField(f, line, at);
    if (c == ')') {
        EndTypingRun();
        DocDisplay().swSelectNextField();
        return 1;
    }
    return !InsertIsDefineLine(r) && InsertSelectNextIdent(f, r, line, at);
}

int SmartTab() {
    static LineRecord r;
    InsertFront f;
    if (!InsertGetFront(&f)) return 0;
    bool on = run.smartTabForce == INSERT_FORCE_NONE ? DocOpt().smartTab : run.smartTabForce != 0;
    const Car &range = f.sel->range;
    if (!on || !DocLang().langSupportsSmartTab(DocLangAt(f.doc, range.lastLine, range.lastColumn))) return 0;
    bool oneLine = range.firstLine == range.lastLine && !(f.sel->flags & SEL_COLUMN);
    if (!SelIsEmpty(f.sel) && (!oneLine || SelCoversWholeLines(f.sel))) return 0;
    GetLine(f.doc, range.lastLine, &r);
    int32_t column = Min(range.lastColumn, r.length);
    if (InsertSmartTabDeclines(&r, f.doc, range.lastLine, column)) return 0;
    return InsertSmartTabMove(f, &r, range.lastLine, column);
}

int TabIndentsSelection() {
    InsertFront f;
    if (!InsertGetFront(&f)) return 0;
    if (!DocOpt().tabIndentsLine) {
        if (SelIsEmpty(f.sel)) return 0;
        Sel sel = *f.sel;
        SelNormalize(&sel);
        bool oneLine = sel.range.firstLine == sel.range.lastLine && !(sel.flags & SEL_COLUMN);
        if (oneLine && !SelCoversWholeLines(&sel)) {
            if (!DocOpt().tabReplacesSelection) InsertSetCaret(f, sel.range.firstLine, sel.range.firstColumn);
            return 0;
        }
    }
    EndTypingRun();
    CmdIndentRight(CMD_INDENT_RIGHT);
    return 1;
}

// ---- Completion ----

static const char *InsertSkipUnderscores(const char *s, int32_t *n) {
    while (*n > 0 && *s == '_') {
        s++;
        (*n)--;
    }
    return s;
}

// The name extends the word: it begins with it, both taken without leading underscores, ignoring case.
static bool InsertNameExtends(const char *name, const char *word, int32_t wordLength) {
    int32_t nameLength = (int32_t)strlen(name);
    name = InsertSkipUnderscores(name, &nameLength);
    word = InsertSkipUnderscores(word, &wordLength);
    if (wordLength > nameLength) return false;
    for (int32_t i = 0; i < wordLength; i++)
        if (CharCmpI((unsigned char)name[i], (unsigned char)word[i]) != 0) return false;
    return true;
}

// After a parameter list was inserted for the name at `start`: an empty list leaves the caret after it,
// else Smart Tab selects the first parameter; an operator loses the "." or "->" before it when no list came.
static void InsertAfterParams(const InsertFront &f, const char *name, int32_t line, int32_t start,
                              int32_t length) {
    static LineRecord r;
    int32_t nameLength = (int32_t)strlen(name);
    GetLine(f.doc, line, &r);
    int32_t at = start + nameLength;
    if (length > nameLength) {
        if (r.text[at] == '(' && r.text[InsertSkipBlanks(&r, at + 1)] == ')')
            InsertSetCaret(f, line, InsertSkipBlanks(&r, at + 1) + 1);
        else if (r.text[at] == '(')
            InsertSelectField(f, line, at);
        else
            InsertSetCaret(f, line, at);
        return;
    }
    if (strncmp(name, "operator", 8) != 0) return;
    int32_t cut = start > 0 && r.text[start - 1] == '.'               ? 1
                  : start > 1 && !memcmp(r.text + start - 2, "->", 2) ? 2
                                                                      : 0;
    if (!cut) return;
    InsertSelect(f, line, start - cut, line, start);
    InsertTextAtCursor("");
    InsertSetCaret(f, line, start - cut + nameLength);
}

int InsertCompletion(const char *name, const void *symbol, bool withParams) {
    static LineRecord r;
    InsertFront f;
    if (!InsertGetFront(&f)) return 0;
    int32_t line = InsertCaretLine(f);
    GetLine(f.doc, line, &r);
    int32_t column = Min(InsertCaretColumn(f), r.length), lang = DocLangAt(f.doc, line, column);
    int32_t start = column, end = column;
    while (start > 0 && DocLang().langIsIdentChar(lang, (unsigned char)r.text[start - 1])) start--;
    while (end < r.length && DocLang().langIsIdentChar(lang, (unsigned char)r.text[end])) end++;
    if (!InsertNameExtends(name, r.text + start, end - start)) return 0;
    InsertSelect(f, line, start, line, end);
    if (withParams && DocOpt().insertParameters && r.text[end] != '(' &&
        DocSymbol().symbolIsFunctionLike(symbol)) {
        int32_t length = 0;
        if (DocBrowse().buildParamText(symbol, &length) == 0) {
            InsertAfterParams(f, name, line, start, length);
            return 1;
        }
    }
    if (!InsertTextAtCursor(name)) return 0;
    InsertSetCaret(f, line, start + (int32_t)strlen(name));
    return 1;
}

// ---- Insertion ----

int EnsureOneLine(FileBuffer *doc) {
    return doc->lnMac > 0 || InsertLineSz(doc, 0, "");
}

int InsertTextAtCursor(const char *text) {
    InsertFront f;
    return InsertGetFront(&f) && InsertTextAtSel(f.sel, text);
}
