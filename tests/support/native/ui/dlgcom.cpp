// Native stand-in for the Windows-only dlgcom module: no dialog opens natively, so the open and save dialogs
// answer through their test hooks, and are cancelled without one.
#include "ui/dlgcom.h"

static AskSaveHook askSaveHook;
static AskOpenHook askOpenHook;

void AskSetSaveHook(AskSaveHook hook) {
    askSaveHook = hook;
}

void AskSetOpenHook(AskOpenHook hook) {
    askOpenHook = hook;
}

bool AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *) {
    return askSaveHook && askSaveHook(title, filter, defaultExt, path);
}

bool AskOpenFile(const char *title, const char *filter, const char *defaultExt, char *path) {
    return askOpenHook && askOpenHook(title, filter, defaultExt, path);
}
