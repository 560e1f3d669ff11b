// The shell's window-test support: recording fakes behind the frame's hooks, processes started beside the
// test and the test's frame.
#include "shell/frametest.h"

#include "base/path.h"
#include "base/wnd.h"
#include "shell/cmdline.h"
#include "shell/frame.h"
#include "shell/framehook.h"
#include "shell/instance.h"
#include "shell/vars.h"

#include <vector>

// ---- Fakes

static std::vector<std::string> ftWindows; // the path each window token stands for (token = index + 1)

static bool FtFails(const char *path) {
    return ftFailing.count(PathGetName(path)) != 0;
}

static void FtRecord(const std::string &call) {
    ftCalls.push_back(call);
}

static int FtOpenDocumentFile(const char *path) {
    FtRecord(std::string("open:") + path);
    return FtFails(path) ? 1 : 0;
}

static void *FtOpenFileAtLine(const char *path, int32_t line) {
    FtRecord(std::string("open:") + path + (line ? "@" + std::to_string(line) : ""));
    if (FtFails(path)) return nullptr;
    ftWindows.push_back(path);
    return (void *)(uintptr_t)ftWindows.size();
}

static void FtActivateWindow(void *window) {
    FtRecord("activate:" + ftWindows.at((uintptr_t)window - 1));
}

static int FtNewUntitled(const char *extension) {
    FtRecord(std::string("new:") + extension);
    return 0;
}

static int FtInsertFile(const char *path) {
    FtRecord(std::string("insert:") + path);
    return FtFails(path) ? 1 : 0;
}

static int FtLoadClip(const char *path) {
    FtRecord(std::string("clip:") + path);
    return FtFails(path) ? 1 : 0;
}

static bool FtLoadWorkspace(const char *path, bool restoreWindows) {
    FtRecord(std::string("workspace:") + (path ? path : "default") + (restoreWindows ? "+windows" : ""));
    return true;
}

static bool FtPrint(const char *path, bool showDialog) {
    FtRecord(std::string("print:") + path + (showDialog ? "+dialog" : ""));
    return !FtFails(path);
}

static bool FtLoadConfig(const char *path) {
    FtRecord(std::string("config:") + (path ? path : "global"));
    return true;
}

static void FtSetFrameTitle() {
    FtRecord("title");
}

static bool FtProjectIsOpen() {
    return ftProjectOpen;
}

static bool FtOpenProject(const char *name, bool ptForm) {
    FtRecord(std::string("project:") + name + (ptForm ? "+t" : ""));
    return true;
}

static void FtCloseProject() {
    FtRecord("close project");
}

static bool FtOpenProjectSymbol(const char *name) {
    FtRecord(std::string("project symbol:") + name);
    return ftSymbolFound;
}

static bool FtShowSymbol(const char *name) {
    FtRecord(std::string("symbol:") + name);
    return true;
}

static int FtAddFile(const char *path) {
    FtRecord(std::string("add:") + path);
    return FtFails(path) ? 1 : 0;
}

static int FtRemoveFile(const char *path) {
    FtRecord(std::string("remove:") + path);
    return FtFails(path) ? 1 : 0;
}

void FtInstallFakes() {
    ftCalls.clear();
    ftFailing.clear();
    ftWindows.clear();
    ftProjectOpen = ftSymbolFound = false;
    FrameDocHook doc = *FrameDocNeutral();
    doc.openDocumentFile = FtOpenDocumentFile;
    doc.openFileAtLine = FtOpenFileAtLine;
    doc.activateWindow = FtActivateWindow;
    doc.newUntitled = FtNewUntitled;
    doc.insertFile = FtInsertFile;
    doc.loadClipFile = FtLoadClip;
    doc.loadWorkspace = FtLoadWorkspace;
    FrameSetDocHook(&doc);
    FrameDisplayHook display = *FrameDisplayNeutral();
    display.printFileByName = FtPrint;
    FrameSetDisplayHook(&display);
    FrameShellHook shell = *FrameShellNeutral();
    shell.loadConfig = FtLoadConfig;
    shell.setFrameTitle = FtSetFrameTitle;
    FrameSetShellHook(&shell);
    FrameSymbolHook symbol = *FrameSymbolNeutral();
    symbol.projectIsOpen = FtProjectIsOpen;
    symbol.openProject = FtOpenProject;
    symbol.closeCurrentProject = FtCloseProject;
    symbol.openProjectSymbol = FtOpenProjectSymbol;
    symbol.showSymbol = FtShowSymbol;
    symbol.projAddFile = FtAddFile;
    symbol.projRemoveFile = FtRemoveFile;
    FrameSetSymbolHook(&symbol);
}

// ---- Processes

std::string FtProgram(const char *name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = self;
    folder.resize(folder.rfind('\\'));
    if (std::string(name) == "vx.exe") folder = folder.substr(0, folder.rfind('\\')) + "\\src";
    return folder + "\\" + name;
}

bool FtStart(const std::string &commandLine, const std::string &folder, FtProcess *out) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    out->handle = info.hProcess;
    out->id = info.dwProcessId;
    return true;
}

void FtPump() {
    MSG msg;
    // WM_QUIT of a frame destroyed earlier has nothing to say here.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

DWORD FtWait(FtProcess *process, DWORD timeoutMs, const std::function<void()> &idle) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FtPump();
        if (idle) idle();
        DWORD woke = MsgWaitForMultipleObjects(1, &process->handle, FALSE, 50, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0) continue;
        FtPump();
        DWORD code = FT_TIMED_OUT;
        GetExitCodeProcess(process->handle, &code);
        FtEnd(process);
        return code;
    }
    FtEnd(process);
    return FT_TIMED_OUT;
}

struct FtWindowSearch {
    DWORD process;
    const char *className;
    HWND found;
};

static BOOL CALLBACK FtFindWindow(HWND window, LPARAM lParam) {
    FtWindowSearch *search = (FtWindowSearch *)lParam;
    DWORD owner = 0;
    char name[64];
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !GetClassNameA(window, name, sizeof name) ||
        _stricmp(name, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FtWaitWindow(const FtProcess &process, const char *className, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FtWindowSearch search = {process.id, className, nullptr};
        EnumWindows(FtFindWindow, (LPARAM)&search);
        if (search.found) return search.found;
        FtPump();
        if (WaitForSingleObject(process.handle, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

void FtEnd(FtProcess *process) {
    if (!process->handle) return;
    if (WaitForSingleObject(process->handle, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process->handle, FT_TIMED_OUT);
        WaitForSingleObject(process->handle, 5000);
    }
    CloseHandle(process->handle);
    process->handle = nullptr;
}

// ---- The test's frame

void FrameTest::SetUp() {
    CmdTest::SetUp();
    FtInstallFakes();
    ASSERT_TRUE(RegisterFrameClass(GetModuleHandleA(nullptr)));
    frame = CreateWindowExA(0, frameClass, "Veltrix", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 500, 400,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(FrameGetWindow(), frame);
    g_appRunState = APP_RUNNING;
}

void FrameTest::TearDown() {
    if (IsWindow(frame)) DestroyWindow(frame);
    FtPump();
    g_appRunState = APP_STARTING;
    CmdLineRequestsFree();
    InstanceQueueFree();
    CmdTest::TearDown();
}
