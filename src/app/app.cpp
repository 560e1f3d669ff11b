// app: the hooks of the lower modules, registered with their owners. A hook a module holds but nobody
// registers answers its neutral answer, so each owner that exists is wired here.
#include "app/app.h"

#include "base/erc.h"
#include "base/inputpend.h"
#include "base/keyinp.h"
#include "base/trl.h"
#include "shell/cmd.h"
#include "shell/instance.h"
#include "shell/keymap.h"
#include "shell/status.h"
#include "ui/dlgalert.h"
#include "ui/toolbar.h"

// The toolbars' tooltips read the command table and the key map. The configuration's dirty mark joins them
// when the configuration module stands; until then a band resized by the user is not noted.
static const ToolbarHooks appToolbarHooks = {
    .commandName = GetCommandName,
    .commandDescription = GetCommandDescription,
    .keyForCommand = KeyForCommand,
    .keyName = KeyCodeName,
    .setConfigDirty = nullptr,
};

void AppWireHooks() {
    ErcSetAlertHook(AlertReportError);
    TrlSetProgressHook(ProgressStep);
    KeySetCanceledHook(StatusCanceled);
    InputSetRequestsHook(InstanceMsgPending);
    ToolbarSetHooks(&appToolbarHooks);
}
