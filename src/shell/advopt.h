// advopt: the advanced and logging options (prefixes AdvancedOptions, LoggingOptions, TrackingOptions, and the
// handlers of "Parse File Now" and "Internal Test"). Switches that turn internal caches and optimisations off
// for troubleshooting, the size of the file layer's block cache, the log file and what goes into it. They
// live in the registry under "Options\Advanced" as DWORD values named as below, read once at start-up and
// written whenever a dialog is confirmed; nothing of them is in the configuration file.
//
// The record is the Advanced Options dialog's data: its first 16 words are the check boxes in order, word 16
// the cache size; the three log values follow. A switch's value is the registry's: "NoSymCache" = 1 turns
// symbol caching off.
//
// Success convention: bool, true on success; command handlers return 0 when done, 2 when cancelled.
#pragma once

#include <cstdint>

enum AdvancedValue : int32_t {
    ADV_NO_SYM_CACHE = 0,       // "NoSymCache"
    ADV_NO_MISSING_SYM_CACHE,   // "NoMissingSymCache"
    ADV_NO_PROJ_SYM_CACHE,      // "NoProjSymCache"
    ADV_NO_LINE_LEX_CACHE,      // "NoLineLexCache"
    ADV_NO_FORMAT_CACHE,        // "NoFormatCache"
    ADV_NO_QUICK_FORMAT,        // "NoQuickFormat"
    ADV_NO_SMART_UPDATE,        // "NoSmartUpdate"
    ADV_NO_FAST_TAG_COMPARE,    // "NoFastTagCompare"
    ADV_NO_TAG_RELATION_CACHE,  // "NoTagRelationCache"
    ADV_SHOW_HIDDEN_TAGS,       // "ShowHiddenTags"
    ADV_NO_BACKGROUND_PROJECTS, // "NoBackgroundProjects"
    ADV_NO_LAZY_DOC_CLOSE,      // "NoLazyDocClose"
    ADV_NO_FILE_MAPPING,        // "NoFileMapping"
    ADV_NO_PROJ_SERVER,         // "NoProjServerFunctions"
    ADV_MONITOR_DB,             // "MonitorDatabaseCorruption"
    ADV_USE_LOG_FILE,           // "UseLogFile"
    ADV_FILE_CACHE_KB,          // "FileCacheKbV2": 1 to 1024
    ADV_LOG_COMMANDS,           // "LogCommands"
    ADV_LOG_FILE_NAMES,         // "LogFileNames"
    ADV_LOG_RELATION_WINDOW,    // "LogRelationWindow"
    ADV_VALUES,
    ADV_SWITCHES = ADV_FILE_CACHE_KB, // the dialog's check boxes
};

enum : int32_t {
    ADV_CACHE_KB_MIN = 1,
    ADV_CACHE_KB_MAX = 1024,
    ADV_CACHE_KB_DEFAULT = 1024,
};

extern const char advancedKey[]; // "Options\Advanced"

struct AdvancedOptions {
    int32_t values[ADV_VALUES];
};

const char *AdvancedOptionName(int32_t value); // the registry value's name; "" outside the record

// The program's current state as a record; a whole record applied (a cache size outside 1..1024 taken as
// the nearest bound, a resize the file layer refuses leaving the old size; before the file layer has made
// its cache, the size it should make).
void AdvancedOptionsGet(AdvancedOptions *out);
void AdvancedOptionsApply(const AdvancedOptions *record);
// Start-up: the current state with every value the registry holds, applied. Save: every value written.
void AdvancedOptionsLoad();
bool AdvancedOptionsSave();
// One value of the current state (the registry's meaning).
int32_t AdvancedOption(int32_t value);

struct LoggingOptionsRecord;
struct TrackingOptionsRecord;

// What the options reach above the shell. Every member may be null: the neutral answers in brackets.
struct AdvancedHooks {
    void (*logCommands)(bool on);      // the dispatcher's command logging [nothing]
    void (*closeBackgroundProjects)(); // every open project but the current one [nothing]
    void (*flushFormatCache)();        // the formatted-line cache [nothing]
    void (*refreshCacheWindows)();     // the windows that show what the caches hold [nothing]
    // Starts a program (a command line, a working folder or null); false when it could not [false]
    bool (*runProgram)(const char *commandLine, const char *folder);
    // The three dialogs over their records: 1 after OK, else 0. Without them the commands are not available.
    int (*advancedDialog)(AdvancedOptions *record);
    int (*loggingDialog)(LoggingOptionsRecord *record);
    int (*trackingDialog)(TrackingOptionsRecord *record);
};
void AdvancedSetHooks(const AdvancedHooks *hooks); // null: all neutral

// The Advanced Options dialog's "Logging...": after the Logging Options dialog, "Use a log file" shows the
// log's state.
void AdvancedAfterLogging(AdvancedOptions *record);

// The Logging Options dialog's data, in control order: "Output to log file", "Log user commands".
struct LoggingOptionsRecord {
    int32_t useLog;
    int32_t logCommands;
};
void LoggingOptionsFill(LoggingOptionsRecord *record);
// OK: the log switch and command logging applied, every advanced value saved.
bool LoggingOptionsApply(const LoggingOptionsRecord *record);
// "Open log file in Notepad": the log flushed, then "notepad.exe" with its path (quoted when it holds a
// blank). The command line in out (at least 300 bytes); false when the program could not be started.
bool LoggingOpenInNotepad(char *out);
// "Empty the log file": the log emptied and left on or off as it was.
void LoggingEmpty();

// The Symbol Tracking Options dialog's data, in control order: the mode (0 off, 1 the selected symbol, 2 the
// enclosing function or class), "Inside of comments", "Inside of string constants", "Inside all file
// types". The tracking word keeps the mode in bits 0-3 and the three switches in bits 4, 6 and 5.
struct TrackingOptionsRecord {
    int32_t mode;
    int32_t comments;
    int32_t strings;
    int32_t allFiles;
};
void TrackingOptionsFill(uint32_t word, TrackingOptionsRecord *record);
uint32_t TrackingOptionsApply(uint32_t word, const TrackingOptionsRecord *record); // other bits unchanged

// The dialogs. "Advanced Options...": OK saves the record to the registry and applies it. Logging Options:
// OK applies the log switch and saves every advanced value. Symbol Tracking Options: OK writes the word
// back. Each gives 0 after OK and 2 after Cancel.
int CmdAdvancedOptions(int32_t command);
int LoggingOptionsDialog();
int TrackingOptionsDialog(uint32_t *word);

// Command handlers.
int CmdParseFileNow(int32_t command); // the current buffer's symbols made current at once
int CmdInternalTest(int32_t command); // does nothing
