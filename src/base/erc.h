// erc: the one current error (prefix Erc). An error code is the address of its message text, which is also
// the printf format of its message; two errors are the same only when they are the same pointer.
// The library's success convention: a function that can fail returns false, 0, -1 or null (its header says
// which) and sets the current error; the caller shows it when it decides to (ErcReport).
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

bool ErcIsSet();
Erc ErcGet();
uint32_t ErcGetSysError();
bool ErcGetText(char *buffer); // buffer of ERC_TEXT_MAX bytes; false and "" when no error is set
void ErcClear();
bool ErcLowMemorySeen();
void ErcClearIfLowMemory();
void ErcHoldLowMemory();
void ErcReleaseLowMemory();
void ErcReport();

// The whole current error, for code that must leave it as it found it (the log's own writes).
struct ErcSaved {
    Erc erc;
    uint32_t sysError;
    char text[ERC_TEXT_MAX];
};
void ErcSave(ErcSaved *saved);
void ErcRestore(const ErcSaved *saved);

// The error lines of the At setters ("ERROR! text : system error=n, module=m line l") go to the writer the
// log installs; reports ("Error: text") to the alert the window library registers. Unset, nothing is shown.
typedef void (*ErcLineWriter)(const char *line);
void ErcSetLineWriter(ErcLineWriter writer);
// A line of the modules below the log (the heap, the file layer), through the same writer.
void ErcWriteLine(const char *line);
void ErcWriteLineF(const char *format, ...);
typedef void (*ErcAlertHook)(const char *message);
void ErcSetAlertHook(ErcAlertHook hook);
