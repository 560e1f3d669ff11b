// font: font descriptions and the font cache (prefix Font, and CharsetToCodePage). A font is asked for by
// its description and device (0 the screen, 1 the printer) and comes with the character metrics that
// text-drawing windows read directly: per-character widths, ABC widths, and whether bytes below 128 are
// always whole characters in the font's code page. Screen fonts follow a zoom percent; the cache keeps the
// most recently used fonts first and can release their handles, which are made again on use. Success: true, a
// handle or a record; a font that cannot be made is the device default font, never null.
#pragma once

#include "ui/fontdesc.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One cached font, in memory only.
struct FontRecord {
    FontRecord *next;
    HFONT font; // null while released
    int32_t device;
    int32_t lineHeight;  // text height plus external leading
    int32_t avgWidth;    // of the average measuring character
    int32_t secondWidth; // of the blank, or of the second measuring character with narrow punctuation
    TEXTMETRICA metrics; // height, ascent and internal leading less half the internal leading, unless kept
    bool abcValid;
    FontDesc desc;
    int32_t widths[256]; // overhang taken off; 0 for character 0
    ABC abc[256];
    bool asciiSafe; // no lead byte of the code page is below 128
    uint32_t codePage;
    CPINFO cpInfo;
};

// Measures the device default font on the scratch DC into the default record; after DrawInit.
bool FontInit();
void FontExit();

// The cached record (moved to the front, its handle made again when released), or a new one measured on the
// device's DC; the default record when no record can be made.
FontRecord *FontGet(int32_t device, const FontDesc *desc);
// Selects FontGet's font; the font it replaced.
HFONT FontSelect(HDC dc, int32_t device, const FontDesc *desc);
// A new font; screen fonts are scaled by the zoom.
HFONT FontCreate(int32_t device, const FontDesc *desc);
// A bold copy of a font, described on the measuring device and made on the creating device.
HFONT FontCreateBold(int32_t measureDevice, int32_t createDevice, HFONT font);
// The size a font of that device is made at: screen sizes times the zoom, kept within 2..1000.
int32_t FontZoomedSize(int32_t device, int32_t size);

void FontDescToLogFont(int32_t device, const FontDesc *desc, LOGFONTA *out);
void FontDescFromLogFont(int32_t device, const LOGFONTA *logFont, FontDesc *out);
bool FontDescFromFont(HFONT font, int32_t device, FontDesc *out);
bool FontFromStock(int stockObject, FontDesc *out); // a stock font described on the screen
// The font dialog on the description, as made on the device (the printer's fonts for the printer): true when
// a font was chosen.
bool AskFontDesc(const char *title, int32_t device, FontDesc *desc);
int32_t FontLineHeight(int32_t device, HFONT font);
int32_t FontSizeToPoints(int32_t quarterPoints); // rounded

// Settings from the application. The zoom (percent of screen font sizes, 100 = none; 0 only reads) frees
// every screen font when it changes; keeping the whole internal leading frees every font when it changes.
int32_t FontSetZoom(int32_t percent); // the previous zoom
bool FontSetKeepLeading(bool keep);   // the previous setting
void FontSetMeasureChars(int averageChar, int secondChar);

// Frees every record of the device (FONT_ALL_DEVICES: all); records handed out before are invalid.
void FontFreeDevice(int32_t device);
// Raised whenever records are freed: a record kept from FontGet stays valid while the stamp is unchanged
// (its handle may be released meanwhile; FontGet makes it again).
uint32_t FontRecordStamp();
// Releases the handles of the device's records (FONT_ALL_DEVICES: any) that lie beyond the first keep + 1
// of the list, when it holds more than keep records; the records stay and make their font again on use.
void FontTrim(int32_t device, int32_t keep);
void FontRelease(); // FontTrim of all devices keeping 20, for the idle chain

uint32_t CharsetToCodePage(int charset);

// Registers the module's answers with the foundation: the screen-font zoom that the system probe sets in
// a remote session. The shell calls it before SysProbe.
void FontInstallHooks();
