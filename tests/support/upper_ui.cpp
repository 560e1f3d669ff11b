// Test programs above the foundation: the window library's alert boxes, table questions and open and save
// dialogs are recorded too, never shown.
#include "support/vxtest.h"

#include "ui/dlgalert.h"
#include "ui/dlgcom.h"

#include <cstdio>

static int VxChooseHook(const char *text, const char *const *, int, int defaultButton) {
    return VxRecordChoice(text, VX_ALERT_CHOOSE, defaultButton, -1);
}

static int VxSaveHook(const char *title, const char *, const char *, char *path) {
    std::string answer;
    if (!VxRecordSave(title, &answer)) return 0;
    snprintf(path, 256, "%s", answer.c_str());
    return 1;
}

static int VxOpenHook(const char *title, const char *, const char *, char *path) {
    std::string answer;
    if (!VxRecordOpen(title, &answer)) return 0;
    snprintf(path, 256, "%s", answer.c_str());
    return 1;
}

void VxSeamsInstallUpper() {
    AlertSetTestHook(VxRecordAlert);
    AlertSetChooseHook(VxChooseHook);
    AskSetSaveHook(VxSaveHook);
    AskSetOpenHook(VxOpenHook);
}
