// toolbar: common-control toolbars built from a static list of buttons, and the texts of their tooltips
// (prefixes Toolbar, and TipNeedText for the tooltip notification). Each button runs a command of the command
// table and shows a bitmap resource; the toolbar's record (ToolbarInfo) hangs on its window as the property
// "htb" and is freed when the window goes. A tooltip reads the command's name, its key and its description,
// which the shell answers through the hooks below.
// Success: a record or true; failure null or false with the current error set.
#pragma once

#include "base/plex.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

extern const char ercToolbarCreate[]; // "Unable to create toolbar"

enum ToolbarButtonType : int32_t {
    TOOLBAR_END = 0,       // ends the list
    TOOLBAR_PUSH = 1,      // a push button
    TOOLBAR_CHECK = 2,     // a button that stays down until pressed again
    TOOLBAR_SEPARATOR = 9, // a gap between groups
};

enum { TOOLBAR_BITMAP_NAME = 20 }; // bytes of a button's bitmap name, with its NUL

// One row of a caller's static button list; the list ends at a row of type TOOLBAR_END.
struct ToolbarButton {
    int32_t type; // ToolbarButtonType
    int32_t command;
    char bitmap[TOOLBAR_BITMAP_NAME]; // the bitmap resource's name; empty for a separator
};
static_assert(sizeof(ToolbarButton) == 28, "type, command and a 20-byte name");

// Fills the tooltip text of a command, cut to size bytes with the NUL.
typedef void (*ToolbarTipTextFn)(int32_t command, char *text, int size);

// The toolbar record: a plex of button elements (ToolbarElem) behind this header. In memory only: the
// handles grow with the pointer size.
struct ToolbarInfo {
    Plex plex;
    uint8_t callerBits; // a 4-bit value of the caller's
    bool flat;
    HWND window;
    intptr_t callerValue;
    int32_t buttonCount;
    int32_t ownerId; // the rebar's band id
    HIMAGELIST images;
    ToolbarTipTextFn tipText;
    int32_t buttonWidth; // of the first button's bitmap
    int32_t buttonHeight;
    WNDPROC previousProc; // the toolbar class's procedure under the subclass
};

// One button of the record; the bitmap belongs to the record and is deleted with it.
struct ToolbarElem {
    int32_t type;
    int32_t command;
    HBITMAP bitmap; // null for a separator
    int32_t image;  // in the image list; -1 for a separator
};

enum ToolbarCreateFlags : uint32_t {
    TOOLBAR_FLAT = 1,       // flat buttons
    TOOLBAR_NO_MEASURE = 2, // leave the window's size to the caller
};
inline ToolbarCreateFlags operator|(ToolbarCreateFlags a, ToolbarCreateFlags b) {
    return (ToolbarCreateFlags)((uint32_t)a | (uint32_t)b);
}

// Registers the free tooltip's window class and readies the common controls' bars. false when the class
// cannot be registered.
bool ToolbarInit();

// A visible toolbar child of the parent at (0, 0), sized to its buttons unless TOOLBAR_NO_MEASURE. The button
// size is the first bitmap's; a list of separators only makes a toolbar without images. Null for an empty
// list and when the window, the image list or a bitmap fails ("Unable to create toolbar") or memory runs
// out, with nothing left behind.
ToolbarInfo *ToolbarCreate(HWND parent, int32_t ownerId, ToolbarCreateFlags flags, intptr_t callerValue,
                           uint8_t callerBits, const ToolbarButton *buttons, ToolbarTipTextFn tipText);
void ToolbarDestroy(ToolbarInfo *toolbar); // the window goes and takes the record with it

void ToolbarCheck(ToolbarInfo *toolbar, int32_t command, bool checked);
void ToolbarRedraw(ToolbarInfo *toolbar);
void ToolbarSetFlat(ToolbarInfo *toolbar, bool flat);       // only when the record's flag changes
void ToolbarSetFlatRedraw(ToolbarInfo *toolbar, bool flat); // the window's style as asked, always repainted
void ToolbarShow(ToolbarInfo *toolbar, bool show);
void ToolbarMove(ToolbarInfo *toolbar, const RECT *rect);
int32_t ToolbarHeight(ToolbarInfo *toolbar);       // the window's when visible, else button height + 6
int32_t ToolbarWindowHeight(ToolbarInfo *toolbar); // 0 without a window
// The parent's client area, 8 pixels in from the left and 1 from the top, cut to the toolbar's height at
// its top or its bottom.
void ToolbarDockRect(ToolbarInfo *toolbar, bool top, RECT *out);

// The record of a toolbar window; null for any other window.
ToolbarInfo *ToolbarFromWindow(HWND window);

// Tooltips. The text of a command: its name; " (key)" when a key runs it; " - description" when it has one,
// the description's first letter in lower case and a final full stop dropped. Cut to size bytes.
void ToolbarTipText(int32_t command, char *text, int size);
enum { TOOLBAR_TIP_MAX = 512 }; // the tooltip text buffer, with its NUL
// A tooltip's request for text (TTN_NEEDTEXTA): points the notification at one global buffer filled by the
// toolbar's own tooltip callback, or ToolbarTipText, for the button's command. true when it handled it.
bool TipNeedText(NMHDR *notification);

// The main loop's pre-translation hook of toolbars and tooltips: nothing to take yet, always false.
bool ToolbarPreTranslate(MSG *msg);

// What the tooltips and the toolbar's sizing ask of the shell. Every member may be null, which gives the
// neutral answer in brackets.
struct ToolbarHooks {
    void (*commandName)(int32_t command, char *name, int size); // [empty]
    const char *(*commandDescription)(int32_t command);         // [empty]
    int32_t (*keyForCommand)(int32_t command);                  // the first key code, 0 for none [0]
    void (*keyName)(int32_t key, char *text, int size);         // [empty]
    void (*setConfigDirty)(bool flag);                          // the configuration changed [nothing]
};
void ToolbarSetHooks(const ToolbarHooks *hooks); // copied; null: all neutral
