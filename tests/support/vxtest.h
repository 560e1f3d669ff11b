// Shared test support: every alert is recorded instead of shown, and log lines can be captured.
#pragma once

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

// Log lines (without their date prefix) written while a capture runs.
void VxLogCaptureStart();
std::vector<std::string> VxLogCaptureStop();

// For the test mains: routes alerts and log lines to the seams above.
void VxSeamsInstall();

// A fresh empty folder for the running test, under the system's temporary folder; ends without a backslash.
std::string VxTempDir();
