// dlg: dialogs from static descriptions (prefix Dlg). The program has no dialog resources: every dialog is a
// description (a DlgDesc header and DlgControl records ending with a record of type DLG_END) in the data of
// the module that shows it, and this module turns it into a dialog template at run time. It also starts
// the engine (the dialog font, its measurements, the window classes), builds the run-time dialog object
// with its access letters, and remembers dialogs' screen positions. Running dialogs is dlgrun's, their
// window procedures dlgproc's, the value exchange and the accessors by control code dlgval's.
//
// Geometry: four 32-bit values per header and record, row, column, height, width with DLG_ROW_FIRST (the
// default when neither order flag is given) or column, row, width, height with DLG_COLUMN_FIRST alone. A
// value below 100 counts whole characters or rows; 100 and above counts hundredths (1250 = 12.5 rows). A
// character is 4 horizontal dialog units, a row 11 vertical ones.
//
// Control ids are 1000 + the record's index; every record counts, also those of types 0 and 5 that make no
// window. The caller's data is an array of value slots (DlgSlot), one per record of the types that take one
// (edit, check box, radio group head, list, user item, text static, drop-down list, editable combo), in
// record order; a slot holds a number or a pointer (text buffer, plex of selected indexes).
//
// The descriptions hold pointers, so on 64-bit the records are larger than the 36-byte header and 40-byte
// records of 32-bit builds; the engine counts records up to the terminator and never derives a count from
// a byte size.
// Success: true, a pointer or a value; failure false, null or -1 (building an object sets "Low Memory").
#pragma once

#include <windows.h>

#include <cstdint>

struct DlgObject;
typedef intptr_t DlgSlot;

// The callback of a description: (dialog, event, control code, pointer, extra); see DlgEvent.
typedef intptr_t (*DlgCallback)(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

enum DlgHeaderFlag : uint32_t {
    DLG_CAPTION = 0x1,        // caption bar even without a caption
    DLG_ROW_FIRST = 0x2,      // geometry order row, column, height, width
    DLG_KEEP_POS = 0x4,       // keep the description's position
    DLG_STACK = 0x8,          // open below the current dialog
    DLG_PUMP_DISABLES = 0x10, // DlgPumpModeless disables the frame and the dockable windows' frames
    DLG_COLUMN_FIRST = 0x20,  // geometry order column, row, width, height
    DLG_FULL_TEXTURE = 0x80,  // with background textures: the whole client area, no inner frame
    DLG_RESIZABLE = 0x100,
};

enum DlgType : int32_t {
    DLG_NONE = 0, // placeholder, no window
    DLG_EDIT = 1, // slot: text buffer; a number with DLGF_SIGNED or DLGF_UNSIGNED
    DLG_LABEL = 2,
    DLG_BUTTON = 3,
    DLG_CHECK = 4,      // slot: 0 or 1
    DLG_RADIO_HEAD = 5, // no window; the DLG_RADIO records after it are its group; slot: the chosen index
    DLG_RADIO = 6,
    DLG_LIST = 7, // vx_Listbox; slot: the selected index, or a plex of indexes with DLGF_MULTISEL
    DLG_GROUP = 8,
    DLG_USERITEM = 9, // painted and sized by the callback; slot: one 32-bit value
    DLG_ICON = 10,
    DLG_HLINE = 11, // a rule that starts with its text
    DLG_VSEP = 12,  // vertical separator, drawn by the dialog along the record's left edge
    DLG_BORDERED = 13,
    DLG_TEXT_STATIC = 14, // slot: text; a number with DLGF_SIGNED or DLGF_UNSIGNED
    DLG_DROPLIST = 15,    // items from the callback; slot: the selected index
    DLG_COMBO = 16,       // editable combo; slot as DLG_EDIT
    DLG_END = 100,        // ends the records
};

// Control flags; one bit means different things on different types. The engine keeps run-time bits in the
// same word (DLGF_SYNCED, DLGF_LOADED, DLGF_INACTIVE).
enum DlgControlFlag : uint32_t {
    DLGF_DEFAULT = 0x1,          // button: the default button
    DLGF_CLOSES = 0x2,           // button: closes the dialog with its code, after the closing query
    DLGF_READ_VALUES = 0x4,      // button: read every value back (range checks) before closing
    DLGF_READ_TEXT = 0x4,        // text static: read its text back into its buffer
    DLGF_CENTER = 0x8,           // label, text static
    DLGF_DOUBLE_DEFAULT = 0x8,   // list: a double click acts as the default button
    DLGF_KEEP_HEIGHT = 0x20,     // button: no 1.4 times height
    DLGF_SIGNED = 0x100,         // edit, text static, editable combo: a signed number
    DLGF_UNSIGNED = 0x200,       // the same, unsigned
    DLGF_MULTISEL = 0x400,       // list: multiple selection, the slot holds a plex of indexes
    DLGF_SYNCED = 0x400,         // run time, edit: already synchronised with its list
    DLGF_SORTED = 0x800,         // list: sorted items (binary type-ahead)
    DLGF_LOADED = 0x800,         // run time, combo: items loaded (binary type-ahead)
    DLGF_OWNER_DRAW = 0x1000,    // list: rows painted through the callback
    DLGF_INACTIVE = 0x8000,      // created disabled; kept in step with enabling
    DLGF_RIGHT = 0x10000,        // edit, label, text static: right-aligned
    DLGF_NO_HISTORY = 0x20000,   // edit: no history
    DLGF_NO_SYLLABLES = 0x20000, // list: type-ahead never matches by syllables
    DLGF_READ_ONLY = 0x80000000, // edit
};

// Callback events: (code, pointer, extra) and the answer, where one is read.
enum DlgEvent : int32_t {
    DLG_EV_INIT = 0,              // values loaded, focus set
    DLG_EV_QUERY_CLOSE = 1,       // DlgKeepOpen refuses
    DLG_EV_USED = 2,              // a control was used (code; a radio button names its head); Esc or close 2
    DLG_EV_DEFAULT_ACTION = 4,    // double click on a radio button or a DLGF_DOUBLE_DEFAULT list
    DLG_EV_ACTIVATE = 5,          // the dialog became the current one
    DLG_EV_PAGE_LEAVE = 6,        // a property page is about to lose activation: non-zero lets it go
    DLG_EV_KILL_FOCUS = 7,        // an edit or combo lost the focus
    DLG_EV_SIZE = 8,              // pointer: size type; extra: client width | height << 16
    DLG_EV_ITEM_TEXT = 11,        // pointer: length-prefixed buffer of 256 bytes; extra: item
    DLG_EV_ITEM_COUNT = 12,       // answer: the number of items of a combo or list
    DLG_EV_LIST_MOUSE = 13,       // list request 5: pointer: a copy of the request; extra: int32_t * preset 1
    DLG_EV_LIST_TEXT_HEIGHT = 14, // list request 4; the list requests pass the request record as pointer
    DLG_EV_LIST_PAINT_CELL = 15,  // and its item word as extra, and answer as the request is answered
    DLG_EV_LIST_PAINT_BEGIN = 16,
    DLG_EV_LIST_PAINT_END = 17,
    DLG_EV_LIST_IMAGE = 18,
    DLG_EV_LIST_TIP_MEASURE = 19,
    DLG_EV_ALT_TEXT = 20, // as DLG_EV_ITEM_TEXT, the alternate text
    DLG_EV_COLUMN_TITLE = 21,
    DLG_EV_PAINT_USERITEM = 22, // pointer: the item's window; extra: DC (also list request 22, header click)
    DLG_EV_SET_USERITEM = 25,   // pointer: the new value (int32_t *)
    DLG_EV_GET_USERITEM = 26,   // pointer: where the callback stores the value (int32_t *)
    DLG_EV_SIZE_USERITEM = 27,  // pointer: size type; extra: width | height << 16
    DLG_EV_LIST_CHECK = 70,
    DLG_EV_LIST_SET_CHECK = 71,
    DLG_EV_LIST_LEVEL = 93,
    DLG_EV_LIST_EXPAND = 94,
    DLG_EV_LIST_COLLAPSE = 95,
    DLG_EV_LIST_EXPAND_ALL = 96,
    DLG_EV_LIST_EXPAND_STATE = 97,
    DLG_EV_LIST_NEXT_SIBLING = 99,
    DLG_EV_IDLE = 100,    // the modal loop is idle, and before every closing query
    DLG_EV_MESSAGE = 255, // every message: pointer: MSG; extra: int32_t *handled; the result: MSG wParam
};

enum { DLG_CODE_OK = 1, DLG_CODE_CANCEL = 2, DLG_CODE_HELP = 6, DLG_ID_BASE = 1000 };

// A control record. The list ends with a record of type DLG_END.
struct DlgControl {
    int32_t geometry[4]; // in the header's order
    const char *text;    // "&" marks a fixed access letter
    int32_t type;        // DlgType
    uint32_t flags;      // DlgControlFlag bits
    int32_t code;        // the caller's code; by convention 1 OK, 2 Cancel, 6 Help
    int32_t extra1;      // numeric edit: minimum; at run time the control's value
    int32_t extra2;      // text: buffer size with the NUL; numeric edit: maximum; radios: group links
};

// A description header.
struct DlgDesc {
    int32_t geometry[4];
    const char *caption;  // or null
    DlgCallback callback; // or null
    uint32_t flags;       // DlgHeaderFlag bits
    int32_t positionKey;  // non-zero: the screen position is remembered under this key
    const DlgControl *controls;
};

// A remembered position, as the workspace stores it.
struct DlgPosition {
    int32_t key;
    int32_t left;
    int32_t top;
};
static_assert(sizeof(DlgPosition) == 12);

// Engine start: the dialog font (the default GUI font's face at 8 points, else "MS Sans Serif" 8; bold on
// version 3.50), its bold variant, the base units and the font's measurements; false when the position
// list cannot be made. DlgRegisterClasses registers "vx_dlg", "HLINE" and "USERITEM"; false stops start-up.
bool DlgInit(HINSTANCE instance);
void DlgTerm();
bool DlgRegisterClasses(HINSTANCE instance);
HINSTANCE DlgGetInstance();

HFONT DlgGetFont();
HFONT DlgGetBoldFont();
int32_t DlgGetLineHeight();
void DlgGetCharSize(int32_t *width, int32_t *height); // either may be null
// Measures the dialog font in the window's DC (null: the screen) and marks it measured.
void DlgMeasureFont(HWND window);
bool DlgFontMeasured();
// Remembered positions are kept on the frame window's monitor.
void DlgSetFollowFrameMonitor(bool on);

// The run-time object and its template (own window: the dialog ends by destroying its window; child page:
// a page of a property sheet). The byte size of the description is not needed: records are counted up to
// the terminator. Null when out of memory.
DlgObject *DlgCreateObject(const DlgDesc *desc, int32_t byteSize, DlgSlot *data, bool ownWindow,
                           bool childPage);
void DlgFreeObject(DlgObject *dlg);

// The template of an object: the locked DLGTEMPLATE in its global memory.
const DLGTEMPLATE *DlgGetTemplate(const DlgObject *dlg);

// Remembered positions in the workspace: one plex of DlgPosition records; loading replaces the list.
bool DlgSavePositions(int file);
bool DlgLoadPositions(int file);
// Moves the window to the position remembered under the key (kept on screen, or on the frame's monitor)
// and stores it again; nothing for key 0 or a key never stored.
void DlgRestorePosition(HWND window, int32_t key);
// Stores the window's top-left corner under the key; false when the list cannot grow.
bool DlgStorePosition(HWND window, int32_t key);
bool DlgFindPosition(int32_t key, POINT *out);
