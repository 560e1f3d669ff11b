// Shared by the tests of the configuration's modules: a fixture with the command table of stub rows, the
// settings in the test store, a menu bar kept as plain lists behind the menu hooks, the key map and the
// document types registered as owners and every default installed, and a fresh folder for the files.
#pragma once

#include "cfgbar.h"
#include "cmdtest.h"

#include "base/heap.h"
#include "doc/dta.h"
#include "shell/cfgmenu.h"
#include "shell/cfgsect.h"
#include "shell/config.h"
#include "shell/setting.h"
#include "support/vxtest.h"

#include <cstring>
#include <string>
#include <vector>

namespace cfgtest {

using namespace cfgbar;

// The bytes of a file, and a file made of bytes.
inline std::string FileBytes(const std::string &path) {
    std::string bytes;
    FILE *f = VxFileOpen(path, "rb");
    if (!f) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

inline void WriteBytes(const std::string &path, const std::string &bytes) {
    FILE *f = VxFileOpen(path, "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

inline uint32_t Get32(const std::string &bytes, size_t at) {
    uint32_t v = 0;
    memcpy(&v, bytes.data() + at, 4);
    return v;
}

inline void Put32(std::string &bytes, size_t at, uint32_t value) {
    memcpy(&bytes[at], &value, 4);
}

// The (offset, size) pair of a slot in a file's bytes.
inline uint32_t SlotOffset(const std::string &bytes, int32_t slot) {
    return Get32(bytes, CONFIG_TABLE_OFFSET + 8 * slot);
}
inline uint32_t SlotSize(const std::string &bytes, int32_t slot) {
    return Get32(bytes, CONFIG_TABLE_OFFSET + 8 * slot + 4);
}

class ConfigTest : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        Install();
        SettingUseTestStore(true);
        ConfigSetMenuHooks(&cfgTestMenuHooks);
        ConfigSetOwner(CONFIG_SLOT_KEYMAP, &configKeyMapOwner);
        ConfigSetOwner(CONFIG_SLOT_DOCTYPES, &configDocTypesOwner);
        ConfigSetDefaults();
        ConfigResetState();
        VxAlertsReset();
        dir = VxTempDir();
        path = dir + "\\GLOBAL.CF3";
    }
    void TearDown() override {
        ConfigResetOwners();
        ConfigSetMenuHooks(nullptr);
        ConfigSetHooks(nullptr);
        cfgTestBar.clear();
        DtaTableExit();
        UserCommandsFree();
        ConfigResetState();
        VxRemoveTree(dir);
        CmdTest::TearDown();
    }
    std::string dir;
    std::string path;
};

} // namespace cfgtest
