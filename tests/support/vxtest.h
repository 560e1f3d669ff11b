// Shared test support: every alert is recorded instead of shown, and log lines can be captured.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct VxAlert {
    std::string text;
    int kind;
    int defaultButton;
};

// Alerts shown since the last VxAlertsReset, and the answers the next ones get (IDOK when none is queued).
std::vector<VxAlert> &VxAlerts();
void VxAlertsReset();
void VxAlertAnswer(int answer);

// The table questions (AlertChoose, AlertYesNoAll, AlertRetryContinue) are recorded with this kind, the
// index of the default button as defaultButton, and answered with the button index queued by VxAlertAnswer
// (-1, the box closed, when none is queued).
enum { VX_ALERT_CHOOSE = -1, VX_ALERT_SAVE = -2, VX_ALERT_OPEN = -3 };
// Save and open dialogs are recorded with kind VX_ALERT_SAVE or VX_ALERT_OPEN and the title as text; each
// takes the next name queued for its kind, and is cancelled when none is queued.
void VxSaveAnswer(const std::string &path);
void VxOpenAnswer(const std::string &path);

// Log lines (without their date prefix) written while a capture runs.
void VxLogCaptureStart();
std::vector<std::string> VxLogCaptureStop();

// Records an alert as shown and gives the next queued answer; the alert hooks of every layer call it. A
// choice gives `unanswered` when no answer is queued; a save or open dialog takes the next queued name.
int VxRecordAlert(const char *text, int kind, int defaultButton);
int VxRecordChoice(const char *text, int kind, int defaultButton, int unanswered);
bool VxRecordSave(const char *title, std::string *path);
bool VxRecordOpen(const char *title, std::string *path);

// For the test mains: routes alerts and log lines to the seams above; VxSeamsListen also puts every seam
// back (SeamResetAll) and routes them again after each test.
void VxSeamsInstall();
void VxSeamsListen();
// The part of VxSeamsInstall that belongs to the layers above the foundation: a test program of the
// foundation links support/upper_none.cpp, every other support/upper_ui.cpp.
void VxSeamsInstallUpper();

// The program's per-user settings key, opened for the test program under a key of its own (removed when the
// program ends) where the settings live in the registry.
void VxOpenSettings();

// A fresh empty folder for the running test, under the system's temporary folder; ends without a backslash.
std::string VxTempDir();

// Small system services for tests that run on every system. Paths are in the program's form (backslashes).
void VxMakeDir(const std::string &path);
FILE *VxFileOpen(const std::string &path, const char *mode); // fopen
bool VxFileExists(const std::string &path);
void VxSetEnv(const char *name, const char *value); // a null value removes the variable
void VxSetSystemError(uint32_t code);               // what OsLastError answers next
// Holds the file open for reading and denies others write access, as another program may; null where the
// system has no sharing modes, so that the test has nothing to check there.
void *VxHoldDenyingWrites(const std::string &path);
void VxRelease(void *hold);
void VxRemoveFile(const std::string &path);   // a read-only one too
void VxRemoveTree(const std::string &folder); // the folder and everything in it, attributes notwithstanding
std::string VxCurrentDir();                   // the process's current folder, in the program's form
bool VxSetCurrentDir(const std::string &path);
void VxSetReadOnly(const std::string &path, bool on);
// File times are in 100 ns units since 1601 (UTC), as the file layer keeps them.
void VxSetFileTime(const std::string &path, uint64_t time);
uint64_t VxTimeNow();
// Pages that fault on every touch, as a mapped view whose file went away; freed with VxFreeDeadPages.
void *VxDeadPages(size_t size);
void VxFreeDeadPages(void *pages, size_t size);
