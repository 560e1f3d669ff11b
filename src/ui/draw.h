// draw: the library's shared painting kit (prefixes Draw, Bitmap, and WndSetTransparency / WndIsLayered).
// DrawInit measures the display into one global record of drawing metrics, makes the scratch DC, loads the
// cursors, brushes and pens everyone uses, and finds out which optional services exist (3-D controls on old
// systems, gradient fills, layered windows, several monitors). The operations below draw frames, outlines,
// gradients, tiled bitmaps, check boxes and embossed text, give XOR feedback for drags, animate zooms, scroll
// smoothly, make top-level windows transparent, buffer drawing off screen and convert units between the
// screen, the printer and quarter points.
// Success: true, a handle or a value; failure false or null (DrawInit sets the current error).
#pragma once

#include "base/rect.h"
#include "ui/font.h"

#include <windows.h>

#include <cstdint>

enum DrawDevice : int32_t { DRAW_SCREEN = 0, DRAW_PRINTER = 1 };

enum { DRAW_MONITORS_MAX = 16 }; // monitors the metrics keep; further ones are left out

extern const char ercScratchDC[]; // "Can't create scratch HDC"

// The drawing metrics, filled by DrawInit; other modules read its members.
struct DrawMetrics {
    int32_t dpiX; // screen pixels per logical inch
    int32_t dpiY;
    int32_t screenWidth;
    int32_t screenHeight;
    RECT workArea;
    RECT virtualScreen;
    int32_t sysFontHeight;
    int32_t sysFontAvgWidth;
    int32_t guiFontHeight; // at least 4
    int32_t guiFontAvgWidth;
    int32_t blankWidth; // of the system font
    int32_t nWidth;     // of "N" in the system font
    int32_t halfDpiX;
    uint32_t colors; // 2 to the power of the colour bits; all ones at 32 bits and more
    HFONT sysFont;
    HFONT guiFont;
    HDC scratchDC; // a memory DC compatible with the screen
    COLORREF colorWindow;
    COLORREF colorWindowText;
    COLORREF colorBtnFace;
    COLORREF colorBtnText;
    COLORREF colorBtnShadow;
    COLORREF colorBtnHighlight;
    COLORREF color3DDarkShadow;
    COLORREF colorAppWorkspace;
    COLORREF colorActiveCaption;
    COLORREF colorCaptionText;
    COLORREF colorHighlight;
    COLORREF colorHighlightText;
    COLORREF colorGrayText;
    HBRUSH brushWhite; // stock
    HBRUSH brushWindow;
    HBRUSH brushBtnFace;
    HBRUSH brushHighlight;
    HPEN penLightGrey; // solid, 1 pixel, RGB 192, 192, 192
    HPEN penGrey;      // solid, 1 pixel, RGB 128, 128, 128
    HPEN penDotted;    // dotted, 1 pixel, light grey
    HBITMAP bmpSizeBox;
    HBITMAP bmpMarble; // "bmpMarbleHi" above 256 colours, else "bmpMarbleLow"
    HCURSOR cursorArrow;
    HCURSOR cursorIBeam;
    HCURSOR cursorWait;
    HCURSOR cursorSizeWE;
    HCURSOR cursorSizeNS;
    HCURSOR cursorHand; // null before Windows 98 and 2000
    HCURSOR cursorBackArrow;
    HCURSOR cursorDrag;
    HCURSOR cursorDragAdd;
    HCURSOR cursorNoAccess;
    HCURSOR cursorLineIns;
    FontDesc guiFontDesc;
    bool themeAtStart; // a visual style was active when the metrics were taken
    bool multiMonitor;
    int32_t monitorCount; // the rectangles kept below
    RECT monitors[DRAW_MONITORS_MAX];
};
extern DrawMetrics drawMetrics;

// Start-up: fills the metrics from the display; the program key's "MultiMonitor" value decides about
// several monitors. Fails with "Can't create scratch HDC". DrawExit frees what DrawInit made.
bool DrawInit(HKEY programKey);
void DrawExit();
bool DrawIsHiColor(); // more than 256 colours
// The wait cursor of the metrics (null before DrawInit: the system's), for the wait cursor's hooks.
void *DrawWaitCursor();

// Switches the application sets from its settings; off until set. Setting smooth scrolling also stamps the
// scroll clock, as does every input that should keep a following scroll from animating.
void DrawSetSmoothScroll(bool on);
void DrawSetAnimation(bool on);
void DrawSetGradients(bool on);
void DrawScrollClockStamp();

// The 3-D control library's entries, while the program is registered with it (systems before version 4).
struct DrawCtl3dCalls {
    BOOL(WINAPI *registerApp)(HINSTANCE instance);
    BOOL(WINAPI *unregisterApp)(HINSTANCE instance);
    BOOL(WINAPI *autoSubclass)(HINSTANCE instance);
    BOOL(WINAPI *subclassDlg)(HWND dialog, WORD flags);
    HBRUSH(WINAPI *ctlColorEx)(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL(WINAPI *colorChange)();
    LONG(WINAPI *dlgFramePaint)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL(WINAPI *subclassDlgEx)(HWND dialog, DWORD flags);
};
const DrawCtl3dCalls *DrawCtl3d(); // null when 3-D controls are not used

// Text and shapes. Rectangles exclude their right and bottom edges; outlines use the DC's current pen.
int32_t DrawTextWidth(HDC dc, const char *text, int32_t length);
SIZE DrawTextExtent(HDC dc, const char *text, int32_t length);
void DrawFillRect(HDC dc, const RECT *rect, COLORREF color);
void DrawRectOutline(HDC dc, const RECT *rect);                 // nothing for an empty rectangle
void DrawRectOutlineInset(HDC dc, const RECT *rect, int32_t n); // right and bottom edges n pixels inside
void Draw3DRectEx(HDC dc, const RECT *rect, bool sunken);
void Draw3DRect(HDC dc, const RECT *rect); // sunken
void DrawDeep3DRect(HDC dc, const RECT *rect, bool sunken);
// Fill and outline with a drop shadow outside the bottom and right edges.
void DrawShadowBox(HDC dc, const RECT *rect, COLORREF fill, COLORREF shadow);
void DrawShadowEllipse(HDC dc, const RECT *rect, COLORREF color, COLORREF shadow);
// Every other pixel from the start to before the end, the first one set.
void DrawDottedLineV(HDC dc, int32_t x, int32_t y, int32_t end, COLORREF color);
void DrawDottedLineH(HDC dc, int32_t x, int32_t y, int32_t end, COLORREF color);
void DrawCross(HDC dc, const RECT *rect);
enum DrawCheckState : int32_t { DRAW_CHECK_CLEAR = 0, DRAW_CHECK_CHECKED = 1, DRAW_CHECK_MIXED = 2 };
void DrawCheckBox(HDC dc, int32_t x, int32_t y, int32_t size, DrawCheckState state);
void DrawEmbossedText(HDC dc, int32_t x, int32_t y, const char *text, bool white);

// Bitmaps.
void DrawTileBitmap(HDC dc, const RECT *rect, HBITMAP bitmap, DWORD rop); // light grey without a bitmap
bool DrawBitmap(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, DWORD rop);
bool BitmapGetSize(HBITMAP bitmap, int32_t *width, int32_t *height);
HBITMAP BitmapStretchCopy(HBITMAP bitmap, int32_t width, int32_t height);

// Gradients: a solid fill of the first colour when gradients are off, the display has 256 colours or fewer,
// a remote session bars them ("RemoteNoColorGrad") or the system cannot draw them.
enum DrawGradientMode : int32_t { DRAW_GRADIENT_H = 0, DRAW_GRADIENT_V = 1 }; // left to right, top to bottom
void DrawGradient(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2, DrawGradientMode mode,
                  int32_t alpha);
void DrawGradientH(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2);
void DrawGradientV(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2);
// The gradient over the first extent pixels along the mode's direction, the rest in the second colour.
void DrawGradientPart(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2, DrawGradientMode mode,
                      int32_t alpha, int32_t extent);
bool DrawCanGradient();

// Backgrounds of bars and dialogs: white on a layered window, the marble texture when background textures
// are in use, the visual style's part (part 0 when the style does not define it), a button-face gradient
// (110 % to 90 %) when allowed, else the button face.
void DrawBackgroundEx(HDC dc, const wchar_t *className, int part, const RECT *clip, const RECT *rect,
                      bool gradient);
void DrawRebarBackground(HDC dc, const RECT *rect); // class "REBAR", part 3, gradient allowed
// Takes the window's rectangle (in the parent's client coordinates) out of the DC's clip region.
void DrawExcludeWindow(HDC dc, HWND parent, HWND window);

// Scrolls the rectangle (null: the client area) by dx, dy: in smooth steps when smooth scrolling is on and
// the move is small, only an invalidation when the move reaches past the rectangle.
void DrawScrollWindow(HWND window, const RECT *rect, int32_t dx, int32_t dy);
// XOR zoom animation from one rectangle to the other on the DC (null: the screen), while animation is on.
void DrawZoomRect(HDC dc, const RECT *from, const RECT *to);
void DrawZoomWindows(HWND from, HWND to);
// An XOR line across the limit rectangle follows the mouse while the primary button is down: vertical
// (DRAW_TRACK_VERTICAL) at the cursor's x, horizontal at its y, the cursor clamped into the limit
// (screen coordinates). At the button's release the point becomes the last position and delta its move
// along the line's axis; true when it moved. An abort (Esc) leaves both and answers false. The mouse
// capture is released at the end.
enum DrawTrackOrientation : int32_t { DRAW_TRACK_VERTICAL = 0, DRAW_TRACK_HORIZONTAL = 1 };
bool DrawTrackLine(POINT *point, const RECT *limit, DrawTrackOrientation orientation, int32_t *delta);
// The point lies within 3 pixels of the segment.
bool DrawHitSegment(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Transparency of a top-level window in percent: opacity 100 - percent, kept within 10..100; 100 % opacity
// drops the layered style. Nothing happens where transparent windows cannot be used, and the request then
// succeeds; false when the system refuses (its error is saved).
bool WndSetTransparency(HWND window, int32_t percent);
bool WndIsLayered(HWND window); // transparent windows can be used and the window or an ancestor is layered

// Off-screen drawing: a begin returns the DC to draw on, the end copies the buffer to the target and
// returns the target. Begins nest. No buffer is used in a remote session, when the whole primary monitor is
// to be covered (no window) on several monitors, or when the memory DC or bitmap cannot be made: drawing
// then goes straight to the target. With a window the buffer covers its client area, else the primary
// monitor; with copy it starts with the target's contents.
struct DrawBuffer {
    int32_t count;
    HDC target;
    HDC memory;
    HBITMAP bitmap;
    Xywh rect;        // the covered rectangle in the target's coordinates
    HGDIOBJ previous; // the memory DC's bitmap before the buffer's
};
void DrawBufferClear(DrawBuffer *buffer);
HDC DrawBufferBegin(DrawBuffer *buffer, HDC dc, HWND window, bool copy);
HDC DrawBufferEnd(DrawBuffer *buffer, bool force); // an inner end returns the target unless forced

// XOR feedback on a DC (null: the screen), drawn through an off-screen buffer with a solid pen of the colour
// and width and the XOR mix: drawing the same frame twice erases it. Each frame shows at once.
struct DrawXor {
    HDC screen; // released at the end when the screen was asked for
    DrawBuffer buffer;
    HDC dc; // where the figures go
    HPEN pen;
    HGDIOBJ previousPen;
    HGDIOBJ previousBrush;
    int previousMix;
};
void DrawXorBegin(DrawXor *x, HDC dc, COLORREF color, int32_t width);
void DrawXorFrame(DrawXor *x, const RECT *rect); // the outline along the rectangle's edges; nothing if empty
void DrawXorEnd(DrawXor *x);

// Devices: the screen's scratch DC, or the printer's DC from the print manager (null until it registers).
HDC DrawGetDC(int32_t device);
SIZE DrawGetResolution(int32_t device); // pixels per inch; 0 for a device that is not there

// Unit conversions (rounded); 0 where a resolution is 0.
int32_t DrawScreenToPrinterX(int32_t pixels);
int32_t DrawScreenToPrinterY(int32_t pixels);
int32_t DrawPointHundredthsToPrinterX(int32_t hundredths); // 1/7200 inch
int32_t DrawPointHundredthsToPrinterY(int32_t hundredths);
int32_t DrawPrinterToQuarterPoints(int32_t pixels); // vertical resolution
int32_t DrawScreenToQuarterPoints(int32_t pixels);
int32_t DrawQuarterPointsToPrinter(int32_t quarterPoints);
int32_t DrawQuarterPointsToScreen(int32_t quarterPoints);

// Hook: whether bar, dialog and list backgrounds tile the marble texture (the shell's "Use background
// textures" with no visual style); false while unset.
typedef bool (*DrawTexturesHook)();
void DrawSetTexturesHook(DrawTexturesHook hook);
bool DrawUsesTextures(); // the hook's answer
// Hook: the printer's DC, readied by the print manager, with its pixels per inch; null (no printer) while
// unset or when there is none.
typedef HDC (*DrawPrinterHook)(SIZE *resolution);
void DrawSetPrinterHook(DrawPrinterHook hook);

// Test seams. The display's colour count that DrawInit takes (0: the device's). The run-time libraries:
// while set, each library loads from this table (a null entry is missing) and is looked up again.
void DrawSetTestColorCount(uint32_t colors);
struct DrawLibraries {
    DrawCtl3dCalls ctl3d;
    BOOL(WINAPI *gradientFill)
    (HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh, ULONG meshCount, ULONG mode);
    BOOL(WINAPI *setLayeredWindowAttributes)(HWND window, COLORREF key, BYTE alpha, DWORD flags);
};
void DrawSetTestLibraries(const DrawLibraries *libraries);
