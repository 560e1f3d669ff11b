// wheel: found once at start-up; the older wheel driver's window and registered messages stand in when the
// system has no wheel message of its own.
#include "base/wheel.h"

#include "base/sysprobe.h"
#include "base/utilil.h"

static int wheelPresent;
static int wheelNative;
static int wheelLegacySupport;
static int wheelLines = 3;
static UINT wheelRollMsg = (UINT)-1;
static UINT wheelSupportMsg = (UINT)-1;
static UINT wheelScrollLinesMsg = (UINT)-1;
static HWND wheelLegacyWindow;

// A registered message number, or -1 when it could not be registered.
static UINT WheelRegister(const char *name) {
    UINT message = RegisterWindowMessageA(name);
    return message ? message : (UINT)-1;
}

static void WheelFindLegacy() {
    wheelLegacyWindow = FindWindowA("MouseZ", "Magellan MSWHEEL");
    wheelRollMsg = WheelRegister("MSWHEEL_ROLLMSG");
    wheelSupportMsg = WheelRegister("MSH_WHEELSUPPORT_MSG");
    wheelScrollLinesMsg = WheelRegister("MSH_SCROLL_LINES_MSG");
    if (!wheelLegacyWindow) return;
    wheelPresent = 1;
    if (wheelSupportMsg != (UINT)-1)
        wheelLegacySupport = (int)SendMessageA(wheelLegacyWindow, wheelSupportMsg, 0, 0);
    wheelLines =
        wheelScrollLinesMsg != (UINT)-1 ? (int)SendMessageA(wheelLegacyWindow, wheelScrollLinesMsg, 0, 0) : 3;
}

void WheelInit() {
    wheelPresent = wheelNative = wheelLegacySupport = 0;
    wheelRollMsg = wheelSupportMsg = wheelScrollLinesMsg = (UINT)-1;
    wheelLegacyWindow = nullptr;
    wheelLines = 3;
    if (!SysHasNativeWheel()) {
        WheelFindLegacy();
        return;
    }
    wheelPresent = wheelNative = 1;
    UINT lines = 3;
    if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        wheelLines = lines == WHEEL_PAGESCROLL ? -1 : (int)lines;
}

bool WheelIsPresent() {
    return wheelPresent;
}
bool WheelIsLegacy() {
    return wheelPresent && !wheelNative;
}
int WheelLinesPerNotch() {
    return wheelLines;
}

// A turn towards the user (a negative delta) scrolls down.
int WheelLines(WPARAM wParam, int max) {
    int delta = (short)HIWORD(wParam);
    if (wheelLines == -1) return delta < 0 ? max : -max;
    int lines = -delta / 120 * wheelLines;
    if (lines == 0) lines = delta < 0 ? 1 : -1;
    return lines > 0 ? Clamp(lines, 1, max) : Clamp(lines, -max, -1);
}
bool WheelIsNative() {
    return wheelNative;
}

UINT WheelRollMessage() {
    return wheelRollMsg;
}
