// status: the status bar's message and mode fields (prefix Status). The message is an owned copy of its text,
// or none, with a suspension count; the mode field is a fixed buffer.
#include "shell/status.h"

#include "base/heap.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

static char *statusMessage;

void StatusSetMessage(const char *text) {
    if (strcmp(text, StatusGetMessage()) == 0) return;
    char *copy = (char *)MemDup(text, strlen(text) + 1);
    if (!copy) return;
    MemFree(statusMessage);
    statusMessage = copy;
}

const char *StatusGetMessage() {
    return statusMessage ? statusMessage : "";
}

void StatusCanceled() {
    StatusSetMessage("Canceled");
}

enum { STATUS_TEXT_SIZE = 512 };

static int statusSuspended;

void StatusPrintf(const char *format, ...) {
    if (statusSuspended > 0) return;
    char text[STATUS_TEXT_SIZE] = "";
    if (format) {
        va_list args;
        va_start(args, format);
        vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    StatusSetMessage(text);
}

int StatusSuspend() {
    return ++statusSuspended;
}

int StatusResume() {
    if (statusSuspended > 0) statusSuspended--;
    return statusSuspended;
}

bool StatusIsSuspended() {
    return statusSuspended > 0;
}

static char statusMode[STATUS_TEXT_SIZE];

void StatusModePrintf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(statusMode, sizeof statusMode, format, args);
    va_end(args);
}

void StatusModeClear() {
    statusMode[0] = 0;
}

const char *StatusGetMode() {
    return statusMode;
}
