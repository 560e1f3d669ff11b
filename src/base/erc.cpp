// erc: the current error (prefix Erc). It is one code, its formatted text (at most 511 characters), the
// system error recorded with it, the last code that ErcReport showed, and the low-memory flag with its hold
// count. Error lines go to the writer the log installs; reports go to the alert the window library
// registers. Neither is needed: without them lines and reports go nowhere.
#include "base/erc.h"

#include "base/os.h"
#include "base/seam.h"

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
static bool ercLowMemory_;
static int32_t ercHoldCount;

static ErcLineWriter ercWriter;
static ErcAlertHook ercAlert;

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
    ErcWriteLine(text);
}

// "Low Memory" through the system-error setters: dropped while held, else it raises the low-memory flag.
static bool ErcLowMemoryHeld(Erc erc) {
    if (erc != ercLowMemory) return false;
    if (ercHoldCount > 0) return true;
    ercLowMemory_ = true;
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

bool ErcIsSet() {
    return ercCurrent != nullptr;
}
Erc ErcGet() {
    return ercCurrent;
}
uint32_t ErcGetSysError() {
    return ercSysError;
}

bool ErcGetText(char *buffer) {
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
    ercLowMemory_ = false;
}

bool ErcLowMemorySeen() {
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
    if (!ercAlert) return;
    char message[ERC_TEXT_MAX + 8];
    snprintf(message, sizeof message, "Error: %s", ercText);
    ercAlert(message);
}

static void ErcResetSeams() {
    ercWriter = nullptr;
    ercAlert = nullptr;
}

void ErcSetLineWriter(ErcLineWriter writer) {
    ercWriter = writer;
    SeamRegisterReset(ErcResetSeams);
}

void ErcWriteLine(const char *line) {
    if (ercWriter) ercWriter(line);
}

void ErcWriteLineF(const char *format, ...) {
    if (!ercWriter) return;
    char line[ERC_TEXT_MAX];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    ercWriter(line);
}

void ErcSetAlertHook(ErcAlertHook hook) {
    ercAlert = hook;
    SeamRegisterReset(ErcResetSeams);
}

void ErcSave(ErcSaved *saved) {
    saved->erc = ercCurrent;
    saved->sysError = ercSysError;
    memcpy(saved->text, ercText, sizeof ercText);
}

void ErcRestore(const ErcSaved *saved) {
    ercCurrent = saved->erc;
    ercSysError = saved->sysError;
    memcpy(ercText, saved->text, sizeof ercText);
}
