// advopt: the advanced and logging options (prefixes AdvancedOptions, LoggingOptions, TrackingOptions, helpers
// Adv). One table names every value and says where the program keeps it: most switches here, the memory
// mapping of files and the log in the foundation, command logging in the dispatcher (through a hook). The
// record is built from the table's getters and applied through its setters.
#include "shell/advopt.h"

#include "base/file.h"
#include "base/filecache.h"
#include "base/log.h"
#include "base/str.h"
#include "base/utilil.h"
#include "doc/dochook.h"
#include "shell/cmd.h"
#include "shell/setting.h"

#include <cstdio>
#include <cstring>

const char advancedKey[] = "Options\\Advanced";

// ---- Hooks

static void AdvLogNothing(bool) {}
static void AdvNothing() {}
static bool AdvNoProgram(const char *, const char *) {
    return false;
}

static const AdvancedHooks advNeutral = {AdvLogNothing, AdvNothing, AdvNothing, AdvNothing,
                                         AdvNoProgram,  nullptr,    nullptr,    nullptr};
static AdvancedHooks advHooks = advNeutral;

void AdvancedSetHooks(const AdvancedHooks *hooks) {
    AdvancedHooks h = hooks ? *hooks : advNeutral;
    if (!h.logCommands) h.logCommands = advNeutral.logCommands;
    if (!h.closeBackgroundProjects) h.closeBackgroundProjects = advNeutral.closeBackgroundProjects;
    if (!h.flushFormatCache) h.flushFormatCache = advNeutral.flushFormatCache;
    if (!h.refreshCacheWindows) h.refreshCacheWindows = advNeutral.refreshCacheWindows;
    if (!h.runProgram) h.runProgram = advNeutral.runProgram;
    advHooks = h;
}

// ---- The values and where they live

static int32_t advKept[ADV_VALUES];
static int32_t advCacheKb = ADV_CACHE_KB_DEFAULT;

static int32_t AdvGetKept(int32_t value) {
    return advKept[value];
}

static void AdvSetKept(int32_t value, int32_t v) {
    advKept[value] = v != 0;
}

static int32_t AdvGetMapping(int32_t) {
    return !FileMemoryMapping();
}

// Files mapped while mapping was allowed are unmapped when it no longer is.
static void AdvSetMapping(int32_t, int32_t v) {
    FileSetMemoryMapping(!v);
    if (v) FileUnmapAll();
}

static int32_t AdvGetLog(int32_t) {
    return LogIsOn();
}

static void AdvSetLog(int32_t, int32_t v) {
    LogEnable(v != 0);
}

static int32_t AdvGetCache(int32_t) {
    return advCacheKb;
}

// A size outside what the dialog allows is taken as its nearest bound; a size the file layer cannot take
// leaves the cache as it was. Before the file layer has its cache only the size is noted, for its start.
static void AdvSetCache(int32_t, int32_t v) {
    int32_t kb = Clamp(v, ADV_CACHE_KB_MIN, ADV_CACHE_KB_MAX);
    if (!FileCacheIsReady())
        advCacheKb = kb;
    else if (kb != advCacheKb && FileCacheResize(kb))
        advCacheKb = kb;
}

static void AdvSetBackground(int32_t value, int32_t v) {
    bool closing = v && !advKept[value];
    AdvSetKept(value, v);
    if (closing) advHooks.closeBackgroundProjects();
}

static void AdvSetLogCommands(int32_t value, int32_t v) {
    AdvSetKept(value, v);
    advHooks.logCommands(v != 0);
}

struct AdvRow {
    const char *name;
    int32_t (*get)(int32_t value);
    void (*set)(int32_t value, int32_t v);
};

static const AdvRow advRows[ADV_VALUES] = {
    {"NoSymCache", AdvGetKept, AdvSetKept},
    {"NoMissingSymCache", AdvGetKept, AdvSetKept},
    {"NoProjSymCache", AdvGetKept, AdvSetKept},
    {"NoLineLexCache", AdvGetKept, AdvSetKept},
    {"NoFormatCache", AdvGetKept, AdvSetKept},
    {"NoQuickFormat", AdvGetKept, AdvSetKept},
    {"NoSmartUpdate", AdvGetKept, AdvSetKept},
    {"NoFastTagCompare", AdvGetKept, AdvSetKept},
    {"NoTagRelationCache", AdvGetKept, AdvSetKept},
    {"ShowHiddenTags", AdvGetKept, AdvSetKept},
    {"NoBackgroundProjects", AdvGetKept, AdvSetBackground},
    {"NoLazyDocClose", AdvGetKept, AdvSetKept},
    {"NoFileMapping", AdvGetMapping, AdvSetMapping},
    {"NoProjServerFunctions", AdvGetKept, AdvSetKept},
    {"MonitorDatabaseCorruption", AdvGetKept, AdvSetKept},
    {"UseLogFile", AdvGetLog, AdvSetLog},
    {"FileCacheKbV2", AdvGetCache, AdvSetCache},
    {"LogCommands", AdvGetKept, AdvSetLogCommands},
    {"LogFileNames", AdvGetKept, AdvSetKept},
    {"LogRelationWindow", AdvGetKept, AdvSetKept},
};

const char *AdvancedOptionName(int32_t value) {
    return value >= 0 && value < ADV_VALUES ? advRows[value].name : "";
}

int32_t AdvancedOption(int32_t value) {
    return value >= 0 && value < ADV_VALUES ? advRows[value].get(value) : 0;
}

void AdvancedOptionsGet(AdvancedOptions *out) {
    for (int32_t i = 0; i < ADV_VALUES; i++) out->values[i] = advRows[i].get(i);
}

void AdvancedOptionsApply(const AdvancedOptions *record) {
    for (int32_t i = 0; i < ADV_VALUES; i++) advRows[i].set(i, record->values[i]);
    advHooks.flushFormatCache();
    advHooks.refreshCacheWindows();
}

void AdvancedOptionsLoad() {
    AdvancedOptions record;
    AdvancedOptionsGet(&record);
    for (int32_t i = 0; i < ADV_VALUES; i++) SettingGetInt(advancedKey, advRows[i].name, &record.values[i]);
    AdvancedOptionsApply(&record);
}

bool AdvancedOptionsSave() {
    bool ok = true;
    for (int32_t i = 0; i < ADV_VALUES; i++)
        ok = SettingSetDword(advancedKey, advRows[i].name, (uint32_t)advRows[i].get(i)) && ok;
    return ok;
}

void AdvancedAfterLogging(AdvancedOptions *record) {
    record->values[ADV_USE_LOG_FILE] = LogIsOn();
}

// ---- Logging Options

void LoggingOptionsFill(LoggingOptionsRecord *record) {
    record->useLog = LogIsOn();
    record->logCommands = advKept[ADV_LOG_COMMANDS];
}

bool LoggingOptionsApply(const LoggingOptionsRecord *record) {
    AdvSetLog(ADV_USE_LOG_FILE, record->useLog);
    AdvSetLogCommands(ADV_LOG_COMMANDS, record->logCommands);
    return AdvancedOptionsSave();
}

bool LoggingOpenInNotepad(char *out) {
    LogFlush();
    char path[LOG_PATH_MAX + 1];
    LogGetPath(path);
    const char *quote = strchr(path, ' ') ? "\"" : "";
    snprintf(out, 300, "notepad.exe %s%s%s", quote, path, quote);
    return advHooks.runProgram(out, nullptr);
}

// A log that is off has no open file to empty: it is opened for the moment.
void LoggingEmpty() {
    bool on = LogIsOn();
    if (!on) LogEnable(true);
    LogClear();
    if (!on) LogEnable(false);
}

// ---- Symbol Tracking Options

enum : uint32_t {
    ADV_TRACK_MODE = 0xF,
    ADV_TRACK_COMMENTS = 1u << 4,
    ADV_TRACK_ALL_FILES = 1u << 5,
    ADV_TRACK_STRINGS = 1u << 6,
};

void TrackingOptionsFill(uint32_t word, TrackingOptionsRecord *record) {
    record->mode = (int32_t)(word & ADV_TRACK_MODE);
    record->comments = (word & ADV_TRACK_COMMENTS) != 0;
    record->strings = (word & ADV_TRACK_STRINGS) != 0;
    record->allFiles = (word & ADV_TRACK_ALL_FILES) != 0;
}

uint32_t TrackingOptionsApply(uint32_t word, const TrackingOptionsRecord *record) {
    word &= ~(ADV_TRACK_MODE | ADV_TRACK_COMMENTS | ADV_TRACK_STRINGS | ADV_TRACK_ALL_FILES);
    word |= (uint32_t)record->mode & ADV_TRACK_MODE;
    if (record->comments) word |= ADV_TRACK_COMMENTS;
    if (record->strings) word |= ADV_TRACK_STRINGS;
    if (record->allFiles) word |= ADV_TRACK_ALL_FILES;
    return word;
}

// ---- Dialogs and commands

int CmdAdvancedOptions(int32_t command) {
    if (!advHooks.advancedDialog) return CmdUnavailable(command);
    AdvancedOptions record;
    AdvancedOptionsGet(&record);
    if (advHooks.advancedDialog(&record) != 1) return 2;
    AdvancedOptionsApply(&record);
    AdvancedOptionsSave();
    return 0;
}

int LoggingOptionsDialog() {
    if (!advHooks.loggingDialog) return CmdUnavailable(0);
    LoggingOptionsRecord record;
    LoggingOptionsFill(&record);
    if (advHooks.loggingDialog(&record) != 1) return 2;
    LoggingOptionsApply(&record);
    return 0;
}

int TrackingOptionsDialog(uint32_t *word) {
    if (!advHooks.trackingDialog) return CmdUnavailable(0);
    TrackingOptionsRecord record;
    TrackingOptionsFill(*word, &record);
    if (advHooks.trackingDialog(&record) != 1) return 2;
    *word = TrackingOptionsApply(*word, &record);
    return 0;
}

int CmdParseFileNow(int32_t) {
    FileBuffer *doc = DocShell().currentDoc();
    if (doc) DocLang().ensureDocParsed(doc, false);
    return 0;
}

int CmdInternalTest(int32_t) {
    return 0;
}
