// The seams every test program shares, on any system: alerts are recorded and answered from a queue
// instead of shown, and log lines are captured while a capture runs. The test mains install them.
#include "support/vxtest.h"

#include "base/erc.h"
#include "base/seam.h"
#include "ui/dlgalert.h"
#include "ui/dlgcom.h"

#include <cstring>

#include <gtest/gtest.h>

#include <deque>

enum { VX_ANSWER_OK = 1 }; // the system's IDOK

static std::vector<VxAlert> vxAlerts;
static std::deque<int> vxAnswers;
static std::deque<std::string> vxSaveAnswers;
static std::vector<std::string> vxLog;
static bool vxLogCapturing;

static int VxAlertHook(const char *text, int kind, int defaultButton) {
    vxAlerts.push_back({text, kind, defaultButton});
    if (vxAnswers.empty()) return VX_ANSWER_OK;
    int answer = vxAnswers.front();
    vxAnswers.pop_front();
    return answer;
}

static int VxChooseHook(const char *text, const char *const *, int, int defaultButton) {
    vxAlerts.push_back({text, VX_ALERT_CHOOSE, defaultButton});
    if (vxAnswers.empty()) return -1;
    int answer = vxAnswers.front();
    vxAnswers.pop_front();
    return answer;
}

static int VxSaveHook(const char *title, const char *, const char *, char *path) {
    vxAlerts.push_back({title ? title : "Save As", VX_ALERT_SAVE, 0});
    if (vxSaveAnswers.empty()) return 0;
    std::string answer = vxSaveAnswers.front();
    vxSaveAnswers.pop_front();
    snprintf(path, 256, "%s", answer.c_str());
    return 1;
}

void VxSaveAnswer(const std::string &path) {
    vxSaveAnswers.push_back(path);
}

static void VxLogSink(const char *text) {
    if (vxLogCapturing) vxLog.push_back(text);
}

void VxSeamsInstall() {
    AlertSetTestHook(VxAlertHook);
    AlertSetChooseHook(VxChooseHook);
    AskSetSaveHook(VxSaveHook);
    LogSetTestSink(VxLogSink);
}

// After every test: every seam back as it was, then the test routing of alerts and log lines again.
class VxSeamResetter : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo &) override {
        SeamResetAll();
        VxSeamsInstall();
        VxAlertsReset();
    }
};

void VxSeamsListen() {
    testing::UnitTest::GetInstance()->listeners().Append(new VxSeamResetter);
}

std::vector<VxAlert> &VxAlerts() {
    return vxAlerts;
}

void VxAlertsReset() {
    vxAlerts.clear();
    vxAnswers.clear();
    vxSaveAnswers.clear();
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
