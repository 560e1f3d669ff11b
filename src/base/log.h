// log: the program's log file (prefix Log): "VX.LOG" (or VX2 to VX4) in the "Logs" folder of the user-data
// folder, one dated line per entry. Writing never fails the caller: a line that cannot be written is lost and
// the current error stays as it was.
#pragma once

enum { LOG_PATH_MAX = 255 };

bool LogInit(); // after the file layer: opens the log when logging is on
void LogTerm();
// The start-up and shutdown of the error module's log, by their other names.
inline bool ErcInit() {
    return LogInit();
}
inline void ErcTerm() {
    LogTerm();
}
void LogEnable(bool on);
bool LogIsOn();
void LogWrite(const char *text);
void LogPrintf(const char *format, ...);
void LogFlush();
void LogClear();
void LogGetFolder(char *buffer); // created when missing; buffers hold LOG_PATH_MAX + 1 bytes
void LogGetPath(char *buffer);
int LogOpenFile(); // file number or -1

// Test seam: every line LogWrite would write (without its date prefix) also goes to the sink.
typedef void (*LogSink)(const char *text);
void LogSetTestSink(LogSink sink);
// Test seam: forget the remembered log path, so that the next open looks for a name again.
void LogForgetPath();
