// printman: the print manager (prefixes Print, PageSetup and Printer). A client hands a print job its
// document name, a page setup record and a callback; the job finds the printer (the Print dialog, or the
// default printer of the profile), works out the page range (paginating when the client cannot say), and
// drives the pages of every copy: sheets of one or more columns, the frame, header and footer, a title page,
// the progress box and cancelling. The callback answers numbered messages: the page count and range, the
// texts, and the drawing of each page body. The module also keeps the printer context that measuring
// clients use before they print: device 1 of the drawing layer (DrawGetDC, DrawGetResolution), the printer
// fonts of the font layer, and the printer the font chooser offers all come from PrinterGetDC.
// Success: true (or a handle); false when cancelled or failed. Failures the user must see are shown here.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstddef>
#include <cstdint>

enum PrintSetupFlags : uint32_t {
    PRINT_SETUP_LANDSCAPE = 0x1,
    PRINT_SETUP_FRAME = 0x2,             // a frame around the text area, rules between the columns
    PRINT_SETUP_HEADER_PER_COLUMN = 0x4, // clear: one header per sheet
    PRINT_SETUP_FOOTER_PER_COLUMN = 0x8, // clear: one footer per sheet
    PRINT_SETUP_TITLE_PAGE = 0x10,       // a title page before the first page
    PRINT_SETUP_CLIENT_1 = 0x20,         // set by default; read by the printing clients
    PRINT_SETUP_CLIENT_2 = 0x40,
};
enum {
    PRINT_SETUP_DEFAULT_FLAGS = 0x68,
    PRINT_TEXT_SIZE = 64, // bytes of a header, footer or title text with its NUL
    PRINT_TEXT_MAX = 63,
    PRINT_UNITS_PER_INCH = 7200,     // margins are in 1/7200 inch
    PRINT_PAGE_UNKNOWN = 0x7FFFFFFE, // a last page not known
    PRINT_NAME_MAX = 255,
};

// The page setup: 216 bytes that the owner stores (little-endian 32-bit fields, then the three texts). A
// record read from storage goes through PrintSetupNormalize before it is used; a print job does so with its
// own copy.
struct PrintSetup {
    uint32_t flags;     // PrintSetupFlags
    int32_t marginLeft; // 1/7200 inch
    int32_t marginTop;
    int32_t marginRight;
    int32_t marginBottom;
    int32_t columns;              // pages side by side on a sheet
    char header[PRINT_TEXT_SIZE]; // texts with &-codes (PrintExpandCodes)
    char footer[PRINT_TEXT_SIZE];
    char title[PRINT_TEXT_SIZE];
};
static_assert(sizeof(PrintSetup) == 216);
static_assert(offsetof(PrintSetup, marginLeft) == 4 && offsetof(PrintSetup, marginBottom) == 16 &&
              offsetof(PrintSetup, columns) == 20 && offsetof(PrintSetup, header) == 24 &&
              offsetof(PrintSetup, footer) == 88 && offsetof(PrintSetup, title) == 152);

// Zero and the defaults: flags 0x68, half-inch margins, one column, "&F", "Page &P", "&F&/&D  &T".
void PrintSetupDefaults(PrintSetup *setup);
// The checks of a stored record: at least one column, every text cut at 63 characters and ended by its NUL.
void PrintSetupNormalize(PrintSetup *setup);
// The system Page Setup dialog over the record (margins shown in thousandths of an inch, the orientation);
// OK stores them back. False when cancelled or when the dialog fails (its failure is shown).
bool PageSetupDialog(PrintSetup *setup);

// ---- Print jobs

enum PrintJobOptions : uint32_t {
    PRINT_DIALOG = 0x1,          // show the Print dialog; else the profile's default printer, one copy
    PRINT_OFFER_SELECTION = 0x2, // the dialog offers "Selection"
    PRINT_COUNT_ONLY = 0x4,      // work out the page range only: *pages gets its end
    PRINT_NO_PROGRESS = 0x8,
    PRINT_SELECTION = 0x10, // with PRINT_OFFER_SELECTION: "Selection" chosen at first
};
enum PrintJobFlags : uint32_t {
    PRINT_JOB_ALL = 0x1,
    PRINT_JOB_SELECTION = 0x2,
    PRINT_JOB_PAGE_NUMBERS = 0x4, // the user chose pages
    PRINT_JOB_PAGINATING = 0x8,   // the pass lays pages out without output
    PRINT_JOB_DUPLEX = 0x10,
    PRINT_JOB_PROGRESS = 0x20,
    PRINT_JOB_FAILED = 0x40,
};
// The callback's messages; "number" is the buffer's capacity for the texts (63 characters).
enum PrintMessage : int32_t {
    PRINT_MSG_BEGIN_PASS = 1, // 0 fails the job
    PRINT_MSG_END_PASS = 2,
    PRINT_MSG_DRAW = 3,       // the text rectangle: draw the current page's body in it; 0 fails the job
    PRINT_MSG_HEADER = 4,     // char buffer: the header text (empty: none)
    PRINT_MSG_FOOTER = 5,     // char buffer: the footer text
    PRINT_MSG_BEGIN_PAGE = 6, // the page rectangle: nonzero when the current page exists
    PRINT_MSG_END_PAGE = 7,
    PRINT_MSG_RANGE = 8,    // PrintRange: nonzero with the range (end 0: not known); 0 makes the job paginate
    PRINT_MSG_TITLE = 9,    // char buffer: the title page text
    PRINT_MSG_CONFIRM = 10, // PrintRange: the final range; 0 cancels
    PRINT_MSG_FONT = 11,    // the font to print with (an HFONT)
    PRINT_MSG_START = 12,   // printing starts; 0 cancels
    PRINT_MSG_END = 13,     // number 1 when printing failed or was cancelled, else 0
};

// A page range: first page and end (one past the last), 0-based, with the rectangle of a page.
struct PrintRange {
    RECT rect;
    int32_t first;
    int32_t end;
};

struct PrintJobRec;
typedef intptr_t (*PrintCallback)(PrintJobRec *job, int32_t message, void *pointer, int32_t number);

// One job, in memory only, for the length of a PrintJob call. Clients read it in their callback.
struct PrintJobRec {
    HGLOBAL devMode; // of the Print dialog
    HGLOBAL devNames;
    uint32_t flags; // PrintJobFlags
    int32_t first;  // pages, 0-based; last may be PRINT_PAGE_UNKNOWN
    int32_t last;
    int32_t page; // the current page
    int32_t copies;
    PrintSetup setup;
    PrintCallback callback;
    void *clientData;
    char name[PRINT_NAME_MAX + 1];
    int32_t shownPage; // the page the progress box shows
    int32_t headerY;
    int32_t footerY;
    HFONT font;        // from the callback's PRINT_MSG_FONT
    HDC dc;            // what the current page is drawn on
    int32_t passFirst; // the first page of the running pass: sheets fill from it
};

// Runs a job (name, setup or null for the defaults, callback, its data, PrintJobOptions). True when done;
// false when cancelled or failed. The setup's landscape bit follows the printer the user chose.
bool PrintJob(const char *name, PrintSetup *setup, PrintCallback callback, void *clientData, uint32_t options,
              int32_t *pages);
bool PrintJobSimple(const char *name, PrintSetup *setup, PrintCallback callback, void *clientData,
                    uint32_t options);
// The answers a client passes on: header, footer and title from the setup (expanded); whether the current
// page is at most the last; no range; the device default font; 1 for the rest.
intptr_t PrintDefaultCallback(PrintJobRec *job, int32_t message, void *pointer, int32_t number);
// Expands "&F" (name), "&P" (page), "&N" (pages in the range, or "unknown number"), "&D" and "&T" (the
// run time's date and time texts), keeps the drawing codes ("&L", "&C", "&R", "&B", "&I", "&U", "&/",
// "&&") and drops any other "&" code; case-blind. out holds PRINT_TEXT_SIZE bytes.
void PrintExpandCodes(const PrintJobRec *job, const char *text, char *out);
// The text rectangle of a page, in printer pixels: its column counts from the first page of the pass.
void PrintPageRect(const PrintJobRec *job, int32_t page, RECT *out);

// ---- The printer

// Start-up and shutdown: the printer becomes device 1 of the drawing layer; PrinterTerm releases it (and the
// printer fonts).
void PrinterInit();
void PrinterTerm();
// When the printer was measured before, makes sure a context is open (an information context of the
// default printer when none is); false when that fails.
bool PrinterRefresh();
// Opens the default printer of the profile: an information context (info) or a device context. A context
// already open is kept when it can print or when an information context is asked for.
bool PrinterUseDefault(bool info);
// The printer's context, readied on first use (an information context of the default printer); null when
// there is no printer.
HDC PrinterGetDC();
// Pixels per inch and page size in pixels of the open printer (0 without one).
SIZE PrinterResolution();
SIZE PrinterPageSize();
// The line height of the printer font (the job's font while printing).
int32_t PrinterLineHeight();
// 1/7200 inch from printer pixels.
int32_t PrinterToUnitsX(int32_t pixels);
int32_t PrinterToUnitsY(int32_t pixels);
// A sheet begins and ends; nothing happens while a job paginates.
bool PrinterStartPage(PrintJobRec *job);
bool PrinterEndPage(PrintJobRec *job);

// The print device: the dialogs, the profile's default printer, the contexts and their measures, and the
// document and its pages. Tests replace it (no printer exists under test): each page may then be drawn on a
// DC of its own, which startPage returns.
struct PrintDeviceCalls {
    BOOL(WINAPI *printDlg)(LPPRINTDLGA dialog);
    BOOL(WINAPI *pageSetupDlg)(LPPAGESETUPDLGA dialog);
    DWORD(WINAPI *extendedError)();
    DWORD(WINAPI *profileString)(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size);
    HDC(WINAPI *createDC)(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA *mode);
    HDC(WINAPI *createIC)(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA *mode);
    BOOL(WINAPI *deleteDC)(HDC dc);
    int(WINAPI *deviceCaps)(HDC dc, int index);
    int(WINAPI *setAbortProc)(HDC dc, ABORTPROC proc);
    int(WINAPI *startDoc)(HDC dc, const DOCINFOA *info);
    int(WINAPI *endDoc)(HDC dc);
    HDC (*startPage)(HDC dc);            // the DC to draw the page on; null on failure
    bool (*endPage)(HDC dc, HDC pageDC); // false on failure or when the job was aborted
};
// Null puts the system's calls back (and releases a printer the replaced calls made).
void PrintSetDeviceCalls(const PrintDeviceCalls *calls);
