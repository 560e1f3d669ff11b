// Fuzz target: the whole configuration load on arbitrary bytes, the input being the file, with the key map
// and the document types registered as owners and a menu bar kept as lists. Expected: a refused file
// changes no setting, leaves the configuration clean and keeps no memory or file; an accepted one can be
// saved, and the saved file loads again to the same settings.
#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "display/opts.h"
#include "doc/dta.h"
#include "shell/cfgedit.h"
#include "shell/cfgmenu.h"
#include "shell/cfgsect.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/config.h"
#include "shell/keymap.h"
#include "shell/srchopt.h"
#include "shell/cfgbar.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>
#include <vector>

// Every setting the configuration holds, as bytes.
static std::string FuzzSettings() {
    std::string s((const char *)&g_displayOptions, sizeof g_displayOptions);
    ConfigEditRecord record;
    ConfigEditGather(&record);
    s.append((const char *)&record, sizeof record);
    s += ConfigSymbolPath();
    s.append((const char *)g_searchOptions, sizeof g_searchOptions);
    s.append((const char *)&g_projectReport, sizeof g_projectReport);
    s.append((const char *)g_colorRecord.colors, sizeof g_colorRecord.colors);
    const KeyMap *keys = KeyMapLive();
    if (keys->count) s.append((const char *)keys->bindings->ptr, keys->count * sizeof(KeyBinding));
    for (const std::vector<int32_t> &menu : cfgbar::cfgTestBar) {
        s += "|";
        s.append((const char *)menu.data(), menu.size() * sizeof(int32_t));
    }
    s += std::to_string(DtaCount());
    return s;
}

// The file layer's form of a native path: drive C: is the root.
static std::string FuzzProgramPath(const std::string &posix) {
    std::string path = "C:" + posix;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    ConfigSetMenuHooks(&cfgbar::cfgTestMenuHooks);
    ConfigSetOwner(CONFIG_SLOT_KEYMAP, &configKeyMapOwner);
    ConfigSetOwner(CONFIG_SLOT_DOCTYPES, &configDocTypesOwner);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ConfigSetDefaults();
    ConfigResetState();
    std::string path = FuzzProgramPath(FuzzWriteFile("config.cf3", data, size));
    std::string before = FuzzSettings();
    int open = FileCountOpen();
    UserCommandsFree();
    int32_t handles = HLiveCount();
    if (!LoadConfigFile(path.c_str())) {
        FuzzCheck(FuzzSettings() == before, "a refused file changes no setting");
        FuzzCheck(!ConfigIsDirty(), "a refused file leaves the configuration clean");
        for (int32_t id = CMD_USER_FIRST; id < CMD_USER_FIRST + UserCommandSlots(); id++) {
            UserCommand entry;
            FuzzCheck(!UserCommandGet(id, &entry), "a refused file makes no user command");
        }
        UserCommandsFree();
        FuzzCheck(HLiveCount() == handles, "a refused file keeps nothing");
    } else {
        std::string loaded = FuzzSettings();
        std::string again = FuzzProgramPath(FuzzWriteFile("again.cf3", nullptr, 0));
        FuzzCheck(ConfigSave(again.c_str(), false, CONFIG_ALL), "what was loaded can be saved");
        FuzzCheck(LoadConfigFile(again.c_str()), "what was saved loads again");
        FuzzCheck(FuzzSettings() == loaded, "the settings survive the round trip");
    }
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    UserCommandsFree();
    ErcClear();
    return 0;
}
