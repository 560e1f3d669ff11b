// The system probe, through its answers seam and a registry key of the test's own:
// - version tests over a table of systems; the common-controls version and the seam that stands in for it;
// - the remote-session detection and its registry overrides, the Terminal Server tests, the screen-font zoom
//   of a remote session through its hook (nobody told while it is unset);
// - transparency (from NT 5 on, barred in remote sessions unless allowed);
// - the memory budget and the heap's size limit in 64 bits;
// - the product suite as an exact entry match.
#include "base/heap.h"
#include "base/monitor.h"
#include "base/reg.h"
#include "base/sysprobe.h"
#include "base/toolbox.h"
#include "base/toolbox_win.h"
#include "base/wheel.h"
#include "base/wndtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SysProbeTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
        key = RegCreate(HKEY_CURRENT_USER, keyName.c_str());
        ASSERT_NE(key, nullptr);
        ToolboxRemoteDefaults();
    }
    void TearDown() override {
        SysSetTestAnswers(nullptr);
        SysResetMonitorApi();
        HeapSetSizeLimit(0);
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
        WheelInit();
    }
    SysTestAnswers Answers(uint32_t major, uint32_t minor, uint32_t platform) {
        return WtAnswers(major, minor, platform);
    }
    std::string keyName = "SOFTWARE\\VeltrixProbeTest" + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
};

TEST_F(SysProbeTest, VersionTests) {
    const uint32_t nt = VER_PLATFORM_WIN32_NT, w9x = VER_PLATFORM_WIN32_WINDOWS;
    struct Case {
        const char *name;
        uint32_t major, minor, platform;
        int isNt, is9x, nativeWheel, is98Or2000, isNt5, isWin4, isWin6, is350;
    } cases[] = {
        {"95", 4, 0, w9x, 0, 1, 0, 0, 0, 1, 0, 0},      {"98", 4, 10, w9x, 0, 1, 1, 1, 0, 1, 0, 0},
        {"NT 3.50", 3, 50, nt, 1, 0, 0, 0, 0, 0, 0, 1}, {"NT 3.51", 3, 51, nt, 1, 0, 0, 0, 0, 0, 0, 0},
        {"NT 4", 4, 0, nt, 1, 0, 1, 0, 0, 1, 0, 0},     {"2000", 5, 0, nt, 1, 0, 1, 1, 1, 1, 0, 0},
        {"7", 6, 1, nt, 1, 0, 1, 1, 1, 1, 1, 0},
    };
    for (const Case &c : cases) {
        SysTestAnswers a = Answers(c.major, c.minor, c.platform);
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1) << c.name;
        int got[] = {SysIsNtPlatform(), SysIsWin9x(), SysHasNativeWheel(), SysIsWin98Or2000(),
                     SysIsNt5(),        SysIsWin4(),  SysIsWin6(),         SysIsVersion350()};
        int want[] = {c.isNt, c.is9x, c.nativeWheel, c.is98Or2000, c.isNt5, c.isWin4, c.isWin6, c.is350};
        for (int i = 0; i < 8; i++) EXPECT_EQ(got[i], want[i]) << c.name << " test " << i;
    }
    SysSetTestAnswers(nullptr);
    EXPECT_EQ(SysProbe(key), 1);
    EXPECT_GE(SysComctlVersion(), 0x40046u);
    EXPECT_FALSE(SysComctlBelow470());
    EXPECT_EQ(SysComctlVersion(), ComctlGetVersion());
}

TEST_F(SysProbeTest, CommonControlsSeamAnswersUntilReset) {
    ASSERT_EQ(SysProbe(key), 1);
    const uint32_t probed = SysComctlVersion();
    struct Case {
        uint32_t version;
        bool below470, above471, above579;
    } cases[] = {{0x40000, true, false, false},
                 {0x40046, false, false, false},
                 {0x40047, false, false, false},
                 {0x40048, false, true, false},
                 {0x50050, false, true, true}};
    for (const Case &c : cases) {
        SysSetTestComctlVersion(c.version);
        EXPECT_EQ(SysComctlVersion(), c.version);
        EXPECT_EQ(SysComctlBelow470(), c.below470) << std::hex << c.version;
        EXPECT_EQ(SysComctlAbove471(), c.above471) << std::hex << c.version;
        EXPECT_EQ(SysComctlAbove579(), c.above579) << std::hex << c.version;
    }
    SysSetTestComctlVersion(0);
    EXPECT_EQ(SysComctlVersion(), probed);
}

TEST_F(SysProbeTest, RemoteSessionAndItsOverrides) {
    const uint32_t nt = VER_PLATFORM_WIN32_NT;
    struct Case {
        const char *name;
        const char *sessionValue; // "TerminalServerSession", null when absent
        uint32_t major;
        int32_t metric;
        int expected;
    } cases[] = {
        {"remote metric on 2000", nullptr, 5, 1, 1},  {"no remote metric", nullptr, 5, 0, 0},
        {"metric ignored on NT 4", nullptr, 4, 1, 0}, {"registry says no", "0", 5, 1, 0},
        {"registry says yes", "1", 4, 0, 1},          {"registry number with junk", "1x", 5, 0, 1},
    };
    for (const Case &c : cases) {
        RegDeleteValueA(key, "TerminalServerSession");
        if (c.sessionValue) RegSetString(key, "TerminalServerSession", c.sessionValue);
        SysTestAnswers a = Answers(c.major, 0, nt);
        a.remoteMetric = c.metric;
        SysSetTestAnswers(&a);
        SysDetectRemote(key);
        EXPECT_EQ(SysIsRemoteSession(), c.expected) << c.name;
    }

    SysTestAnswers a = Answers(5, 1, nt);
    a.terminalServer = 1;
    SysSetTestAnswers(&a);
    EXPECT_EQ(SysIsTerminalServer(), 1);
    SysDetectRemote(key);
    EXPECT_EQ(SysIsTerminalServices(), 1);
    RegSetString(key, "TerminalServices", "0");
    SysDetectRemote(key);
    EXPECT_EQ(SysIsTerminalServices(), 0);
    a = Answers(4, 10, VER_PLATFORM_WIN32_WINDOWS);
    a.terminalServer = 1;
    SysSetTestAnswers(&a);
    EXPECT_EQ(SysIsTerminalServer(), 0);
}

TEST_F(SysProbeTest, TransparencyNeedsNt5AndIsBarredInRemoteSessions) {
    struct Case {
        const char *name;
        uint32_t major;
        int32_t remoteMetric;
        const char *transparentWindows;
        const char *remoteNoTransparent;
        int expected;
    } cases[] = {
        {"local XP", 5, 0, nullptr, nullptr, 1},   {"local NT 4", 4, 0, nullptr, nullptr, 0},
        {"switched off", 5, 0, "0", nullptr, 0},   {"remote by default barred", 5, 1, nullptr, nullptr, 0},
        {"remote allowed", 5, 1, nullptr, "0", 1}, {"remote option ignored locally", 5, 0, nullptr, "1", 1},
    };
    for (const Case &c : cases) {
        RegDeleteValueA(key, "TransparentWindows");
        if (c.transparentWindows) RegSetString(key, "TransparentWindows", c.transparentWindows);
        ToolboxRemoteDefaults();
        if (c.remoteNoTransparent) {
            RegSetString(key, "RemoteNoTransparent", c.remoteNoTransparent);
            ToolboxReadRemoteOptions(key);
            RegDeleteValueA(key, "RemoteNoTransparent");
        }
        SysTestAnswers a = Answers(c.major, 1, VER_PLATFORM_WIN32_NT);
        a.remoteMetric = c.remoteMetric;
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1);
        EXPECT_EQ(WndCanUseTransparency(), c.expected) << c.name;
    }
}

// The budget is 75 % of physical memory; beyond 4 GB it must not wrap around.
TEST_F(SysProbeTest, MemoryBudgetSetsTheHeapLimitIn64Bits) {
    const uint64_t MB = 1 << 20, GB = MB << 10;
    struct Case {
        uint64_t physical, virt;
        uint64_t budget;
        int large;
    } cases[] = {
        {6 * GB, 8 * GB, 4831838208u, 1},    {1 * GB, 2 * GB, 805306368u, 1},
        {128 * MB, 128 * MB, 100663296u, 1}, {128 * MB - 1, 4 * GB, 100663295u, 0},
        {4 * GB, 64 * MB, 3221225472u, 0},   {100, 100, 75, 0},
    };
    for (const Case &c : cases) {
        SysTestAnswers a = Answers(6, 1, VER_PLATFORM_WIN32_NT);
        a.totalPhysical = c.physical;
        a.availVirtual = c.virt;
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1);
        EXPECT_EQ(SysTotalPhysical(), c.physical);
        EXPECT_EQ(SysMemoryBudget(), (size_t)c.budget) << c.physical;
        EXPECT_EQ(HeapGetSizeLimit(), (size_t)c.budget) << c.physical;
        EXPECT_EQ(SysIsLargeMemory(), c.large) << c.physical;
    }
    // The limit refuses requests at or above it.
    SysTestAnswers a = Answers(6, 1, VER_PLATFORM_WIN32_NT);
    a.totalPhysical = 1000;
    SysSetTestAnswers(&a);
    SysMemoryStatus();
    EXPECT_EQ(MemAlloc(750), nullptr);
    void *block = MemAlloc(749);
    EXPECT_NE(block, nullptr);
    MemFree(block);
}

TEST_F(SysProbeTest, ProductSuiteIsAnExactEntryMatch) {
    HKEY options;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &options, nullptr),
              ERROR_SUCCESS);
    char saved[512];
    DWORD savedSize = sizeof saved, savedType = 0;
    bool had = RegQueryValueExA(options, "ProductSuite", nullptr, &savedType, (BYTE *)saved, &savedSize) ==
               ERROR_SUCCESS;
    struct Case {
        std::string list;
        const char *suite;
        int expected;
    } cases[] = {
        {std::string("Enterprise\0Terminal Server\0\0", 29), "Terminal Server", 1},
        {std::string("Terminal Server Extra\0\0", 23), "Terminal Server", 0},
        {std::string("Terminal\0\0", 10), "Terminal Server", 0},
        {std::string("\0", 1), "Terminal Server", 0},
        {std::string("Small Business\0Terminal Server", 30), "Terminal Server", 1}, // no terminators
    };
    for (const Case &c : cases) {
        RegSetValueExA(options, "ProductSuite", 0, REG_MULTI_SZ, (const BYTE *)c.list.data(),
                       (DWORD)c.list.size());
        EXPECT_EQ(SysProductSuiteHas(c.suite), c.expected) << c.list;
    }
    if (had)
        RegSetValueExA(options, "ProductSuite", 0, savedType, (const BYTE *)saved, savedSize);
    else
        RegDeleteValueA(options, "ProductSuite");
    RegCloseKey(options);
}

int zoomCalls, zoomPercent;
int32_t RecordZoom(int32_t percent) {
    zoomCalls++;
    zoomPercent = percent;
    return 100;
}

// A remote session's screen-font zoom reaches the font layer through the hook; unset, nobody is told.
TEST_F(SysProbeTest, RemoteSessionZoomReachesTheHook) {
    struct Case {
        const char *name;
        int32_t remoteMetric;
        int32_t scale; // 0: the default
        int calls, percent;
    } cases[] = {
        {"local", 0, 150, 0, 0},
        {"remote", 1, 150, 1, 150},
        {"remote at the default scale", 1, 0, 1, 100},
    };
    for (const Case &c : cases) {
        zoomCalls = zoomPercent = 0;
        ToolboxRemoteDefaults();
        if (c.scale) *ToolboxRemoteValue(TOOLBOX_REMOTE_SCALE) = c.scale;
        SysTestAnswers a = Answers(5, 1, VER_PLATFORM_WIN32_NT);
        a.remoteMetric = c.remoteMetric;
        SysSetTestAnswers(&a);
        SysSetFontZoomHook(RecordZoom);
        ASSERT_EQ(SysProbe(key), 1) << c.name;
        EXPECT_EQ(zoomCalls, c.calls) << c.name;
        EXPECT_EQ(zoomPercent, c.percent) << c.name;
    }
    SysSetFontZoomHook(nullptr);
    zoomCalls = 0;
    EXPECT_EQ(SysProbe(key), 1) << "unset, the probe goes on";
    EXPECT_EQ(zoomCalls, 0);
}

} // namespace
