// cmdline: applying a command line (prefix CmdLine, and the shell's ProcessCommandLine and
// HandleExternalRequest), at start-up or when a later instance hands its line over, and the queue of
// handed-over lines that the idle chain applies one per turn, in order.
//
// Arguments, each in turn: "+digits" gives the line at which the next file opens (at least 1); "+name"
// opens the file and makes its window the one activated at the end; an option "-name" or "/name" (whole
// words, case ignored): "c" command (run once the line is applied), "f" symbol (shown after the files), "i",
// "n" and "s" (taken elsewhere), "u" (project update, row 135, after the arguments), "ub" (the same, then
// quit), "print" file (printed, then quit), "pc" (close the project), "p" and "pt" project; any other
// argument is a file: a ".WK3" workspace is loaded, a ".CF3" or ".CF" configuration is loaded after the
// other arguments, and any other file opens (created when missing) at the pending line.
// Success: true; option errors are reported and the remaining arguments still applied.
#pragma once

#include <cstdint>

struct CmdLineResult {
    const char *command; // "-c": the command to run once the line is applied (an argument); null when none
    bool quitWhenDone;   // "-print" or "-ub" was applied
};

// File names are made full against the folder (null: the current folder). With loadWorkspace, the default
// workspace is loaded afterwards unless Shift is held or a project was named.
bool ProcessCommandLine(int32_t count, char **args, bool loadWorkspace, const char *folder,
                        CmdLineResult *out);

// A line handed over by another instance: applied in its folder without loading the workspace, then its "-c"
// command is run by name. Its quit-when-done is not followed: the running instance stays.
void HandleExternalRequest(const char *commandLine, const char *folder);

// Handed-over texts, "folder;command line", in arrival order.
bool CmdLineQueueRequest(const char *text); // false when memory fails
bool CmdLineRequestPending();
// The idle chain's step: brings the frame to the front and applies the oldest text (one without ";" is
// dropped). True when a text was taken: the idle turn ends there.
bool CmdLineRequestStep();
void CmdLineRequestsFree();
