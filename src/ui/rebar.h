// rebar: the frame's toolbars in the bands of one common-control rebar ("ReBarWindow32", common controls
// 4.70 or newer) inside a container window of the class vx_Rebar (prefix Rebar). The application describes
// its toolbars as a list of bands, creates the rebar from that list or from a saved band layout, and saves
// the layout (band order, widths, line breaks, visibility) back into its configuration. The container passes
// the rebar's and the toolbars' notifications and commands on to its parent.
// Success: a record or true; failure null or false with the current error set.
#pragma once

#include "ui/toolbar.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

extern const char ercRebarComctl[];       // "Internet Explorer 3.02 or newer, or ComCtl32.dll version ..."
extern const char ercRebarCreateWindow[]; // "Unable to create window"

enum : int32_t {
    REBAR_LINE_BREAK = -2,  // the band id of a description row that starts a new line
    REBAR_LAYOUT_MAX = 100, // entries of a layout
    REBAR_BANDS_MAX = 50,   // bands of a rebar
};

// A row of the application's static band list; a row without a name ends it.
struct RebarBand {
    const char *name;
    int32_t id; // REBAR_LINE_BREAK: the next band starts a new line
    const ToolbarButton *buttons;
    int32_t command; // the owner's, not read here
    int32_t flags;   // REBAR_BAND_VISIBLE
};
enum : int32_t { REBAR_BAND_VISIBLE = 1 }; // shown by default

// The stored band layout: 5,024 bytes of little-endian 32-bit words in the application's configuration.
//   0 reserved (0); 4 reserved (0); 8 number of entries; 12 100 entries of 48 bytes; 4812 flags; 4816 reserved
//   to the end. An entry: band id, width in pixels (0: the toolbar's own), order (the band's place from 0),
//   flags, 32 reserved bytes.
enum RebarEntryFlags : int32_t {
    REBAR_ENTRY_VISIBLE = 1,
    REBAR_ENTRY_NEW_LINE = 2, // the band starts a line
};
enum RebarLayoutFlags : uint32_t {
    REBAR_FLAT = 1,     // flat toolbars
    REBAR_TEXTURES = 2, // the marble texture behind the bands
};
inline RebarLayoutFlags operator|(RebarLayoutFlags a, RebarLayoutFlags b) {
    return (RebarLayoutFlags)((uint32_t)a | (uint32_t)b);
}
struct RebarLayoutEntry {
    int32_t id;
    int32_t width;
    int32_t order;
    int32_t flags; // RebarEntryFlags
    uint8_t reserved[32];
};
static_assert(sizeof(RebarLayoutEntry) == 48, "a layout entry is 48 bytes");
struct RebarLayout {
    int32_t reserved1;
    int32_t reserved2;
    int32_t count;
    RebarLayoutEntry entries[REBAR_LAYOUT_MAX];
    uint32_t flags; // RebarLayoutFlags
    uint8_t reserved3[208];
};
static_assert(sizeof(RebarLayout) == 5024, "the stored layout is 5,024 bytes");
static_assert(offsetof(RebarLayout, entries) == 12 && offsetof(RebarLayout, flags) == 4812,
              "the stored layout's offsets");

// The rebar's record, freed with its container. In memory only: handles and pointers grow with the pointer
// size.
struct RebarBandSlot {
    int32_t id;
    ToolbarInfo *toolbar;
};
struct RebarInfo {
    HWND container; // vx_Rebar
    HWND control;   // ReBarWindow32
    HWND parent;
    bool flat;
    bool textures;
    const RebarBand *bands; // the application's description list
    int32_t count;
    RebarBandSlot slots[REBAR_BANDS_MAX];
};

// Start-up: fails below common controls 4.70 with ercRebarComctl; else registers vx_Rebar and readies the
// common controls' bars.
bool RebarInit();

// From the description list: its bands in order, each visible as its flags say, at its toolbar's width; a
// REBAR_LINE_BREAK row makes the next band start a line.
RebarInfo *RebarCreateFromList(HWND parent, const RebarBand *bands, RebarLayoutFlags flags);
// The rebar (hidden until RebarShow) with the bands of the layout in their order; an entry whose band the
// list no longer has is skipped, and a band comes once whatever the layout repeats. Null on a failure
// ("Unable to create window", or the toolbar's error), with nothing left behind.
RebarInfo *RebarCreate(HWND parent, const RebarBand *bands, const RebarLayout *layout);
void RebarSaveLayout(const RebarInfo *rebar, RebarLayout *out);
void RebarDestroy(RebarInfo *rebar); // the container goes and takes the record with it

void RebarShow(RebarInfo *rebar, bool show);
void RebarShowBand(RebarInfo *rebar, int32_t id, bool show); // nothing for an unknown band
bool RebarIsBandVisible(const RebarInfo *rebar, int32_t id); // false for an unknown band
void RebarSetTextures(RebarInfo *rebar, bool on);
void RebarCheckButton(RebarInfo *rebar, int32_t id, int32_t command, bool checked);
void RebarFitWidth(RebarInfo *rebar); // the parent's client width, unless the parent is minimized
void RebarGetRect(const RebarInfo *rebar, RECT *out); // the container in its parent's client coordinates
void RebarRedraw(RebarInfo *rebar);
