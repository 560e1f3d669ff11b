// vxpeer: the other side for the tests of the frame, the DDE server and the requests between instances,
// started by them as a process of its own (a second instance cannot share the test's process):
//   vxpeer dde <file>            runs the execute string held in the file as a DDE client of "Veltrix" (the
//                                management library's client calls, as the Windows shell makes them); exits
//                                with the acknowledgement's status word (0x8000, 0x8001), 101 when no server
//                                answered, 102 when the transaction failed
//   vxpeer send <code> <text>    sends the request with the text and its NUL to every frame; exits with the
//                                answer, 0 when none came
//   vxpeer window <class> <ms>   shows a top-level window of that class until closed or the time is up;
//                                exits with the number of requests (message 2065) it was sent
#include "base/heap.h"
#include "base/wnd.h"
#include "shell/frame.h"
#include "shell/instance.h"

#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

enum { PEER_NO_SERVER = 101, PEER_FAILED = 102, PEER_USAGE = 103 };

static HDDEDATA CALLBACK PeerDdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

static std::string PeerReadFile(const char *path) {
    std::string text;
    if (FILE *file = fopen(path, "rb")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
        fclose(file);
    }
    return text;
}

static int PeerDde(const char *path) {
    std::string text = PeerReadFile(path);
    DWORD instance = 0;
    if (DdeInitializeA(&instance, PeerDdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return PEER_FAILED;
    HSZ service = DdeCreateStringHandleA(instance, "Veltrix", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    int code = PEER_NO_SERVER;
    if (conversation) {
        DWORD result = 0;
        HDDEDATA done = DdeClientTransaction((BYTE *)text.c_str(), (DWORD)text.size() + 1, conversation,
                                             nullptr, 0, XTYP_EXECUTE, 20000, &result);
        code = done ? (int)(result & 0xFFFF) : PEER_FAILED;
        printf("vxpeer: transaction %s, result 0x%lx, error 0x%x\n", done ? "done" : "failed",
               (unsigned long)result, DdeGetLastError(instance));
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return code;
}

static HWND PeerWindow(const char *className, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "vxpeer", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The sender's own frame: answers go only to windows of the frame's class.
static int PeerSend(int32_t code, const char *text) {
    HWND own = PeerWindow(frameClass, DefWindowProcA);
    InstanceMarkFrame(own, true);
    WndSetAppWindows(own, nullptr);
    int32_t answer = 0;
    bool answered = InstanceSend(code, text, (uint32_t)strlen(text) + 1, &answer, false);
    InstanceMarkFrame(own, false);
    DestroyWindow(own);
    return answered ? answer : 0;
}

static int peerRequests;

static LRESULT CALLBACK PeerCountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FRAME_MSG_REQUEST) peerRequests++;
    if (message == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

static int PeerShowWindow(const char *className, DWORD ms) {
    HWND window = PeerWindow(className, PeerCountingProc);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return peerRequests;
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start >= ms) return peerRequests;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

int main(int argc, char **argv) {
    HeapInit();
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "dde" && argc == 3) return PeerDde(argv[2]);
    if (mode == "send" && argc == 4) return PeerSend(atoi(argv[2]), argv[3]);
    if (mode == "window" && argc == 4) return PeerShowWindow(argv[2], (DWORD)atoi(argv[3]));
    fprintf(stderr, "usage: vxpeer dde <file> | send <code> <text> | window <class> <ms>\n");
    return PEER_USAGE;
}
