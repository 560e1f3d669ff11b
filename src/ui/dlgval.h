// dlgval: the exchange of values between a table dialog's controls and the caller's value slots, and the
// accessors with which callbacks read and change controls by their control code (prefix Dlg). Every
// accessor finds the record by scanning for the code up to the terminator; a code that names no record
// finds index -1, and the accessor then does nothing and answers 0, -1 or null.
// Numbers are 32-bit: a slot of a numeric control holds the number's 32 bits sign-extended.
#pragma once

#include "ui/dlg.h"

#include <windows.h>

#include <cstdint>

struct Plex;

// Values: loading shows the slots in the controls (at initialisation); reading writes them back and is
// false when a numeric edit is out of its range (the message is shown, the minimum taken). Texts are read
// only with all.
void DlgLoadValues(DlgObject *dlg, DlgSlot *data);
bool DlgReadValues(DlgObject *dlg, DlgSlot *data, bool all);
// The number in the control's text (at most 32 characters; signed, or unsigned with DLGF_UNSIGNED). With
// check, an edit outside [extra 1, extra 2] gets its text selected, "Number must be between %d and %d." is
// shown, *ok is cleared and the minimum returned.
int32_t DlgGetNumber(DlgObject *dlg, int32_t index, uint32_t flags, bool check, bool *ok);

// Records and windows.
int32_t DlgFindControl(const DlgObject *dlg, int32_t code); // index, -1 none
DlgControl *DlgControlAt(DlgObject *dlg, int32_t code);
bool DlgHasControl(const DlgObject *dlg, int32_t code);
HWND DlgGetControlWindow(const DlgObject *dlg, int32_t code);
HWND DlgGetControlWindowAt(const DlgObject *dlg, int32_t index);

// Values by code or index: check box and radio group the stored value; list the selection; drop-down list
// the stored index; edit, text static and editable combo the number in the text; user item events 26/25.
int32_t DlgGetValue(DlgObject *dlg, int32_t code);
int32_t DlgGetValueAt(DlgObject *dlg, int32_t index);
void DlgSetValue(DlgObject *dlg, int32_t code, int32_t value);
void DlgSetValueAt(DlgObject *dlg, int32_t index, int32_t value);

// Texts. Setting selects all of an edit's text. DlgGetText fills a buffer of the record's extra 2 bytes
// and returns the length; DlgSetTextF cuts its result at 511 characters.
void DlgSetText(DlgObject *dlg, int32_t code, const char *text);
void DlgSetTextF(DlgObject *dlg, int32_t code, const char *format, ...);
void DlgSetTextPstr(DlgObject *dlg, int32_t code, const unsigned char *pstr);
int32_t DlgGetText(DlgObject *dlg, int32_t code, char *buffer);
bool DlgTextEqualsI(DlgObject *dlg, int32_t code, const char *text); // up to 255 characters
bool DlgHasText(DlgObject *dlg, int32_t code);

// The record's words.
void DlgSetFlags(DlgObject *dlg, int32_t code, uint32_t flags);
void DlgSetTextAndFlags(DlgObject *dlg, int32_t code, const char *text, uint32_t flags);
void DlgSetData(DlgObject *dlg, int32_t code, int32_t value); // extra 1
int32_t DlgGetData(DlgObject *dlg, int32_t code);
void DlgSetFlag400(DlgObject *dlg, int32_t code, bool on);
bool DlgTestFlag400(DlgObject *dlg, int32_t code);
void DlgSetFlag800(DlgObject *dlg, int32_t code, bool on);

// Lists and combos. DlgGetListItems returns a new plex of the selected indexes (the caller frees it).
// DlgRefillList empties a list or combo (a combo is filled again from event 12) and selects an index
// (-3: the last item), stored as the value.
int32_t DlgGetListCount(DlgObject *dlg, int32_t code);
Plex *DlgGetListItems(DlgObject *dlg, int32_t code);
Plex *DlgGetListOfControl(HWND list);
void DlgRefillList(DlgObject *dlg, int32_t code, int32_t select);
void DlgSetCurSel(DlgObject *dlg, int32_t code, int32_t index);
// Selects the list item matching the edit's text (prefix, or exact) unless the edit is synchronised
// already; the selection becomes the list's value and the edit is marked synchronised.
void DlgSyncListFromEdit(DlgObject *dlg, int32_t listCode, int32_t editCode, bool exact);
// A combo's items from event 12 (item data 1 to n); marks it loaded.
void DlgFillCombo(DlgObject *dlg, int32_t index);

// Enabling (a radio group head: its buttons; the focus leaves a control being disabled) and showing.
void DlgEnable(DlgObject *dlg, int32_t code, bool enable);
void DlgEnableAt(DlgObject *dlg, int32_t index, bool enable);
void DlgEnableRange(DlgObject *dlg, int32_t low, int32_t high, bool enable);    // codes low..high
void DlgShowRange(DlgObject *dlg, int32_t low, int32_t high, bool show);        // low 0: every control
void DlgShowIndexRange(DlgObject *dlg, int32_t first, int32_t last, bool show); // first..last - 1
bool DlgIsEnabled(DlgObject *dlg, int32_t code);

// Focus and the default button. DlgSetFocus: the index, -1 for no such control. The focus index is -1 when
// the focus is outside the dialog and 0 when nothing has it; the focus code 0 in both cases.
int32_t DlgSetFocus(DlgObject *dlg, int32_t code);
int32_t DlgGetFocusIndex(DlgObject *dlg);
int32_t DlgGetFocusCode(DlgObject *dlg);
void DlgSetDefault(DlgObject *dlg, int32_t code);

// Geometry: the client rectangle (inside the texture band when textures are used), a control's client
// rectangle, its rectangle in the dialog's client coordinates, moving it.
void DlgGetClientRect(DlgObject *dlg, RECT *out);
bool DlgGetControlClientRect(DlgObject *dlg, int32_t code, RECT *out);
bool DlgGetControlPos(DlgObject *dlg, int32_t code, RECT *out);
void DlgSetControlPos(DlgObject *dlg, int32_t code, const RECT *rect);

void DlgSetCaption(DlgObject *dlg, const char *caption);
LRESULT DlgSendMessage(DlgObject *dlg, int32_t code, UINT message, WPARAM wParam, LPARAM lParam);
void DlgSetUser(DlgObject *dlg, void *user);
void *DlgGetUser(const DlgObject *dlg);
HWND DlgGetSheetWindow(const DlgObject *dlg); // null unless the dialog is a property page
