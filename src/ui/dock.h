// dock: the docking layer's model and layout (prefix Dock). A tool window of the frame lives either docked
// along one of the four edges of the frame's client area, in rows of panes parted by splitters, or floating
// in a small frame window of its own (vx_DockFloat, see dockdrag.h). The frame hands over its client
// rectangle on every resize (DockLayoutFrame) and gets back what is left for the MDI client. Owners keep a
// window's placement (DockInfo) in their saved settings and give it back when they make the window again.
// Success: true, a window or a value; failure false or null. An operation on a window that has no pane does
// nothing and answers false (or null).
#pragma once

#include "base/rect.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

enum DockSideIndex : int32_t {
    DOCK_NO_SIDE = -1, // floating
    DOCK_LEFT = 0,
    DOCK_TOP = 1,
    DOCK_RIGHT = 2,
    DOCK_BOTTOM = 3,
    DOCK_SIDES = 4,
};

enum DockState : int32_t { DOCK_FLOATING = 1, DOCK_DOCKED = 2 };

enum DockInfoFlags : int32_t {
    DOCK_INFO_HIDDEN = 0x1,
    DOCK_INFO_NEW_ROW = 0x2, // start a new row at the row index
    DOCK_INFO_ZOOMED = 0x4,
    DOCK_INFO_ROLLED_UP = 0x8,
};

// The placement of one dockable window, stored inside its owner's settings in the configuration file:
// 448 bytes of little-endian int32 fields at fixed offsets, the rest zero. A placement read back from a file
// is not trusted: a docked side outside 0..3 docks at the bottom, rows and positions are clamped to the
// side's rows and the row's panes, and a size out of range takes the layout's default.
struct DockInfo {
    int32_t state;  // DockState; anything else floats
    int32_t side;   // DockSideIndex; DOCK_NO_SIDE when floating
    int32_t id;     // the owner's identifier
    int32_t flags;  // DockInfoFlags
    int32_t row;    // row index on the side
    int32_t pos;    // position of the pane in its row
    Xywh floatRect; // screen pixels
    int32_t dockedWidth;
    int32_t dockedHeight;
    int32_t transparency; // percent, 0 = opaque
    uint8_t unused[396];
};
static_assert(sizeof(DockInfo) == 448);
static_assert(offsetof(DockInfo, row) == 16 && offsetof(DockInfo, floatRect) == 24 &&
              offsetof(DockInfo, dockedWidth) == 40 && offsetof(DockInfo, transparency) == 48);

// One button of the caption bars that the owners build: a command of the library's command table and the
// name of its bitmap resource.
struct DockCaptionButton {
    int32_t command;
    const char *bitmap;
};
enum { DOCK_CAPTION_BUTTONS_MAX = 4 };

enum DockWindowKindAnswer : int32_t { DOCK_KIND_OTHER = 1, DOCK_KIND_DOCKED = 2, DOCK_KIND_MDI_CHILD = 3 };

enum DockFontKind : int32_t {
    DOCK_FONT_TITLE = 0, // "Arial" 12 points bold italic
    DOCK_FONT_SMALL = 1, // "Arial" 8 points
};

// Start-up, right after the frame exists: registers vx_DockFrame and vx_DockFloat, makes the four side
// windows as children of the frame, the fonts ("Cannot create font" is set when one cannot be made) and the
// caption-button list. False when a class, list or window cannot be made; nothing is left then.
bool DockInit(HWND frame);
void DockExit(); // frees every pane and row, the side windows, the floating frames and the fonts

// Defaults: docked at the bottom, a floating rectangle of a third of the work area, 3 by 2 inches docked.
DockInfo *DockInfoInit(DockInfo *info);

// Makes a window of the class as a child of the frame (the style gets child and clipping, zero size), docks
// or floats it by the placement and gives the pane the title. Null when it cannot be made or placed.
HWND DockCreateWindow(const DockInfo *info, const char *className, const char *title, DWORD style,
                      void *param);
bool DockDestroyWindow(HWND window); // removes its pane and destroys it
// Docks (docked state) or floats a window that has no pane yet.
bool DockPlace(HWND window, const DockInfo *info);
// Moves a pane to a new placement: on the same side, row and position only its size changes; a move that
// cannot be made leaves the window in its old place, shown.
bool DockApply(HWND window, const DockInfo *info);
bool DockGetInfo(HWND window, DockInfo *out); // the pane's current placement, sizes as laid out now
// Shows or hides a pane; whether it was visible before.
bool DockShow(HWND window, bool show);
// Floating: shows and activates its frame. Then gives the window the focus unless the focus is already in
// it; the window that had the focus, or null.
HWND DockActivate(HWND window);
void DockEnableWindow(HWND window, bool enable);        // the window and, when floating, its frame
HWND DockGetContainer(HWND window);                     // the side window, or the floating frame
void DockSetTransparency(HWND window, int32_t percent); // floating panes, where transparency can be used
// The pane's own copies of its titles (null clears). Caption bars draw themselves: repaint changes nothing.
void DockSetTitle(HWND window, const char *text, bool repaint);
void DockSetSubtitle(HWND window, const char *text, bool repaint);
const char *DockGetTitle(HWND window); // null when none
void DockSetValue(HWND window, int32_t value, bool repaint);
int32_t DockGetValue(HWND window);
// The pane's caption bar: a child window of the docked window, placed at its own size in the top right
// corner after each layout and destroyed with the pane (null: none).
void DockSetCaptionBar(HWND window, HWND bar);

void DockSetCaptionHeight(int32_t height); // the height of a rolled-up floating frame
int32_t DockGetCaptionHeight();
int32_t
DockGetCaptionButtons(const DockCaptionButton **out); // the count; "bmpWndTrans" only with transparency
HFONT DockGetFont(DockFontKind kind, int32_t *height);

// Lays out the four sides in the frame's client rectangle (the dock area) and shrinks the rectangle to what
// they leave for the MDI client; unchanged before DockInit.
void DockLayoutFrame(RECT *rect);
void DockRelayoutFrame(); // the frame gets WM_SIZE with its current client size

// Every pane: sides left, top, right, bottom, rows and panes in order, then the floating panes. The
// callback answers false to stop; then so does the walk.
typedef bool (*DockEachFn)(HWND window, void *user);
bool DockForEach(DockEachFn fn, void *user);

DockWindowKindAnswer DockWindowKind(HWND window); // by its parent
bool DockIsDocked(HWND window);
bool DockIsZoomed(HWND window);
bool DockIsRolledUp(HWND window);

// Enables or disables every dockable window and every floating frame: modal loops switch them off while
// they run and on again after.
void DockWindowsEnable(bool enable);

// Hook: the shell's SetConfigDirty (flag), called with 0 after the user moved a pane or a splitter, so that
// the configuration file keeps the layout; nothing while unset.
typedef int32_t (*DockConfigDirtyHook)(int32_t flag);
void DockSetConfigDirtyHook(DockConfigDirtyHook hook);
