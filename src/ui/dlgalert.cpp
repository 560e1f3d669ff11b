// dlgalert: message boxes and questions (prefix Alert). Every box has the caption "Veltrix"; error and
// information boxes can be suppressed for a stretch of work and are skipped during background work.
// Progress boxes (prefix Progress) keep only their nesting, their text and their step so far.
#include "ui/dlgalert.h"

#include "base/str.h"
#include "base/inputpend.h"
#include "base/seam.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

static int alertSuppressed;
static AlertHook alertTestHook;
static ProgressHook progressTestHook;
static int32_t progressNesting;
static char progressText[512];

static AlertChooseHook alertChooseHook;

static void AlertResetSeams() {
    alertTestHook = nullptr;
    progressTestHook = nullptr;
    alertChooseHook = nullptr;
}

static const UINT alertKindStyle[] = {0x00, 0x21, 0x40, 0x24, 0x23, 0x30, 0x12};
static const UINT alertDefaultStyle[] = {0, MB_DEFBUTTON2, MB_DEFBUTTON3};

// Formats into the caller's buffer with the format cut at 462 characters; the caller's format text itself
// is never written to.
static void AlertFormatV(char *out, size_t size, const char *format, va_list args) {
    char cut[FORMAT_CUT + 1];
    StrCutFormat(format, cut);
    vsnprintf(out, size, cut, args);
}

void AlertSetTestHook(AlertHook hook) {
    alertTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

int AlertBox(const char *text, int kind, int defaultButton) {
    if (kind < 0 || kind > 6) kind = 0;
    if (defaultButton < 0 || defaultButton > 2) defaultButton = 0;
    if (alertTestHook) return alertTestHook(text, kind, defaultButton);
    HWND focus = GetFocus();
    UINT style = alertKindStyle[kind] | alertDefaultStyle[defaultButton];
    int result = MessageBoxA(GetActiveWindow(), text, "Veltrix", style);
    if (focus) SetFocus(focus);
    return result;
}

// Formats the box's text (512 bytes) and shows it.
static int AlertShowV(int kind, int defaultButton, const char *format, va_list args) {
    char text[512];
    AlertFormatV(text, sizeof text, format, args);
    return AlertBox(text, kind, defaultButton);
}

bool AlertOkCancelDefCancel(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_OKCANCEL, 1, format, args);
    va_end(args);
    return answer == IDOK;
}

int AlertError(const char *format, ...) {
    if (alertSuppressed > 0) return 0;
    if (IsBackgroundWork()) return 1;
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_WARNING, 0, format, args);
    va_end(args);
    return answer;
}

void AlertReportError(const char *message) {
    AlertError("%s", message);
}

void AlertSetChooseHook(AlertChooseHook hook) {
    alertChooseHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

int AlertChoose(const char *text, const char *const *buttons, int count, int defaultButton) {
    return alertChooseHook ? alertChooseHook(text, buttons, count, defaultButton) : -1;
}

void AlertSuppress() {
    alertSuppressed++;
}
int AlertUnsuppress() {
    return --alertSuppressed;
}
int AlertsSuppressed() {
    return alertSuppressed != 0;
}

void ProgressBegin(int32_t, int32_t, const char *format, ...) {
    if (progressNesting++ > 0) return;
    va_list args;
    va_start(args, format);
    AlertFormatV(progressText, sizeof progressText, format, args);
    va_end(args);
}

void ProgressEnd() {
    if (progressNesting <= 0) progressNesting = 1;
    if (--progressNesting == 0) progressText[0] = 0;
}

bool ProgressIsOpen() {
    return progressNesting > 0;
}

bool ProgressSetText(const char *format, ...) {
    if (progressNesting <= 0) return false;
    va_list args;
    va_start(args, format);
    AlertFormatV(progressText, sizeof progressText, format, args);
    va_end(args);
    return true;
}

void ProgressSetTestHook(ProgressHook hook) {
    progressTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

bool ProgressStep(int position) {
    return progressTestHook && progressTestHook(position);
}
