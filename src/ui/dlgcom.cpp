// dlgcom: common dialogs (prefix Ask), least form: the open and save dialogs, owned by the window that has the
// focus.
#include "ui/dlgcom.h"

#include "base/seam.h"

#include "base/path.h"
#include "base/utilil.h"

#include <windows.h>

#include <commdlg.h>
#include <cstring>

static AskSaveHook askSaveHook;
static AskOpenHook askOpenHook;

static void AskResetSeams() {
    askSaveHook = nullptr;
    askOpenHook = nullptr;
}

void AskSetOpenHook(AskOpenHook hook) {
    askOpenHook = hook;
    SeamRegisterReset(AskResetSeams);
}

void AskSetSaveHook(AskSaveHook hook) {
    askSaveHook = hook;
    SeamRegisterReset(AskResetSeams);
}

// The dialog's record over the path buffer; folder (PATH_BUFFER bytes) receives the folder it starts in.
static void AskFill(OPENFILENAMEA *ofn, const char *filter, const char *defaultExt, char *path,
                    char *folder) {
    PathSplit(path, folder, nullptr);
    if (!folder[0]) strcpy(folder, ".");
    *ofn = {};
    ofn->lStructSize = sizeof *ofn;
    ofn->hwndOwner = GetFocus();
    ofn->lpstrFilter = filter ? filter : "All Files (*.*)\0*.*\0";
    ofn->lpstrFile = path;
    ofn->nMaxFile = PATH_BUFFER;
    ofn->lpstrInitialDir = folder;
    ofn->lpstrDefExt = defaultExt && defaultExt[0] == '.' ? defaultExt + 1 : defaultExt;
}

int AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *filterIndex) {
    if (askSaveHook) return askSaveHook(title, filter, defaultExt, path);
    char folder[PATH_BUFFER];
    OPENFILENAMEA ofn;
    AskFill(&ofn, filter, defaultExt, path, folder);
    ofn.nFilterIndex = filterIndex ? (DWORD)*filterIndex : 0;
    ofn.lpstrTitle = title ? title : "Save As";
    ofn.Flags =
        OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_EXPLORER;
    if (!GetSaveFileNameA(&ofn)) return 0;
    if (filterIndex) *filterIndex = (int)ofn.nFilterIndex;
    return 1;
}

// The dialog writes into a copy, so that a cancelled run leaves the caller's path as it was.
int AskOpenFile(const char *title, const char *filter, const char *defaultExt, char *path) {
    if (askOpenHook) return askOpenHook(title, filter, defaultExt, path);
    char chosen[PATH_BUFFER], folder[PATH_BUFFER];
    StrCopyMaxLen(path, chosen, PATH_MAX_CHARS);
    OPENFILENAMEA ofn;
    AskFill(&ofn, filter, defaultExt, chosen, folder);
    ofn.lpstrTitle = title ? title : "Open";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return 0;
    StrCopyMaxLen(chosen, path, PATH_MAX_CHARS);
    return 1;
}
