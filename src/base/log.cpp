// log: the program's log (prefix Log). A text file that only grows: "VX.LOG" in the "Logs" folder of the
// user-data folder ("VX2.LOG" to "VX4.LOG" when an earlier name cannot be opened), opened once per run,
// written directly (no disk cache) at its end. Each start of logging writes a line of 44 hyphens; each entry
// is one line "MM/DD/YY HH:MM:SS: text" with CR LF, texts cut at 511 characters. The log installs itself as
// the error module's line writer.
#include "base/log.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/filecache.h"
#include "base/os.h"
#include "base/path.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/toolbox.h"
#include "base/utilil.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

static bool logOn = true;
static LogSink logTestSink;
static int logFile = -1;
static char logPath[LOG_PATH_MAX + 1]; // remembered once a log file was opened

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
    if (file >= 0 && FileIsReadOnly(file)) {
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
    ErcSaved saved;
    ErcSave(&saved);
    FileReadWrite(logFile, (void *)bytes, length, FILE_TRANSFER_WRITE);
    ErcRestore(&saved);
}

static void LogStart() {
    logFile = LogOpenFile();
    if (logFile < 0) return;
    FileSetMappable(logFile, false);
    FileSetDirect(logFile, true);
    FileSeek(logFile, FileGetSize(logFile));
    LogWriteRaw(logSeparator, (int32_t)strlen(logSeparator));
    ErcClear();
}

static void LogStop() {
    FileClose(logFile);
    logFile = -1;
}

bool LogInit() {
    LogEnable(logOn);
    return true;
}

void LogTerm() {
    if (logFile >= 0) LogStop();
}

// The file is touched only once the file layer runs (its cache is set up).
void LogEnable(bool on) {
    ErcSetLineWriter(LogWrite);
    logOn = on;
    if (!FileCacheIsReady()) return;
    if (on && logFile < 0) LogStart();
    if (!on && logFile >= 0) LogStop();
}

bool LogIsOn() {
    return logOn;
}

static void LogResetSeams() {
    logTestSink = nullptr;
}

void LogSetTestSink(LogSink sink) {
    ErcSetLineWriter(LogWrite);
    logTestSink = sink;
    SeamRegisterReset(LogResetSeams);
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
