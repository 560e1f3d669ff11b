// instance: requests between running instances (prefix Instance). The sender's block lives in a mapping of
// the paging file named "vxmsg%u" after its tick count; when that name is taken (another sender in the same
// tick, or a block left behind) the next number is used, so two senders never share a block. Received
// requests wait in a queue, a plex of entries created with the first request, until the idle chain drains
// it. Windows-only: atoms, mappings and window messages.
#include "shell/instance.h"

#include "base/heap.h"
#include "base/inputpend.h"
#include "base/plex.h"
#include "base/seam.h"
#include "base/tick.h"
#include "base/wnd.h"
#include "shell/frame.h"
#include "shell/status.h"

#include <cstdio>
#include <cstring>

enum : uint32_t {
    INSTANCE_WAIT_MS = 1000,
    INSTANCE_LONG_WAIT_MS = 4000,
    INSTANCE_POLL_MS = 250,
    INSTANCE_SEND_TIMEOUT_MS = 2000, // a receiver that does not take the request by then is passed over
    INSTANCE_NAME_TRIES = 64,
    INSTANCE_ATOM_NAME = 256, // an atom's name is at most 255 characters
};
enum : int32_t { INSTANCE_QUEUE_GROWTH = 10 };

static bool instanceEnabled = true;
static Plex *instanceQueue;
static InstanceReleaseHook instanceRelease;

static void InstanceResetSeams() {
    instanceEnabled = true;
    instanceRelease = nullptr;
}

void InstanceEnable(bool on) {
    instanceEnabled = on;
    SeamRegisterReset(InstanceResetSeams);
}

bool InstanceIsEnabled() {
    return instanceEnabled;
}

void InstanceSetReleaseHook(InstanceReleaseHook hook) {
    instanceRelease = hook;
    SeamRegisterReset(InstanceResetSeams);
}

// ---- Frames of other instances

static const char instanceMark[] = "vxInstanceFrame";

void InstanceMarkFrame(HWND frame, bool on) {
    if (on)
        SetPropA(frame, instanceMark, (HANDLE)(uintptr_t)FRAME_MSG_TAG);
    else
        RemovePropA(frame, instanceMark);
}

// Exactly "vx_Frame", and marked: a class whose name differs only in letter case is another program's.
static bool InstanceIsFrame(HWND window) {
    char name[16];
    return GetClassNameA(window, name, sizeof name) > 0 && strcmp(name, frameClass) == 0 &&
           GetPropA(window, instanceMark) != nullptr;
}

typedef bool (*InstanceFrameVisit)(HWND frame, void *user); // false stops the walk

struct InstanceWalk {
    HWND except;
    InstanceFrameVisit visit;
    void *user;
};

static BOOL CALLBACK InstanceEnumProc(HWND window, LPARAM lParam) {
    InstanceWalk *walk = (InstanceWalk *)lParam;
    if (window == walk->except || !InstanceIsFrame(window)) return TRUE;
    return walk->visit(window, walk->user);
}

static void InstanceForEachFrame(HWND except, InstanceFrameVisit visit, void *user) {
    InstanceWalk walk = {except, visit, user};
    EnumWindows(InstanceEnumProc, (LPARAM)&walk);
}

static bool InstanceKeepFirst(HWND frame, void *user) {
    *(HWND *)user = frame;
    return false;
}

HWND InstanceFindFrame(HWND except) {
    HWND found = nullptr;
    InstanceForEachFrame(except, InstanceKeepFirst, &found);
    return found;
}

// Window handles carry 32 significant bits between processes; a 64-bit receiver sign-extends them.
static HWND InstanceWindowFrom(uint32_t window) {
    return (HWND)(intptr_t)(int32_t)window;
}

// ---- Sending

struct InstanceBlock {
    char name[32];
    ATOM atom;
    HANDLE mapping;
    unsigned char *view;
};

// A block of the given size under a name that neither an atom nor a mapping uses yet.
static bool InstanceMakeBlock(uint32_t size, InstanceBlock *block) {
    uint32_t tick = TickNow();
    for (uint32_t i = 0; i < INSTANCE_NAME_TRIES; i++) {
        snprintf(block->name, sizeof block->name, "vxmsg%u", (unsigned)(tick + i));
        if (GlobalFindAtomA(block->name)) continue;
        SetLastError(0);
        block->mapping =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, block->name);
        if (!block->mapping) return false;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(block->mapping);
            continue;
        }
        block->view = (unsigned char *)MapViewOfFile(block->mapping, FILE_MAP_WRITE, 0, 0, size);
        block->atom = block->view ? GlobalAddAtomA(block->name) : 0;
        if (block->atom) return true;
        if (block->view) UnmapViewOfFile(block->view);
        CloseHandle(block->mapping);
        return false;
    }
    return false;
}

static void InstanceFreeBlock(InstanceBlock *block) {
    GlobalDeleteAtom(block->atom);
    UnmapViewOfFile(block->view);
    CloseHandle(block->mapping);
}

struct InstanceDelivery {
    ATOM atom;
    bool found;
};

static bool InstanceDeliver(HWND frame, void *user) {
    InstanceDelivery *delivery = (InstanceDelivery *)user;
    delivery->found = true;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame, FRAME_MSG_REQUEST, FRAME_MSG_TAG, delivery->atom, SMTO_ABORTIFHUNG,
                        INSTANCE_SEND_TIMEOUT_MS, &result);
    return true;
}

// Answers still queued belong to earlier requests: they must not pass for this one's.
static void InstanceDropAnswers(HWND own) {
    MSG msg;
    while (own && PeekMessageA(&msg, own, FRAME_MSG_ANSWER, FRAME_MSG_ANSWER, PM_REMOVE)) {
    }
}

static bool InstanceTakeAnswer(HWND own, int32_t *answer) {
    MSG msg;
    while (own && PeekMessageA(&msg, own, FRAME_MSG_ANSWER, FRAME_MSG_ANSWER, PM_REMOVE)) {
        if (msg.wParam != FRAME_MSG_TAG) continue;
        *answer = (int32_t)msg.lParam;
        return true;
    }
    return false;
}

static bool InstanceWait(HWND own, bool longWait, int32_t *answer) {
    uint32_t timeout = longWait ? INSTANCE_LONG_WAIT_MS : INSTANCE_WAIT_MS;
    uint32_t start = TickNow();
    for (;;) {
        if (TickNow() - start >= timeout) return false;
        if (longWait && InputPending()) return false;
        if (InstanceTakeAnswer(own, answer)) return true;
        TickSleep(INSTANCE_POLL_MS);
    }
}

bool InstanceSend(int32_t code, const void *data, uint32_t length, int32_t *answer, bool longWait) {
    uint32_t size = InstBlockSize(length);
    if (!instanceEnabled || !size) return false;
    HWND own = WndGetAppFrame();
    InstanceDropAnswers(own);
    InstanceBlock block;
    if (!InstanceMakeBlock(size, &block)) return false;
    uint32_t address = (uint32_t)(uintptr_t)(block.view + INSTBLOCK_HEADER_SIZE);
    InstBlockWrite(block.view, (uint32_t)code, HandleToULong(own), address, data, length);
    InstanceDelivery delivery = {block.atom, false};
    InstanceForEachFrame(own, InstanceDeliver, &delivery);
    bool answered = delivery.found && InstanceWait(own, longWait, answer);
    InstanceFreeBlock(&block);
    return answered;
}

// ---- Receiving

// A zeroed entry at the end of the queue, made on first use; null when memory fails.
static InstanceEntry *InstanceAppend() {
    if (!instanceQueue) {
        instanceQueue = PlexCreate(sizeof(InstanceEntry), 0, 0);
        if (!instanceQueue) return nullptr;
        PlexSetGrowth(instanceQueue, INSTANCE_QUEUE_GROWTH);
    }
    return (InstanceEntry *)PlexInsert(instanceQueue, -1, 1, nullptr);
}

// Reads the block of a mapped view, bounded by the pages the view holds.
static bool InstanceReadView(const void *view, InstanceEntry *out) {
    MEMORY_BASIC_INFORMATION info = {};
    size_t size = VirtualQuery(view, &info, sizeof info) ? info.RegionSize : 0;
    return InstBlockRead(view, size, out);
}

bool InstanceReceive(ATOM atom) {
    if (!instanceEnabled) return false;
    InstanceEntry *entry = InstanceAppend();
    if (!entry) return false;
    int32_t index = PlexCount(instanceQueue) - 1;
    char name[INSTANCE_ATOM_NAME + 1];
    if (!GlobalGetAtomNameA(atom, name, sizeof name)) return false;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!mapping) return false;
    void *view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    InstanceEntry read = {};
    bool ok = view && InstanceReadView(view, &read);
    if (view) UnmapViewOfFile(view);
    CloseHandle(mapping);
    *(InstanceEntry *)PlexElem(instanceQueue, index) = read;
    return ok;
}

int32_t InstanceMsgPending() {
    return instanceQueue ? PlexCount(instanceQueue) : 0;
}

bool InstanceTakeNext(InstanceEntry *out) {
    if (!InstanceMsgPending()) return false;
    *out = *(InstanceEntry *)PlexElem(instanceQueue, 0);
    PlexDelete(instanceQueue, 0, 1);
    return true;
}

void InstanceQueueFree() {
    InstanceEntry entry;
    while (InstanceTakeNext(&entry)) InstBlockFreeEntry(&entry);
    if (instanceQueue) PlexFree(instanceQueue);
    instanceQueue = nullptr;
}

// ---- Processing

static bool InstanceShowText(const InstanceEntry *entry, int32_t *answer) {
    static const char format[] = "Server: received data: %s";
    size_t size = sizeof format + entry->length;
    char *text = (char *)MemAlloc(size);
    if (text) {
        snprintf(text, size, format, entry->data);
        StatusSetMessage(text);
        MemFree(text);
    }
    *answer = INSTANCE_TEXT_ANSWER;
    return true;
}

static bool InstanceReleaseProject(const InstanceEntry *entry, int32_t *answer) {
    *answer = 1;
    return instanceRelease && instanceRelease(entry->data);
}

struct InstanceHandler {
    int32_t code;
    bool (*run)(const InstanceEntry *entry, int32_t *answer); // true when the request is answered
};

static const InstanceHandler instanceHandlers[] = {
    {INSTANCE_SHOW_TEXT, InstanceShowText},
    {INSTANCE_RELEASE_PROJECT, InstanceReleaseProject},
};

// Answers go only to a frame of this program, whatever window a block names.
static void InstanceAnswer(uint32_t window, int32_t answer) {
    HWND to = InstanceWindowFrom(window);
    if (to && IsWindow(to) && InstanceIsFrame(to)) PostMessageA(to, FRAME_MSG_ANSWER, FRAME_MSG_TAG, answer);
}

void InstanceProcess(InstanceEntry *entry) {
    int32_t answer = 0;
    for (const InstanceHandler &handler : instanceHandlers)
        if (entry->data && handler.code == entry->code && handler.run(entry, &answer))
            InstanceAnswer(entry->window, answer);
    InstBlockFreeEntry(entry);
}

void DrainInstanceMessages() {
    // The queue itself counts as pending input; only the user's input stops the drain.
    IgnoreQueuedRequestsBegin();
    InstanceEntry entry;
    while (!InputPending() && InstanceTakeNext(&entry)) InstanceProcess(&entry);
    IgnoreQueuedRequestsEnd();
}

// ---- The semaphore

bool InstanceSemaphoreOpen(const char *name, HANDLE *out, bool closeWhenHeld) {
    SetLastError(0);
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, name);
    bool held = !semaphore || GetLastError() == ERROR_ALREADY_EXISTS;
    if (semaphore && held && closeWhenHeld) {
        CloseHandle(semaphore);
        semaphore = nullptr;
    }
    *out = semaphore;
    return held;
}
