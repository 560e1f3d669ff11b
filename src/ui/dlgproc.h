// dlgproc: the table dialogs' procedures (prefix Dlg): the dialog procedure (initialisation, commands,
// owner-drawn combo items, the list controls' requests, separators, activation, destruction, help) and the
// window procedure installed over the system's dialog class, which is also the "vx_dlg" class procedure
// (event 255 for every message, resizing, textures, minimum size, the wheel, list keys from an edit).
#pragma once

#include "ui/dlg.h"

#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK DlgDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DlgWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Presses the control at the index as a made-up command of its type (an edit's text change, a button's
// click, a list's selection change), as the default action and pending presses do.
void DlgPressControl(DlgObject *dlg, int32_t index);

// Property pages (the property sheets register these; while unset a dialog is no page). initObject finds
// a page's object at its initialisation (the window is a child; lParam the system's page record); initPage
// restores the sheet's position and applies the page texture; notify handles WM_NOTIFY; sheetKey is the
// position key under which the sheet's position is stored when a page is destroyed.
struct DlgPageHooks {
    DlgObject *(*initObject)(HWND window, LPARAM lParam);
    void (*initPage)(DlgObject *dlg);
    INT_PTR (*notify)(DlgObject *dlg, NMHDR *header);
    int32_t (*sheetKey)(DlgObject *dlg);
};
void DlgSetPageHooks(const DlgPageHooks *hooks);

// Type-ahead in a combo's or list's items (one character, or two within 500 ms at the same control): the
// item found, -1 none. Combos and lists whose items are loaded or sorted (bit 0x800) search by halves.
int32_t DlgTypeAhead(DlgObject *dlg, int32_t index, HWND control, int32_t count, char typed);
