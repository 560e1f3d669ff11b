// erc: the one current error and the log. An error code is the address of its message text, which is also the
// printf format of its message; two errors are the same only when they are the same pointer.
#pragma once

#include <cstdarg>
#include <cstdint>

typedef const char *Erc;

extern const char ercLowMemory[];      // "Low Memory"
extern const char ercUnknownGeneral[]; // "Unknown general error"
extern const char ercCannotCreateFont[];
extern const char ercCannotLoadBitmap[];
extern const char ercRecoveryAborted[];

enum { ERC_TEXT_MAX = 512 };

// Setters return the code they were given.
Erc ErcSetF(Erc erc, ...);
Erc ErcSetV(Erc erc, va_list args);
Erc ErcSetAt(const char *module, int line, Erc erc);
Erc ErcSetAtF(const char *module, int line, Erc erc, ...);
Erc ErcSetSysF(uint32_t sysError, Erc erc, ...);
Erc ErcSetSysAtF(const char *module, int line, Erc erc, uint32_t sysError, ...);
Erc ErcSetLowMemory();

int ErcIsSet();
Erc ErcGet();
uint32_t ErcGetSysError();
int ErcGetText(char *buffer); // buffer of ERC_TEXT_MAX bytes
void ErcClear();
int ErcLowMemorySeen();
void ErcClearIfLowMemory();
void ErcHoldLowMemory();
void ErcReleaseLowMemory();
void ErcReport();

// The log: "VX.LOG" (or VX2 to VX4) in the "Logs" folder of the user-data folder.
enum { LOG_PATH_MAX = 255 };
int ErcInit(); // after the file layer: opens the log when logging is on
void ErcTerm();
void LogEnable(int on);
int LogIsOn();
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
