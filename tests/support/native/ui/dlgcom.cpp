// Native stand-in for the Windows-only dlgcom module: no dialog opens natively, so the save dialog answers
// through its test hook, and is cancelled without one.
#include "ui/dlgcom.h"

static AskSaveHook askSaveHook;

void AskSetSaveHook(AskSaveHook hook) {
    askSaveHook = hook;
}

int AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *) {
    return askSaveHook ? askSaveHook(title, filter, defaultExt, path) : 0;
}
