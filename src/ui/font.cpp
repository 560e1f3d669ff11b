// font: font descriptions, the font cache and its measuring (prefix Font, and CharsetToCodePage).
// The cache is a singly linked list of records, most recently used first, with a count; a default record
// holds the device default font measured on the scratch DC and stands in when a record cannot be made.
// The stored FontDesc is 36 bytes: style word (16 bits), size in quarter points (16 bits), face (31 bytes,
// at most 30 characters and a NUL, which a stored record may lack) and character set (8 bits).
#include "ui/font.h"

#include "base/heap.h"
#include "base/num.h"
#include "base/utilil.h"
#include "base/sysprobe.h"
#include "ui/dlgcom.h"
#include "ui/draw.h"

#include <cstring>
#include <initializer_list>

enum {
    FONT_QUARTER_POINTS_PER_INCH = 288,
    FONT_ZOOM_MIN = 2,
    FONT_ZOOM_MAX = 1000,
    FONT_RELEASE_KEEP = 20,
    FONT_BOLD_WEIGHT = 600, // a LOGFONT weight from which a font counts as bold
};

static FontRecord *fontList;
static int32_t fontCount;
static FontRecord fontDefault;
static int32_t fontZoom = 100;
static bool fontKeepLeading;
static int fontAverageChar = 'x';
static int fontSecondChar = ' ';
static uint32_t fontRecordStamp;

// ---- Descriptions

static int FontDescCharset(const FontDesc *desc) {
    if (desc->charset) return desc->charset;
    int charsetClass = (desc->style & FONT_CHARSET_CLASS) >> FONT_CLASS_SHIFT;
    return charsetClass == FONT_CLASS_OEM ? OEM_CHARSET : charsetClass;
}

void FontDescToLogFont(int32_t device, const FontDesc *desc, LOGFONTA *out) {
    memset(out, 0, sizeof *out);
    out->lfWeight = desc->style & FONT_BOLD ? FW_BOLD : FW_NORMAL;
    out->lfItalic = (desc->style & FONT_ITALIC) != 0;
    out->lfUnderline = (desc->style & FONT_UNDERLINE) != 0;
    out->lfStrikeOut = (desc->style & FONT_STRIKEOUT) != 0;
    out->lfPitchAndFamily = (BYTE)(desc->style >> 8);
    out->lfCharSet = (BYTE)FontDescCharset(desc);
    char face[FONT_FACE_MAX + 1];
    FontDescFace(desc, face);
    strcpy(out->lfFaceName, face[0] == '@' ? face + 1 : face);
    out->lfHeight = -NumMulDiv(desc->size, DrawGetResolution(device).cy, FONT_QUARTER_POINTS_PER_INCH);
}

void FontDescFromLogFont(int32_t device, const LOGFONTA *logFont, FontDesc *out) {
    memset(out, 0, sizeof *out);
    uint16_t style = logFont->lfWeight >= FONT_BOLD_WEIGHT ? FONT_BOLD : 0;
    if (logFont->lfItalic) style |= FONT_ITALIC;
    if (logFont->lfStrikeOut) style |= FONT_STRIKEOUT;
    if (logFont->lfUnderline) style |= FONT_UNDERLINE;
    out->style = (uint16_t)(style | (logFont->lfPitchAndFamily & 0x73) << 8);
    StrCopyMaxLen(logFont->lfFaceName, out->face, FONT_FACE_MAX);
    out->charset = logFont->lfCharSet;
    int32_t resolution = DrawGetResolution(device).cy;
    int32_t size =
        resolution ? NumMulDiv(Abs(logFont->lfHeight), FONT_QUARTER_POINTS_PER_INCH, resolution) : 0;
    out->size = (uint16_t)ClampValue(size, 0, 0xFFFF);
}

bool FontDescFromFont(HFONT font, int32_t device, FontDesc *out) {
    LOGFONTA logFont;
    if (!font || !GetObjectA(font, sizeof logFont, &logFont)) return false;
    FontDescFromLogFont(device, &logFont, out);
    return true;
}

// The dialog knows nothing of the narrow punctuation, which stays as it was.
bool AskFontDesc(const char *title, int32_t device, FontDesc *desc) {
    LOGFONTA logFont;
    FontDescToLogFont(device, desc, &logFont);
    if (!AskFont(title, &logFont, device != DRAW_PRINTER, device == DRAW_PRINTER)) return false;
    uint16_t narrow = desc->style & FONT_NARROW_PUNCT;
    FontDescFromLogFont(device, &logFont, desc);
    desc->style |= narrow;
    return true;
}

bool FontFromStock(int stockObject, FontDesc *out) {
    return FontDescFromFont((HFONT)GetStockObject(stockObject), DRAW_SCREEN, out);
}

int32_t FontSizeToPoints(int32_t quarterPoints) {
    return NumMulDiv(quarterPoints, 1, 4);
}

uint32_t CharsetToCodePage(int charset) {
    switch (charset) {
    case 128: return 932;
    case 130: return 1361;
    case 136: return 936;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 874;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    }
    return 1252;
}

// ---- Making fonts

int32_t FontZoomedSize(int32_t device, int32_t size) {
    if (device != DRAW_SCREEN || fontZoom == 100) return size;
    return Clamp(NumMulDiv(size, fontZoom, 100), FONT_ZOOM_MIN, FONT_ZOOM_MAX);
}

static HFONT FontDeviceDefault() {
    return (HFONT)GetStockObject(DEVICE_DEFAULT_FONT);
}

HFONT FontCreate(int32_t device, const FontDesc *desc) {
    FontDesc zoomed = *desc;
    zoomed.size = (uint16_t)FontZoomedSize(device, desc->size);
    LOGFONTA logFont;
    FontDescToLogFont(device, &zoomed, &logFont);
    HFONT font = CreateFontIndirectA(&logFont);
    return font ? font : FontDeviceDefault();
}

// On one device the copy keeps the font's own height: described and made again, a zoomed screen font would
// be zoomed a second time.
HFONT FontCreateBold(int32_t measureDevice, int32_t createDevice, HFONT font) {
    if (measureDevice == createDevice) {
        LOGFONTA logFont;
        if (!font || !GetObjectA(font, sizeof logFont, &logFont)) return FontDeviceDefault();
        logFont.lfWeight = FW_BOLD;
        HFONT bold = CreateFontIndirectA(&logFont);
        return bold ? bold : FontDeviceDefault();
    }
    FontDesc desc;
    if (!FontDescFromFont(font, measureDevice, &desc)) return FontDeviceDefault();
    desc.style |= FONT_BOLD;
    return FontCreate(createDevice, &desc);
}

int32_t FontLineHeight(int32_t device, HFONT font) {
    HDC dc = DrawGetDC(device);
    if (!dc) return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// ---- Measuring

static void FontMeasureWidths(FontRecord *record, HDC dc) {
    INT widths[256] = {};
    GetCharWidth32A(dc, 0, 255, widths);
    record->widths[0] = 0;
    for (int c = 1; c < 256; c++) record->widths[c] = widths[c] - record->metrics.tmOverhang;
    record->avgWidth = record->widths[fontAverageChar];
    if (record->desc.style & FONT_NARROW_PUNCT) {
        for (unsigned char c : {'!', '-', '/', '|'}) record->widths[c] = record->avgWidth;
        record->secondWidth = record->widths[fontSecondChar];
    } else {
        record->secondWidth = record->widths[' '];
    }
    record->abcValid = GetCharABCWidthsA(dc, 0, 255, record->abc) != 0;
}

// Bytes below 128 are whole characters unless a lead byte of the code page is below 128.
static void FontMeasureCodePage(FontRecord *record) {
    record->asciiSafe = true;
    record->codePage = 0;
    memset(&record->cpInfo, 0, sizeof record->cpInfo);
    if (!record->desc.charset) return;
    record->codePage = CharsetToCodePage(record->desc.charset);
    if (!GetCPInfo(record->codePage, &record->cpInfo)) return;
    for (int i = 0; i < MAX_LEADBYTES && record->cpInfo.LeadByte[i]; i++)
        if (record->cpInfo.LeadByte[i] < 128) record->asciiSafe = false;
}

static void FontMeasure(FontRecord *record, HDC dc) {
    if (!record->font) record->font = FontCreate(record->device, &record->desc);
    HGDIOBJ previous = SelectObject(dc, record->font);
    if (!previous) previous = SelectObject(dc, FontDeviceDefault());
    GetTextMetricsA(dc, &record->metrics);
    if (!fontKeepLeading) {
        int32_t half = (record->metrics.tmInternalLeading + 1) / 2;
        record->metrics.tmHeight -= half;
        record->metrics.tmAscent -= half;
        record->metrics.tmInternalLeading -= half;
    }
    record->lineHeight = record->metrics.tmHeight + record->metrics.tmExternalLeading;
    FontMeasureWidths(record, dc);
    FontMeasureCodePage(record);
    SelectObject(dc, previous);
}

// A device without a DC (no printer yet) gets the default record's measures.
static void FontMeasureOn(FontRecord *record, int32_t device) {
    if (HDC dc = DrawGetDC(device)) {
        FontMeasure(record, dc);
        return;
    }
    FontRecord *next = record->next;
    HFONT font = record->font;
    FontDesc desc = record->desc;
    *record = fontDefault;
    record->next = next;
    record->font = font;
    record->device = device;
    record->desc = desc;
    FontMeasureCodePage(record);
}

bool FontInit() {
    memset(&fontDefault, 0, sizeof fontDefault);
    fontDefault.font = FontDeviceDefault();
    if (HDC dc = DrawGetDC(DRAW_SCREEN)) FontMeasure(&fontDefault, dc);
    return true;
}

FontRecord *FontGet(int32_t device, const FontDesc *desc) {
    for (FontRecord **link = &fontList; *link; link = &(*link)->next) {
        FontRecord *record = *link;
        if (record->device != device || !FontDescEqual(&record->desc, desc)) continue;
        *link = record->next;
        record->next = fontList;
        fontList = record;
        if (!record->font) record->font = FontCreate(device, &record->desc);
        return record;
    }
    FontRecord *record = (FontRecord *)MemAlloc(sizeof(FontRecord));
    if (!record) return &fontDefault;
    record->desc = *desc;
    record->desc.face[FONT_FACE_MAX] = 0;
    record->device = device;
    record->font = FontCreate(device, &record->desc);
    record->next = fontList;
    fontList = record;
    fontCount++;
    FontMeasureOn(record, device);
    return record;
}

HFONT FontSelect(HDC dc, int32_t device, const FontDesc *desc) {
    return (HFONT)SelectObject(dc, FontGet(device, desc)->font);
}

// ---- Freeing

static void FontDropHandle(FontRecord *record) {
    if (record->font && record->font != FontDeviceDefault()) DeleteObject(record->font);
    record->font = nullptr;
}

static bool FontOfDevice(const FontRecord *record, int32_t device) {
    return device == FONT_ALL_DEVICES || record->device == device;
}

void FontFreeDevice(int32_t device) {
    fontRecordStamp++;
    for (FontRecord **link = &fontList; *link;) {
        FontRecord *record = *link;
        if (!FontOfDevice(record, device)) {
            link = &record->next;
            continue;
        }
        *link = record->next;
        FontDropHandle(record);
        MemFree(record);
        fontCount--;
    }
}

uint32_t FontRecordStamp() {
    return fontRecordStamp;
}

void FontTrim(int32_t device, int32_t keep) {
    if (fontCount <= keep) return;
    int32_t position = 0;
    for (FontRecord *record = fontList; record; record = record->next, position++)
        if (position > keep && FontOfDevice(record, device)) FontDropHandle(record);
}

void FontRelease() {
    FontTrim(FONT_ALL_DEVICES, FONT_RELEASE_KEEP);
}

void FontExit() {
    FontFreeDevice(FONT_ALL_DEVICES);
    memset(&fontDefault, 0, sizeof fontDefault);
}

// ---- Settings

int32_t FontSetZoom(int32_t percent) {
    int32_t previous = fontZoom;
    if (percent > 0 && percent != fontZoom) {
        FontFreeDevice(DRAW_SCREEN);
        fontZoom = percent;
    }
    return previous;
}

bool FontSetKeepLeading(bool keep) {
    bool previous = fontKeepLeading;
    if (keep != fontKeepLeading) {
        FontFreeDevice(FONT_ALL_DEVICES);
        fontKeepLeading = keep;
        if (fontDefault.font) FontInit();
    }
    return previous;
}

void FontSetMeasureChars(int averageChar, int secondChar) {
    fontAverageChar = averageChar & 0xFF;
    fontSecondChar = secondChar & 0xFF;
}

void FontInstallHooks() {
    SysSetFontZoomHook(FontSetZoom);
}
