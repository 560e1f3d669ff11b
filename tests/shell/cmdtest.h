// Shared by the tests of the command engine, the dispatcher and the key map: a command table of stub rows
// whose handlers record their calls and answer from a table, installed and taken away by a fixture.
#pragma once

#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

// Every stub handler call, in order, and the result each command answers (0 when none is set).
inline std::vector<int32_t> cmdTestCalls;
inline std::map<int32_t, int> cmdTestResults;

inline int CmdTestHandler(int32_t command) {
    cmdTestCalls.push_back(command);
    auto found = cmdTestResults.find(command);
    return found == cmdTestResults.end() ? 0 : found->second;
}

class CmdTest : public testing::Test {
protected:
    void SetUp() override {
        rows.assign(CMD_ROW_COUNT, CommandRecord{0, 0, "", "", 0, 0, CMD_FLAG_DIRECT, nullptr, 0, nullptr});
        Row(CMD_UNIMPLEMENTED, "Unimplemented Command", CMD_GROUP_APPLICATION).description =
            "Undefined command; possibly from a newer version of Veltrix.";
        cmdTestCalls.clear();
        cmdTestResults.clear();
    }
    void TearDown() override {
        TermCommands();
        CmdSetTable(nullptr);
        KeyMap empty = {};
        KeyMapInstall(&empty);
    }
    // A global row with the stub handler.
    CommandRecord &Row(int32_t row, const char *name, int32_t group = CMD_GROUP_NONE,
                       int32_t commandClass = CMD_CLASS_GLOBAL) {
        rows[row] = {0, 0, name, "", group, commandClass, 0, CmdTestHandler, 0, nullptr};
        return rows[row];
    }
    void Install(bool htmlExport = true) {
        CmdSetTable(rows.data());
        ASSERT_TRUE(InitCommands(htmlExport));
    }
    std::vector<CommandRecord> rows;
};
