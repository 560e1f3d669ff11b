// sw: the source window (prefix Sw), least form. Globals: the list of windows, the current one first; the
// command hook. Each window's record {window, next, buffer, selection, first line and first display column
// shown, character width, line height, its font, the font's code page, caret made, caret hidden} hangs on the
// window. A window's identity in the document core's hooks is its HWND.
#include "display/sw.h"

#include "base/heap.h"
#include "base/seam.h"
#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/dta.h"
#include "doc/insert.h"
#include "doc/sel.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <climits>
#include <cstring>

const char swClass[] = "vx_Sw";

enum : int32_t {
    SW_CARET_WIDTH = 2,
    SW_MATCH_LINES = 5000, // lines a bracket search reads before it gives up
    SW_FIELD_LINES = 100,  // lines the next-field move looks ahead
    SW_SHOWN_MAX = (int32_t)LINE_TEXT_MAX * (int32_t)DTA_TAB_MAX, // a line with its tabs expanded
};

struct Sw {
    HWND window;
    Sw *next;
    FileBuffer *doc;
    Sel *sel;
    int32_t top;  // first line shown
    int32_t left; // first display column shown
    int32_t charWidth;
    int32_t lineHeight;
    HFONT font;
    uint32_t codePage;
    bool caret; // the window owns the system caret
    int32_t caretHidden;
};

static Sw *swList;
static SwCommandHook swCommandHook;

static void SwResetSeams() {
    swCommandHook = {};
}

void SwSetCommandHook(const SwCommandHook *hook) {
    swCommandHook = hook ? *hook : SwCommandHook{};
    SeamRegisterReset(SwResetSeams);
}

static Sw *SwOf(HWND window) {
    for (Sw *sw = swList; sw; sw = sw->next)
        if (sw->window == window) return sw;
    return nullptr;
}

static Sw *SwOfHook(void *window) {
    return SwOf((HWND)window);
}

// ---- Geometry ----

static int32_t SwTabWidth(const Sw *sw) {
    return DtaTabWidth(sw->doc);
}

static int32_t SwRows(const Sw *sw) {
    RECT client;
    GetClientRect(sw->window, &client);
    return Max((client.bottom - client.top) / sw->lineHeight, 1);
}

static int32_t SwCols(const Sw *sw) {
    RECT client;
    GetClientRect(sw->window, &client);
    return Max((client.right - client.left) / sw->charWidth, 1);
}

static int32_t SwDisplayColumn(Sw *sw, int32_t line, int32_t column) {
    static LineRecord record;
    GetLine(sw->doc, line, &record);
    int32_t past = column > record.length && column != DOC_COLUMN_END ? column - record.length : 0;
    return LineDisplayColumn(&record, column, SwTabWidth(sw)) + past;
}

static int32_t SwX(Sw *sw, int32_t line, int32_t column) {
    return (SwDisplayColumn(sw, line, column) - sw->left) * sw->charWidth;
}

static int32_t SwColumnAt(Sw *sw, int32_t line, int32_t x) {
    static LineRecord record;
    GetLine(sw->doc, line, &record);
    int32_t display = Max(sw->left + (x + sw->charWidth / 2) / sw->charWidth, 0);
    return LineColumnAtDisplay(&record, display, SwTabWidth(sw));
}

static RECT SwRowRect(const Sw *sw, int32_t line) {
    RECT client;
    GetClientRect(sw->window, &client);
    int32_t y = (line - sw->top) * sw->lineHeight;
    return RECT{client.left, y, client.right, y + sw->lineHeight};
}

// ---- The caret ----

// The caret stands at the selection's end.
static void SwPlaceCaret(Sw *sw) {
    if (!sw->caret) return;
    const Car &r = sw->sel->range;
    SetCaretPos(SwX(sw, r.lastLine, r.lastColumn), (r.lastLine - sw->top) * sw->lineHeight);
}

static void SwMakeCaret(Sw *sw) {
    sw->caret = CreateCaret(sw->window, nullptr, SW_CARET_WIDTH, sw->lineHeight) != 0;
    SwPlaceCaret(sw);
    if (sw->caret && sw->caretHidden == 0) ShowCaret(sw->window);
}

static void SwDropCaret(Sw *sw) {
    if (sw->caret) DestroyCaret();
    sw->caret = false;
}

// ---- Scrolling ----

static void SwSetTop(Sw *sw, int32_t top) {
    top = ClampValue(top, 0, Max(sw->doc->lnMac - 1, 0));
    if (top == sw->top) return;
    sw->top = top;
    InvalidateRect(sw->window, nullptr, FALSE);
    SwPlaceCaret(sw);
}

// The selection's end comes into view, vertically and horizontally.
static void SwShowCaretPos(Sw *sw) {
    const Car &r = sw->sel->range;
    int32_t rows = SwRows(sw), cols = SwCols(sw);
    if (r.lastLine < sw->top)
        SwSetTop(sw, r.lastLine);
    else if (r.lastLine >= sw->top + rows)
        SwSetTop(sw, r.lastLine - rows + 1);
    // Sideways the view moves a quarter of its width past the caret, so that typing does not scroll it at
    // every character.
    int32_t column = SwDisplayColumn(sw, r.lastLine, r.lastColumn), step = cols / 4;
    int32_t left = column < sw->left           ? Max(column - step, 0)
                   : column >= sw->left + cols ? column - cols + 1 + step
                                               : sw->left;
    if (left != sw->left) {
        sw->left = left;
        InvalidateRect(sw->window, nullptr, FALSE);
    }
    SwPlaceCaret(sw);
}

// ---- Painting ----

// The line's text with its tabs expanded.
static int32_t SwShownText(Sw *sw, int32_t line, char *out) {
    static LineRecord record;
    GetLine(sw->doc, line, &record);
    int32_t tabWidth = SwTabWidth(sw), n = 0;
    for (int32_t i = 0; i < record.length; i++) {
        int32_t width = record.text[i] == '\t' ? tabWidth - n % tabWidth : 1;
        memset(out + n, record.text[i] == '\t' ? ' ' : record.text[i], (size_t)width);
        n += width;
    }
    return n;
}

// The selected stretch of a line, in pixels; false when the line has none.
static bool SwSelectedSpan(Sw *sw, int32_t line, int32_t *x1, int32_t *x2) {
    Car r = sw->sel->range;
    if (!r.nonEmpty || line < r.firstLine || line > r.lastLine) return false;
    *x1 = line == r.firstLine ? SwX(sw, line, r.firstColumn) : -sw->left * sw->charWidth;
    *x2 = line == r.lastLine && r.lastColumn != DOC_COLUMN_END ? SwX(sw, line, r.lastColumn) : SHRT_MAX;
    return *x2 > *x1;
}

static void SwPaintLine(Sw *sw, HDC dc, int32_t line, const RECT &row) {
    static char shown[SW_SHOWN_MAX];
    int32_t n = line < sw->doc->lnMac ? SwShownText(sw, line, shown) : 0;
    ExtTextOutA(dc, -sw->left * sw->charWidth, row.top, ETO_OPAQUE | ETO_CLIPPED, &row, shown, (UINT)n,
                nullptr);
    int32_t x1, x2;
    if (!SwSelectedSpan(sw, line, &x1, &x2)) return;
    RECT selected = {Max(x1, row.left), row.top, Min(x2, row.right), row.bottom};
    InvertRect(dc, &selected);
}

// The rows that meet the rectangle.
static void SwPaintOn(Sw *sw, HDC dc, const RECT &area) {
    HGDIOBJ old = SelectObject(dc, sw->font);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    for (int32_t row = area.top / sw->lineHeight; row * sw->lineHeight < area.bottom; row++)
        SwPaintLine(sw, dc, sw->top + row, SwRowRect(sw, sw->top + row));
    SelectObject(dc, old);
}

static void SwPaint(Sw *sw) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(sw->window, &ps);
    SwPaintOn(sw, dc, ps.rcPaint);
    EndPaint(sw->window, &ps);
}

static void SwPrintClient(Sw *sw, HDC dc) {
    RECT client;
    GetClientRect(sw->window, &client);
    SwPaintOn(sw, dc, client);
}

// Lines first..last (to the bottom for DOC_LINE_END) are painted again later.
static void SwInvalidateLines(Sw *sw, int32_t first, int32_t last) {
    RECT client, rows;
    GetClientRect(sw->window, &client);
    rows = client;
    rows.top = Max(first - sw->top, 0) * sw->lineHeight;
    if (last != DOC_LINE_END && last - sw->top < SwRows(sw))
        rows.bottom = (last - sw->top + 1) * sw->lineHeight;
    if (last < sw->top || rows.top >= rows.bottom) return;
    InvalidateRect(sw->window, &rows, FALSE);
}

// ---- The selection ----

static void SwInvalidateSel(Sw *sw) {
    if (sw->sel->range.nonEmpty) SwInvalidateLines(sw, sw->sel->range.firstLine, sw->sel->range.lastLine);
}

static void SwSetSel(Sw *sw, const Sel *sel) {
    SwInvalidateSel(sw);
    SelCopy(sel, sw->sel);
    sw->sel->doc = sw->doc;
    SwInvalidateSel(sw);
    SwShowCaretPos(sw);
}

static void SwSetCaretAt(Sw *sw, int32_t line, int32_t column) {
    Sel at = *sw->sel;
    SelSetAt(&at, line, column);
    SwSetSel(sw, &at);
}

// ---- Brackets ----

static const char swOpeners[] = "([{<";
static const char swClosers[] = ")]}>";

// From (line, column) in one direction, the bracket `want` that closes the nesting of `other`: nonzero with
// its position.
static int SwScanBracket(FileBuffer *doc, int32_t *line, int32_t *column, char want, char other, int step) {
    static LineRecord record;
    int32_t depth = 0, l = *line, c = *column;
    for (int32_t read = 0; l >= 0 && l < doc->lnMac && read < SW_MATCH_LINES; read++, l += step) {
        GetLine(doc, l, &record);
        if (read > 0) c = step > 0 ? 0 : record.length - 1;
        for (; c >= 0 && c < record.length; c += step) {
            if (record.text[c] == other) depth++;
            if (record.text[c] != want) continue;
            if (depth-- > 0) continue;
            *line = l;
            *column = c;
            return 1;
        }
    }
    return 0;
}

// "Select Match": the bracket at the caret and its partner; the partner is selected.
static int SwSelectMatch() {
    Sw *sw = swList;
    if (!sw) return 1;
    int32_t line = sw->sel->range.lastLine, column = sw->sel->range.lastColumn;
    int c = DocCharAt(sw->doc, line, column);
    const char *open = c ? strchr(swOpeners, c) : nullptr, *close = c ? strchr(swClosers, c) : nullptr;
    if (!open && !close) return 1;
    int step = open ? 1 : -1;
    char want = open ? swClosers[open - swOpeners] : swOpeners[close - swClosers];
    column += step;
    if (!SwScanBracket(sw->doc, &line, &column, want, (char)c, step)) return 1;
    Sel match = *sw->sel;
    SelSet(&match, line, column, line, column + 1);
    SwSetSel(sw, &match);
    return 0;
}

static int SwFindEnclosing(int32_t *line, int32_t *column, int32_t *endLine, int32_t *endColumn, char open,
                           char close) {
    Sw *sw = swList;
    if (!sw) return 0;
    int32_t l = *line, c = *column - 1, el = *line, ec = *column;
    if (!SwScanBracket(sw->doc, &l, &c, open, close, -1) || !SwScanBracket(sw->doc, &el, &ec, close, open, 1))
        return 0;
    *line = l;
    *column = c;
    *endLine = el;
    *endColumn = ec;
    return 1;
}

// The next field: after the next "(" from the caret, the text up to the first "," or ")" on its line.
static void SwSelectNextField() {
    static LineRecord record;
    Sw *sw = swList;
    if (!sw) return;
    int32_t line = sw->sel->range.lastLine, from = sw->sel->range.lastColumn;
    for (int32_t l = line; l < sw->doc->lnMac && l <= line + SW_FIELD_LINES; l++, from = 0) {
        GetLine(sw->doc, l, &record);
        const char *open = from < record.length ? strchr(record.text + from, '(') : nullptr;
        if (!open) continue;
        int32_t start = (int32_t)(open - record.text) + 1, end = start;
        while (start < record.length && record.text[start] == ' ') start++;
        end = start;
        while (end < record.length && !strchr(",)", record.text[end])) end++;
        while (end > start && record.text[end - 1] == ' ') end--;
        Sel field = *sw->sel;
        SelSet(&field, l, start, l, end);
        SwSetSel(sw, &field);
        return;
    }
}

// ---- Keys and the mouse ----

static void SwOnKey(Sw *sw, KeyCode key) {
    SwSetCurrent(sw->window);
    int32_t command = swCommandHook.keyToCommand ? swCommandHook.keyToCommand(key) : 0;
    if (command && swCommandHook.runCommand) {
        swCommandHook.runCommand(command, true);
        return;
    }
    // Control characters that no command takes are not text.
    int c = key & 0xFF;
    if (c >= ' ' || c == '\t') InsertTypedText(key);
}

static void SwOnClick(Sw *sw, LPARAM lParam) {
    EndTypingRun();
    SwSetCurrent(sw->window);
    SetFocus(sw->window);
    int32_t line = Min(sw->top + (int16_t)HIWORD(lParam) / sw->lineHeight, DocLastLine(sw->doc));
    SwSetCaretAt(sw, line, SwColumnAt(sw, line, (int16_t)LOWORD(lParam)));
}

static void SwOnFocus(Sw *sw) {
    SwSetCurrent(sw->window);
    SwMakeCaret(sw);
}

// Losing the focus ends the typing run.
static void SwOnKillFocus(Sw *sw) {
    EndTypingRun();
    SwDropCaret(sw);
}

// ---- Life ----

static void SwMeasure(Sw *sw) {
    FontDesc desc;
    LOGFONTA logFont;
    DocGetFontDesc(sw->doc, false, &desc);
    FontDescToLogFont(DRAW_SCREEN, &desc, &logFont);
    sw->font = FontCreate(DRAW_SCREEN, &desc);
    if (!sw->font) sw->font = (HFONT)GetStockObject(ANSI_FIXED_FONT);
    sw->codePage = CharsetToCodePage(logFont.lfCharSet);
    HDC dc = GetDC(sw->window);
    HGDIOBJ old = SelectObject(dc, sw->font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(sw->window, dc);
    sw->charWidth = Max(metrics.tmAveCharWidth, 1);
    sw->lineHeight = Max(metrics.tmHeight + metrics.tmExternalLeading, 1);
}

static bool SwOnCreate(HWND window, const CREATESTRUCTA *create) {
    FileBuffer *doc = (FileBuffer *)create->lpCreateParams;
    Sw *sw = doc ? (Sw *)MemAlloc(sizeof(Sw)) : nullptr;
    if (!sw) return false;
    sw->window = window;
    sw->doc = doc;
    sw->sel = SelNewAt(doc, 0, 0);
    if (!sw->sel) {
        MemFree(sw);
        return false;
    }
    SwMeasure(sw);
    sw->next = swList;
    swList = sw;
    return true;
}

static void SwOnDestroy(Sw *sw) {
    if (TypingRunBuffer() == sw->doc) EndTypingRun();
    for (Sw **link = &swList; *link; link = &(*link)->next)
        if (*link == sw) {
            *link = sw->next;
            break;
        }
    SwDropCaret(sw);
    if (sw->font != GetStockObject(ANSI_FIXED_FONT)) DeleteObject(sw->font);
    MemFree(sw->sel);
    MemFree(sw);
}

static LRESULT SwDispatch(Sw *sw, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: return SwPaint(sw), 0;
    case WM_PRINTCLIENT: return SwPrintClient(sw, (HDC)wParam), 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS: return SwOnFocus(sw), 0;
    case WM_KILLFOCUS: return SwOnKillFocus(sw), 0;
    case WM_LBUTTONDOWN: return SwOnClick(sw, lParam), 0;
    case WM_SIZE: return InvalidateRect(sw->window, nullptr, FALSE), 0;
    case SW_MSG_KEY: return SwOnKey(sw, (KeyCode)wParam), 0;
    case WM_DESTROY: return SwOnDestroy(sw), 0;
    }
    return DefWindowProcA(sw->window, message, wParam, lParam);
}

static LRESULT CALLBACK SwProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return SwOnCreate(window, (const CREATESTRUCTA *)lParam) ? 0 : -1;
    Sw *sw = SwOf(window);
    return sw ? SwDispatch(sw, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

bool SwRegisterClass() {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SwProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = swClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND SwCreate(HWND parent, FileBuffer *doc, int x, int y, int width, int height) {
    if (!SwRegisterClass()) return nullptr;
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    return CreateWindowExA(0, swClass, "", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), doc);
}

// ---- The window's own questions ----

HWND SwCurrent() {
    return swList ? swList->window : nullptr;
}

void SwSetCurrent(HWND window) {
    for (Sw **link = &swList; *link; link = &(*link)->next) {
        Sw *sw = *link;
        if (sw->window != window) continue;
        *link = sw->next;
        sw->next = swList;
        swList = sw;
        return;
    }
}

FileBuffer *SwGetDoc(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->doc : nullptr;
}

Sel *SwGetSel(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->sel : nullptr;
}

int32_t SwTopLine(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->top : 0;
}

int32_t SwVisibleLastLine(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->top + SwRows(sw) - 1 : 0;
}

void SwScrollToLine(HWND window, int32_t line) {
    if (Sw *sw = SwOf(window)) SwSetTop(sw, line);
}

int32_t SwXFromColumn(HWND window, int32_t line, int32_t column) {
    Sw *sw = SwOf(window);
    return sw ? SwX(sw, line, column) : 0;
}

int32_t SwColumnFromX(HWND window, int32_t line, int32_t x) {
    Sw *sw = SwOf(window);
    return sw ? SwColumnAt(sw, line, x) : 0;
}

int32_t SwLineHeight(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->lineHeight : 0;
}

uint32_t SwCodePage(HWND window) {
    Sw *sw = SwOf(window);
    return sw ? sw->codePage : 0;
}

// ---- The document core's display hooks ----

static void SwHookInvalidate(FileBuffer *doc, int kind, int32_t first, int32_t last) {
    bool moves = kind == DOC_CHANGE_INSERTED || kind == DOC_CHANGE_DELETED || kind == DOC_CHANGE_ALL;
    for (Sw *sw = swList; sw; sw = sw->next)
        if (!doc || sw->doc == doc) SwInvalidateLines(sw, first, moves ? DOC_LINE_END : last);
}

static void SwHookRepaint(FileBuffer *doc, int32_t, int32_t) {
    for (Sw *sw = swList; sw; sw = sw->next)
        if (!doc || sw->doc == doc) InvalidateRect(sw->window, nullptr, FALSE);
}

// Lines inserted or deleted move the selection and the first line shown; a line replaced in place moves
// nothing.
static void SwHookShift(FileBuffer *doc, int32_t line, int32_t delta) {
    if (DocReplaceInProgress()) return;
    for (Sw *sw = swList; sw; sw = sw->next) {
        if (sw->doc != doc) continue;
        SelAdjustForLines(sw->sel, line, delta);
        if (sw->top > line) sw->top = Max(sw->top + delta, line);
    }
}

static void *SwHookFindByDoc(FileBuffer *doc) {
    for (Sw *sw = swList; sw; sw = sw->next)
        if (sw->doc == doc) return sw->window;
    return nullptr;
}

static void SwHookMoveCaret(int32_t line, int32_t column) {
    if (swList) SwSetCaretAt(swList, line, column);
}

static int32_t SwHookColumnFromX(void *window, int32_t line, int32_t x) {
    return SwColumnFromX((HWND)window, line, x);
}

static int32_t SwHookXFromColumn(void *window, int32_t line, int32_t column) {
    return SwXFromColumn((HWND)window, line, column);
}

static int32_t SwHookCharWidth(FileBuffer *doc) {
    Sw *sw = SwOfHook(SwHookFindByDoc(doc));
    return sw ? sw->charWidth : 0;
}

static void SwHookUpdateCurrent() {
    if (swList) UpdateWindow(swList->window);
}

static void SwHookUpdateAll() {
    for (Sw *sw = swList; sw; sw = sw->next) UpdateWindow(sw->window);
}

static void SwHookShowSelection() {
    if (swList) SwShowCaretPos(swList);
}

static void SwHookResetLinePastEnd(int32_t lineCount) {
    if (swList && swList->top >= lineCount) SwSetTop(swList, 0);
}

static void *SwHookCurrent() {
    return SwCurrent();
}

static FileBuffer *SwHookDoc(void *window) {
    return SwGetDoc((HWND)window);
}

static Sel *SwHookSel(void *window) {
    return SwGetSel((HWND)window);
}

static void SwHookSetSel(void *window, const Sel *sel) {
    if (Sw *sw = SwOfHook(window)) SwSetSel(sw, sel);
}

static void SwHookUpdate(void *window) {
    if (SwOfHook(window)) UpdateWindow((HWND)window);
}

static int32_t SwHookTop(void *window) {
    return SwTopLine((HWND)window);
}

static int32_t SwHookLastLine(void *window) {
    return SwVisibleLastLine((HWND)window);
}

static void SwHookScrollBack(void *window, int32_t top) {
    SwScrollToLine((HWND)window, top);
}

static void SwHookHideCaret() {
    if (!swList) return;
    if (swList->caretHidden++ == 0 && swList->caret) HideCaret(swList->window);
}

static void SwHookShowCaret() {
    if (!swList || swList->caretHidden == 0) return;
    if (--swList->caretHidden == 0 && swList->caret) ShowCaret(swList->window);
}

// Whether (line, column) starts a double-byte character: the line is walked from its start, so that a trail
// byte is never taken for a lead byte.
static bool SwHookDbcsLead(void *window, int32_t line, int32_t column, int) {
    static LineRecord record;
    Sw *sw = SwOfHook(window);
    if (!sw) return false;
    GetLine(sw->doc, line, &record);
    for (int32_t i = 0; i < record.length; i++) {
        bool lead = IsDBCSLeadByteEx(sw->codePage, (BYTE)record.text[i]) && i + 1 < record.length;
        if (i == column) return lead;
        if (lead) i++;
    }
    return false;
}

void SwInstallHooks() {
    DocDisplayHook hook = DocDisplay();
    hook.swInvalidateDocLines = SwHookInvalidate;
    hook.swRepaintDocLines = SwHookRepaint;
    hook.swShiftDocLines = SwHookShift;
    hook.swFindByDoc = SwHookFindByDoc;
    hook.swMoveCaret = SwHookMoveCaret;
    hook.swColumnFromX = SwHookColumnFromX;
    hook.swXFromColumn = SwHookXFromColumn;
    hook.swCharWidth = SwHookCharWidth;
    hook.swResetLinePastEnd = SwHookResetLinePastEnd;
    hook.swUpdateCurrent = SwHookUpdateCurrent;
    hook.swUpdateAll = SwHookUpdateAll;
    hook.showSelection = SwHookShowSelection;
    hook.currentSw = SwHookCurrent;
    hook.swDoc = SwHookDoc;
    hook.swSel = SwHookSel;
    hook.setSwSelectionFromSel = SwHookSetSel;
    hook.updateSw = SwHookUpdate;
    hook.swTopLine = SwHookTop;
    hook.swVisibleLastLine = SwHookLastLine;
    hook.swScrollBack = SwHookScrollBack;
    hook.hideCurSwCaret = SwHookHideCaret;
    hook.showCurSwCaret = SwHookShowCaret;
    hook.isDbcsLeadAt = SwHookDbcsLead;
    hook.selectMatch = SwSelectMatch;
    hook.findEnclosingBrackets = SwFindEnclosing;
    hook.swSelectNextField = SwSelectNextField;
    DocSetDisplayHook(&hook);
}
