// dlgcom: common dialogs (prefix Ask), least form: the save dialog, owned by the window that has the focus.
#include "ui/dlgcom.h"

#include "base/seam.h"

#include "base/path.h"
#include "base/utilil.h"

#include <windows.h>

#include <commdlg.h>
#include <cstring>

static AskSaveHook askSaveHook;

static void AskResetSeams() {
    askSaveHook = nullptr;
}

void AskSetSaveHook(AskSaveHook hook) {
    askSaveHook = hook;
    SeamRegisterReset(AskResetSeams);
}

int AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *filterIndex) {
    if (askSaveHook) return askSaveHook(title, filter, defaultExt, path);
    char folder[PATH_BUFFER];
    PathSplit(path, folder, nullptr);
    if (!folder[0]) strcpy(folder, ".");
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetFocus();
    ofn.lpstrFilter = filter ? filter : "All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = filterIndex ? (DWORD)*filterIndex : 0;
    ofn.lpstrFile = path;
    ofn.nMaxFile = PATH_BUFFER;
    ofn.lpstrInitialDir = folder;
    ofn.lpstrTitle = title ? title : "Save As";
    ofn.Flags =
        OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_EXPLORER;
    ofn.lpstrDefExt = defaultExt && defaultExt[0] == '.' ? defaultExt + 1 : defaultExt;
    if (!GetSaveFileNameA(&ofn)) return 0;
    if (filterIndex) *filterIndex = (int)ofn.nFilterIndex;
    return 1;
}
