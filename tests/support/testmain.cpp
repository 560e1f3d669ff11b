// The main of every test program: readies the heap and routes alerts and log lines to the test seams, so that
// no test can ever open a real message box.
#include "support/vxtest.h"

#include "base/erc.h"
#include "base/heap.h"
#include "ui/dlgalert.h"

#include <gtest/gtest.h>

#include <deque>
#include <windows.h>

static std::vector<VxAlert> vxAlerts;
static std::deque<int> vxAnswers;
static std::vector<std::string> vxLog;
static bool vxLogCapturing;

static int VxAlertHook(const char *text, int kind, int defaultButton) {
    vxAlerts.push_back({text, kind, defaultButton});
    if (vxAnswers.empty()) return IDOK;
    int answer = vxAnswers.front();
    vxAnswers.pop_front();
    return answer;
}

static void VxLogSink(const char *text) {
    if (vxLogCapturing) vxLog.push_back(text);
}

std::vector<VxAlert> &VxAlerts() {
    return vxAlerts;
}

void VxAlertsReset() {
    vxAlerts.clear();
    vxAnswers.clear();
}

void VxAlertAnswer(int answer) {
    vxAnswers.push_back(answer);
}

void VxLogCaptureStart() {
    vxLog.clear();
    vxLogCapturing = true;
}

std::vector<std::string> VxLogCaptureStop() {
    vxLogCapturing = false;
    return std::move(vxLog);
}

std::string VxTempDir() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = std::string(base) + "vxtest-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\";
    dir += info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
    for (char &c : dir)
        if (c == '/') c = '_';
    // Start from an empty folder: remove what an earlier run left.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string p = dir + "\\" + fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    HeapInit();
    AlertSetTestHook(VxAlertHook);
    LogSetTestSink(VxLogSink);
    return RUN_ALL_TESTS();
}
