// app: the hooks of the lower modules, registered with their owners. A hook a module holds but nobody
// registers answers its neutral answer, so each owner that exists is wired here.
#include "app/app.h"

#include "base/erc.h"
#include "base/inputpend.h"
#include "base/keyinp.h"
#include "base/trl.h"
#include "shell/help.h"
#include "shell/instance.h"
#include "shell/status.h"
#include "ui/dlgalert.h"
#include "ui/dlgrun.h"
#include "ui/dock.h"
#include "ui/graph.h"
#include "ui/printman.h"

void AppWireHooks() {
    ErcSetAlertHook(AlertReportError);
    TrlSetProgressHook(ProgressStep);
    KeySetCanceledHook(StatusCanceled);
    InputSetRequestsHook(InstanceMsgPending);
    GraphSetHelpModeHook(HelpModeIsOn);
    DlgSetDockEnableHook(DockWindowsEnable);
    PrinterInit(); // the print manager's printer becomes device 1 of the drawing layer
}
