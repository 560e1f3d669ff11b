// erc: the current error (prefix Erc) and the log (prefix Log).
// The current error is one code, its formatted text (at most 511 characters), the system error recorded with
// it, the last code that ErcReport showed, and the low-memory flag with its hold count.
// The log is a text file that only grows: "VX.LOG" in the "Logs" folder of the user-data folder ("VX2.LOG" to
// "VX4.LOG" when an earlier name cannot be opened), opened once per run, written directly (no disk cache) at
// its end. Each start of logging writes a line of 44 hyphens; each entry is one line
// "MM/DD/YY HH:MM:SS: text" with CR LF, texts cut at 511 characters.
#include "base/erc.h"

#include "base/file.h"
#include "base/filecache.h"
#include "base/os.h"
#include "base/path.h"
#include "base/toolbox.h"
#include "base/util.h"
#include "base/utilil.h"
#include "ui/dlgalert.h"

#include <cstdio>
#include <cstring>

const char ercLowMemory[] = "Low Memory";
const char ercUnknownGeneral[] = "Unknown general error";
const char ercCannotCreateFont[] = "Cannot create font";
const char ercCannotLoadBitmap[] = "Cannot load bitmap";
const char ercRecoveryAborted[] = "Recovery Aborted";

static Erc ercCurrent;
static Erc ercLastReported;
static char ercText[ERC_TEXT_MAX];
static uint32_t ercSysError;
static int ercLowMemory_;
static int32_t ercHoldCount;

static int logOn = 1;
static LogSink logTestSink;
static int logFile = -1;
static char logPath[LOG_PATH_MAX + 1]; // remembered once a log file was opened

static void ErcRecord(Erc erc, uint32_t sysError, va_list args) {
    ercText[0] = 0;
    if (erc) vsnprintf(ercText, sizeof ercText, erc, args);
    ercCurrent = erc;
    ercSysError = sysError;
}

static void ErcLogLine(const char *module, int line) {
    char text[1024];
    snprintf(text, sizeof text, "ERROR! %s : system error=%u, module=%s line %u", ercText,
             (unsigned)ercSysError, module ? module : "(null)", (unsigned)line);
    LogWrite(text);
}

// "Low Memory" through the system-error setters: dropped while held, else it raises the low-memory flag.
static bool ErcLowMemoryHeld(Erc erc) {
    if (erc != ercLowMemory) return false;
    if (ercHoldCount > 0) return true;
    ercLowMemory_ = 1;
    return false;
}

Erc ErcSetV(Erc erc, va_list args) {
    ErcRecord(erc, OsLastError(), args);
    return erc;
}

Erc ErcSetF(Erc erc, ...) {
    uint32_t sysError = OsLastError();
    va_list args;
    va_start(args, erc);
    ErcRecord(erc, sysError, args);
    va_end(args);
    return erc;
}

// With no arguments the text is taken as it stands: formatting a "%s" with nothing behind it would read
// whatever lies on the stack.
Erc ErcSetAt(const char *module, int line, Erc erc) {
    uint32_t sysError = OsLastError();
    snprintf(ercText, sizeof ercText, "%s", erc ? erc : "");
    ercCurrent = erc;
    ercSysError = sysError;
    ErcLogLine(module, line);
    return erc;
}

Erc ErcSetAtF(const char *module, int line, Erc erc, ...) {
    uint32_t sysError = OsLastError();
    va_list args;
    va_start(args, erc);
    ErcRecord(erc, sysError, args);
    va_end(args);
    ErcLogLine(module, line);
    return erc;
}

Erc ErcSetSysF(uint32_t sysError, Erc erc, ...) {
    if (ErcLowMemoryHeld(erc)) return erc;
    va_list args;
    va_start(args, erc);
    ErcRecord(erc, sysError, args);
    va_end(args);
    return erc;
}

Erc ErcSetSysAtF(const char *module, int line, Erc erc, uint32_t sysError, ...) {
    if (ErcLowMemoryHeld(erc)) return erc;
    va_list args;
    va_start(args, sysError);
    ErcRecord(erc, sysError, args);
    va_end(args);
    ErcLogLine(module, line);
    return erc;
}

Erc ErcSetLowMemory() {
    return ErcSetAtF(nullptr, 0, ercLowMemory);
}

int ErcIsSet() {
    return ercCurrent != nullptr;
}
Erc ErcGet() {
    return ercCurrent;
}
uint32_t ErcGetSysError() {
    return ercSysError;
}

int ErcGetText(char *buffer) {
    if (!ercCurrent) {
        buffer[0] = 0;
        return 0;
    }
    memcpy(buffer, ercText, sizeof ercText);
    return 1;
}

void ErcClear() {
    ercCurrent = nullptr;
    ercLastReported = nullptr;
    ercText[0] = 0;
    ercSysError = 0;
    ercLowMemory_ = 0;
}

int ErcLowMemorySeen() {
    return ercLowMemory_;
}

void ErcClearIfLowMemory() {
    if (ercLowMemory_) ErcClear();
}

void ErcHoldLowMemory() {
    ercHoldCount++;
}
void ErcReleaseLowMemory() {
    ercHoldCount--;
}

// Shows the current error once: the same code is not shown again until it changes or is cleared. The code is
// remembered before the alert opens, so a report from inside the alert's own loop shows nothing.
void ErcReport() {
    if (!ercCurrent || ercCurrent == ercLastReported) return;
    ercLastReported = ercCurrent;
    AlertError("Error: %s", ercText);
}

// ---- The log ----

enum { LOG_TEXT_MAX = 511 };

static const char logSeparator[] = "--------------------------------------------\r\n";
static const char *const logNames[] = {"VX.LOG", "VX2.LOG", "VX3.LOG", "VX4.LOG"};

static bool LogFolderExists(const char *path) {
    FileOsInfo info;
    return FileOsPathInfo(path, &info) && (info.attributes & FILEOS_ATTR_FOLDER);
}

void LogGetFolder(char *buffer) {
    const char *userData = ToolboxUserDataDir();
    PathJoin(userData, "Logs", buffer);
    if (LogFolderExists(buffer) || FileOsGetCalls()->makeDir(buffer)) return;
    StrCopyMaxLen(userData, buffer, LOG_PATH_MAX);
}

void LogGetPath(char *buffer) {
    if (logPath[0]) {
        StrCopyMaxLen(logPath, buffer, LOG_PATH_MAX);
        return;
    }
    char folder[LOG_PATH_MAX + 1];
    LogGetFolder(folder);
    PathJoin(folder, logNames[0], buffer);
}

// A name that opens only read-only would swallow every line: it counts as not opened.
static int LogTryOpen(const char *path) {
    int file = FileOpenOrCreate(path);
    if (file >= 0 && (FileGetRec(file)->flags & FILE_READONLY)) {
        FileClose(file);
        return -1;
    }
    return file;
}

int LogOpenFile() {
    if (logPath[0]) {
        int file = LogTryOpen(logPath);
        if (file >= 0) return file;
    }
    char folder[LOG_PATH_MAX + 1], path[LOG_PATH_MAX + 1];
    LogGetFolder(folder);
    for (const char *name : logNames) {
        PathJoin(folder, name, path);
        int file = LogTryOpen(path);
        if (file >= 0) {
            StrCopyMaxLen(path, logPath, LOG_PATH_MAX);
            return file;
        }
    }
    return -1;
}

void LogForgetPath() {
    logPath[0] = 0;
}

// A failed write to the log is ignored: the current error stays what it was.
static void LogWriteRaw(const char *bytes, int32_t length) {
    Erc erc = ercCurrent;
    uint32_t sysError = ercSysError;
    char text[ERC_TEXT_MAX];
    memcpy(text, ercText, sizeof text);
    FileReadWrite(logFile, (void *)bytes, length, 1);
    ercCurrent = erc;
    ercSysError = sysError;
    memcpy(ercText, text, sizeof text);
}

static void LogStart() {
    logFile = LogOpenFile();
    if (logFile < 0) return;
    FileSetMappable(logFile, 0);
    FileSetDirect(logFile, 1);
    FileSeek(logFile, FileGetSize(logFile));
    LogWriteRaw(logSeparator, (int32_t)strlen(logSeparator));
    ErcClear();
}

static void LogStop() {
    FileClose(logFile);
    logFile = -1;
}

int ErcInit() {
    LogEnable(logOn);
    return 1;
}

void ErcTerm() {
    if (logFile >= 0) LogStop();
}

// The file is touched only once the file layer runs (its cache is set up).
void LogEnable(int on) {
    logOn = on;
    if (!FileCacheIsReady()) return;
    if (on && logFile < 0) LogStart();
    if (!on && logFile >= 0) LogStop();
}

int LogIsOn() {
    return logOn;
}

void LogSetTestSink(LogSink sink) {
    logTestSink = sink;
}

void LogWrite(const char *text) {
    if (!logOn || !text || !text[0]) return;
    if (logTestSink) logTestSink(text);
    if (logFile < 0) return;
    OsDateTime t;
    OsGetLocalTime(&t);
    char line[32 + LOG_TEXT_MAX];
    int n = snprintf(line, sizeof line, "%02u/%02u/%02u %02u:%02u:%02u: %.511s\r\n", t.month, t.day,
                     t.year % 100u, t.hour, t.minute, t.second, text);
    LogWriteRaw(line, n);
}

void LogPrintf(const char *format, ...) {
    if (!logOn || !format) return;
    char cut[FORMAT_CUT + 1], text[ERC_TEXT_MAX];
    StrCutFormat(format, cut);
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, cut, args);
    va_end(args);
    LogWrite(text);
}

void LogFlush() {
    if (logFile >= 0) FileFlush(logFile);
}

void LogClear() {
    if (logFile >= 0) FileTruncate(logFile);
}
