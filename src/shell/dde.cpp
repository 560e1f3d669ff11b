// dde: the DDE server (prefix Dde). The execute string is copied out of the client's memory bounded by the
// block's size and read by ddeexec; each verb is one row of a table. Windows-only: atoms, global memory and
// the DDE parameter packing.
#include "shell/dde.h"

#include "base/inputpend.h"
#include "base/path.h"
#include "base/utilil.h"
#include "shell/cmdrun.h"
#include "shell/ddeexec.h"
#include "shell/framehook.h"
#include "ui/dlgalert.h"

#include <dde.h>

#include <cstdio>
#include <cstring>

static const char ddeAppName[] = "Veltrix";

enum : int32_t { DDE_CMD_CLOSE = 58 };
enum : WORD {
    DDE_ACK_DONE = 0x8000,
    DDE_ACK_SYNTAX = 0x8001,
};
enum { DDE_BOX_TEXT = 512 };

LRESULT DdeOnInitiate(HWND frame, HWND client, LPARAM lParam) {
    char app[256] = {}, topic[256] = {};
    ATOM appAtom = LOWORD(lParam), topicAtom = HIWORD(lParam);
    if (!appAtom || !GlobalGetAtomNameA(appAtom, app, sizeof app) || !StrEqualI(app, ddeAppName)) return 0;
    if (topicAtom) GlobalGetAtomNameA(topicAtom, topic, sizeof topic);
    // The client deletes the atoms of the answer.
    ATOM ourApp = GlobalAddAtomA(ddeAppName);
    ATOM ourTopic = topic[0] ? GlobalAddAtomA(topic) : 0;
    SendMessageA(client, WM_DDE_ACK, (WPARAM)frame, MAKELPARAM(ourApp, ourTopic));
    return 0;
}

LRESULT DdeOnTerminate(HWND frame, HWND client) {
    PostMessageA(client, WM_DDE_TERMINATE, (WPARAM)frame, 0);
    return 0;
}

// ---- Verbs: 0 goes on with the next item

static bool DdeHasBuffer() {
    return (GetCommandState() & (CMD_STATE_BUFFER | CMD_STATE_CLIPBOARD)) != 0;
}

static int DdeVerbOpen(HWND, const char *argument) {
    return FrameDoc().openDocumentFile(argument);
}

// The named file, as the command line's "-print" prints it, not the current buffer.
static int DdeVerbPrint(HWND, const char *argument) {
    return FrameDisplay().printFileByName(argument, false) ? 0 : 2;
}

static int DdeVerbClose(HWND, const char *) {
    return DdeHasBuffer() && !RunCommand(DDE_CMD_CLOSE, false) ? 1 : 0;
}

static int DdeVerbNew(HWND, const char *argument) {
    return FrameDoc().newUntitled(PathGetExt(argument));
}

static int DdeVerbExit(HWND frame, const char *) {
    SendMessageA(frame, WM_CLOSE, 0, 0);
    return 0;
}

static int DdeVerbInsert(HWND, const char *argument) {
    return DdeHasBuffer() ? FrameDoc().insertFile(argument) : 0;
}

static int DdeVerbAddFile(HWND, const char *argument) {
    return FrameSymbol().projAddFile(argument);
}

static int DdeVerbRemoveFile(HWND, const char *argument) {
    return FrameSymbol().projRemoveFile(argument);
}

static int DdeVerbLoadClip(HWND, const char *argument) {
    return FrameDoc().loadClipFile(argument);
}

static int DdeVerbRunCommand(HWND, const char *argument) {
    return RunCommandByName(argument);
}

struct DdeVerb {
    const char *name;
    int (*run)(HWND frame, const char *argument);
};

static const DdeVerb ddeVerbs[] = {
    {"OPEN", DdeVerbOpen},
    {"PRINT", DdeVerbPrint},
    {"CLOSE", DdeVerbClose},
    {"NEW", DdeVerbNew},
    {"EXIT", DdeVerbExit},
    {"QUIT", DdeVerbExit},
    {"INSERT", DdeVerbInsert},
    {"PROJ_ADDFILE", DdeVerbAddFile},
    {"PROJ_REMOVEFILE", DdeVerbRemoveFile},
    {"LOADCLIP", DdeVerbLoadClip},
    {"RUNCMD", DdeVerbRunCommand},
};

static int DdeRunVerb(const char *verb, const char *argument, void *user) {
    for (const DdeVerb &row : ddeVerbs)
        if (StrEqualI(verb, row.name)) return row.run((HWND)user, argument);
    return 0;
}

// ---- Execute

static void DdeReportSyntax(const char *text, size_t length) {
    if (AlertsSuppressed() || IsBackgroundWork()) return;
    char box[DDE_BOX_TEXT];
    int shown = length < (size_t)DDE_BOX_TEXT ? (int)length : (int)DDE_BOX_TEXT;
    snprintf(box, sizeof box, "DDE Exec syntax error: %.*s", shown, text);
    AlertBox(box, ALERT_INFO, 0);
}

// The execute message carries the handle itself as its parameter; the acknowledgement packs it with the
// status.
static void DdeAcknowledge(HWND frame, HWND client, WORD status, HGLOBAL memory) {
    LPARAM lParam = ReuseDDElParam((LPARAM)memory, WM_DDE_EXECUTE, WM_DDE_ACK, status, (UINT_PTR)memory);
    if (!PostMessageA(client, WM_DDE_ACK, (WPARAM)frame, lParam)) FreeDDElParam(WM_DDE_ACK, lParam);
}

LRESULT DdeExecute(HWND frame, HWND client, HGLOBAL memory) {
    // The client's block may hold no NUL: it is read no further than its own size.
    const char *text = memory ? (const char *)GlobalLock(memory) : nullptr;
    if (!text) {
        DdeAcknowledge(frame, client, 0, memory);
        return 0;
    }
    size_t size = GlobalSize(memory);
    DdeExecStatus status = DdeExecParse(text, size, DdeRunVerb, frame);
    if (status == DDE_EXEC_SYNTAX) DdeReportSyntax(text, strnlen(text, size));
    GlobalUnlock(memory);
    DdeAcknowledge(frame, client, status == DDE_EXEC_SYNTAX ? DDE_ACK_SYNTAX : DDE_ACK_DONE, memory);
    return 0;
}
