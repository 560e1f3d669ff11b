// framehook: the neutral answers and the registered tables of the frame's hooks (prefix FrameHook).
#include "shell/framehook.h"

#include "base/seam.h"

// ---- Neutral answers

static int FrameHookFail(const char *) {
    return 1;
}
static int FrameHookDone(const char *) {
    return 0;
}
static void *FrameHookOpenAtLine(const char *, int32_t) {
    return nullptr;
}
static void FrameHookWindow(void *) {}
static bool FrameHookWorkspace(const char *, bool) {
    return false;
}
static void FrameHookNothing() {}
static void FrameHookRender(UINT) {}
static bool FrameHookPrint(const char *, bool) {
    return false;
}
static bool FrameHookInitApp(int32_t, char **, int, bool *quitWhenDone) {
    *quitWhenDone = false;
    return true;
}
static bool FrameHookClasses(HINSTANCE) {
    return true;
}
static bool FrameHookYes(bool) {
    return true;
}
static bool FrameHookNo() {
    return false;
}
static bool FrameHookNoName(const char *) {
    return false;
}
static int32_t FrameHookZero() {
    return 0;
}
static void FrameHookWidth(int32_t) {}
static bool FrameHookPaint(HWND, HDC) {
    return false;
}
static LRESULT FrameHookNotify(NMHDR *, bool *heightChanged) {
    *heightChanged = false;
    return 0;
}
static bool FrameHookMenu(HWND, int, int) {
    return false;
}
static void FrameHookDialog(HWND) {}
static bool FrameHookPalette(HWND, bool) {
    return false;
}
static bool FrameHookProject(const char *, bool) {
    return false;
}

static const FrameDocHook frameDocNeutral = {
    .openDocumentFile = FrameHookFail,
    .openFileAtLine = FrameHookOpenAtLine,
    .activateWindow = FrameHookWindow,
    .newUntitled = FrameHookFail,
    .insertFile = FrameHookFail,
    .loadClipFile = FrameHookFail,
    .loadWorkspace = FrameHookWorkspace,
    .linkClipboard = FrameHookNothing,
    .activated = FrameHookNothing,
    .endTypingRun = FrameHookNothing,
    .endCommandEdit = FrameHookNothing,
    .renderClipboard = FrameHookRender,
};

static const FrameDisplayHook frameDisplayNeutral = {
    .printFileByName = FrameHookPrint,
    .focusFrontWindow = FrameHookNothing,
};

static const FrameShellHook frameShellNeutral = {
    .initApp = FrameHookInitApp,
    .registerClasses = FrameHookClasses,
    .queryCloseApp = FrameHookYes,
    .shutdownApp = FrameHookNothing,
    .modalState = FrameHookNo,
    .recoveryTimer = FrameHookNothing,
    .settingChange = FrameHookNothing,
    .loadConfig = FrameHookNoName,
    .setFrameTitle = FrameHookNothing,
    .statusBarHeight = FrameHookZero,
    .rebarHeight = FrameHookZero,
    .rebarResize = FrameHookWidth,
    .paintStatusBar = FrameHookPaint,
    .toolbarNotify = FrameHookNotify,
    .contextMenu = FrameHookMenu,
    .dialogIdle = FrameHookDialog,
    .realizePalette = FrameHookPalette,
};

static const FrameSymbolHook frameSymbolNeutral = {
    .projectIsOpen = FrameHookNo,
    .openProject = FrameHookProject,
    .closeCurrentProject = FrameHookNothing,
    .openProjectSymbol = FrameHookNoName,
    .showSymbol = FrameHookNoName,
    .projAddFile = FrameHookDone,
    .projRemoveFile = FrameHookDone,
    .closeCompletionPopup = FrameHookNothing,
};

static const FrameMacroHook frameMacroNeutral = {
    .appStart = FrameHookNothing,
};

static FrameDocHook frameDoc = frameDocNeutral;
static FrameDisplayHook frameDisplay = frameDisplayNeutral;
static FrameShellHook frameShell = frameShellNeutral;
static FrameSymbolHook frameSymbol = frameSymbolNeutral;
static FrameMacroHook frameMacro = frameMacroNeutral;

const FrameDocHook *FrameDocNeutral() {
    return &frameDocNeutral;
}
const FrameDisplayHook *FrameDisplayNeutral() {
    return &frameDisplayNeutral;
}
const FrameShellHook *FrameShellNeutral() {
    return &frameShellNeutral;
}
const FrameSymbolHook *FrameSymbolNeutral() {
    return &frameSymbolNeutral;
}
const FrameMacroHook *FrameMacroNeutral() {
    return &frameMacroNeutral;
}

// ---- Registration

static void FrameHookReset() {
    frameDoc = frameDocNeutral;
    frameDisplay = frameDisplayNeutral;
    frameShell = frameShellNeutral;
    frameSymbol = frameSymbolNeutral;
    frameMacro = frameMacroNeutral;
}

void FrameSetDocHook(const FrameDocHook *hook) {
    frameDoc = hook ? *hook : frameDocNeutral;
    SeamRegisterReset(FrameHookReset);
}
void FrameSetDisplayHook(const FrameDisplayHook *hook) {
    frameDisplay = hook ? *hook : frameDisplayNeutral;
    SeamRegisterReset(FrameHookReset);
}
void FrameSetShellHook(const FrameShellHook *hook) {
    frameShell = hook ? *hook : frameShellNeutral;
    SeamRegisterReset(FrameHookReset);
}
void FrameSetSymbolHook(const FrameSymbolHook *hook) {
    frameSymbol = hook ? *hook : frameSymbolNeutral;
    SeamRegisterReset(FrameHookReset);
}
void FrameSetMacroHook(const FrameMacroHook *hook) {
    frameMacro = hook ? *hook : frameMacroNeutral;
    SeamRegisterReset(FrameHookReset);
}

const FrameDocHook &FrameDoc() {
    return frameDoc;
}
const FrameDisplayHook &FrameDisplay() {
    return frameDisplay;
}
const FrameShellHook &FrameShell() {
    return frameShell;
}
const FrameSymbolHook &FrameSymbol() {
    return frameSymbol;
}
const FrameMacroHook &FrameMacro() {
    return frameMacro;
}
