// dlg: the dialog engine's start, the run-time object, access letters, the template builder and the
// remembered positions (prefix Dlg).
//
// The template (DLGTEMPLATE in movable global memory, locked while the dialog exists) is written in two
// passes over the same code, the first only measuring: the header (style, no extended style, item count,
// position and size in dialog units), no menu, no class, the caption, the font size 8 and the dialog face,
// then one DLGITEMTEMPLATE per record of a type other than 0 and 5, each aligned to 4 bytes: style, no
// extended style, position and size, id 1000 + index, class name, text with its access letter and a zero
// size word: no creation data. A list control takes its creation parameter as its two style words, a
// record that holds a pointer, while the system hands a control of a template a pointer to the size word
// of its creation data; so lists are created with the control's defaults, and the dialog's initialisation
// gives each its style words by message (DLGF_MULTISEL, DLGF_OWNER_DRAW, DLGF_SORTED, ... become the list's
// style bits there). Every string is UTF-16.
#include "ui/dlg.h"

#include "base/erc.h"
#include "base/monitor.h"
#include "base/plex.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dlgctl.h"
#include "ui/dlgobj.h"
#include "ui/dlgproc.h"
#include "ui/dlgrun.h"
#include "ui/draw.h"

#include <algorithm>
#include <cstring>

enum : int32_t {
    DLG_CHAR_UNITS = 4, // horizontal dialog units per character
    DLG_ROW_UNITS = 11, // vertical dialog units per row
    DLG_FONT_POINTS = 8,
    DLG_LETTER_WALK = 36,  // characters of a text walked for a letter
    DLG_LETTER_SLOTS = 36, // A to Z, then 0 to 9
    DLG_TYPES = 17,
    DLG_LETTER_CANDIDATES = 512,
};

static const uint32_t dlgItemStyle = 0x50020000; // WS_CHILD | WS_VISIBLE | WS_GROUP
static const uint32_t dlgPageStyle = 0x50010444;
static const uint32_t dlgPopupStyle = 0x904800C0;
static const uint32_t dlgDefaultButtonStyle = 0x50030001;

static const char *const dlgClassNames[DLG_TYPES] = {
    nullptr,    "EDIT",   "STATIC", "BUTTON", "BUTTON", nullptr,  "BUTTON",   "vx_Listbox", "BUTTON",
    "USERITEM", "STATIC", "HLINE",  "STATIC", "STATIC", "STATIC", "COMBOBOX", "COMBOBOX",
};
static const uint32_t dlgBaseStyles[DLG_TYPES] = {
    0, 0x810080, 0, 0x10000, 0x12002, 0, 0x12004, 0xA10000, 7, 0, 3, 0, 0, 0x800000, 0, 0x210013, 0x210052,
};

static HINSTANCE dlgInstance;
static HFONT dlgFont;
static HFONT dlgBoldFont;
static char dlgFace[LF_FACESIZE] = "MS Sans Serif";
static int32_t dlgBaseX; // the system's horizontal base unit less 1
static int32_t dlgBaseY;
static int32_t dlgCharWidth; // average width less overhang
static int32_t dlgFontHeight;
static int32_t dlgLeading;
static int32_t dlgGlyphHeight; // height less internal leading
static int32_t dlgOverhang;
static bool dlgMeasured;
static bool dlgFollowFrameMonitor;
static Plex *dlgPositions;
static ATOM dlgClassAtom; // "vx_dlg"

// ---- Engine start

static void DlgReadBaseUnits() {
    LONG units = GetDialogBaseUnits();
    dlgBaseX = Max(LOWORD(units) - 1, 1);
    dlgBaseY = Max(HIWORD(units), 1);
}

static int DlgScreenDpiY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The default GUI font's size in points, from its character height.
static int DlgGuiFontPoints(HFONT font, int dpiY) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, dpiY);
}

static void DlgCreateFonts() {
    HFONT gui = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA lf = {};
    GetObjectA(gui, sizeof lf, &lf);
    int dpiY = DlgScreenDpiY();
    if (DlgGuiFontPoints(gui, dpiY) == DLG_FONT_POINTS && lf.lfFaceName[0])
        StrCopyMax(lf.lfFaceName, dlgFace, LF_FACESIZE - 1);
    else
        StrCopyMax("MS Sans Serif", dlgFace, LF_FACESIZE - 1);
    lf.lfHeight = -(DLG_FONT_POINTS * dpiY / 72);
    lf.lfWidth = 0;
    if (SysIsVersion350()) lf.lfWeight = FW_BOLD;
    StrCopyMax(dlgFace, lf.lfFaceName, LF_FACESIZE - 1);
    dlgFont = CreateFontIndirectA(&lf);
    lf.lfWeight = FW_BOLD;
    dlgBoldFont = CreateFontIndirectA(&lf);
}

static void DlgDeleteFonts() {
    if (dlgFont) DeleteObject(dlgFont);
    if (dlgBoldFont) DeleteObject(dlgBoldFont);
    dlgFont = dlgBoldFont = nullptr;
}

bool DlgInit(HINSTANCE instance) {
    dlgInstance = instance;
    DlgDeleteFonts();
    DlgCreateFonts();
    DlgReadBaseUnits();
    dlgMeasured = false;
    DlgMeasureFont(nullptr);
    if (!dlgPositions) dlgPositions = PlexCreate(sizeof(DlgPosition), 8, 0);
    return dlgPositions != nullptr;
}

void DlgTerm() {
    DlgDeleteFonts();
    if (dlgPositions) PlexFree(dlgPositions);
    dlgPositions = nullptr;
    dlgMeasured = false;
}

static ATOM DlgRegister(const char *name, WNDPROC proc, UINT style, int extra, HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extra;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool DlgRegisterClasses(HINSTANCE instance) {
    if (!dlgInstance) dlgInstance = instance;
    return DlgRegister("vx_dlg", DlgWndProc, CS_SAVEBITS | CS_BYTEALIGNWINDOW, DLGWINDOWEXTRA + 8,
                       instance) &&
           DlgRegister("HLINE", DlgHlineProc, 0, 0, instance) &&
           DlgRegister("USERITEM", DlgUserItemProc, 0, 0, instance);
}

HINSTANCE DlgGetInstance() {
    return dlgInstance ? dlgInstance : GetModuleHandleA(nullptr);
}

HFONT DlgGetFont() {
    return dlgFont ? dlgFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

HFONT DlgGetBoldFont() {
    return dlgBoldFont ? dlgBoldFont : DlgGetFont();
}

int32_t DlgGetLineHeight() {
    return dlgFontHeight;
}

void DlgGetCharSize(int32_t *width, int32_t *height) {
    if (width) *width = dlgCharWidth;
    if (height) *height = dlgGlyphHeight;
}

void DlgMeasureFont(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, DlgGetFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    dlgCharWidth = tm.tmAveCharWidth - tm.tmOverhang;
    dlgFontHeight = tm.tmHeight;
    dlgLeading = tm.tmInternalLeading;
    dlgGlyphHeight = tm.tmHeight - tm.tmInternalLeading;
    dlgOverhang = tm.tmOverhang;
    dlgMeasured = true;
}

bool DlgFontMeasured() {
    return dlgMeasured;
}

void DlgSetFollowFrameMonitor(bool on) {
    dlgFollowFrameMonitor = on;
}

// ---- Geometry

// Whole characters or rows of a geometry value.
static int32_t DlgWhole(int32_t value) {
    return value < 100 ? value : value / 100;
}

// A computed placement back into a geometry value: a value of 100 or more would read as hundredths.
static int32_t DlgFromWhole(int32_t whole) {
    return whole < 100 ? whole : whole * 100;
}

static int32_t DlgUnitsX(int32_t value) {
    return value < 100 ? value * DLG_CHAR_UNITS : value * DLG_CHAR_UNITS / 100;
}

static int32_t DlgUnitsY(int32_t value) {
    return value < 100 ? value * DLG_ROW_UNITS : value * DLG_ROW_UNITS / 100;
}

static void DlgSwapGeometry(int32_t *g) {
    std::swap(g[0], g[1]);
    std::swap(g[2], g[3]);
}

// The object's copy always reads row-first: a column-first description is swapped once here.
static void DlgNormalizeGeometry(DlgObject *dlg) {
    uint32_t &flags = dlg->header.flags;
    if (!(flags & (DLG_ROW_FIRST | DLG_COLUMN_FIRST))) flags |= DLG_ROW_FIRST;
    if (flags & DLG_ROW_FIRST) return;
    DlgSwapGeometry(dlg->header.geometry);
    for (int32_t i = 0; i < dlg->count; i++) DlgSwapGeometry(dlg->controls[i].geometry);
    flags = (flags | DLG_ROW_FIRST) & ~DLG_COLUMN_FIRST;
}

static int32_t DlgRowsOf(int32_t pixels) {
    return pixels * DLG_ROW_UNITS / dlgBaseY / DLG_ROW_UNITS;
}

static int32_t DlgColumnsOf(int32_t pixels) {
    return pixels * DLG_CHAR_UNITS / dlgBaseX / DLG_CHAR_UNITS;
}

static HWND DlgOwnerWindow() {
    HWND frame = WndGetAppFrame();
    return frame ? GetLastActivePopup(frame) : nullptr;
}

// Below the current dialog, starting on its last row, never past the screen's bottom.
static void DlgPlaceStacked(int32_t *g, const DlgObject *current) {
    int32_t ownRows = DlgWhole(g[2]), ownColumns = DlgWhole(g[3]);
    int32_t screenRows = DlgRowsOf(GetSystemMetrics(SM_CYSCREEN));
    int32_t screenColumns = DlgColumnsOf(GetSystemMetrics(SM_CXSCREEN));
    const int32_t *cg = current->header.geometry;
    int32_t bottom = DlgWhole(cg[0]) + DlgWhole(cg[2]) + ownRows - 1;
    g[0] = DlgFromWhole(Min(screenRows - 1, bottom) - ownRows);
    g[1] = DlgFromWhole((screenColumns - ownColumns) / 2);
}

// A third or a quarter of the owner's free rows above, centred across the owner.
static void DlgPlaceOnOwner(int32_t *g) {
    RECT owner;
    HWND window = DlgOwnerWindow();
    if (!window || !GetWindowRect(window, &owner))
        RectSet(&owner, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    int32_t ownRows = DlgWhole(g[2]), ownColumns = DlgWhole(g[3]);
    int32_t free = DlgRowsOf(RectHeight(&owner)) - ownRows;
    int32_t ownerColumns = DlgColumnsOf(RectWidth(&owner));
    g[0] = DlgFromWhole(free < 8 ? Max(1, free / 3) : Max(1, free / 4));
    g[1] = DlgFromWhole(ownerColumns < ownColumns ? ownerColumns / 3 : (ownerColumns - ownColumns) / 2);
}

static void DlgPlace(DlgObject *dlg) {
    if (!dlgBaseX) DlgReadBaseUnits();
    DlgObject *current = DlgGetCurrent();
    if (dlg->header.flags & DLG_STACK && current)
        DlgPlaceStacked(dlg->header.geometry, current);
    else if (!(dlg->header.flags & DLG_KEEP_POS))
        DlgPlaceOnOwner(dlg->header.geometry);
}

// ---- Access letters

static int DlgLetterSlot(char c) {
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= '0' && c <= '9') return 26 + c - '0';
    return -1;
}

// The position of the fixed letter: the character after a single "&", -1 without one.
static int DlgFixedLetter(const char *text) {
    for (int i = 0; text[i]; i++) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1] ? i + 1 : -1;
        i++;
    }
    return -1;
}

static bool DlgHasText(const DlgControl *c) {
    return c->text && c->text[0];
}

static bool DlgIsLetterCandidate(const DlgControl *c, const DlgControl *next) {
    if (!DlgHasText(c)) return false;
    switch (c->type) {
    case DLG_BUTTON: return c->code != DLG_CODE_CANCEL && strcmp(c->text, "OK") != 0;
    case DLG_CHECK:
    case DLG_RADIO:
    case DLG_LIST:
    case DLG_DROPLIST:
    case DLG_COMBO: return true;
    case DLG_LABEL:
    case DLG_HLINE:
        return next->type == DLG_EDIT || next->type == DLG_COMBO ||
               ((next->type == DLG_LIST || next->type == DLG_DROPLIST) && !DlgHasText(next));
    default: return false;
    }
}

// The first character from start, walking at most 36, whose slot is free; -1 when none is.
static int DlgFreeLetter(const char *text, int start, const bool *used) {
    for (int i = start, walked = 0; text[i] && walked < DLG_LETTER_WALK; i++, walked++) {
        int slot = DlgLetterSlot(text[i]);
        if (slot >= 0 && !used[slot]) return i;
    }
    return -1;
}

static bool DlgCanGiveLetter(const DlgControl *c) {
    static const int32_t types[] = {DLG_LABEL, DLG_BUTTON, DLG_CHECK, DLG_RADIO, DLG_LIST, DLG_HLINE};
    return !(c->flags & DLGF_INACTIVE) && std::find(types, types + 6, c->type) != types + 6;
}

// A candidate left without a letter moves the first enabled control that holds one of its characters to
// another free character of that control's own text; the candidate itself stays without one.
static void DlgMoveLetterFor(DlgObject *dlg, const char *text, uint8_t *letters, bool *used) {
    for (int i = 0; text[i] && i < DLG_LETTER_WALK; i++) {
        int slot = DlgLetterSlot(text[i]);
        if (slot < 0) continue;
        for (int32_t j = 0; j < dlg->count; j++) {
            const DlgControl *c = &dlg->controls[j];
            if (letters[j] == DLG_NO_LETTER || !DlgCanGiveLetter(c) || !c->text) continue;
            if (DlgLetterSlot(c->text[letters[j]]) != slot) continue;
            int other = DlgFreeLetter(c->text, 0, used);
            if (other < 0) continue;
            used[slot] = false;
            used[DlgLetterSlot(c->text[other])] = true;
            letters[j] = (uint8_t)other;
            return;
        }
    }
}

static void DlgTakeLetter(DlgObject *dlg, int32_t index, uint8_t *letters, bool *used) {
    const char *text = dlg->controls[index].text;
    int fixed = DlgFixedLetter(text);
    int pos = fixed >= 0 ? DlgFreeLetter(text, fixed, used) : DlgFreeLetter(text, 0, used);
    if (pos >= 0 && pos < DLG_NO_LETTER) {
        used[DlgLetterSlot(text[pos])] = true;
        letters[index] = (uint8_t)pos;
        return;
    }
    if (fixed < 0) DlgMoveLetterFor(dlg, text, letters, used);
}

// Candidates with a fixed letter choose first, then shorter texts before longer ones.
static void DlgAssignLetters(DlgObject *dlg) {
    uint8_t *letters = (uint8_t *)HLock(dlg->letters);
    memset(letters, DLG_NO_LETTER, HSize(dlg->letters));
    int32_t order[DLG_LETTER_CANDIDATES];
    int32_t n = 0;
    for (int32_t i = 0; i < dlg->count && n < DLG_LETTER_CANDIDATES; i++)
        if (DlgIsLetterCandidate(&dlg->controls[i], &dlg->controls[i + 1])) order[n++] = i;
    const DlgControl *c = dlg->controls;
    std::stable_sort(order, order + n, [c](int32_t a, int32_t b) {
        bool fa = DlgFixedLetter(c[a].text) >= 0, fb = DlgFixedLetter(c[b].text) >= 0;
        if (fa != fb) return fa;
        return strlen(c[a].text) < strlen(c[b].text);
    });
    bool used[DLG_LETTER_SLOTS] = {};
    for (int32_t k = 0; k < n; k++) DlgTakeLetter(dlg, order[k], letters, used);
}

static int32_t DlgLetterOf(const DlgObject *dlg, int32_t index) {
    if (index < 0 || index >= dlg->count) return -1;
    uint8_t pos = ((const uint8_t *)HLock(dlg->letters))[index];
    return pos == DLG_NO_LETTER ? -1 : pos;
}

// ---- Template writer

struct DlgWriter {
    uint8_t *base; // null while measuring
    size_t pos;
};

static void DlgPut(DlgWriter *w, const void *bytes, size_t n) {
    if (w->base) memcpy(w->base + w->pos, bytes, n);
    w->pos += n;
}

static void DlgPutWord(DlgWriter *w, uint16_t value) {
    DlgPut(w, &value, sizeof value);
}

static void DlgPutDword(DlgWriter *w, uint32_t value) {
    DlgPut(w, &value, sizeof value);
}

static void DlgAlign(DlgWriter *w, size_t n) {
    static const uint8_t zeros[4] = {};
    DlgPut(w, zeros, (n - w->pos % n) % n);
}

// Characters [from, to) of an ANSI text as UTF-16, without a NUL.
static void DlgPutWideRange(DlgWriter *w, const char *text, int from, int to) {
    if (to <= from) return;
    int n = MultiByteToWideChar(CP_ACP, 0, text + from, to - from, nullptr, 0);
    if (w->base) MultiByteToWideChar(CP_ACP, 0, text + from, to - from, (wchar_t *)(w->base + w->pos), n);
    w->pos += (size_t)n * sizeof(wchar_t);
}

static void DlgPutWide(DlgWriter *w, const char *text) {
    if (text) DlgPutWideRange(w, text, 0, (int)strlen(text));
    DlgPutWord(w, 0);
}

// A control's text with its access letter: "&" before the chosen character, and the "&" of a fixed letter
// that was not honoured dropped, so that only the working letter shows underlined.
static void DlgPutLetteredText(DlgWriter *w, const char *text, int32_t letter) {
    int fixed = text ? DlgFixedLetter(text) : -1;
    if (!text || letter < 0 || letter == fixed) return DlgPutWide(w, text);
    int length = (int)strlen(text), drop = fixed > 0 ? fixed - 1 : -1, at = 0;
    auto copyTo = [&](int end) {
        DlgPutWideRange(w, text, at, end);
        at = end;
    };
    if (drop >= 0 && drop < letter) copyTo(drop), at++;
    copyTo(letter);
    DlgPutWideRange(w, "&", 0, 1);
    if (drop > letter) copyTo(drop), at++;
    copyTo(length);
    DlgPutWord(w, 0);
}

static uint32_t DlgDialogStyle(const DlgObject *dlg) {
    if (dlg->state & DLG_STATE_CHILD_PAGE) return dlgPageStyle;
    uint32_t style = dlgPopupStyle | DS_3DLOOK;
    if (dlg->header.flags & DLG_RESIZABLE) style |= WS_THICKFRAME;
    if (dlg->header.caption || dlg->header.flags & DLG_CAPTION) style |= WS_CAPTION;
    return style;
}

static int32_t DlgItemCount(const DlgObject *dlg) {
    int32_t n = 0;
    for (int32_t i = 0; i < dlg->count; i++) {
        int32_t type = dlg->controls[i].type;
        if (type > 0 && type < DLG_TYPES && type != DLG_RADIO_HEAD) n++;
    }
    return n;
}

static void DlgPutHeader(DlgWriter *w, const DlgObject *dlg) {
    bool textures = dlg->state & DLG_STATE_TEXTURES;
    const int32_t *g = dlg->header.geometry;
    DlgPutDword(w, DlgDialogStyle(dlg));
    DlgPutDword(w, 0);
    DlgPutWord(w, (uint16_t)DlgItemCount(dlg));
    DlgPutWord(w, (uint16_t)DlgUnitsX(g[1]));
    DlgPutWord(w, (uint16_t)DlgUnitsY(g[0]));
    DlgPutWord(w, (uint16_t)(DlgUnitsX(g[3]) + (textures ? 4 : 0)));
    DlgPutWord(w, (uint16_t)(DlgUnitsY(g[2]) + (textures ? 11 : 0)));
    DlgPutWord(w, 0); // no menu
    DlgPutWord(w, 0); // the system's dialog class
    DlgPutWide(w, dlg->header.caption);
    DlgPutWord(w, DLG_FONT_POINTS);
    DlgPutWide(w, dlgFace);
}

struct DlgItemBox {
    uint32_t style;
    int32_t x, y, cx, cy;
};

static uint32_t DlgEditStyle(DlgControl *c, uint32_t style) {
    if (c->geometry[2] == 1) c->geometry[2] = 125;
    if (DlgWhole(c->geometry[2]) > 1)
        style = (style | ES_MULTILINE | ES_AUTOVSCROLL) & ~(uint32_t)ES_AUTOHSCROLL;
    if (c->flags & DLGF_RIGHT) style |= ES_RIGHT;
    if (c->flags & DLGF_READ_ONLY) style |= ES_READONLY;
    return style;
}

// The style and box of a record's item, with the per-type adjustments.
static DlgItemBox DlgItemLayout(DlgObject *dlg, int32_t index, bool textures) {
    DlgControl *c = &dlg->controls[index];
    uint32_t style = dlgBaseStyles[c->type] | dlgItemStyle;
    if (c->type == DLG_EDIT) style = DlgEditStyle(c, style);
    if ((c->type == DLG_LABEL || c->type == DLG_TEXT_STATIC) && c->flags & DLGF_CENTER)
        style |= SS_CENTER;
    else if ((c->type == DLG_LABEL || c->type == DLG_TEXT_STATIC) && c->flags & DLGF_RIGHT)
        style |= SS_RIGHT;
    if (c->type == DLG_BUTTON && c->flags & DLGF_DEFAULT) {
        style = dlgDefaultButtonStyle;
        if (dlg->defaultControl < 0) dlg->defaultControl = index;
    }
    if (c->type == DLG_USERITEM) style |= WS_CLIPSIBLINGS;
    if (c->type == DLG_VSEP) style &= ~(uint32_t)WS_VISIBLE;
    const int32_t *g = c->geometry;
    DlgItemBox box = {style, DlgUnitsX(g[1]) + (textures ? 4 : 0), DlgUnitsY(g[0]) + 5 + (textures ? 5 : 0),
                      DlgUnitsX(g[3]), DlgUnitsY(g[2])};
    if (c->type == DLG_BUTTON && !(c->flags & DLGF_KEEP_HEIGHT)) box.cy = (box.cy * 140 + 50) / 100;
    if (c->type == DLG_GROUP && box.cy > 6) box.cy -= 7;
    box.cx = Max(box.cx, 1);
    if (c->type != DLG_GROUP) box.cy = Max(box.cy, 1);
    return box;
}

static void DlgPutItem(DlgWriter *w, DlgObject *dlg, int32_t index, bool textures) {
    DlgControl *c = &dlg->controls[index];
    DlgItemBox box = DlgItemLayout(dlg, index, textures);
    DlgAlign(w, 4);
    DlgPutDword(w, box.style);
    DlgPutDword(w, 0);
    DlgPutWord(w, (uint16_t)box.x);
    DlgPutWord(w, (uint16_t)box.y);
    DlgPutWord(w, (uint16_t)box.cx);
    DlgPutWord(w, (uint16_t)box.cy);
    DlgPutWord(w, (uint16_t)(DLG_ID_BASE + index));
    DlgPutWide(w, dlgClassNames[c->type]);
    DlgPutLetteredText(w, c->text, DlgLetterOf(dlg, index));
    DlgPutWord(w, 0); // no creation data (see the top of this file)
}

static void DlgWriteTemplate(DlgWriter *w, DlgObject *dlg) {
    bool textures = dlg->state & DLG_STATE_TEXTURES;
    DlgPutHeader(w, dlg);
    for (int32_t i = 0; i < dlg->count; i++) {
        int32_t type = dlg->controls[i].type;
        if (type > 0 && type < DLG_TYPES && type != DLG_RADIO_HEAD) DlgPutItem(w, dlg, i, textures);
    }
}

static bool DlgBuildTemplate(DlgObject *dlg) {
    // Measuring changes the records (an edit's height) and finds the default button, as writing does.
    DlgWriter measure = {nullptr, 0};
    DlgWriteTemplate(&measure, dlg);
    dlg->defaultControl = -1;
    dlg->templateMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, measure.pos);
    dlg->tmpl = dlg->templateMemory ? (DLGTEMPLATE *)GlobalLock(dlg->templateMemory) : nullptr;
    if (!dlg->tmpl) return false;
    DlgWriter write = {(uint8_t *)dlg->tmpl, 0};
    DlgWriteTemplate(&write, dlg);
    return true;
}

// ---- The object

static int32_t DlgCountControls(const DlgControl *controls) {
    int32_t n = 0;
    while (controls[n].type != DLG_END) n++;
    return n;
}

DlgObject *DlgCreateObject(const DlgDesc *desc, int32_t, DlgSlot *data, bool ownWindow, bool childPage) {
    int32_t count = DlgCountControls(desc->controls);
    auto *dlg = (DlgObject *)MemAlloc(sizeof(DlgObject) + (size_t)(count + 1) * sizeof(DlgControl));
    if (!dlg) return nullptr;
    dlg->controls = (DlgControl *)(dlg + 1);
    memcpy(dlg->controls, desc->controls, (size_t)(count + 1) * sizeof(DlgControl));
    dlg->header = *desc;
    dlg->count = count;
    dlg->data = data;
    dlg->defaultControl = -1;
    if (ownWindow) dlg->state |= DLG_STATE_OWN_WINDOW;
    if (childPage) dlg->state |= DLG_STATE_CHILD_PAGE;
    if (DrawUsesTextures()) dlg->state |= DLG_STATE_TEXTURES;
    DlgNormalizeGeometry(dlg);
    DlgPlace(dlg);
    dlg->letters = HAlloc((uint32_t)Max(count, 4));
    if (!dlg->letters) {
        DlgFreeObject(dlg);
        return nullptr;
    }
    DlgAssignLetters(dlg);
    if (!DlgBuildTemplate(dlg)) {
        ErcSetLowMemory();
        DlgFreeObject(dlg);
        return nullptr;
    }
    return dlg;
}

void DlgFreeObject(DlgObject *dlg) {
    if (!dlg) return;
    if (dlg->templateMemory) {
        if (dlg->tmpl) GlobalUnlock(dlg->templateMemory);
        GlobalFree(dlg->templateMemory);
    }
    if (dlg->letters) HFree(dlg->letters);
    MemFree(dlg);
}

const DLGTEMPLATE *DlgGetTemplate(const DlgObject *dlg) {
    return dlg->tmpl;
}

int32_t DlgDpiX() {
    return drawMetrics.dpiX > 0 ? drawMetrics.dpiX : 96;
}

int32_t DlgDpiY() {
    return drawMetrics.dpiY > 0 ? drawMetrics.dpiY : 96;
}

void DlgHold(DlgObject *dlg) {
    dlg->holds++;
}

bool DlgRelease(DlgObject *dlg) {
    if (--dlg->holds > 0 || !DlgGone(dlg)) return true;
    DlgFreeObject(dlg);
    return false;
}

void DlgMarkGone(DlgObject *dlg) {
    if (dlg->window) SetWindowLongPtrA(dlg->window, DWLP_USER, 0);
    dlg->window = nullptr;
    dlg->state |= DLG_STATE_DESTROYED;
}

// Only dialog windows (the system's dialog class, "vx_dlg") have the dialog's user word; another window's
// extra bytes at that place are not an object.
DlgObject *DlgFromWindow(HWND window) {
    if (!window) return nullptr;
    auto atom = (ATOM)GetClassLongPtrA(window, GCW_ATOM);
    if (atom != (ATOM)(uintptr_t)WC_DIALOG && (!dlgClassAtom || atom != dlgClassAtom)) return nullptr;
    return (DlgObject *)GetWindowLongPtrA(window, DWLP_USER);
}

DlgControl *DlgControlOfId(DlgObject *dlg, int32_t id) {
    int32_t index = id - DLG_ID_BASE;
    return dlg && index >= 0 && index < dlg->count ? &dlg->controls[index] : nullptr;
}

// ---- Remembered positions

bool DlgSavePositions(int file) {
    return dlgPositions && PlexWrite(dlgPositions, sizeof(Plex), file);
}

bool DlgLoadPositions(int file) {
    Plex *loaded = nullptr;
    if (!PlexReadExpect(&loaded, sizeof(Plex), sizeof(DlgPosition), file)) return false;
    if (dlgPositions) PlexFree(dlgPositions);
    dlgPositions = loaded;
    return true;
}

static DlgPosition *DlgPositionOf(int32_t key) {
    if (!key || !dlgPositions) return nullptr;
    for (int32_t i = 0; i < PlexCount(dlgPositions); i++) {
        auto *pos = (DlgPosition *)PlexElem(dlgPositions, i);
        if (pos->key == key) return pos;
    }
    return nullptr;
}

bool DlgFindPosition(int32_t key, POINT *out) {
    const DlgPosition *pos = DlgPositionOf(key);
    if (pos) *out = POINT{pos->left, pos->top};
    return pos != nullptr;
}

bool DlgStorePosition(HWND window, int32_t key) {
    RECT rect;
    if (!key || !dlgPositions || !GetWindowRect(window, &rect)) return false;
    if (DlgPosition *pos = DlgPositionOf(key)) {
        pos->left = rect.left;
        pos->top = rect.top;
        return true;
    }
    DlgPosition added = {key, rect.left, rect.top};
    return PlexInsert(dlgPositions, -1, 1, &added) != nullptr;
}

static void DlgCentreIn(RECT *rect, const RECT *outer) {
    RectCenterIn(rect, outer);
    RectOffset(rect, outer->left, outer->top);
}

// With follow-frame-monitor the rectangle is kept on the frame's monitor; otherwise one that no monitor
// shows is brought to the middle of the work area.
static void DlgKeepOnScreen(RECT *rect) {
    HWND frame = WndGetAppFrame();
    if (dlgFollowFrameMonitor && frame) {
        HMONITOR monitor = SysMonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST);
        RECT area;
        if (SysMonitorFromRect(rect, MONITOR_DEFAULTTONULL) != monitor && MonitorGetRect(monitor, &area))
            DlgCentreIn(rect, &area);
        return;
    }
    if (RectIsOnScreen(rect)) return;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    DlgCentreIn(rect, &work);
}

void DlgRestorePosition(HWND window, int32_t key) {
    POINT point;
    RECT rect;
    if (!DlgFindPosition(key, &point) || !GetWindowRect(window, &rect)) return;
    RectMoveTo(&rect, point.x, point.y);
    DlgKeepOnScreen(&rect);
    SetWindowPos(window, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DlgStorePosition(window, key);
}
