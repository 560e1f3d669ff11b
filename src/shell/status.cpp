// status: the status bar's message and mode fields (prefix Status). The message is an owned copy of its text,
// or none; the mode field is a fixed buffer.
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

enum { STATUS_MODE_SIZE = 512 };

static char statusMode[STATUS_MODE_SIZE];

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
