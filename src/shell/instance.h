// instance: requests between running instances of the program (prefix Instance). A sender writes a request
// block (instblock.h) into a named mapping of the paging file, "vxmsg%u" after its tick count, announces the
// name in a global atom sent as message 2065 to every other frame window of the program (InstanceMarkFrame),
// and
// waits briefly for message 2066 with the answer. A receiver only copies the request into its queue while
// the message is being sent; the idle chain processes the queue later (DrainInstanceMessages), so only an
// idle receiver answers in time. The module works only while its switch is on.
// Success: true, or a count; failure false.
#pragma once

#include "shell/instblock.h"

#include <windows.h>

#include <cstdint>

// Request codes.
enum InstanceCode : int32_t {
    INSTANCE_SHOW_TEXT = 1,       // data: a text, shown in the status bar; answered 12345
    INSTANCE_RELEASE_PROJECT = 2, // data: a project name (256 bytes); answered 1 when released
};
enum : int32_t { INSTANCE_TEXT_ANSWER = 12345 };

// The switch (on by default; the advanced option "NoProjServerFunctions" turns it off). While it is off,
// sending fails at once and requests that arrive are dropped.
void InstanceEnable(bool on);
bool InstanceIsEnabled();

// Sends the request to every other instance and waits for the first answer: 1000 ms, or 4000 ms with
// longWait, which also gives up when input is pending. True with *answer set when an answer came.
bool InstanceSend(int32_t code, const void *data, uint32_t length, int32_t *answer, bool longWait);

// Message 2065's work in the receiving frame: reads the block the atom names and queues the request. An entry
// is queued even when the block cannot be read (one without data, which processing passes over); true when
// the request was read.
bool InstanceReceive(ATOM atom);

int32_t InstanceMsgPending();              // queued requests; 0 when none was ever received
bool InstanceTakeNext(InstanceEntry *out); // the oldest request, taken off the queue; false when none
// Carries the request out, answers it to the sender's frame and frees its data.
void InstanceProcess(InstanceEntry *entry);
// The idle chain's step: takes and processes requests until the queue is empty or input is pending.
void DrainInstanceMessages();
void InstanceQueueFree(); // drops every queued request (shutdown, tests)

// Code 2's work, which belongs to the projects: release this instance's hold on the project of that name
// when it is open here, is not the current project and is not busy; true when released. Registered by the
// project module; while unset nothing is released and nothing answered.
typedef bool (*InstanceReleaseHook)(const char *projectName);
void InstanceSetReleaseHook(InstanceReleaseHook hook);

// A named semaphore of count 1 made for this process: true when it existed already (another instance holds
// it), false when this call made it. The handle goes to *out (null when it could not be made, which counts as
// held); with closeWhenHeld, a semaphore that existed is closed again at once.
bool InstanceSemaphoreOpen(const char *name, HANDLE *out, bool closeWhenHeld);

// The frames of the program carry a mark that other instances look for beside the class name: windows whose
// class names differ only in letter case share one name on the display, so a class of another program named
// "VX_FRAME" reads as vx_Frame. Marked when made, unmarked before destroyed.
void InstanceMarkFrame(HWND frame, bool on);
// The first top-level frame of another instance (class exactly vx_Frame, marked) other than the given
// window; null when none.
HWND InstanceFindFrame(HWND except);
