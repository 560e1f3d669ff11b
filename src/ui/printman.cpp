// printman: the print manager (prefixes Print, PageSetup and Printer).
//
// The stored page setup is 216 bytes: flags, the left, top, right and bottom margins in 1/7200 inch and the
// columns per sheet (six little-endian 32-bit words), then the header, footer and title texts (64 bytes
// each, NUL-terminated, at most 63 characters). A stored record may hold anything: a job works on its own
// normalized copy, with at least one column and every text ended.
//
// The printer state is one context at a time: an information context of the default printer for clients
// that measure, or the printing context of a job. Whenever the context changes, the font layer forgets its
// printer fonts, which were measured on the old one. Everything that reaches the printer goes through the
// print device table, which tests replace.
//
// A job: the printer and the font (message 11); the range (message 8, else a pagination pass with output
// suppressed); the document (StartDoc, message 12, the title page, one pass per copy, message 13, EndDoc).
// A pass fills sheets of c columns from its first page: a sheet starts only when the callback says its
// first page exists (message 6), so a document whose end is not known gets no blank sheet at its end; in
// duplex an odd number of sheets gets a blank one, so that the next copy starts on a front side.
#include "ui/printman.h"

#include "base/heap.h"
#include "base/num.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dlgalert.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

enum {
    PRINT_MSG_TEXT_MAX = PRINT_TEXT_MAX,
    PRINT_CODE_STYLES = 8, // bold, italic and underline, each on or off
    PRINT_RUNS_MAX = 64,   // runs of one line: a text of 63 characters makes at most 63
};

// ---- The print device

static HDC PrintSystemStartPage(HDC dc) {
    return StartPage(dc) > 0 ? dc : nullptr;
}

static bool PrintSystemEndPage(HDC dc, HDC) {
    return EndPage(dc) > 0;
}

static const PrintDeviceCalls printSystemCalls = {
    PrintDlgA,          PageSetupDlgA, CommDlgExtendedError,
    GetProfileStringA,  CreateDCA,     CreateICA,
    DeleteDC,           GetDeviceCaps, SetAbortProc,
    StartDocA,          EndDoc,        PrintSystemStartPage,
    PrintSystemEndPage,
};
static const PrintDeviceCalls *printCalls = &printSystemCalls;

// ---- Printer state

static HDC printerDC;
static bool printerPrinting; // a context that prints (from the Print dialog or the default printer)
static bool printerMeasured; // a client asked for the printer's measures
static SIZE printerDpi;
static SIZE printerPage;
static HFONT printerFont;
static int32_t printerLineHeight; // of printerFont; 0 until measured
static int32_t printerQuiet;      // while above 0, sheets neither start nor end (pagination)

static void PrinterForget() {
    FontFreeDevice(DRAW_PRINTER);
    printerFont = nullptr;
    printerLineHeight = 0;
}

static void PrinterRelease() {
    if (printerDC) printCalls->deleteDC(printerDC);
    printerDC = nullptr;
    printerPrinting = false;
    printerDpi = printerPage = SIZE{0, 0};
    PrinterForget();
}

static void PrinterSetDC(HDC dc, bool printing) {
    if (dc != printerDC) PrinterRelease();
    printerDC = dc;
    printerPrinting = printing;
    printerDpi = SIZE{printCalls->deviceCaps(dc, LOGPIXELSX), printCalls->deviceCaps(dc, LOGPIXELSY)};
    printerPage = SIZE{printCalls->deviceCaps(dc, HORZRES), printCalls->deviceCaps(dc, VERTRES)};
    PrinterForget();
}

static void PrintResetSeams() {
    PrinterRelease();
    printCalls = &printSystemCalls;
}

void PrintSetDeviceCalls(const PrintDeviceCalls *calls) {
    PrinterRelease();
    printCalls = calls ? calls : &printSystemCalls;
    SeamRegisterReset(PrintResetSeams);
}

// Opens a new context of the profile's "device" value: device name up to the first comma, then driver and
// port; a missing part fails.
static bool PrinterOpenProfile(bool info, const DEVMODEA *mode) {
    PrinterRelease();
    char value[256];
    printCalls->profileString("windows", "device", ",,,", value, sizeof value);
    value[sizeof value - 1] = 0;
    char *device = value, *driver = strchr(value, ',');
    if (!driver) return false;
    *driver++ = 0;
    driver += strspn(driver, " ");
    char *port = driver + strcspn(driver, ", ");
    if (*port) *port++ = 0;
    port += strspn(port, ", ");
    port[strcspn(port, ",")] = 0;
    if (!*device || !*driver || !*port) return false;
    HDC dc = info ? printCalls->createIC(driver, device, port, mode)
                  : printCalls->createDC(driver, device, port, mode);
    if (!dc) return false;
    PrinterSetDC(dc, !info);
    return true;
}

bool PrinterUseDefault(bool info) {
    if (printerDC && (printerPrinting || info)) return true;
    return PrinterOpenProfile(info, nullptr);
}

HDC PrinterGetDC() {
    printerMeasured = true;
    if (!printerDC) PrinterOpenProfile(true, nullptr);
    return printerDC;
}

static HDC PrinterDrawHook(SIZE *resolution) {
    HDC dc = PrinterGetDC();
    *resolution = printerDpi;
    return dc;
}

void PrinterInit() {
    DrawSetPrinterHook(PrinterDrawHook);
}

void PrinterTerm() {
    PrinterRelease();
    printerMeasured = false;
}

bool PrinterRefresh() {
    if (!printerMeasured || printerDC) return true;
    return PrinterOpenProfile(true, nullptr);
}

SIZE PrinterResolution() {
    return printerDpi;
}

SIZE PrinterPageSize() {
    return printerPage;
}

static void PrinterSelectFont(HFONT font) {
    printerFont = font;
    printerLineHeight = 0;
}

int32_t PrinterLineHeight() {
    if (!printerLineHeight && printerDC) {
        HGDIOBJ previous =
            SelectObject(printerDC, printerFont ? printerFont : GetStockObject(DEVICE_DEFAULT_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(printerDC, &metrics);
        SelectObject(printerDC, previous);
        printerLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
    return printerLineHeight;
}

int32_t PrinterToUnitsX(int32_t pixels) {
    return printerDpi.cx ? NumMulDiv(pixels, PRINT_UNITS_PER_INCH, printerDpi.cx) : 0;
}

int32_t PrinterToUnitsY(int32_t pixels) {
    return printerDpi.cy ? NumMulDiv(pixels, PRINT_UNITS_PER_INCH, printerDpi.cy) : 0;
}

static void PrintReadyPage(PrintJobRec *job) {
    SelectObject(job->dc, job->font);
    SetBkMode(job->dc, TRANSPARENT);
    SetTextAlign(job->dc, TA_LEFT | TA_TOP);
}

bool PrinterStartPage(PrintJobRec *job) {
    if (printerQuiet > 0) return true;
    HDC page = printCalls->startPage(printerDC);
    if (!page) return false;
    job->dc = page;
    PrintReadyPage(job);
    return true;
}

bool PrinterEndPage(PrintJobRec *job) {
    if (printerQuiet > 0) return true;
    bool ok = printCalls->endPage(printerDC, job->dc);
    job->dc = printerDC;
    return ok;
}

// ---- Page setup

void PrintSetupDefaults(PrintSetup *setup) {
    memset(setup, 0, sizeof *setup);
    setup->flags = PRINT_SETUP_DEFAULT_FLAGS;
    setup->marginLeft = setup->marginTop = setup->marginRight = setup->marginBottom =
        PRINT_UNITS_PER_INCH / 2;
    setup->columns = 1;
    strcpy(setup->header, "&F");
    strcpy(setup->footer, "Page &P");
    strcpy(setup->title, "&F&/&D  &T");
}

void PrintSetupNormalize(PrintSetup *setup) {
    if (setup->columns < 1) setup->columns = 1; // columns divide the text area
    setup->header[PRINT_TEXT_MAX] = setup->footer[PRINT_TEXT_MAX] = setup->title[PRINT_TEXT_MAX] = 0;
}

// The messages of the common dialogs' failures; 0 (the user cancelled) has none.
static const char *PrintDialogError(DWORD code) {
    switch (code) {
    case 0: return nullptr;
    case 4098: return "Cannot print. The device strings in WIN.INI could not be parsed.";
    case 4100: return "Cannot print. The device driver failed to load.";
    case 4103: return "Cannot print. No printer drivers were found.";
    case 4104: return "Cannot print. There is no default printer selected.";
    case 4107:
        return "Cannot print. The [devices] section of WIN.INI did not contain an entry for the requested "
               "printer";
    default: return "Cannot print. There was an error starting the system Print dialog.";
    }
}

static void PrintShowDialogError() {
    if (const char *text = PrintDialogError(printCalls->extendedError())) AlertError("%s", text);
}

static void PrintSetOrientation(HGLOBAL devMode, bool landscape) {
    DEVMODEA *mode = devMode ? (DEVMODEA *)GlobalLock(devMode) : nullptr;
    if (!mode) return;
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    GlobalUnlock(devMode);
}

static void PrintTakeOrientation(HGLOBAL devMode, PrintSetup *setup) {
    DEVMODEA *mode = devMode ? (DEVMODEA *)GlobalLock(devMode) : nullptr;
    if (!mode) return;
    if (mode->dmFields & DM_ORIENTATION) {
        bool landscape = mode->dmOrientation == DMORIENT_LANDSCAPE;
        setup->flags =
            landscape ? setup->flags | PRINT_SETUP_LANDSCAPE : setup->flags & ~PRINT_SETUP_LANDSCAPE;
    }
    GlobalUnlock(devMode);
}

static int32_t PrintRoundDiv(int64_t value, int64_t divisor) {
    int64_t q = (value >= 0 ? value + divisor / 2 : value - divisor / 2) / divisor;
    return q > INT_MAX ? INT_MAX : q < INT_MIN ? INT_MIN : (int32_t)q;
}

// The four margins of a setup and of the dialog's rectangle, in the same order.
static void PrintMarginsToDialog(const PrintSetup *setup, RECT *out) {
    const int32_t *margins[] = {&setup->marginLeft, &setup->marginTop, &setup->marginRight,
                                &setup->marginBottom};
    LONG *sides[] = {&out->left, &out->top, &out->right, &out->bottom};
    for (int k = 0; k < 4; k++) *sides[k] = PrintRoundDiv((int64_t)*margins[k] * 1000, PRINT_UNITS_PER_INCH);
}

static void PrintMarginsFromDialog(const RECT *rect, PrintSetup *setup) {
    int32_t *margins[] = {&setup->marginLeft, &setup->marginTop, &setup->marginRight, &setup->marginBottom};
    const LONG *sides[] = {&rect->left, &rect->top, &rect->right, &rect->bottom};
    for (int k = 0; k < 4; k++) *margins[k] = PrintRoundDiv((int64_t)*sides[k] * PRINT_UNITS_PER_INCH, 1000);
}

bool PageSetupDialog(PrintSetup *setup) {
    PAGESETUPDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.Flags = PSD_RETURNDEFAULT;
    if (!printCalls->pageSetupDlg(&dialog)) {
        PrintShowDialogError();
        return false;
    }
    PrintSetOrientation(dialog.hDevMode, (setup->flags & PRINT_SETUP_LANDSCAPE) != 0);
    dialog.Flags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES;
    PrintMarginsToDialog(setup, &dialog.rtMargin);
    bool ok = printCalls->pageSetupDlg(&dialog) != 0;
    if (ok) {
        PrintMarginsFromDialog(&dialog.rtMargin, setup);
        PrintTakeOrientation(dialog.hDevMode, setup);
    } else {
        PrintShowDialogError();
    }
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    return ok;
}

// ---- Codes

static void PrintPut(char *out, int32_t *n, const char *text, size_t length) {
    size_t room = (size_t)(PRINT_TEXT_MAX - *n);
    if (length > room) length = room;
    memcpy(out + *n, text, length);
    *n += (int32_t)length;
    out[*n] = 0;
}

static void PrintPutNumber(char *out, int32_t *n, int64_t value) {
    char digits[24];
    PrintPut(out, n, digits, (size_t)snprintf(digits, sizeof digits, "%lld", (long long)value));
}

static void PrintPutClock(char *out, int32_t *n, const char *format) {
    time_t now = time(nullptr);
    char text[32] = "";
    if (const struct tm *local = localtime(&now)) strftime(text, sizeof text, format, local);
    PrintPut(out, n, text, strlen(text));
}

// The document name with each '&' doubled, so that drawing shows it as it is ("R&D.txt" is no bold toggle).
static void PrintPutName(char *out, int32_t *n, const char *name) {
    for (const char *p = name; *p && *n < PRINT_TEXT_MAX; p++)
        PrintPut(out, n, *p == '&' ? "&&" : p, *p == '&' ? 2 : 1);
}

static char PrintCodeUpper(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

void PrintExpandCodes(const PrintJobRec *job, const char *text, char *out) {
    int32_t n = 0;
    out[0] = 0;
    for (const char *p = text; *p && n < PRINT_TEXT_MAX; p++) {
        if (*p != '&') {
            PrintPut(out, &n, p, 1);
            continue;
        }
        if (!p[1]) break;
        char code = *++p;
        switch (PrintCodeUpper(code)) {
        case 'F': PrintPutName(out, &n, job->name); break;
        case 'P': PrintPutNumber(out, &n, (int64_t)job->page + 1); break;
        case 'N':
            if (job->last == PRINT_PAGE_UNKNOWN)
                PrintPut(out, &n, "unknown number", 14);
            else
                PrintPutNumber(out, &n, (int64_t)job->last - job->first + 1);
            break;
        case 'D': PrintPutClock(out, &n, "%m/%d/%y"); break;
        case 'T': PrintPutClock(out, &n, "%H:%M:%S"); break;
        case 'L':
        case 'C':
        case 'R':
        case 'B':
        case 'I':
        case 'U':
        case '/':
        case '&': {
            char kept[2] = {'&', code};
            PrintPut(out, &n, kept, 2);
            break;
        }
        default: break;
        }
    }
}

// ---- Pages

static int32_t PrintUnitsToPixels(int32_t units, int32_t dpi) {
    return NumMulDiv(units, dpi, PRINT_UNITS_PER_INCH);
}

// A rectangle without width gets an inch of width, one without height an inch of height: margins past the
// paper leave no text area otherwise.
static void PrintGiveRoom(RECT *rect) {
    if (rect->right <= rect->left) rect->right = rect->left + printerDpi.cx;
    if (rect->bottom <= rect->top) rect->bottom = rect->top + printerDpi.cy;
}

// The margins in pixels: the text area of a sheet, before any room is given.
static void PrintMarginRect(const PrintJobRec *job, RECT *out) {
    const PrintSetup &s = job->setup;
    out->left = PrintUnitsToPixels(s.marginLeft, printerDpi.cx);
    out->top = PrintUnitsToPixels(s.marginTop, printerDpi.cy);
    out->right = printerPage.cx - PrintUnitsToPixels(s.marginRight, printerDpi.cx);
    out->bottom = printerPage.cy - PrintUnitsToPixels(s.marginBottom, printerDpi.cy);
}

static void PrintTextArea(const PrintJobRec *job, RECT *out) {
    PrintMarginRect(job, out);
    PrintGiveRoom(out);
}

static int32_t PrintColumnOf(const PrintJobRec *job, int32_t page) {
    int64_t c = job->setup.columns;
    return (int32_t)((((int64_t)page - job->passFirst) % c + c) % c);
}

void PrintPageRect(const PrintJobRec *job, int32_t page, RECT *out) {
    RECT area;
    PrintMarginRect(job, &area);
    int32_t c = job->setup.columns, k = PrintColumnOf(job, page);
    int32_t width = (int32_t)(((int64_t)area.right - area.left) / c);
    *out = area;
    out->left = (LONG)(area.left + (int64_t)k * width);
    out->right = out->left + width;
    if (k > 0) out->left += printerDpi.cx / 8;
    if (k < c - 1) out->right -= printerDpi.cx / 8;
    PrintGiveRoom(out);
}

// The header line centred in the top margin, the footer line in the bottom margin.
static void PrintPlaceBands(PrintJobRec *job) {
    RECT area;
    PrintTextArea(job, &area);
    int32_t line = PrinterLineHeight();
    job->headerY = (area.top - line + 1) / 2;
    job->footerY = area.bottom + (printerPage.cy - area.bottom - line + 1) / 2;
}

// ---- Drawing codes

// A run of text in one zone (0 left, 1 centre, 2 right) and one style (bold, italic, underline bits).
struct PrintRun {
    int32_t zone;
    uint32_t style;
    int32_t start;
    int32_t length;
    int32_t width;
};
enum { PRINT_STYLE_BOLD = 1, PRINT_STYLE_ITALIC = 2, PRINT_STYLE_UNDERLINE = 4 };

// The fonts of one drawing: the job's font and those made from it for each style, deleted at the end.
struct PrintFonts {
    HFONT base;
    HFONT made[PRINT_CODE_STYLES];
};

static HFONT PrintFontFor(PrintFonts *fonts, uint32_t style) {
    if (style == 0) return fonts->base;
    if (!fonts->made[style]) {
        LOGFONTA logFont = {};
        GetObjectA(fonts->base, sizeof logFont, &logFont);
        if (style & PRINT_STYLE_BOLD)
            logFont.lfWeight = logFont.lfWeight >= FW_SEMIBOLD ? FW_NORMAL : FW_BOLD;
        if (style & PRINT_STYLE_ITALIC) logFont.lfItalic = !logFont.lfItalic;
        if (style & PRINT_STYLE_UNDERLINE) logFont.lfUnderline = !logFont.lfUnderline;
        fonts->made[style] = CreateFontIndirectA(&logFont);
    }
    return fonts->made[style] ? fonts->made[style] : fonts->base;
}

// One line's runs, up to "&/" or the end; returns where the next line starts.
struct PrintLine {
    char chars[PRINT_TEXT_SIZE];
    int32_t count;
    PrintRun runs[PRINT_RUNS_MAX];
    int32_t runCount;
};

static void PrintLineAdd(PrintLine *line, char c, int32_t zone, uint32_t style) {
    if (line->count >= PRINT_TEXT_MAX) return;
    PrintRun *last = line->runCount ? &line->runs[line->runCount - 1] : nullptr;
    if (!last || last->zone != zone || last->style != style) {
        if (line->runCount >= PRINT_RUNS_MAX) return;
        line->runs[line->runCount++] = PrintRun{zone, style, line->count, 0, 0};
        last = &line->runs[line->runCount - 1];
    }
    line->chars[line->count++] = c;
    last->length++;
}

static const char *PrintParseLine(const char *p, PrintLine *line, int32_t *zone, uint32_t *style) {
    line->count = line->runCount = 0;
    for (; *p; p++) {
        if (*p != '&') {
            PrintLineAdd(line, *p, *zone, *style);
            continue;
        }
        if (!p[1]) return p + 1;
        switch (PrintCodeUpper(*++p)) {
        case 'L': *zone = 0; break;
        case 'C': *zone = 1; break;
        case 'R': *zone = 2; break;
        case 'B': *style ^= PRINT_STYLE_BOLD; break;
        case 'I': *style ^= PRINT_STYLE_ITALIC; break;
        case 'U': *style ^= PRINT_STYLE_UNDERLINE; break;
        case '/': return p + 1;
        case '&': PrintLineAdd(line, '&', *zone, *style); break;
        default: break;
        }
    }
    return p;
}

static void PrintDrawLine(HDC dc, PrintFonts *fonts, PrintLine *line, int32_t left, int32_t right,
                          int32_t y) {
    int32_t widths[3] = {0, 0, 0};
    for (int32_t r = 0; r < line->runCount; r++) {
        PrintRun &run = line->runs[r];
        SIZE size = {0, 0};
        SelectObject(dc, PrintFontFor(fonts, run.style));
        GetTextExtentPoint32A(dc, line->chars + run.start, run.length, &size);
        run.width = size.cx;
        widths[run.zone] += size.cx;
    }
    int32_t x[3] = {left, (left + right - widths[1]) / 2, right - widths[2]};
    for (int32_t r = 0; r < line->runCount; r++) {
        const PrintRun &run = line->runs[r];
        SelectObject(dc, PrintFontFor(fonts, run.style));
        ExtTextOutA(dc, x[run.zone], y, 0, nullptr, line->chars + run.start, (UINT)run.length, nullptr);
        x[run.zone] += run.width;
    }
}

// Draws a text with its drawing codes between left and right, its lines from y down; centred until a zone
// code says otherwise. The font selected before is selected again at the end.
static void PrintDrawCodes(PrintJobRec *job, int32_t left, int32_t right, int32_t y, const char *text) {
    PrintFonts fonts = {job->font, {}};
    HGDIOBJ previous = SelectObject(job->dc, job->font);
    int32_t zone = 1, line = PrinterLineHeight();
    uint32_t style = 0;
    PrintLine parsed;
    for (const char *p = text; *p; y += line) {
        p = PrintParseLine(p, &parsed, &zone, &style);
        PrintDrawLine(job->dc, &fonts, &parsed, left, right, y);
    }
    SelectObject(job->dc, previous);
    for (HFONT font : fonts.made)
        if (font) DeleteObject(font);
}

// ---- Decorations

static void PrintFrame(PrintJobRec *job, const RECT *area) {
    HDC dc = job->dc;
    RECT frame = *area;
    InflateRect(&frame, 2, 2);
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    int32_t c = job->setup.columns, step = (frame.right - frame.left) / c;
    for (int32_t k = 1; step > 0 && k < c; k++) {
        MoveToEx(dc, frame.left + k * step, frame.top, nullptr);
        LineTo(dc, frame.left + k * step, frame.bottom);
    }
    SelectObject(dc, pen);
    SelectObject(dc, brush);
}

// A header or footer: above (below) every column with its per-column flag, else once per sheet over the
// whole text area.
static void PrintBand(PrintJobRec *job, int32_t message, uint32_t perColumn, int32_t column, const RECT *rect,
                      const RECT *area, int32_t y) {
    const RECT *span = (job->setup.flags & perColumn) ? rect : column == 0 ? area : nullptr;
    if (!span) return;
    char text[PRINT_TEXT_SIZE] = "";
    job->callback(job, message, text, PRINT_MSG_TEXT_MAX);
    text[PRINT_TEXT_MAX] = 0;
    if (text[0]) PrintDrawCodes(job, span->left, span->right, y, text);
}

static void PrintDecorate(PrintJobRec *job, int32_t column, const RECT *rect) {
    RECT area;
    PrintTextArea(job, &area);
    if (column == 0 && (job->setup.flags & PRINT_SETUP_FRAME)) PrintFrame(job, &area);
    PrintBand(job, PRINT_MSG_HEADER, PRINT_SETUP_HEADER_PER_COLUMN, column, rect, &area, job->headerY);
    PrintBand(job, PRINT_MSG_FOOTER, PRINT_SETUP_FOOTER_PER_COLUMN, column, rect, &area, job->footerY);
}

// ---- Passes

// True when the user cancelled in the progress box; its text follows the page.
static bool PrintPoll(PrintJobRec *job) {
    if (!(job->flags & PRINT_JOB_PROGRESS)) return false;
    if (job->page != job->shownPage) {
        job->shownPage = job->page;
        const char *what = (job->flags & PRINT_JOB_PAGINATING) ? "Paginating" : "Printing";
        ProgressSetText("%s: %s\n\nPage %d", what, job->name, job->page + 1);
    }
    return ProgressStep(-1);
}

static bool PrintBlankSheet(PrintJobRec *job) {
    return PrinterStartPage(job) && PrinterEndPage(job);
}

// The body of the current page, clipped to its text rectangle; false when the callback fails.
static bool PrintBody(PrintJobRec *job, RECT *rect) {
    int saved = SaveDC(job->dc);
    IntersectClipRect(job->dc, rect->left, rect->top, rect->right, rect->bottom);
    bool ok = job->callback(job, PRINT_MSG_DRAW, rect, 0) != 0;
    RestoreDC(job->dc, saved);
    job->callback(job, PRINT_MSG_END_PAGE, rect, 0);
    return ok;
}

// Pages first..last, c to a sheet. A sheet starts once its first page exists.
static bool PrintPass(PrintJobRec *job) {
    if (!job->callback(job, PRINT_MSG_BEGIN_PASS, nullptr, 0)) return false;
    bool paginating = (job->flags & PRINT_JOB_PAGINATING) != 0, open = false, ok = true;
    int32_t column = 0, sheets = 0;
    job->passFirst = job->first;
    for (job->page = job->first; ok && job->page <= job->last; job->page++) {
        RECT rect;
        PrintPageRect(job, job->page, &rect);
        if (!job->callback(job, PRINT_MSG_BEGIN_PAGE, &rect, 0)) break;
        if (column == 0 && !paginating) {
            if (!(ok = PrinterStartPage(job))) break;
            open = true;
            sheets++;
        }
        if (PrintPoll(job)) ok = false;
        if (ok && !paginating) PrintDecorate(job, column, &rect);
        if (ok) ok = PrintBody(job, &rect);
        if (++column == job->setup.columns) {
            column = 0;
            open = false;
            if (!PrinterEndPage(job)) ok = false;
        }
        if (!ok) break;
    }
    if (open && !PrinterEndPage(job)) ok = false;
    if (ok && (job->flags & PRINT_JOB_DUPLEX) && sheets % 2) ok = PrintBlankSheet(job);
    job->callback(job, PRINT_MSG_END_PASS, nullptr, 0);
    return ok && !(job->flags & PRINT_JOB_FAILED);
}

// A pass with output suppressed; the pages it reached make the range.
static bool PrintPaginate(PrintJobRec *job, int32_t *end) {
    bool progress = (job->flags & PRINT_JOB_PROGRESS) != 0;
    if (progress) ProgressBegin(0, 0, "Paginating: %s\n\nPage 1", job->name);
    int32_t first = job->first, last = job->last;
    job->first = 0;
    job->last = PRINT_PAGE_UNKNOWN;
    job->shownPage = 0;
    job->flags |= PRINT_JOB_PAGINATING;
    printerQuiet++;
    bool ok = PrintPass(job);
    *end = job->page;
    printerQuiet--;
    job->flags &= ~PRINT_JOB_PAGINATING;
    job->first = first;
    job->last = last;
    if (progress) ProgressEnd();
    return ok;
}

// The range: the client's (message 8) or the pagination's, cut to the pages the user chose, the first and
// last page kept inside it, and confirmed by the client (message 10). *end gets the range's end.
static bool PrintFindRange(PrintJobRec *job, int32_t *end) {
    PrintRange range = {};
    job->passFirst = job->first;
    PrintPageRect(job, job->first, &range.rect);
    int32_t rangeFirst = 0;
    if (job->callback(job, PRINT_MSG_RANGE, &range, 0)) {
        rangeFirst = Max(0, range.first);
        *end = range.end > 0 ? range.end : INT_MAX;
    } else if (!PrintPaginate(job, end)) {
        return false;
    }
    if (job->flags & PRINT_JOB_PAGE_NUMBERS) *end = Min(*end, job->last + 1);
    if (*end <= rangeFirst) {
        job->first = rangeFirst;
        job->last = rangeFirst - 1;
    } else {
        job->first = ClampValue(job->first, rangeFirst, *end - 1);
        job->last = ClampValue(job->last, rangeFirst, *end - 1);
    }
    PrintRange final = {range.rect, job->first, job->last + 1};
    return job->callback(job, PRINT_MSG_CONFIRM, &final, 0) != 0;
}

// The title page: an empty text gives a blank page (two in duplex); else the text from the middle of the
// paper less half an inch all round, then a blank back in duplex.
static bool PrintTitlePage(PrintJobRec *job) {
    if (!(job->setup.flags & PRINT_SETUP_TITLE_PAGE)) return true;
    char text[PRINT_TEXT_SIZE] = "";
    job->callback(job, PRINT_MSG_TITLE, text, PRINT_MSG_TEXT_MAX);
    text[PRINT_TEXT_MAX] = 0;
    bool duplex = (job->flags & PRINT_JOB_DUPLEX) != 0;
    if (!text[0]) return PrintBlankSheet(job) && (!duplex || PrintBlankSheet(job));
    if (!PrinterStartPage(job)) return false;
    RECT paper = {0, 0, printerPage.cx, printerPage.cy};
    InflateRect(&paper, -printerDpi.cx / 2, -printerDpi.cy / 2);
    PrintDrawCodes(job, paper.left, paper.right, (paper.top + paper.bottom) / 2, text);
    return PrinterEndPage(job) && (!duplex || PrintBlankSheet(job));
}

// ---- The document

static PrintJobRec *printRunning; // the job whose document is open

// Called by the system while pages spool: keeps the program answering and stops the job once the user
// cancelled in the progress box.
static BOOL CALLBACK PrintAbortProc(HDC, int) {
    PumpMessages();
    if (!printRunning || !(printRunning->flags & PRINT_JOB_PROGRESS) || !ProgressStep(-1)) return TRUE;
    printRunning->flags |= PRINT_JOB_FAILED;
    return FALSE;
}

static bool PrintDocument(PrintJobRec *job) {
    bool progress = (job->flags & PRINT_JOB_PROGRESS) != 0;
    if (progress) ProgressBegin(0, 0, "Printing: %s\n\nPage 1", job->name);
    job->shownPage = 0;
    printCalls->setAbortProc(printerDC, PrintAbortProc);
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = job->name;
    printRunning = job;
    bool started = printCalls->startDoc(printerDC, &info) > 0;
    bool ok = started && job->callback(job, PRINT_MSG_START, nullptr, 0) != 0;
    bool announced = ok;
    if (ok) ok = PrintTitlePage(job);
    for (int32_t copy = 0; ok && copy < job->copies; copy++) ok = PrintPass(job);
    if (announced) job->callback(job, PRINT_MSG_END, nullptr, ok ? 0 : 1);
    if (started) printCalls->endDoc(printerDC);
    printRunning = nullptr;
    if (progress) ProgressEnd();
    if (!ok) job->flags |= PRINT_JOB_FAILED;
    return ok;
}

// ---- Choosing the printer

static bool PrintIsDuplex(HGLOBAL devMode) {
    const DEVMODEA *mode = devMode ? (const DEVMODEA *)GlobalLock(devMode) : nullptr;
    if (!mode) return false;
    bool duplex = (mode->dmFields & DM_DUPLEX) && mode->dmDuplex != DMDUP_SIMPLEX;
    GlobalUnlock(devMode);
    return duplex;
}

// The Print dialog: a DC, collated copies, pages 1 to 1 proposed out of 65535, "Selection" when offered.
static bool PrintAskUser(PrintJobRec *job, PRINTDLGA *dialog, uint32_t options) {
    bool offer = (options & PRINT_OFFER_SELECTION) != 0;
    dialog->Flags = PD_RETURNDC | PD_COLLATE | (offer ? 0 : PD_NOSELECTION) |
                    (offer && (options & PRINT_SELECTION) ? PD_SELECTION : 0);
    dialog->nFromPage = dialog->nToPage = dialog->nMinPage = 1;
    dialog->nMaxPage = 65535;
    dialog->nCopies = 1;
    bool ok = printCalls->printDlg(dialog) != 0;
    job->devMode = dialog->hDevMode;
    job->devNames = dialog->hDevNames;
    if (!ok) {
        PrintShowDialogError();
        return false;
    }
    if (!dialog->hDC) {
        AlertError("%s", PrintDialogError(~0u));
        return false;
    }
    PrinterSetDC(dialog->hDC, true);
    job->copies = Max(1, dialog->nCopies);
    if (dialog->Flags & PD_PAGENUMS) {
        job->flags |= PRINT_JOB_PAGE_NUMBERS;
        job->first = Max(0, dialog->nFromPage - 1);
        job->last = Max(0, dialog->nToPage - 1);
    } else {
        job->flags |= (dialog->Flags & PD_SELECTION) ? PRINT_JOB_SELECTION : PRINT_JOB_ALL;
    }
    return true;
}

// The profile's default printer, one copy, all pages; an information context when only counting. Its
// failure is shown unless the job only counts (pagination for the status bar must stay quiet).
static bool PrintUseProfile(PrintJobRec *job, uint32_t options) {
    bool counting = (options & PRINT_COUNT_ONLY) != 0;
    const DEVMODEA *mode = job->devMode ? (const DEVMODEA *)GlobalLock(job->devMode) : nullptr;
    bool ok = PrinterOpenProfile(counting, mode);
    if (mode) GlobalUnlock(job->devMode);
    if (!ok && !counting) AlertError("%s", PrintDialogError(4104));
    job->flags |= PRINT_JOB_ALL;
    return ok;
}

// The default printer's settings first (orientation from the setup), then the dialog or the profile.
static bool PrintOpenPrinter(PrintJobRec *job, uint32_t options) {
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.Flags = PD_RETURNDEFAULT;
    bool dialogShown = (options & PRINT_DIALOG) != 0;
    if (!printCalls->printDlg(&dialog)) {
        if (dialogShown) {
            PrintShowDialogError();
            return false;
        }
    }
    job->devMode = dialog.hDevMode;
    job->devNames = dialog.hDevNames;
    PrintSetOrientation(job->devMode, (job->setup.flags & PRINT_SETUP_LANDSCAPE) != 0);
    if (!(dialogShown ? PrintAskUser(job, &dialog, options) : PrintUseProfile(job, options))) return false;
    PrintTakeOrientation(job->devMode, &job->setup);
    if (PrintIsDuplex(job->devMode)) job->flags |= PRINT_JOB_DUPLEX;
    return true;
}

// ---- Jobs

intptr_t PrintDefaultCallback(PrintJobRec *job, int32_t message, void *pointer, int32_t) {
    switch (message) {
    case PRINT_MSG_HEADER: PrintExpandCodes(job, job->setup.header, (char *)pointer); return 1;
    case PRINT_MSG_FOOTER: PrintExpandCodes(job, job->setup.footer, (char *)pointer); return 1;
    case PRINT_MSG_TITLE: PrintExpandCodes(job, job->setup.title, (char *)pointer); return 1;
    case PRINT_MSG_BEGIN_PAGE: return job->page <= job->last;
    case PRINT_MSG_RANGE: return 0;
    case PRINT_MSG_FONT: return (intptr_t)GetStockObject(DEVICE_DEFAULT_FONT);
    default: return 1;
    }
}

static bool PrintJobRun(PrintJobRec *job, uint32_t options, int32_t *pages) {
    if (!PrintOpenPrinter(job, options)) return false;
    job->dc = printerDC;
    job->font = (HFONT)job->callback(job, PRINT_MSG_FONT, nullptr, 0);
    if (!job->font) job->font = (HFONT)GetStockObject(DEVICE_DEFAULT_FONT);
    PrinterSelectFont(job->font);
    PrintPlaceBands(job);
    int32_t end = 0;
    if (!PrintFindRange(job, &end)) return false;
    if (options & PRINT_COUNT_ONLY) {
        if (pages) *pages = end;
        return true;
    }
    if (job->last < job->first) return true; // nothing to print
    return PrintDocument(job);
}

// The job's printing context goes with it; the next measure opens an information context again.
static void PrintJobFree(PrintJobRec *job) {
    if (job->devMode) GlobalFree(job->devMode);
    if (job->devNames) GlobalFree(job->devNames);
    if (printerPrinting) PrinterRelease();
    printerFont = nullptr;
    printerLineHeight = 0;
    MemFree(job);
}

bool PrintJob(const char *name, PrintSetup *setup, PrintCallback callback, void *clientData, uint32_t options,
              int32_t *pages) {
    if (pages) *pages = 0;
    PrintJobRec *job = (PrintJobRec *)MemAlloc(sizeof *job);
    if (!job) return false;
    if (setup)
        job->setup = *setup;
    else
        PrintSetupDefaults(&job->setup);
    PrintSetupNormalize(&job->setup);
    job->callback = callback ? callback : PrintDefaultCallback;
    job->clientData = clientData;
    StrCopyMaxLen(name ? name : "", job->name, PRINT_NAME_MAX);
    job->flags = (options & PRINT_NO_PROGRESS) ? 0u : (uint32_t)PRINT_JOB_PROGRESS;
    job->copies = 1;
    job->last = PRINT_PAGE_UNKNOWN;
    bool ok = PrintJobRun(job, options, pages);
    if (ok && setup)
        setup->flags = (setup->flags & ~PRINT_SETUP_LANDSCAPE) | (job->setup.flags & PRINT_SETUP_LANDSCAPE);
    PrintJobFree(job);
    return ok;
}

bool PrintJobSimple(const char *name, PrintSetup *setup, PrintCallback callback, void *clientData,
                    uint32_t options) {
    return PrintJob(name, setup, callback, clientData, options, nullptr);
}
