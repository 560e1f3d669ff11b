// sysprobe: what the program knows of the system it runs on (prefixes Sys and Comctl): the version, the
// common-controls version, the remote-session flags and the memory status. SysProbe runs once at start-up,
// before any window exists, and also sets the heap's size limit and, in a remote session, the screen-font
// zoom.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Looks up an entry point in a loaded library; null when it is missing.
template <typename Fn>
inline Fn SysProc(HMODULE module, const char *name) {
    return module ? (Fn)(void (*)())GetProcAddress(module, name) : nullptr;
}

// System facts. SysProbe runs once at start-up, before any window exists; 0 when the version is unknown.
int SysProbe(HKEY programKey);
bool SysIsNtPlatform();
bool SysIsWin9x();
bool SysHasNativeWheel();
bool SysIsWin98Or2000();
bool SysIsNt5();
bool SysIsWin4();
bool SysIsWin6();
bool SysIsVersion350();
uint32_t ComctlGetVersion(); // (major << 16) | minor of "comctl32.dll", 0 without a version entry
uint32_t SysComctlVersion(); // as probed
bool SysComctlBelow470();
bool SysComctlAbove471();
bool SysComctlAbove579();
void SysDetectRemote(HKEY programKey);
bool SysIsRemoteSession();
bool SysIsTerminalServices(); // the Terminal Server flag as probed
bool SysIsTerminalServer();   // asks the system
bool SysProductSuiteHas(const char *suite);
bool WndCanUseTransparency();
uint32_t SysGetProcessId();
uint32_t SysSaveLastError();

// Memory: the probe also sets the heap's size limit to 75 % of physical memory.
void SysMemoryStatus();
uint64_t SysTotalPhysical();
uint64_t SysAvailVirtual();
bool SysIsLargeMemory(); // physical memory and free address space both at least 128 MB
size_t SysMemoryBudget();

// Test seam: answers that stand in for the system's while set (null asks the system again): the version,
// the remote-session metric, the Terminal Server suite test and the memory status.
struct SysTestAnswers {
    uint32_t major;
    uint32_t minor;
    uint32_t platform; // VER_PLATFORM_WIN32_NT and its siblings
    int32_t remoteMetric;
    int32_t terminalServer;
    uint64_t totalPhysical;
    uint64_t availVirtual;
};
void SysSetTestAnswers(const SysTestAnswers *answers);
// Test seam: the common-controls version the probe answers ((major << 16) | minor); 0 answers the probed one.
void SysSetTestComctlVersion(uint32_t version);

// The screen-font zoom of a remote session goes to the font layer, which registers this hook.
typedef int32_t (*SysFontZoomHook)(int32_t percent); // answers the zoom it replaced
void SysSetFontZoomHook(SysFontZoomHook hook);
