// Shared by the window library's tests: a DIB-section canvas whose pixels a test reads, a per-test registry
// key, and stand-ins for what the virtual display cannot show (a remote session with chosen options, an
// older system, fake monitors). Every stand-in is undone after the test through the seam resets.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class UiCanvas {
public:
    UiCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~UiCanvas();
    UiCanvas(const UiCanvas &) = delete;
    UiCanvas &operator=(const UiCanvas &) = delete;
    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const; // the colour at a point, as a COLORREF
    void Fill(COLORREF color);

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t *bits_;
    int width_;
    int height_;
};

// An empty registry key for the running test, removed after it.
HKEY UiTestKey();

// The program runs in a remote session with these remote options set over their defaults.
void UiRemoteSession(std::initializer_list<std::pair<const char *, int32_t>> options = {});
// The system version the probe answers (NT platform).
void UiSystemVersion(uint32_t major, uint32_t minor);
// Fake monitors side by side, each 640 x 480; the system counts them all.
void UiFakeMonitors(int count);
// Undoes the stand-ins above within a test (they are undone after every test anyway).
void UiRestore();

// A hidden popup window of a plain class, at a screen position.
HWND UiPopup(int x, int y, int width, int height, DWORD exStyle = 0);
// The one shown top-most popup of the test program, moved to a screen position. It is never destroyed: on
// the virtual display hiding a shown window waits two seconds. Its paints are counted.
HWND UiShownPopup(int x, int y, int width, int height);
extern int uiPaints;
// Dispatches every queued message.
void UiDrain();

// The one shown frame of the test program, with an MDI client filling its client area, at a fixed place on
// the screen; made on first use and never destroyed. The frame's procedure is MdiFrameDefProc. Each call
// makes them the shell's frame and MDI client again.
HWND UiShownFrame();
// Destroys every window in the shown frame's MDI client.
void UiCloseMdiChildren();

// A visible child of the shown popup, width x height at its top left, that records the notifications and
// commands it receives (cleared when the window is made). Destroy it at the end of the test.
struct UiMessage {
    UINT code;   // a notification's code; a command's wParam
    HWND from;   // the notification's sender; a command's lParam
    UINT_PTR id; // the notification's idFrom
};
HWND UiRecordingParent(int width, int height);
extern std::vector<UiMessage> uiNotifies;
extern LRESULT (*uiNotifyAnswer)(NMHDR *notification); // answers the notifications after recording; reset
                                                       // when the window is made
extern std::vector<UiMessage> uiCommands;
