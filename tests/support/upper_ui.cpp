// Test programs above the foundation: the window library's alert boxes are recorded too, never shown.
#include "support/vxtest.h"

#include "ui/dlgalert.h"

void VxSeamsInstallUpper() {
    AlertSetTestHook(VxRecordAlert);
}
