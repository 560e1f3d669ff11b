// draw: the drawing metrics, the optional system services and the painting operations (prefixes Draw,
// Bitmap, and WndSetTransparency / WndIsLayered). Each run-time library is loaded at most once and kept:
// "ctl3d32.dll" at DrawInit on systems before version 4 (all eight entries or none), "msimg32.dll" at the
// first gradient, SetLayeredWindowAttributes of "user32.dll" at the first transparency request. A missing
// library degrades silently to the plain behaviour.
#include "ui/draw.h"

#include "base/erc.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/toolbox.h"
#include "base/num.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/sysprobe.h"
#include "base/monitor.h"
#include "base/rect.h"
#include "ui/bmp.h"
#include "ui/color.h"
#include "ui/pen.h"
#include "ui/theme.h"
#include "ui/track.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

const char ercScratchDC[] = "Can't create scratch HDC";

DrawMetrics drawMetrics;

enum : int32_t {
    DRAW_OBM_BTSIZE = 32761,
    DRAW_HIT_SLACK = 3,
    DRAW_SCROLL_STEPS_MAX = 7,
    DRAW_SCROLL_QUICK_MS = 250,
    DRAW_ZOOM_FRAMES_MAX = 12,
    DRAW_ZOOM_PIXELS_PER_FRAME = 25,
    DRAW_ZOOM_FRAME_MS = 8,
    DRAW_ZOOM_PEN = 3,
    DRAW_TRACK_PEN = 3,
    DRAW_THEME_STATE_NORMAL = 1,
    DRAW_BUTTON_CHECKBOX = 3, // the "button" class's check box part
    DRAW_REBAR_BACKGROUND = 3,
};

static const COLORREF drawLightGrey = RGB(192, 192, 192);
static const COLORREF drawGrey = RGB(128, 128, 128);
static const COLORREF drawDarkGrey = RGB(96, 96, 96);
static const COLORREF drawWhite = RGB(255, 255, 255);

static bool drawSmoothScroll;
static bool drawAnimation;
static bool drawGradients;
static uint32_t drawScrollStamp;
static DrawTexturesHook drawTexturesHook;
static DrawPrinterHook drawPrinterHook;
static uint32_t drawTestColors;
static const DrawLibraries *drawTestLibraries;

// ---- Run-time libraries

static HMODULE drawCtl3dLibrary;
static bool drawCtl3dLooked;
static DrawCtl3dCalls drawCtl3dCalls;
static bool drawCtl3dRegistered; // so that a second register or unregister does nothing
static bool drawGradientLooked;
static HMODULE drawMsimgLibrary;
static decltype(DrawLibraries::gradientFill) drawGradientFill;
static bool drawLayeredLooked;
static decltype(DrawLibraries::setLayeredWindowAttributes) drawSetLayered;

typedef void (*DrawAnyFn)();

template <typename Fn>
static Fn DrawProc(HMODULE module, const char *name) {
    return module ? (Fn)(DrawAnyFn)GetProcAddress(module, name) : nullptr;
}

static const char *const drawCtl3dNames[] = {
    "Ctl3dRegister",   "Ctl3dUnregister",  "Ctl3dAutoSubclass",  "Ctl3dSubclassDlg",
    "Ctl3dCtlColorEx", "Ctl3dColorChange", "Ctl3dDlgFramePaint", "Ctl3dSubclassDlgEx",
};
static_assert(sizeof(DrawCtl3dCalls) == sizeof drawCtl3dNames / sizeof drawCtl3dNames[0] * sizeof(DrawAnyFn));

// The 3-D control library is used only when every one of its entries is there.
static void DrawLoadCtl3d() {
    if (drawCtl3dLooked) return;
    drawCtl3dLooked = true;
    DrawAnyFn *slots = (DrawAnyFn *)&drawCtl3dCalls;
    if (drawTestLibraries) {
        drawCtl3dCalls = drawTestLibraries->ctl3d;
    } else if ((drawCtl3dLibrary = LoadLibraryA("ctl3d32.dll"))) {
        for (size_t i = 0; i < sizeof drawCtl3dNames / sizeof drawCtl3dNames[0]; i++)
            slots[i] = DrawProc<DrawAnyFn>(drawCtl3dLibrary, drawCtl3dNames[i]);
    }
    for (size_t i = 0; i < sizeof drawCtl3dNames / sizeof drawCtl3dNames[0]; i++)
        if (!slots[i]) {
            drawCtl3dCalls = {};
            if (drawCtl3dLibrary) FreeLibrary(drawCtl3dLibrary);
            drawCtl3dLibrary = nullptr;
            return;
        }
}

static void DrawCtl3dRegister() {
    if (drawCtl3dRegistered || !drawCtl3dCalls.registerApp) return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    drawCtl3dCalls.registerApp(instance);
    drawCtl3dCalls.autoSubclass(instance);
    drawCtl3dRegistered = true;
}

static void DrawCtl3dUnregister() {
    if (!drawCtl3dRegistered) return;
    drawCtl3dCalls.unregisterApp(GetModuleHandleA(nullptr));
    drawCtl3dRegistered = false;
}

const DrawCtl3dCalls *DrawCtl3d() {
    return drawCtl3dRegistered ? &drawCtl3dCalls : nullptr;
}

static decltype(DrawLibraries::gradientFill) DrawGradientEntry() {
    if (drawGradientLooked) return drawGradientFill;
    drawGradientLooked = true;
    if (drawTestLibraries) return drawGradientFill = drawTestLibraries->gradientFill;
    drawMsimgLibrary = LoadLibraryA("msimg32.dll");
    drawGradientFill = DrawProc<decltype(drawGradientFill)>(drawMsimgLibrary, "GradientFill");
    return drawGradientFill;
}

static decltype(DrawLibraries::setLayeredWindowAttributes) DrawLayeredEntry() {
    if (drawLayeredLooked) return drawSetLayered;
    drawLayeredLooked = true;
    if (drawTestLibraries) return drawSetLayered = drawTestLibraries->setLayeredWindowAttributes;
    return drawSetLayered = DrawProc<decltype(drawSetLayered)>(GetModuleHandleA("user32.dll"),
                                                               "SetLayeredWindowAttributes");
}

// Forgets what was looked up, so that the next use looks again (in the test table or the system).
static void DrawForgetLibraries() {
    DrawCtl3dUnregister();
    if (drawCtl3dLibrary) FreeLibrary(drawCtl3dLibrary);
    drawCtl3dLibrary = nullptr;
    drawCtl3dCalls = {};
    drawCtl3dLooked = drawGradientLooked = drawLayeredLooked = false;
    drawGradientFill = nullptr;
    drawSetLayered = nullptr;
}

// ---- Hooks and seams

static void DrawResetSeams() {
    drawTexturesHook = nullptr;
    drawPrinterHook = nullptr;
    drawTestColors = 0;
    drawTestLibraries = nullptr;
    DrawForgetLibraries();
}

void DrawSetTexturesHook(DrawTexturesHook hook) {
    drawTexturesHook = hook;
    SeamRegisterReset(DrawResetSeams);
}

bool DrawUsesTextures() {
    return drawTexturesHook && drawTexturesHook();
}

void DrawSetPrinterHook(DrawPrinterHook hook) {
    drawPrinterHook = hook;
    SeamRegisterReset(DrawResetSeams);
}

void DrawSetTestColorCount(uint32_t colors) {
    drawTestColors = colors;
    SeamRegisterReset(DrawResetSeams);
}

void DrawSetTestLibraries(const DrawLibraries *libraries) {
    DrawForgetLibraries();
    drawTestLibraries = libraries;
    SeamRegisterReset(DrawResetSeams);
}

// ---- Start-up

static void DrawReadScreen() {
    DrawMetrics &m = drawMetrics;
    m.themeAtStart = ThemeIsActive();
    m.screenWidth = SysGetMetrics(SM_CXSCREEN);
    m.screenHeight = SysGetMetrics(SM_CYSCREEN);
    int32_t x = SysGetMetrics(SM_XVIRTUALSCREEN), y = SysGetMetrics(SM_YVIRTUALSCREEN);
    RectSet(&m.virtualScreen, x, y, x + SysGetMetrics(SM_CXVIRTUALSCREEN),
            y + SysGetMetrics(SM_CYVIRTUALSCREEN));
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &m.workArea, 0))
        RectSet(&m.workArea, 0, 0, m.screenWidth, m.screenHeight);
}

static void DrawFontMetrics(HDC screen, HFONT font, int32_t *height, int32_t *avgWidth) {
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    *height = metrics.tmHeight;
    *avgWidth = metrics.tmAveCharWidth;
    SelectObject(screen, previous);
}

static void DrawReadDevice(HDC screen) {
    DrawMetrics &m = drawMetrics;
    int bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    m.colors = drawTestColors ? drawTestColors : bits >= 32 ? 0xFFFFFFFFu : 1u << bits;
    m.sysFont = (HFONT)GetStockObject(SYSTEM_FONT);
    m.guiFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    DrawFontMetrics(screen, m.sysFont, &m.sysFontHeight, &m.sysFontAvgWidth);
    DrawFontMetrics(screen, m.guiFont, &m.guiFontHeight, &m.guiFontAvgWidth);
    m.guiFontHeight = Max(m.guiFontHeight, 4);
    m.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    m.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    m.halfDpiX = m.dpiX / 2;
    HGDIOBJ previous = SelectObject(screen, m.sysFont);
    m.blankWidth = DrawTextWidth(screen, " ", 1);
    m.nWidth = DrawTextWidth(screen, "N", 1);
    SelectObject(screen, previous);
}

static void DrawLoadObjects() {
    DrawMetrics &m = drawMetrics;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m.cursorArrow = LoadCursor(nullptr, IDC_ARROW);
    m.cursorIBeam = LoadCursor(nullptr, IDC_IBEAM);
    m.cursorWait = LoadCursor(nullptr, IDC_WAIT);
    m.cursorSizeWE = LoadCursor(nullptr, IDC_SIZEWE);
    m.cursorSizeNS = LoadCursor(nullptr, IDC_SIZENS);
    m.cursorHand = SysIsWin98Or2000() ? LoadCursor(nullptr, IDC_HAND) : nullptr;
    m.cursorBackArrow = LoadCursorA(instance, "BackArrow");
    m.cursorDrag = LoadCursorA(instance, "Drag");
    m.cursorDragAdd = LoadCursorA(instance, "DragAdd");
    m.cursorNoAccess = LoadCursorA(instance, "NoAccess");
    m.cursorLineIns = LoadCursorA(instance, "LineIns");
    static const int colorIndexes[] = {
        COLOR_WINDOW,       COLOR_WINDOWTEXT,    COLOR_BTNFACE,      COLOR_BTNTEXT,       COLOR_BTNSHADOW,
        COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,    COLOR_APPWORKSPACE, COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT,
        COLOR_HIGHLIGHT,    COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT,
    };
    COLORREF *colors = &m.colorWindow;
    static_assert(offsetof(DrawMetrics, colorGrayText) - offsetof(DrawMetrics, colorWindow) ==
                  (sizeof colorIndexes / sizeof colorIndexes[0] - 1) * sizeof(COLORREF));
    for (size_t i = 0; i < sizeof colorIndexes / sizeof colorIndexes[0]; i++)
        colors[i] = GetSysColor(colorIndexes[i]);
    m.brushWhite = (HBRUSH)GetStockObject(WHITE_BRUSH);
    m.brushWindow = CreateSolidBrush(m.colorWindow);
    m.brushBtnFace = CreateSolidBrush(m.colorBtnFace);
    m.brushHighlight = CreateSolidBrush(m.colorHighlight);
    m.penLightGrey = CreatePen(PS_SOLID, 1, drawLightGrey);
    m.penGrey = CreatePen(PS_SOLID, 1, drawGrey);
    m.penDotted = CreatePen(PS_DOT, 1, drawLightGrey);
    m.bmpSizeBox = LoadBitmapA(nullptr, MAKEINTRESOURCEA(DRAW_OBM_BTSIZE));
    m.bmpMarble = BmpGet(DrawIsHiColor() ? "bmpMarbleHi" : "bmpMarbleLow");
}

static BOOL CALLBACK DrawMonitorFound(HMONITOR, HDC, LPRECT rect, LPARAM) {
    DrawMetrics &m = drawMetrics;
    if (m.monitorCount >= DRAW_MONITORS_MAX) return FALSE;
    m.monitors[m.monitorCount++] = *rect;
    return m.monitorCount < DRAW_MONITORS_MAX;
}

// The program key's "MultiMonitor" decides; without it several monitors are used where the system knows
// them (98/ME and NT 5 on) and there is more than one.
static void DrawReadMonitors(HKEY programKey) {
    DrawMetrics &m = drawMetrics;
    int32_t setting;
    if (RegQueryInt(programKey, "MultiMonitor", &setting))
        m.multiMonitor = setting != 0;
    else
        m.multiMonitor = SysIsWin98Or2000() && SysGetMetrics(SM_CMONITORS) > 1;
    m.monitorCount = 0;
    if (m.multiMonitor) SysEnumMonitors(nullptr, nullptr, DrawMonitorFound, 0);
    if (m.monitorCount == 0) {
        m.monitorCount = 1;
        RectSet(&m.monitors[0], 0, 0, m.screenWidth, m.screenHeight);
    }
}

void *DrawWaitCursor() {
    return drawMetrics.cursorWait;
}

bool DrawInit(HKEY programKey) {
    memset(&drawMetrics, 0, sizeof drawMetrics);
    DrawReadScreen();
    HDC screen = GetDC(nullptr);
    if (!screen) {
        ErcSetAt(__FILE__, __LINE__, ercScratchDC);
        return false;
    }
    DrawReadDevice(screen);
    drawMetrics.scratchDC = CreateCompatibleDC(screen);
    if (!drawMetrics.scratchDC) {
        ReleaseDC(nullptr, screen);
        ErcSetAt(__FILE__, __LINE__, ercScratchDC);
        return false;
    }
    DrawLoadObjects();
    ReleaseDC(nullptr, screen);
    if (!SysIsWin4()) {
        DrawLoadCtl3d();
        DrawCtl3dRegister();
    }
    FontFromStock(DEFAULT_GUI_FONT, &drawMetrics.guiFontDesc);
    DrawReadMonitors(programKey);
    return true;
}

void DrawExit() {
    DrawMetrics &m = drawMetrics;
    DrawCtl3dUnregister();
    for (HGDIOBJ object :
         {(HGDIOBJ)m.brushWindow, (HGDIOBJ)m.brushBtnFace, (HGDIOBJ)m.brushHighlight, (HGDIOBJ)m.penLightGrey,
          (HGDIOBJ)m.penGrey, (HGDIOBJ)m.penDotted, (HGDIOBJ)m.bmpSizeBox})
        if (object) DeleteObject(object);
    if (m.cursorBackArrow) DestroyCursor(m.cursorBackArrow);
    if (m.scratchDC) DeleteDC(m.scratchDC);
    BmpRelease(m.bmpMarble);
    memset(&drawMetrics, 0, sizeof drawMetrics);
}

bool DrawIsHiColor() {
    return drawMetrics.colors > 256;
}

void DrawSetSmoothScroll(bool on) {
    drawSmoothScroll = on;
    DrawScrollClockStamp();
}

void DrawSetAnimation(bool on) {
    drawAnimation = on;
}

void DrawSetGradients(bool on) {
    drawGradients = on;
}

void DrawScrollClockStamp() {
    drawScrollStamp = TickNow();
}

// ---- Text and shapes

int32_t DrawTextWidth(HDC dc, const char *text, int32_t length) {
    return DrawTextExtent(dc, text, length).cx;
}

SIZE DrawTextExtent(HDC dc, const char *text, int32_t length) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    return size;
}

void DrawFillRect(HDC dc, const RECT *rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

static void DrawLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void DrawRectOutlineInset(HDC dc, const RECT *rect, int32_t n) {
    if (RectIsEmpty(rect)) return;
    int32_t right = rect->right - n, bottom = rect->bottom - n;
    MoveToEx(dc, rect->left, rect->top, nullptr);
    LineTo(dc, right, rect->top);
    LineTo(dc, right, bottom);
    LineTo(dc, rect->left, bottom);
    LineTo(dc, rect->left, rect->top);
}

void DrawRectOutline(HDC dc, const RECT *rect) {
    DrawRectOutlineInset(dc, rect, 1);
}

// Left and top edges in the first colour, right and bottom in the second.
static void DrawTwoToneRect(HDC dc, const RECT *rect, COLORREF topLeft, COLORREF bottomRight) {
    if (RectIsEmpty(rect)) return;
    int32_t right = rect->right - 1, bottom = rect->bottom - 1;
    HPEN previous = PenSelectSolid(dc, topLeft);
    MoveToEx(dc, rect->left, bottom, nullptr);
    LineTo(dc, rect->left, rect->top);
    LineTo(dc, right, rect->top);
    PenSelectSolid(dc, bottomRight);
    LineTo(dc, right, bottom);
    LineTo(dc, rect->left - 1, bottom);
    SelectObject(dc, previous);
}

void Draw3DRectEx(HDC dc, const RECT *rect, bool sunken) {
    COLORREF shadow = drawMetrics.colorBtnShadow, highlight = drawMetrics.colorBtnHighlight;
    DrawTwoToneRect(dc, rect, sunken ? shadow : highlight, sunken ? highlight : shadow);
}

void Draw3DRect(HDC dc, const RECT *rect) {
    Draw3DRectEx(dc, rect, true);
}

void DrawDeep3DRect(HDC dc, const RECT *rect, bool sunken) {
    COLORREF dark = RGB(0, 0, 0), light = drawMetrics.colorBtnShadow;
    DrawTwoToneRect(dc, rect, sunken ? dark : light, sunken ? light : dark);
}

// A shadow line just outside the bottom and right edges, offset pixels out: from 3 pixels right of the left
// edge along the bottom and up the right side to 3 pixels below the top.
static void DrawShadowLine(HDC dc, const RECT *rect, int32_t offset, COLORREF color) {
    HPEN previous = PenSelectSolid(dc, color);
    int32_t bottom = rect->bottom + offset, right = rect->right + offset;
    MoveToEx(dc, rect->left + 3, bottom, nullptr);
    LineTo(dc, right, bottom);
    LineTo(dc, right, rect->top + 2);
    SelectObject(dc, previous);
}

void DrawShadowBox(HDC dc, const RECT *rect, COLORREF fill, COLORREF shadow) {
    DrawFillRect(dc, rect, fill);
    DrawRectOutline(dc, rect);
    if (DrawIsHiColor()) {
        DrawShadowLine(dc, rect, 0, drawDarkGrey);
        DrawShadowLine(dc, rect, 1, drawGrey);
    } else {
        DrawShadowLine(dc, rect, 0, shadow);
        DrawShadowLine(dc, rect, 1, shadow);
    }
}

static void DrawEllipseIn(HDC dc, const RECT *rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HPEN previousPen = PenSelectSolid(dc, color);
    Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
}

void DrawShadowEllipse(HDC dc, const RECT *rect, COLORREF color, COLORREF shadow) {
    RECT moved = *rect;
    RectOffset(&moved, 2, 2);
    DrawEllipseIn(dc, &moved, shadow);
    DrawEllipseIn(dc, rect, color);
}

void DrawDottedLineV(HDC dc, int32_t x, int32_t y, int32_t end, COLORREF color) {
    for (; y < end; y += 2) SetPixelV(dc, x, y, color);
}

void DrawDottedLineH(HDC dc, int32_t x, int32_t y, int32_t end, COLORREF color) {
    for (; x < end; x += 2) SetPixelV(dc, x, y, color);
}

void DrawCross(HDC dc, const RECT *rect) {
    if (RectIsEmpty(rect)) return;
    DrawLine(dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawLine(dc, rect->left, rect->bottom - 1, rect->right, rect->top - 1);
}

static bool DrawThemedCheckBox(HDC dc, const RECT *rect, DrawCheckState state) {
    static const int states[] = {1, 5, 9}; // normal: clear, checked, mixed
    if (!ThemeIsActive()) return false;
    HTHEME theme = ThemeOpen(nullptr, L"button");
    if (!theme) return false;
    ThemeDrawBackground(theme, dc, DRAW_BUTTON_CHECKBOX, states[state], rect, nullptr);
    ThemeClose(theme);
    return true;
}

void DrawCheckBox(HDC dc, int32_t x, int32_t y, int32_t size, DrawCheckState state) {
    if (state < DRAW_CHECK_CLEAR || state > DRAW_CHECK_MIXED) state = DRAW_CHECK_CLEAR;
    RECT rect = {x, y, x + size, y + size};
    if (DrawThemedCheckBox(dc, &rect, state)) return;
    if (state == DRAW_CHECK_MIXED) DrawFillRect(dc, &rect, drawLightGrey);
    DrawRectOutline(dc, &rect);
    if (state == DRAW_CHECK_CLEAR) return;
    RectInset(&rect, 2, 2);
    DrawCross(dc, &rect);
}

void DrawEmbossedText(HDC dc, int32_t x, int32_t y, const char *text, bool white) {
    int length = (int)strlen(text);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF textColor = GetTextColor(dc);
    SetTextColor(dc, drawGrey);
    TextOutA(dc, x, y, text, length);
    if (!drawMetrics.themeAtStart) {
        SetTextColor(dc, white ? drawWhite : drawLightGrey);
        TextOutA(dc, x - 2, y - 2, text, length);
    }
    SetTextColor(dc, textColor);
    TextOutA(dc, x - 1, y - 1, text, length);
    SetBkMode(dc, previousMode);
}

// ---- Bitmaps

bool BitmapGetSize(HBITMAP bitmap, int32_t *width, int32_t *height) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return true;
}

void DrawTileBitmap(HDC dc, const RECT *rect, HBITMAP bitmap, DWORD rop) {
    int32_t width = 0, height = 0;
    HDC memory = nullptr;
    if (BitmapGetSize(bitmap, &width, &height) && width > 0 && height > 0) memory = CreateCompatibleDC(dc);
    if (!memory) {
        DrawFillRect(dc, rect, drawLightGrey);
        return;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int32_t y = rect->top; y < rect->bottom; y += height)
        for (int32_t x = rect->left; x < rect->right; x += width)
            BitBlt(dc, x, y, Min(width, rect->right - x), Min(height, rect->bottom - y), memory, 0, 0, rop);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

bool DrawBitmap(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, DWORD rop) {
    int32_t width, height;
    if (!BitmapGetSize(bitmap, &width, &height)) return false;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return false;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    bool done = BitBlt(dc, x, y, width, height, memory, 0, 0, rop) != 0;
    SelectObject(memory, previous);
    DeleteDC(memory);
    return done;
}

HBITMAP BitmapStretchCopy(HBITMAP bitmap, int32_t width, int32_t height) {
    int32_t fromWidth, fromHeight;
    if (!BitmapGetSize(bitmap, &fromWidth, &fromHeight)) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    if (copy && from && to) {
        HGDIOBJ previousFrom = SelectObject(from, bitmap), previousTo = SelectObject(to, copy);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, fromWidth, fromHeight, SRCCOPY);
        SelectObject(from, previousFrom);
        SelectObject(to, previousTo);
    } else if (copy) {
        DeleteObject(copy);
        copy = nullptr;
    }
    if (from) DeleteDC(from);
    if (to) DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

// ---- Gradients

bool DrawCanGradient() {
    if (!drawGradients || !DrawIsHiColor()) return false;
    if (SysIsRemoteSession() && ToolboxRemote()->noColorGrad) return false;
    return DrawGradientEntry() != nullptr;
}

static TRIVERTEX DrawVertex(int32_t x, int32_t y, COLORREF color, int32_t alpha) {
    return TRIVERTEX{x,
                     y,
                     (COLOR16)(GetRValue(color) << 8),
                     (COLOR16)(GetGValue(color) << 8),
                     (COLOR16)(GetBValue(color) << 8),
                     (COLOR16)((alpha & 0xFF) << 8)};
}

void DrawGradient(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2, DrawGradientMode mode,
                  int32_t alpha) {
    if (!DrawCanGradient()) {
        DrawFillRect(dc, rect, color1);
        return;
    }
    TRIVERTEX vertices[2] = {DrawVertex(rect->left, rect->top, color1, alpha),
                             DrawVertex(rect->right, rect->bottom, color2, alpha)};
    GRADIENT_RECT mesh = {0, 1};
    drawGradientFill(dc, vertices, 2, &mesh, 1,
                     mode == DRAW_GRADIENT_V ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void DrawGradientH(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2) {
    DrawGradient(dc, rect, color1, color2, DRAW_GRADIENT_H, 0);
}

void DrawGradientV(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2) {
    DrawGradient(dc, rect, color1, color2, DRAW_GRADIENT_V, 0);
}

void DrawGradientPart(HDC dc, const RECT *rect, COLORREF color1, COLORREF color2, DrawGradientMode mode,
                      int32_t alpha, int32_t extent) {
    if (extent == 0 || !DrawCanGradient()) {
        DrawGradient(dc, rect, color1, color2, mode, alpha);
        return;
    }
    RECT head = *rect, rest = *rect;
    if (mode == DRAW_GRADIENT_V)
        head.bottom = rest.top = Min(rect->top + extent, rect->bottom);
    else
        head.right = rest.left = Min(rect->left + extent, rect->right);
    DrawGradient(dc, &head, color1, color2, mode, alpha);
    if (!RectIsEmpty(&rest)) DrawFillRect(dc, &rest, color2);
}

// ---- Backgrounds

// The window under the rectangle's centre, else the DC's own window.
static HWND DrawWindowUnder(HDC dc, const RECT *rect) {
    POINT origin = {};
    GetDCOrgEx(dc, &origin);
    POINT centre = {origin.x + (rect->left + rect->right) / 2, origin.y + (rect->top + rect->bottom) / 2};
    HWND window = WindowFromPoint(centre);
    return window ? window : WindowFromDC(dc);
}

static bool DrawThemedBackground(HDC dc, HWND window, const wchar_t *className, int part, const RECT *clip,
                                 const RECT *rect) {
    HTHEME theme = ThemeOpen(window, className);
    if (!theme) return false;
    if (!ThemeIsPartDefined(theme, part, DRAW_THEME_STATE_NORMAL)) part = 0;
    ThemeDrawBackground(theme, dc, part, DRAW_THEME_STATE_NORMAL, rect, clip);
    ThemeClose(theme);
    return true;
}

void DrawBackgroundEx(HDC dc, const wchar_t *className, int part, const RECT *clip, const RECT *rect,
                      bool gradient) {
    HWND window = DrawWindowUnder(dc, rect);
    COLORREF face = drawMetrics.colorBtnFace;
    if (window && WndIsLayered(window))
        DrawFillRect(dc, rect, drawWhite);
    else if (DrawUsesTextures())
        DrawTileBitmap(dc, rect, drawMetrics.bmpMarble, SRCCOPY);
    else if (ThemeIsActive() && window) {
        if (!DrawThemedBackground(dc, window, className, part, clip, rect)) DrawFillRect(dc, rect, face);
    } else if (gradient && DrawCanGradient())
        DrawGradientH(dc, rect, ColorScale(face, 110), ColorScale(face, 90));
    else
        DrawFillRect(dc, rect, face);
}

void DrawRebarBackground(HDC dc, const RECT *rect) {
    DrawBackgroundEx(dc, L"REBAR", DRAW_REBAR_BACKGROUND, rect, rect, true);
}

void DrawExcludeWindow(HDC dc, HWND parent, HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    WndScreenToClientRect(parent, &rect);
    ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

// ---- Smooth scrolling

static bool DrawScrollIsSmooth(HWND window, int32_t dx, int32_t dy) {
    if (!drawSmoothScroll || WndIsLayered(window)) return false;
    if (SysIsRemoteSession() && ToolboxRemote()->noSmoothScroll) return false;
    if (dx == 0 && dy != 0) return Abs(dy) < drawMetrics.dpiY / 2;
    if (dy == 0 && dx != 0) return Abs(dx) < drawMetrics.dpiX;
    return false;
}

// The step of a smooth scroll: a scroll soon after the last one takes one step, one after a pause of a
// second or more up to eight.
static int32_t DrawScrollStep(int32_t distance, int32_t extent, uint32_t now) {
    uint32_t passed = now - drawScrollStamp; // unsigned: right across the tick count's wrap
    int32_t elapsed = passed > 1000 ? 1000 : Max(1, (int32_t)passed);
    drawScrollStamp = now;
    int32_t c = ClampValue(DRAW_SCROLL_STEPS_MAX * elapsed / 1000, 0, DRAW_SCROLL_STEPS_MAX);
    int32_t d = ClampValue(c * 500 / Max(extent, 1), 0, DRAW_SCROLL_STEPS_MAX);
    return Max(1, distance / (d + 1));
}

void DrawScrollWindow(HWND window, const RECT *rect, int32_t dx, int32_t dy) {
    RECT area;
    if (rect)
        area = *rect;
    else
        GetClientRect(window, &area);
    if (Abs(dx) >= RectWidth(&area) || Abs(dy) > RectHeight(&area)) {
        InvalidateRect(window, &area, FALSE);
        return;
    }
    if (!DrawScrollIsSmooth(window, dx, dy)) {
        ScrollWindowEx(window, dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
        return;
    }
    int32_t distance = Abs(dx + dy), sign = dx + dy < 0 ? -1 : 1;
    int32_t step = DrawScrollStep(distance, dy ? RectHeight(&area) : RectWidth(&area), TickNow());
    for (int32_t done = 0; done < distance;) {
        int32_t n =
            TickNow() - drawScrollStamp > DRAW_SCROLL_QUICK_MS ? distance - done : Min(step, distance - done);
        ScrollWindowEx(window, dx ? sign * n : 0, dy ? sign * n : 0, &area, &area, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE);
        // Each step shows before the next one, or the animation would only be a delay.
        UpdateWindow(window);
        done += n;
    }
}

// ---- XOR feedback

// Shows what was drawn into the buffer so far.
static void DrawBufferShow(const DrawBuffer *buffer) {
    if (!buffer->memory) return;
    const Xywh &r = buffer->rect;
    BitBlt(buffer->target, r.x, r.y, r.w, r.h, buffer->memory, 0, 0, SRCCOPY);
}

void DrawXorBegin(DrawXor *x, HDC dc, COLORREF color, int32_t width) {
    x->screen = dc ? nullptr : GetDC(nullptr);
    DrawBufferClear(&x->buffer);
    x->dc = DrawBufferBegin(&x->buffer, dc ? dc : x->screen, nullptr, true);
    x->pen = CreatePen(PS_SOLID, width, color);
    x->previousPen = SelectObject(x->dc, x->pen);
    x->previousBrush = SelectObject(x->dc, GetStockObject(HOLLOW_BRUSH));
    x->previousMix = SetROP2(x->dc, R2_XORPEN);
}

// One closed figure, so that the corners are not drawn twice and cancelled out.
void DrawXorFrame(DrawXor *x, const RECT *rect) {
    if (RectIsEmpty(rect)) return;
    Rectangle(x->dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawBufferShow(&x->buffer);
}

void DrawXorEnd(DrawXor *x) {
    SetROP2(x->dc, x->previousMix);
    SelectObject(x->dc, x->previousBrush);
    SelectObject(x->dc, x->previousPen);
    DeleteObject(x->pen);
    DrawBufferEnd(&x->buffer, true);
    if (x->screen) ReleaseDC(nullptr, x->screen);
}

static bool DrawAnimates() {
    return drawAnimation && !(SysIsRemoteSession() && ToolboxRemote()->noAnimation);
}

static int32_t DrawBetween(int32_t from, int32_t to, int32_t frame, int32_t frames) {
    return from + (to - from) * frame / frames;
}

void DrawZoomRect(HDC dc, const RECT *from, const RECT *to) {
    if (!DrawAnimates()) return;
    int32_t change = Max(Abs(RectWidth(to) - RectWidth(from)), Abs(RectHeight(to) - RectHeight(from)));
    int32_t frames = Clamp(change / DRAW_ZOOM_PIXELS_PER_FRAME, 1, DRAW_ZOOM_FRAMES_MAX);
    DrawXor x;
    DrawXorBegin(&x, dc, drawLightGrey, DRAW_ZOOM_PEN);
    for (int32_t i = 0; i < frames; i++) {
        RECT r = {DrawBetween(from->left, to->left, i, frames), DrawBetween(from->top, to->top, i, frames),
                  DrawBetween(from->right, to->right, i, frames),
                  DrawBetween(from->bottom, to->bottom, i, frames)};
        DrawRectOutlineInset(x.dc, &r, 3);
        DrawBufferShow(&x.buffer);
        TickBusyWait(DRAW_ZOOM_FRAME_MS);
        DrawRectOutlineInset(x.dc, &r, 3);
    }
    DrawXorEnd(&x);
}

void DrawZoomWindows(HWND from, HWND to) {
    RECT a, b;
    if (!GetWindowRect(from, &a) || !GetWindowRect(to, &b)) return;
    DrawZoomRect(nullptr, &a, &b);
}

static void DrawTrackAt(DrawXor *x, POINT point, const RECT *limit, DrawTrackOrientation orientation) {
    if (orientation == DRAW_TRACK_HORIZONTAL)
        DrawLine(x->dc, limit->left, point.y, limit->right, point.y);
    else
        DrawLine(x->dc, point.x, limit->top, point.x, limit->bottom);
    DrawBufferShow(&x->buffer);
}

bool DrawTrackLine(POINT *point, const RECT *limit, DrawTrackOrientation orientation, int32_t *delta) {
    POINT at = *point;
    PointClampToRect(&at, limit);
    DrawXor x;
    DrawXorBegin(&x, nullptr, drawWhite, DRAW_TRACK_PEN);
    DrawTrackAt(&x, at, limit, orientation);
    bool aborted = false;
    for (;;) {
        TrackInput input;
        TrackPoll(&input);
        if ((aborted = input.abort) || !input.button) break;
        POINT next = input.pos;
        PointClampToRect(&next, limit);
        if (next.x == at.x && next.y == at.y) continue;
        DrawTrackAt(&x, at, limit, orientation);
        DrawTrackAt(&x, next, limit, orientation);
        at = next;
    }
    DrawTrackAt(&x, at, limit, orientation);
    DrawXorEnd(&x);
    ReleaseCapture();
    *delta = 0;
    if (aborted) return false;
    *delta = orientation == DRAW_TRACK_HORIZONTAL ? at.y - point->y : at.x - point->x;
    *point = at;
    return *delta != 0;
}

// A segment more horizontal than vertical is widened up and down, any other one left and right; a slanted
// segment also needs the point inside its bounding rectangle.
bool DrawHitSegment(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int32_t dx = x2 - x1, dy = y2 - y1;
    if (dx != 0 && dy != 0 && !(x >= Min(x1, x2) && x <= Max(x1, x2) && y >= Min(y1, y2) && y <= Max(y1, y2)))
        return false;
    if (Abs(dx) >= Abs(dy)) {
        if (x < Min(x1, x2) || x > Max(x1, x2)) return false;
        int64_t lineY = dx ? y1 + (int64_t)dy * (x - x1) / dx : y1;
        return y >= lineY - DRAW_HIT_SLACK && y <= lineY + DRAW_HIT_SLACK;
    }
    if (y < Min(y1, y2) || y > Max(y1, y2)) return false;
    int64_t lineX = x1 + (int64_t)dx * (y - y1) / dy;
    return x >= lineX - DRAW_HIT_SLACK && x <= lineX + DRAW_HIT_SLACK;
}

// ---- Transparency

bool WndIsLayered(HWND window) {
    if (!WndCanUseTransparency()) return false;
    for (HWND w = window; w; w = GetParent(w))
        if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED) return true;
    return false;
}

// Without the system's function nothing is changed: a layered window that never gets its attributes would
// not show at all.
bool WndSetTransparency(HWND window, int32_t percent) {
    int32_t opacity = Clamp(100 - percent, 10, 100);
    if (!WndCanUseTransparency()) return true;
    auto setLayered = DrawLayeredEntry();
    if (!setLayered) return true;
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    bool done = true;
    if (opacity == 100) {
        SetWindowLongA(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
    } else {
        SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        done = setLayered(window, 0, (BYTE)NumMulDiv(255, opacity, 100), LWA_ALPHA) != 0;
        if (!done) SysSaveLastError();
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return done;
}

// ---- Off-screen buffer

void DrawBufferClear(DrawBuffer *buffer) {
    memset(buffer, 0, sizeof *buffer);
}

HDC DrawBufferBegin(DrawBuffer *buffer, HDC dc, HWND window, bool copy) {
    if (buffer->count > 0) {
        buffer->count++;
        return buffer->memory;
    }
    buffer->target = dc;
    if (SysIsRemoteSession() || (!window && drawMetrics.monitorCount > 1)) return dc;
    RECT area;
    if (window)
        GetClientRect(window, &area);
    else
        MonitorGetRect(SysMonitorFromPoint(0, 0, MONITOR_DEFAULTTOPRIMARY), &area);
    RectToOriginSize(&area, &buffer->rect);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, buffer->rect.w, buffer->rect.h) : nullptr;
    if (!bitmap) {
        if (memory) DeleteDC(memory);
        return dc;
    }
    buffer->memory = memory;
    buffer->bitmap = bitmap;
    buffer->previous = SelectObject(memory, bitmap);
    const Xywh &r = buffer->rect;
    if (copy) BitBlt(memory, 0, 0, r.w, r.h, dc, r.x, r.y, SRCCOPY);
    buffer->count = 1;
    return memory;
}

// Copies and deletes only what a begin made: a begin that used no buffer leaves nothing to copy from.
HDC DrawBufferEnd(DrawBuffer *buffer, bool force) {
    if (--buffer->count > 0 && !force) return buffer->target;
    buffer->count = 0;
    if (!buffer->memory) return buffer->target;
    DrawBufferShow(buffer);
    SelectObject(buffer->memory, buffer->previous);
    DeleteObject(buffer->bitmap);
    DeleteDC(buffer->memory);
    buffer->memory = nullptr;
    buffer->bitmap = nullptr;
    buffer->previous = nullptr;
    return buffer->target;
}

// ---- Devices and units

// The printer's measures come with its DC: a metafile standing in for a page reports its reference
// device's resolution, not the printer's.
static HDC DrawPrinter(SIZE *resolution) {
    *resolution = SIZE{0, 0};
    HDC printer = drawPrinterHook ? drawPrinterHook(resolution) : nullptr;
    if (!printer) *resolution = SIZE{0, 0};
    return printer;
}

HDC DrawGetDC(int32_t device) {
    if (device == DRAW_SCREEN) return drawMetrics.scratchDC;
    SIZE resolution;
    return DrawPrinter(&resolution);
}

SIZE DrawGetResolution(int32_t device) {
    if (device == DRAW_SCREEN) return SIZE{drawMetrics.dpiX, drawMetrics.dpiY};
    SIZE resolution;
    DrawPrinter(&resolution);
    return resolution;
}

static int32_t DrawScale(int32_t value, int32_t to, int32_t from) {
    return to && from ? NumMulDiv(value, to, from) : 0;
}

int32_t DrawScreenToPrinterX(int32_t pixels) {
    return DrawScale(pixels, DrawGetResolution(DRAW_PRINTER).cx, drawMetrics.dpiX);
}

int32_t DrawScreenToPrinterY(int32_t pixels) {
    return DrawScale(pixels, DrawGetResolution(DRAW_PRINTER).cy, drawMetrics.dpiY);
}

int32_t DrawPointHundredthsToPrinterX(int32_t hundredths) {
    return DrawScale(hundredths, DrawGetResolution(DRAW_PRINTER).cx, 7200);
}

int32_t DrawPointHundredthsToPrinterY(int32_t hundredths) {
    return DrawScale(hundredths, DrawGetResolution(DRAW_PRINTER).cy, 7200);
}

int32_t DrawPrinterToQuarterPoints(int32_t pixels) {
    return DrawScale(pixels, 4 * 72, DrawGetResolution(DRAW_PRINTER).cy);
}

int32_t DrawScreenToQuarterPoints(int32_t pixels) {
    return DrawScale(pixels, 4 * 72, drawMetrics.dpiY);
}

int32_t DrawQuarterPointsToPrinter(int32_t quarterPoints) {
    return DrawScale(quarterPoints, DrawGetResolution(DRAW_PRINTER).cy, 4 * 72);
}

int32_t DrawQuarterPointsToScreen(int32_t quarterPoints) {
    return DrawScale(quarterPoints, drawMetrics.dpiY, 4 * 72);
}
