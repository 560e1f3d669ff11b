// Native stand-in for the alert boxes of the Windows-only dlgalert module: the native build has no message
// box, so every alert goes to the test hook when one is set and is answered OK otherwise. Only what the
// portable modules and their tests call is here.
#include "ui/dlgalert.h"

#include "base/seam.h"

#include <cstdarg>
#include <cstdio>

enum { ALERT_ANSWER_OK = 1 }; // the system's IDOK

static AlertHook alertTestHook;
static ProgressHook progressTestHook;

static void AlertResetSeams() {
    alertTestHook = nullptr;
    progressTestHook = nullptr;
}

void AlertSetTestHook(AlertHook hook) {
    alertTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

int AlertBox(const char *text, int kind, int defaultButton) {
    return alertTestHook ? alertTestHook(text, kind, defaultButton) : ALERT_ANSWER_OK;
}

int AlertError(const char *format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return AlertBox(text, ALERT_WARNING, 0);
}

static AlertChooseHook alertChooseHook;

void AlertSetChooseHook(AlertChooseHook hook) {
    alertChooseHook = hook;
}

int AlertChoose(const char *text, const char *const *buttons, int count, int defaultButton) {
    return alertChooseHook ? alertChooseHook(text, buttons, count, defaultButton) : -1;
}

// No progress box opens natively: a step is cancelled only when the test hook says so.
void ProgressSetTestHook(ProgressHook hook) {
    progressTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

bool ProgressStep(int position) {
    return progressTestHook && progressTestHook(position);
}
