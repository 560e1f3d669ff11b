// The seams every test program shares, on any system: alerts are recorded and answered from a queue
// instead of shown, and log lines are captured while a capture runs. The test mains install them.
#include "support/vxtest.h"

#include "base/erc.h"
#include "base/seam.h"
#include "base/log.h"

#include <gtest/gtest.h>

#include <deque>

enum { VX_ANSWER_OK = 1, VX_ALERT_ERROR_KIND = 5 }; // the system's IDOK; the warning box of errors

static std::vector<VxAlert> vxAlerts;
static std::deque<int> vxAnswers;
static std::deque<std::string> vxSaveAnswers;
static std::deque<std::string> vxOpenAnswers;
static std::vector<std::string> vxLog;
static bool vxLogCapturing;

int VxRecordAlert(const char *text, int kind, int defaultButton) {
    vxAlerts.push_back({text, kind, defaultButton});
    if (vxAnswers.empty()) return VX_ANSWER_OK;
    int answer = vxAnswers.front();
    vxAnswers.pop_front();
    return answer;
}

int VxRecordChoice(const char *text, int kind, int defaultButton, int unanswered) {
    vxAlerts.push_back({text, kind, defaultButton});
    if (vxAnswers.empty()) return unanswered;
    int answer = vxAnswers.front();
    vxAnswers.pop_front();
    return answer;
}

static bool VxRecordFileDialog(const char *title, int kind, std::deque<std::string> *answers,
                               std::string *path) {
    vxAlerts.push_back({title, kind, 0});
    if (answers->empty()) return false;
    *path = answers->front();
    answers->pop_front();
    return true;
}

bool VxRecordSave(const char *title, std::string *path) {
    return VxRecordFileDialog(title ? title : "Save As", VX_ALERT_SAVE, &vxSaveAnswers, path);
}

bool VxRecordOpen(const char *title, std::string *path) {
    return VxRecordFileDialog(title ? title : "Open", VX_ALERT_OPEN, &vxOpenAnswers, path);
}

void VxSaveAnswer(const std::string &path) {
    vxSaveAnswers.push_back(path);
}

void VxOpenAnswer(const std::string &path) {
    vxOpenAnswers.push_back(path);
}

static void VxLogSink(const char *text) {
    if (vxLogCapturing) vxLog.push_back(text);
}

// The error module's reports arrive as the window library shows them: an error box, default button first.
static void VxErcAlert(const char *message) {
    VxRecordAlert(message, VX_ALERT_ERROR_KIND, 0);
}

void VxSeamsInstall() {
    ErcSetAlertHook(VxErcAlert);
    LogSetTestSink(VxLogSink);
    VxSeamsInstallUpper();
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
    vxOpenAnswers.clear();
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
