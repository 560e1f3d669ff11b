// status: the status bar's message field (prefix Status). The message is an owned copy of its text, or none.
#include "shell/status.h"

#include "base/heap.h"

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
