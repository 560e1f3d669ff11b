// cmdrun: the command dispatcher (prefix CmdRun, and the dispatcher's names the whole program shares). Every
// command, from a key, a menu, a toolbar, DDE, the command line, another instance, a macro or a recording,
// runs through RunCommand: it tests the command's masks against the state bits, shows it to the keystroke
// recorder, calls its handler, reports low memory, and then runs the follow-up commands that handlers pushed
// (shell/cmd.h), newest first. A handler that fails drops the rest.
//
// Success convention: RunCommand answers true when the command ran and its handler returned 0, or when there
// was nothing to run; handlers' own results are 0 done, 2 cancelled, other values failed.
#pragma once

#include "shell/cmd.h"

#include <cstdint>

bool RunCommand(int32_t command, bool fromKey);
// Runs the command, custom command or macro of that name: 0 when it ran and reported no failure, else the
// handler's own result, or 1 when the command could not run.
int RunCommandByName(const char *name);

int32_t CurrentCommand();   // the command being run, or the last one
int LastCommandResult();    // the last handler's result
bool CommandFromKey();      // the running command was delivered by a key
uint32_t LastCommandTime(); // tick of the end of the last command

// The state bits that command masks test (CommandState), computed afresh each time.
uint32_t GetCommandState();
bool IsCommandEnabledNow(int32_t command); // false for a row without handler

// Memory: the system's page file or address space has under 10 MB available (never while the registry value
// "SkipResourceCheck" is set); low also after a low-memory error since the last clear.
bool SystemResourcesLow();
bool ResourcesLow();
bool ReportLowResources(); // shows the low-resources message: true when resources are low

// Switches read at start-up and by the logging options: "LogCommands" logs every command run while the log
// is on; "HeapStatus" shows the heap's figures after every command.
void CmdRunSetLogCommands(bool on);
void CmdRunSetHeapStatus(bool on);
bool CmdRunLogCommandsOn();

// Row 109 "Redraw Screen": redraws every window of the program.
int CmdRedrawScreen(int32_t command);

// The facts of the current buffer, front window and project behind the state bits.
struct CommandStateFacts {
    bool buffer;            // a file buffer is current
    bool clipboardDocument; // it is the built-in "Clipboard" document
    bool selection;         // the front window's selection is not empty
    bool canUndo;           // the buffer is writable and its undo position is above 0
    bool canRedo;           // writable, and its undo position is below its last record
    bool twoBuffers;        // exactly two file buffers exist
    bool canPaste;          // the "Clipboard" document has lines, or the system clipboard changed
    bool nextWindow;        // the front source window has a next window
    bool windowLink;        // a window link is in force
    bool project;           // a project is open
    bool readOnlyProject;   // it is read-only
};

// What the dispatcher asks of the lower subsystems not built yet and of those above the shell. Every member
// may be null, which gives the neutral answer in brackets.
struct CmdRunHooks {
    void (*stateFacts)(CommandStateFacts *facts); // [no buffer, no project]
    CommandHandler typingHandler;                 // the handler that keeps a typing run open [none]
    void (*endTypingRun)();                       // close the open typing run [nothing]
    bool (*typingRunOpen)();                      // [no]
    void (*endCommandEdit)();                     // end the edit a previous command left open [nothing]
    void (*hideHoverTip)();                       // [nothing]
    bool (*macroRunning)();                       // [no]
    void (*appCommandEvent)(int32_t command);     // the event macro "AppCommand" [nothing]
    void (*freeSymbolCaches)();                   // the symbol lists of every buffer but the current one
    void (*freeCustomCommandCaches)();            // [nothing]
    void (*closeIdleProjects)(uint32_t idleMs);   // 0 closes every project but the current one [nothing]
    void (*adoptActiveWindow)();                  // without a current buffer, the active source window's
    void (*repaintSourceWindows)(bool whole);     // whole, or only their invalid parts [nothing]
};
void CmdRunSetHooks(const CmdRunHooks *hooks); // null: all neutral

// Test seam: the system's free page file and address space in bytes; false when unknown (not low).
typedef bool (*CmdRunMemoryProbe)(uint64_t *availPageFile, uint64_t *availVirtual);
void CmdRunSetMemoryProbe(CmdRunMemoryProbe probe); // null asks the system again
