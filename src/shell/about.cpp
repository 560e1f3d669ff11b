// about: the About and splash window (prefix About). One window at a time, with the tick it opened at and
// whether it serves as the splash; the logo (a DIB resource with its own palette) is loaded at the first
// opening and kept until AboutTerm.
//
// Layout, with L the system font's line height and the logo w by h: the window is w + 2 (w / 20) wide and
// 10 L + h high, one L more in a remote session; it sits centred over the frame (a third of the frame's width
// in from its left when the frame is narrower) and a third of the way down the frame's free height. The logo
// is drawn at (w / 20, L); a remote session whose options disable logo graphics shows none and counts h as 0.
#include "shell/about.h"

#include "base/reg.h"
#include "base/seam.h"
#include "base/sysprobe.h"
#include "base/tick.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "shell/version.h"
#include "ui/dib.h"
#include "ui/draw.h"

#include <cstddef>
#include <cstdio>

const char aboutClass[] = "vx_About";

static const char aboutProduct[] = "Veltrix Programmer's Editor and Code Browser";
static const char aboutRemoteNote[] = "Running in a remote session";

// Two lines are kept scrambled in the program's file and made readable only to be painted.
static constexpr unsigned char AboutKey(size_t i) {
    return (unsigned char)(0xA5 + 29 * i);
}

template <size_t N>
struct AboutHidden {
    char bytes[N];
};

template <size_t N>
consteval AboutHidden<N> AboutHide(const char (&text)[N]) {
    AboutHidden<N> hidden = {};
    for (size_t i = 0; i < N; i++) hidden.bytes[i] = (char)((unsigned char)text[i] ^ AboutKey(i));
    return hidden;
}

static constexpr auto aboutCopyright = AboutHide("Copyright (C) 1995-2009 Tramontel Software");
static constexpr auto aboutRights = AboutHide("All rights reserved.");

template <size_t N>
static const char *AboutUnhide(const AboutHidden<N> &hidden, char *buffer, int size) {
    int i = 0;
    for (; i < size - 1 && i < (int)N - 1; i++)
        buffer[i] = (char)((unsigned char)hidden.bytes[i] ^ AboutKey(i));
    buffer[i] = 0;
    return buffer;
}

static HMODULE aboutModule;
static AboutLogo aboutLogo;
static HWND aboutWindow;
static uint32_t aboutOpenTick;
static bool aboutIsSplash;
static bool aboutDismissed; // the window was asked to close while the About command waits

static void AboutResetSeams() {
    aboutModule = nullptr;
}

void AboutSetResourceModule(HMODULE module) {
    aboutModule = module;
    SeamRegisterReset(AboutResetSeams);
}

HWND AboutWindow() {
    return aboutWindow;
}

// ---- The logo

// Fewer than 256 colours, or the "LowColor" switch: the 16-colour picture.
static const char *AboutLogoName() {
    int32_t lowColor = 0;
    RegQueryInt(RegUserProgramKey(), "LowColor", &lowColor);
    bool fewColors = drawMetrics.colors != 0 && drawMetrics.colors < 256;
    return fewColors || lowColor ? "Logo16" : "Logo256";
}

const AboutLogo *AboutGetLogo() {
    if (aboutLogo.bitmap) return &aboutLogo;
    HMODULE module = aboutModule ? aboutModule : GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, AboutLogoName(), (LPCSTR)RT_BITMAP);
    HGLOBAL resource = found ? LoadResource(module, found) : nullptr;
    if (!resource) return nullptr;
    HPALETTE palette = DibCreatePalette(resource);
    HBITMAP bitmap = DibCreateBitmap(resource, palette);
    int32_t width, height;
    if (!bitmap || !BitmapGetSize(bitmap, &width, &height)) {
        if (bitmap) DeleteObject(bitmap);
        if (palette) DeleteObject(palette);
        return nullptr;
    }
    aboutLogo = {bitmap, palette, width, height};
    return &aboutLogo;
}

static bool AboutShowsLogo() {
    return !(SysIsRemoteSession() && ToolboxRemote()->noLogoGraphics);
}

static int32_t AboutLogoHeight() {
    return AboutShowsLogo() ? aboutLogo.height : 0;
}

// ---- Layout and painting

static HFONT AboutFont() {
    return drawMetrics.sysFont ? drawMetrics.sysFont : (HFONT)GetStockObject(SYSTEM_FONT);
}

static int32_t AboutLineHeight() {
    if (drawMetrics.sysFontHeight > 0) return drawMetrics.sysFontHeight;
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, AboutFont());
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

// The frame's rectangle on the screen; the work area when there is no frame to be seen.
static void AboutFrameRect(RECT *rect) {
    HWND frame = WndGetAppFrame();
    if (frame && !IsIconic(frame) && GetWindowRect(frame, rect)) return;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, rect, 0);
}

// A frame lower than the window gives it no free height: the window then starts at the frame's top.
static void AboutPlace(Xywh *pos) {
    int32_t line = AboutLineHeight();
    pos->w = aboutLogo.width + 2 * (aboutLogo.width / 20);
    pos->h = 10 * line + AboutLogoHeight() + (SysIsRemoteSession() ? line : 0);
    RECT frame;
    AboutFrameRect(&frame);
    int32_t frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    pos->x = frame.left + (frameWidth >= pos->w ? (frameWidth - pos->w) / 2 : frameWidth / 3);
    pos->y = frame.top + Max(0, frameHeight - pos->h) / 3;
}

const char *AboutTextLine(int index, char *buffer, int size) {
    switch (index) {
    case 0: StrCopyMaxLen(aboutProduct, buffer, size - 1); return buffer;
    case 1: VersionText(buffer, size); return buffer;
    case 2: return AboutUnhide(aboutCopyright, buffer, size);
    case 3: return AboutUnhide(aboutRights, buffer, size);
    }
    return nullptr;
}

static void AboutPaintLine(HDC dc, const RECT *client, int32_t y, const char *text) {
    RECT rect = {client->left, y, client->right, y + AboutLineHeight()};
    DrawTextA(dc, text, -1, &rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Centred in the nine lines below the logo: the product and the version, a blank line, the two hidden lines;
// in a remote session a note of it follows after another blank line, in the window's extra line.
static void AboutPaintText(HDC dc, const RECT *client) {
    static const int32_t lineRows[] = {0, 1, 3, 4};
    int32_t line = AboutLineHeight(), top = 3 * line + AboutLogoHeight();
    HGDIOBJ previous = SelectObject(dc, AboutFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    char text[VERSION_TEXT_SIZE];
    for (int i = 0; AboutTextLine(i, text, sizeof text); i++)
        AboutPaintLine(dc, client, top + lineRows[i] * line, text);
    if (SysIsRemoteSession()) AboutPaintLine(dc, client, top + 6 * line, aboutRemoteNote);
    SelectObject(dc, previous);
}

static void AboutPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HPALETTE previous = nullptr;
    if (aboutLogo.palette) {
        previous = SelectPalette(dc, aboutLogo.palette, FALSE);
        RealizePalette(dc);
    }
    if (AboutShowsLogo()) DrawBitmap(dc, aboutLogo.bitmap, aboutLogo.width / 20, AboutLineHeight(), SRCCOPY);
    RECT client;
    GetClientRect(window, &client);
    AboutPaintText(dc, &client);
    if (previous) SelectPalette(dc, previous, FALSE);
    EndPaint(window, &paint);
}

// The window is closed by its owner only: a close request (Alt+F4) ends the About command's wait instead.
// Losing the focus changes nothing.
static LRESULT CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: AboutPaint(window); return 0;
    case WM_CLOSE: aboutDismissed = true; return 0;
    case WM_NCDESTROY:
        if (window == aboutWindow) aboutWindow = nullptr;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool AboutRegisterClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = AboutProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = aboutClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// ---- Opening and closing

// An open window is kept as it is: the caller now owns it, so it no longer counts as the splash.
bool AboutOpen() {
    aboutIsSplash = false;
    if (aboutWindow) return true;
    aboutOpenTick = TickNow();
    if (!AboutGetLogo()) return false;
    Xywh pos;
    AboutPlace(&pos);
    aboutDismissed = false;
    aboutWindow =
        CreateWindowExA(WS_EX_DLGMODALFRAME, aboutClass, "", WS_POPUP | WS_VISIBLE | WS_BORDER, pos.x, pos.y,
                        pos.w, pos.h, WndGetAppFrame(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!aboutWindow) return false;
    UpdateWindow(aboutWindow);
    return true;
}

void AboutClose() {
    aboutIsSplash = false;
    if (!aboutWindow) return;
    uint32_t shown = TickNow() - aboutOpenTick;
    if (shown < ABOUT_MIN_SHOWN_MS) TickSleep(ABOUT_MIN_SHOWN_MS - shown);
    if (aboutWindow) DestroyWindow(aboutWindow);
    aboutWindow = nullptr;
}

bool AboutOpenSplash() {
    if (aboutWindow || !AboutOpen()) return false;
    aboutIsSplash = true;
    return true;
}

void CloseSplash() {
    if (aboutIsSplash) AboutClose();
}

void AboutTerm() {
    aboutIsSplash = false;
    if (aboutWindow) DestroyWindow(aboutWindow);
    aboutWindow = nullptr;
    if (aboutLogo.bitmap) DeleteObject(aboutLogo.bitmap);
    if (aboutLogo.palette) DeleteObject(aboutLogo.palette);
    aboutLogo = {};
}

// ---- The About command

static bool AboutEndsWait(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN: return true;
    }
    return false;
}

// The ending message is taken; every other one goes its way.
static void AboutWait() {
    MSG msg;
    while (!aboutDismissed && aboutWindow) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        if (got < 0 || AboutEndsWait(msg.message)) return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int CmdAbout(int32_t) {
    if (!AboutOpen()) return 0;
    HWND frame = WndGetAppFrame();
    if (frame) EnableWindow(frame, FALSE);
    aboutDismissed = false;
    AboutWait();
    if (frame) EnableWindow(frame, TRUE);
    AboutClose();
    return 0;
}
