// hubinit: start-up (prefix Hub), in its least form: readies the heap, the registry keys and the drawing
// layer, makes the frame (or hands the command line over) with the splash over it (unless the switch "s" is
// given), and runs the main loop with the frame's idle work until the frame is closed. Also the start-up services that the library and the document core use: the temporary folder
// and its files.
#include "shell/hubinit.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/filetemp.h"
#include "base/folder.h"
#include "base/heap.h"
#include "base/inputpend.h"
#include "base/reg.h"
#include "base/utilil.h"
#include "shell/about.h"
#include "shell/advopt.h"
#include "shell/cmd.h"
#include "shell/cmdargs.h"
#include "shell/cmdline.h"
#include "shell/cmdrun.h"
#include "shell/config.h"
#include "shell/frame.h"
#include "shell/framehook.h"
#include "shell/help.h"
#include "shell/instance.h"
#include "shell/vars.h"
#include "ui/dlgalert.h"
#include "ui/draw.h"
#include "ui/menu.h"

#include <cstring>

static const char hubProgramKey[] = "Veltrix\\3.0";

// The main initialisation in its least form: the frame shows, the program runs, and the command line is
// applied.
static bool HubInitApp(int32_t count, char **args, int show, bool *quitWhenDone) {
    HWND frame = FrameGetWindow();
    AdvancedOptionsLoad();
    InitCommands(false);
    MenuInit();
    ConfigSetDefaults();
    ShowWindow(frame, show);
    UpdateWindow(frame);
    if (!HasSwitch(count, args, "s")) AboutOpenSplash();
    g_appRunState = APP_RUNNING;
    CmdLineResult result;
    ProcessCommandLine(count, args, false, nullptr, &result);
    CloseSplash();
    if (result.command) RunCommandByName(result.command);
    *quitWhenDone = result.quitWhenDone;
    if (*quitWhenDone && IsWindow(frame)) PostMessageA(frame, WM_CLOSE, 0, 0);
    return true;
}

// A configuration file named on the command line or handed over; the global one (null) once start-up knows
// where it lies.
static bool HubLoadConfig(const char *path) {
    if (!path) path = ConfigGetPath();
    return path[0] && LoadConfigFile(path);
}

static void HubReportFailure() {
    char text[ERC_TEXT_MAX];
    if (ErcGetText(text)) AlertError("Veltrix cannot initialize: %s", text);
}

// The shell's own window classes beside the frame's.
static bool HubRegisterClasses(HINSTANCE instance) {
    return AboutRegisterClass(instance);
}

int HubRun(HINSTANCE instance, const char *commandLine, int show) {
    HeapInit();
    RegOpenProgramKeys(hubProgramKey);
    if (!DrawInit(nullptr)) return 1;
    FrameShellHook shell = FrameShell();
    shell.initApp = HubInitApp;
    shell.registerClasses = HubRegisterClasses;
    shell.loadConfig = HubLoadConfig;
    FrameSetShellHook(&shell);
    bool handedOver = false;
    if (!RegisterFrameClass(instance) || !CreateFrameOrForward(commandLine, show, &handedOver)) {
        if (handedOver) return 0;
        HubReportFailure();
        return 1;
    }
    int code = HubMessageLoop();
    SaveWindowPlacement();
    HelpTerm();
    DrawExit();
    return code;
}

bool HubIdle() {
    if (g_appRunState != APP_RUNNING) return false;
    InputPendingReset();
    DrainInstanceMessages();
    CmdLineRequestStep();
    return InstanceMsgPending() > 0 || CmdLineRequestPending();
}

int HubMessageLoop() {
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return (int)msg.wParam;
            if (HelpPreTranslate(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (!HubIdle()) {
            WaitMessage();
        }
    }
}

int InputPendingIf(int flag) {
    return flag && InputPending();
}

static char hubTempDir[256];

void HubSetTempDir(const char *folder) {
    StrCopyMaxLen(folder, hubTempDir, 255);
}

void HubGetTempDir(char *folder) {
    if (hubTempDir[0]) {
        StrCopyMaxLen(hubTempDir, folder, 255);
        return;
    }
    char system[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof system, system);
    StrCopyMaxLen(length > 0 && length < sizeof system ? system : ".", folder, 255);
}

// The system makes the unique name and the empty file together, so a file that another instance is using is
// never taken or emptied.
int MakeTempFile(char *outPath) {
    char folder[256];
    HubGetTempDir(folder);
    return FileCreateTemp("TFXXXXXX", nullptr, folder, outPath);
}
