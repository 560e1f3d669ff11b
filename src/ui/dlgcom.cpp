// dlgcom: the common dialogs (prefix Ask) over the system's open, save, font, colour and folder dialogs, each
// with a fixed policy. The system calls go through askCalls, which tests replace.
//
// The open and save dialogs carry the size of the system's own record: the smaller record of the older
// systems is only given below NT 5, where the system asks for it; a fixed 32-bit size would make every
// dialog fail (and read as a Cancel) on 64-bit.
#include "ui/dlgcom.h"

#include "base/folder.h"
#include "base/log.h"
#include "base/path.h"
#include "base/seam.h"
#include "base/stl.h"
#include "base/sysprobe.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dlgrun.h"
#include "ui/printman.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

enum : uint32_t {
    ASK_MULTI_BUFFER = 1024, // the open dialog's name buffer: a folder and several names
    ASK_SAVE_FLAGS = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN,
    ASK_FOLDER_NEW_UI = BIF_NEWDIALOGSTYLE | BIF_EDITBOX,
    ASK_CUSTOM_COLORS = 16,
};

// ---- The system's calls

static bool AskSysOpen(OPENFILENAMEA *dialog) {
    return GetOpenFileNameA(dialog);
}
static bool AskSysSave(OPENFILENAMEA *dialog) {
    return GetSaveFileNameA(dialog);
}
static bool AskSysFont(CHOOSEFONTA *dialog) {
    return ChooseFontA(dialog);
}
static bool AskSysColor(CHOOSECOLORA *dialog) {
    return ChooseColorA(dialog);
}
static ITEMIDLIST *AskSysBrowse(BROWSEINFOA *browse) {
    return SHBrowseForFolderA(browse);
}
static bool AskSysPathOf(const ITEMIDLIST *item, char *path) {
    return SHGetPathFromIDListA(item, path);
}
static void AskSysFreeItem(ITEMIDLIST *item) {
    CoTaskMemFree(item);
}
static uint32_t AskSysError() {
    return CommDlgExtendedError();
}

static const AskDialogCalls askSystemCalls = {
    AskSysOpen, AskSysSave, AskSysFont, AskSysColor, AskSysBrowse, AskSysPathOf, AskSysFreeItem, AskSysError,
};
static const AskDialogCalls *askCalls = &askSystemCalls;
static AskSaveHook askSaveHook;
static AskOpenHook askOpenHook;

static void AskResetSeams() {
    askCalls = &askSystemCalls;
    askSaveHook = nullptr;
    askOpenHook = nullptr;
}

void AskSetDialogCalls(const AskDialogCalls *calls) {
    askCalls = calls ? calls : &askSystemCalls;
    SeamRegisterReset(AskResetSeams);
}

void AskSetOpenHook(AskOpenHook hook) {
    askOpenHook = hook;
    SeamRegisterReset(AskResetSeams);
}

void AskSetSaveHook(AskSaveHook hook) {
    askSaveHook = hook;
    SeamRegisterReset(AskResetSeams);
}

// A failure other than Cancel is the system's: it goes to the log.
static void AskLogFailure(const char *dialog) {
    if (uint32_t code = askCalls->extendedError()) LogPrintf("%s dialog failed: error 0x%X", dialog, code);
}

// ---- Open and save

// The record over a name buffer; folder (PATH_BUFFER bytes) receives the folder the dialog starts in: the
// path's own, "." for a bare name.
static void AskFill(OPENFILENAMEA *ofn, const char *filter, const char *defaultExt, char *buffer,
                    uint32_t size, const char *path, char *folder) {
    PathSplit(path, folder, nullptr);
    if (!folder[0]) strcpy(folder, ".");
    *ofn = {};
    ofn->lStructSize = SysIsNt5() ? sizeof *ofn : OPENFILENAME_SIZE_VERSION_400A;
    ofn->lpstrFilter = filter ? filter : "All Files (*.*)\0*.*\0";
    ofn->lpstrFile = buffer;
    ofn->nMaxFile = size;
    ofn->lpstrInitialDir = folder;
    ofn->lpstrDefExt = defaultExt && defaultExt[0] == '.' ? defaultExt + 1 : defaultExt;
}

// The name with the default extension when it has none, at most 255 characters.
static void AskWithExt(const char *name, const char *defaultExt, char *out) {
    StrCopyMaxLen(name, out, PATH_MAX_CHARS);
    if (defaultExt && defaultExt[0] && !PathGetExt(out)[0]) PathAddExt(out, defaultExt);
}

// A buffer of several names holds the folder, then each name, each ending with a NUL, and an empty name.
static bool AskAppendChosen(const char *buffer, const char *defaultExt, Stl *list) {
    const char *name = buffer + strlen(buffer) + 1;
    char path[PATH_BUFFER], named[PATH_BUFFER];
    if (!*name) {
        AskWithExt(buffer, defaultExt, path);
        return StlInsertSz(list, -1, path, 0) != 0;
    }
    for (; *name; name += strlen(name) + 1) {
        AskWithExt(name, defaultExt, named);
        StrCopyMaxLen(buffer, path, PATH_MAX_CHARS);
        PathAppend(named, path);
        if (!StlInsertSz(list, -1, path, 0)) return false;
    }
    return true;
}

// The hook answers one name, the system dialog the buffer; false when cancelled.
static bool AskRunOpen(OPENFILENAMEA *ofn, const char *title, const char *filter, const char *defaultExt) {
    if (!askOpenHook) {
        if (askCalls->getOpenFileName(ofn)) return true;
        AskLogFailure("Open");
        return false;
    }
    char name[PATH_BUFFER];
    StrCopyMaxLen(ofn->lpstrFile, name, PATH_MAX_CHARS);
    if (!askOpenHook(title, filter, defaultExt, name)) return false;
    memset(ofn->lpstrFile, 0, ofn->nMaxFile);
    StrCopyMaxLen(name, ofn->lpstrFile, PATH_MAX_CHARS);
    return true;
}

bool AskOpenFileEx(const char *title, const char *filter, const char *defaultExt, char *path, Stl *list,
                   bool mustExist, int *filterIndex) {
    char buffer[ASK_MULTI_BUFFER] = {0}, folder[PATH_BUFFER];
    StrCopyMaxLen(path, buffer, PATH_MAX_CHARS);
    OPENFILENAMEA ofn;
    AskFill(&ofn, filter, defaultExt, buffer, sizeof buffer - 1, path, folder);
    ofn.hwndOwner = DlgGetOwner();
    ofn.lpstrTitle = title ? title : "Open";
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (mustExist ? OFN_FILEMUSTEXIST : 0) |
                (list ? OFN_ALLOWMULTISELECT : 0);
    ofn.nFilterIndex = filterIndex ? (DWORD)*filterIndex : 0;
    if (!AskRunOpen(&ofn, title, filter, defaultExt)) return false;
    if (filterIndex) *filterIndex = (int)ofn.nFilterIndex;
    if (list) return AskAppendChosen(buffer, defaultExt, list);
    AskWithExt(buffer, defaultExt, path);
    return true;
}

bool AskOpenFile(const char *title, const char *filter, const char *defaultExt, char *path) {
    return AskOpenFileEx(title, filter, defaultExt, path, nullptr, true, nullptr);
}

bool AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path,
                 int *filterIndex) {
    if (askSaveHook) return askSaveHook(title, filter, defaultExt, path);
    char folder[PATH_BUFFER];
    OPENFILENAMEA ofn;
    AskFill(&ofn, filter, defaultExt, path, PATH_BUFFER, path, folder);
    ofn.hwndOwner = GetFocus();
    ofn.nFilterIndex = filterIndex ? (DWORD)*filterIndex : 0;
    ofn.lpstrTitle = title ? title : "Save As";
    ofn.Flags = ASK_SAVE_FLAGS;
    if (!askCalls->getSaveFileName(&ofn)) {
        AskLogFailure("Save As");
        return false;
    }
    if (filterIndex) *filterIndex = (int)ofn.nFilterIndex;
    return true;
}

// ---- Font and colour

bool AskFont(const char *, tagLOGFONTA *font, bool screenFonts, bool printerFonts) {
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = DlgGetOwner();
    cf.lpLogFont = font;
    cf.Flags = CF_INITTOLOGFONTSTRUCT | (screenFonts ? CF_SCREENFONTS : 0);
    if (printerFonts && (cf.hDC = PrinterGetDC())) cf.Flags |= CF_PRINTERFONTS;
    // With neither kind the system's dialog fails as having no fonts at all.
    if (!(cf.Flags & (CF_SCREENFONTS | CF_PRINTERFONTS))) cf.Flags |= CF_SCREENFONTS;
    if (askCalls->chooseFont(&cf)) return true;
    AskLogFailure("Font");
    return false;
}

bool AskColor(const char *, Color *color) {
    COLORREF custom[ASK_CUSTOM_COLORS];
    for (COLORREF &c : custom) c = RGB(255, 255, 255);
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = DlgGetOwner();
    cc.rgbResult = *color;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!askCalls->chooseColor(&cc)) {
        AskLogFailure("Color");
        return false;
    }
    *color = cc.rgbResult;
    return true;
}

// ---- Folders

// The browser starts at the caller's folder.
static int CALLBACK AskFolderStarted(HWND browser, UINT message, LPARAM, LPARAM path) {
    if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, path);
    return 0;
}

bool AskFolder(const char *title, char *path) {
    OleInitOnce();
    char shown[MAX_PATH] = "", chosen[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = DlgGetOwner();
    bi.pszDisplayName = shown;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | (SysComctlAbove579() ? (UINT)ASK_FOLDER_NEW_UI : 0u);
    bi.lpfn = AskFolderStarted;
    bi.lParam = (LPARAM)path;
    ITEMIDLIST *item = askCalls->browseForFolder(&bi);
    if (!item) return false;
    // A virtual folder has no path: the caller's is kept.
    bool named = askCalls->pathFromIdList(item, chosen) && chosen[0];
    askCalls->freeIdList(item);
    if (!named) return false;
    StrCopyMaxLen(chosen, path, PATH_MAX_CHARS);
    return DirExists(path);
}
