// sysprobe: the system facts, probed once at start-up and kept. A fact the probe could not read keeps its
// neutral value; the test answers stand in for the system's version, remote metric, Terminal Server test and
// memory status while they are set.
#include "base/sysprobe.h"

#include "base/heap.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/toolbox.h"
#include "base/wheel.h"

#include <cstring>

enum : uint32_t {
    SYS_LARGE_MEMORY = 134217728, // 128 MB
};

static int sysVersionKnown;
static uint32_t sysMajor, sysMinor, sysPlatform;
static uint32_t sysComctlVersion;
static int sysRemote;
static int sysTerminalServices;
static int sysTransparentWindows = 1;
static uint64_t sysTotalPhysical, sysAvailVirtual;
static int sysLargeMemory;
static size_t sysMemoryBudget;
static uint32_t sysLastError;
static const SysTestAnswers *sysAnswers;
static uint32_t sysTestComctlVersion;

static SysFontZoomHook sysFontZoom;

static void SysResetSeams() {
    sysAnswers = nullptr;
    sysVersionKnown = 0;
    sysFontZoom = nullptr;
    sysTestComctlVersion = 0;
}

void SysSetTestComctlVersion(uint32_t version) {
    sysTestComctlVersion = version;
    SeamRegisterReset(SysResetSeams);
}

void SysSetFontZoomHook(SysFontZoomHook hook) {
    sysFontZoom = hook;
    SeamRegisterReset(SysResetSeams);
}

void SysSetTestAnswers(const SysTestAnswers *answers) {
    sysAnswers = answers;
    sysVersionKnown = 0;
    SeamRegisterReset(SysResetSeams);
}

static int SysReadVersion() {
    if (sysAnswers) {
        sysMajor = sysAnswers->major;
        sysMinor = sysAnswers->minor;
        sysPlatform = sysAnswers->platform;
        return sysVersionKnown = 1;
    }
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return 0;
    sysMajor = info.dwMajorVersion;
    sysMinor = info.dwMinorVersion;
    sysPlatform = info.dwPlatformId;
    return sysVersionKnown = 1;
}

// The version tests answer before the probe too.
static void SysEnsureVersion() {
    if (!sysVersionKnown) SysReadVersion();
}

bool SysIsNtPlatform() {
    SysEnsureVersion();
    return sysPlatform == VER_PLATFORM_WIN32_NT;
}
bool SysIsWin9x() {
    return !SysIsNtPlatform() && sysMajor == 4;
}
bool SysHasNativeWheel() {
    int nt = SysIsNtPlatform();
    return (nt && sysMajor > 3) || (!nt && sysMajor > 4) || (!nt && sysMajor == 4 && sysMinor > 0);
}
bool SysIsWin98Or2000() {
    int nt = SysIsNtPlatform();
    return (nt && sysMajor > 4) || (!nt && sysMajor > 4) || (!nt && sysMajor == 4 && sysMinor > 0);
}
bool SysIsNt5() {
    return SysIsNtPlatform() && sysMajor > 4;
}
bool SysIsWin4() {
    SysEnsureVersion();
    return sysMajor > 3;
}
bool SysIsWin6() {
    SysEnsureVersion();
    return sysMajor > 5;
}
bool SysIsVersion350() {
    SysEnsureVersion();
    return sysMajor == 3 && sysMinor == 50;
}

// The version record that DllGetVersion fills.
struct ComctlVersionInfo {
    DWORD size;
    DWORD major;
    DWORD minor;
    DWORD build;
    DWORD platform;
};
static_assert(sizeof(ComctlVersionInfo) == 20);

uint32_t ComctlGetVersion() {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return 0;
    auto getVersion = SysProc<HRESULT(CALLBACK *)(ComctlVersionInfo *)>(library, "DllGetVersion");
    ComctlVersionInfo info = {};
    info.size = sizeof info;
    uint32_t version = 0;
    if (getVersion && SUCCEEDED(getVersion(&info))) version = (info.major << 16) | (info.minor & 0xFFFF);
    FreeLibrary(library);
    return version;
}

uint32_t SysComctlVersion() {
    return sysTestComctlVersion ? sysTestComctlVersion : sysComctlVersion;
}
bool SysComctlBelow470() {
    return SysComctlVersion() < 0x40046;
}
bool SysComctlAbove471() {
    return SysComctlVersion() > 0x40047;
}
bool SysComctlAbove579() {
    return SysComctlVersion() > 0x5004F;
}

// An exact match of one entry of a REG_MULTI_SZ list. The list is read into a block two bytes longer than the
// value, zero-filled, so that a list stored without its terminators still ends inside the block.
bool SysProductSuiteHas(const char *suite) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0, size = 0;
    int found = 0;
    if (RegQueryValueExA(key, "ProductSuite", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ) {
        char *list = (char *)MemAlloc(size + 2);
        if (list &&
            RegQueryValueExA(key, "ProductSuite", nullptr, &type, (BYTE *)list, &size) == ERROR_SUCCESS)
            for (const char *entry = list; *entry && !found; entry += strlen(entry) + 1)
                found = strcmp(entry, suite) == 0;
        MemFree(list);
    }
    RegCloseKey(key);
    return found;
}

bool SysIsTerminalServer() {
    if (!SysIsNtPlatform()) return 0;
    if (sysMajor < 5) return SysProductSuiteHas("Terminal Server");
    if (sysAnswers) return sysAnswers->terminalServer;
    auto conditionMask = SysProc<ULONGLONG(WINAPI *)(ULONGLONG, DWORD, BYTE)>(GetModuleHandleA("ntdll.dll"),
                                                                              "VerSetConditionMask");
    auto verify = SysProc<BOOL(WINAPI *)(OSVERSIONINFOEXA *, DWORD, DWORDLONG)>(
        GetModuleHandleA("KERNEL32.DLL"), "VerifyVersionInfoA");
    if (!conditionMask || !verify) return 0;
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.wSuiteMask = VER_SUITE_TERMINAL;
    return verify(&info, VER_SUITENAME, conditionMask(0, VER_SUITENAME, VER_AND)) != 0;
}

static int SysRemoteMetric() {
    return sysAnswers ? sysAnswers->remoteMetric : GetSystemMetrics(SM_REMOTESESSION);
}

// The registry values "TerminalServerSession" and "TerminalServices" override what the system says.
void SysDetectRemote(HKEY programKey) {
    int32_t value;
    if (RegQueryInt(programKey, "TerminalServerSession", &value))
        sysRemote = value != 0;
    else
        sysRemote = SysIsNt5() && SysRemoteMetric() != 0;
    if (RegQueryInt(programKey, "TerminalServices", &value))
        sysTerminalServices = value != 0;
    else
        sysTerminalServices = SysIsTerminalServer();
}

bool SysIsRemoteSession() {
    return sysRemote;
}
bool SysIsTerminalServices() {
    return sysTerminalServices;
}

bool WndCanUseTransparency() {
    if (!sysTransparentWindows) return 0;
    if (sysRemote && ToolboxRemote()->noTransparent) return 0;
    return SysIsNt5();
}

uint32_t SysGetProcessId() {
    return GetCurrentProcessId();
}
uint32_t SysSaveLastError() {
    return sysLastError = GetLastError();
}

// The budget is 75 % of physical memory in 64 bits: a machine with 6 GB must not wrap it to a few hundred MB,
// which would make the heap refuse every larger block.
void SysMemoryStatus() {
    if (sysAnswers) {
        sysTotalPhysical = sysAnswers->totalPhysical;
        sysAvailVirtual = sysAnswers->availVirtual;
    } else {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof status;
        if (GlobalMemoryStatusEx(&status)) {
            sysTotalPhysical = status.ullTotalPhys;
            sysAvailVirtual = status.ullAvailVirtual;
        }
    }
    sysLargeMemory = sysTotalPhysical >= SYS_LARGE_MEMORY && sysAvailVirtual >= SYS_LARGE_MEMORY;
    sysMemoryBudget = HeapLimitFromPhysical(sysTotalPhysical);
    HeapSetSizeLimit(sysMemoryBudget);
}

uint64_t SysTotalPhysical() {
    return sysTotalPhysical;
}
uint64_t SysAvailVirtual() {
    return sysAvailVirtual;
}
bool SysIsLargeMemory() {
    return sysLargeMemory;
}
size_t SysMemoryBudget() {
    return sysMemoryBudget;
}

int SysProbe(HKEY programKey) {
    if (!SysReadVersion()) return 0;
    sysComctlVersion = ComctlGetVersion();
    SysDetectRemote(programKey);
    if (sysRemote && sysFontZoom) sysFontZoom(ToolboxRemote()->scalePercent);
    WheelInit();
    int32_t transparent = 1;
    RegQueryInt(programKey, "TransparentWindows", &transparent);
    sysTransparentWindows = transparent;
    SysMemoryStatus();
    return 1;
}
