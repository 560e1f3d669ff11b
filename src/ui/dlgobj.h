// dlgobj: the run-time dialog object, private to the dialog engine's modules (dlg, dlgrun, dlgproc, dlgval,
// dlgctl) and the property sheets. Callers of the engine see only DlgObject * and the accessors.
// In memory only: the record holds pointers and handles and grows on 64-bit.
#pragma once

#include "base/heap.h"
#include "ui/dlg.h"

#include <windows.h>

#include <cstdint>

struct PropPage; // a property-sheet page record, owned by the property sheets

// State word.
enum DlgState : uint32_t {
    DLG_STATE_OWN_WINDOW = 0x1, // ended by destroying its window, not by the system's end-dialog call
    DLG_STATE_CHILD_PAGE = 0x2, // built as a page of a property sheet
    DLG_STATE_CALLS = 0x3C,     // bits 2 to 5: callback calls running (4 bits)
    DLG_STATE_CALL_ONE = 0x4,
    DLG_STATE_HELP_HANDLED = 0x40, // DlgMarkHandled
    DLG_STATE_SUBCLASSED = 0x80,   // the engine's window procedure is installed
    DLG_STATE_TEXTURES = 0x100,    // built while background textures were in use
    DLG_STATE_DESTROYED = 0x200,   // the window is gone: freed when the last hold is released
    DLG_STATE_ADOPTED = 0x400,     // the window's initialisation took the object
};

struct DlgObject {
    HWND window;
    HGLOBAL templateMemory;
    int32_t count;          // control records before the terminator
    int32_t defaultControl; // index, -1 none
    DlgSlot *data;          // the caller's value slots
    uint32_t state;         // DlgState bits
    void *user;
    PropPage *page;       // the page record when the dialog is a page of a sheet
    DLGTEMPLATE *tmpl;    // the locked template
    Handle *letters;      // one byte per control: the access letter's position in its text, 255 none
    DlgDesc header;       // the description's header, geometry in row-first order
    DlgControl *controls; // count + 1 records (the terminator included), geometry row-first
    int32_t holds;        // engine code running on the object (window procedures, callback calls)
};

enum { DLG_NO_LETTER = 255 };

inline int32_t DlgCallDepth(const DlgObject *dlg) {
    return (int32_t)((dlg->state & DLG_STATE_CALLS) >> 2);
}

inline bool DlgGone(const DlgObject *dlg) {
    return (dlg->state & DLG_STATE_DESTROYED) != 0;
}

// The object lives until its window is destroyed and nothing holds it: the window procedures and every
// callback call hold it, so that a callback that closes its own dialog leaves the engine's code that called
// it on valid memory. Release frees a gone object at the last hold and answers whether it still exists.
void DlgHold(DlgObject *dlg);
bool DlgRelease(DlgObject *dlg);
// At the window's destruction: the object no longer belongs to a window.
void DlgMarkGone(DlgObject *dlg);

// The screen's pixels per inch (from the drawing metrics).
int32_t DlgDpiX();
int32_t DlgDpiY();

// The record of a window id, or null.
DlgControl *DlgControlOfId(DlgObject *dlg, int32_t id);
// The object stored in a dialog window, or null.
DlgObject *DlgFromWindow(HWND window);
