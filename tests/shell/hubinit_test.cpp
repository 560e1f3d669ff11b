// Start-up in its least form and the services used by the library and the document core:
// - the loop: closing the frame ends it with 0; when the queue is empty it runs the frame's idle work;
// - the idle work: nothing before the program runs; then the requests of other instances and one handed-over
//   line per turn, telling whether work is left;
// - the start shows the splash for its two seconds unless the switch "s" is given;
// - temporary files from the "TFXXXXXX" template: unique, empty, open, and never taking an existing name;
// - the flagged input-pending test.
#include "shell/hubinit.h"

#include "base/file.h"
#include "base/inputpend.h"
#include "base/tick.h"
#include "shell/cmdline.h"
#include "shell/frame.h"
#include "shell/framehook.h"
#include "shell/frametest.h"
#include "shell/instance.h"
#include "shell/vars.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class HubTempFile : public testing::Test {
protected:
    void SetUp() override {
        folder = VxTempDir();
        HubSetTempDir(folder.c_str());
    }
    void TearDown() override { HubSetTempDir(""); }
    std::string folder;
};

TEST_F(HubTempFile, NamesAreUniqueAndFilesEmpty) {
    std::set<std::string> names;
    int files[5];
    for (int &file : files) {
        char path[256] = {};
        file = MakeTempFile(path);
        ASSERT_GE(file, 0);
        std::string p = path;
        ASSERT_EQ(p.substr(0, folder.size() + 1), folder + "\\");
        std::string name = p.substr(folder.size() + 1);
        EXPECT_EQ(name.substr(0, 3), "TFX") << "the template's first three characters lead the name";
        EXPECT_EQ(FileGetSize(file), 0u);
        EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
        names.insert(p);
    }
    EXPECT_EQ(names.size(), 5u);
    ASSERT_TRUE(FileWriteExact(files[0], "data", 4));
    for (int file : files) FileClose(file);

    int file = MakeTempFile(nullptr);
    EXPECT_GE(file, 0);
    FileClose(file);

    char path[256];
    HubSetTempDir((folder + "\\no such folder").c_str());
    EXPECT_EQ(MakeTempFile(path), -1);
    EXPECT_STREQ(path, "<temp file>");
}

TEST(HubInputPendingIf, OnlyWhenAsked) {
    InputPendingReset();
    InputPendingInterrupt();
    EXPECT_EQ(InputPendingIf(0), 0);
    EXPECT_EQ(InputPendingIf(1), 1);
    InputPendingReset();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(InputPendingIf(1), 0);
}

// The test's frame (frametest.h), running.
using HubLoop = FrameTest;

TEST_F(HubLoop, ClosingTheFrameEndsTheLoopWithZero) {
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(HubMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(frame));
}

void *HubTestOpenAndClose(const char *path, int32_t) {
    ftCalls.push_back(std::string("open:") + path);
    PostMessageA(FrameGetWindow(), WM_CLOSE, 0, 0);
    return nullptr;
}

TEST_F(HubLoop, AnEmptyQueueRunsTheIdleWork) {
    FrameDocHook doc = FrameDoc();
    doc.openFileAtLine = HubTestOpenAndClose;
    FrameSetDocHook(&doc);
    ASSERT_TRUE(CmdLineQueueRequest("C:\\w;a.c"));
    EXPECT_EQ(HubMessageLoop(), 0);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:C:\\w\\a.c"});
}

TEST_F(HubLoop, IdleWorkWaitsForTheProgramToRun) {
    ASSERT_TRUE(CmdLineQueueRequest("C:\\w;a.c"));
    ASSERT_TRUE(CmdLineQueueRequest("C:\\w;b.c"));
    g_appRunState = APP_STARTING;
    EXPECT_FALSE(HubIdle());
    EXPECT_TRUE(ftCalls.empty());
    g_appRunState = APP_RUNNING;
    EXPECT_TRUE(HubIdle()) << "one line a turn: another waits";
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:C:\\w\\a.c"});
    EXPECT_FALSE(HubIdle());
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"open:C:\\w\\a.c", "open:C:\\w\\b.c"}));
}

} // namespace

std::vector<uint32_t> startSleeps;

TEST_F(HubLoop, TheSplashShowsUnlessTheSwitchSIsGiven) {
    struct {
        const char *commandLine;
        bool splash;
    } cases[] = {{"", true}, {"main.c -s", false}, {"/S main.c", false}, {"-sx", true}, {"main-s.c", true}};
    TickSetClock([] { return 5000u; }, [](uint32_t ms) { startSleeps.push_back(ms); });
    for (const auto &c : cases) {
        startSleeps.clear();
        PostQuitMessage(0); // the main loop ends at once
        EXPECT_EQ(HubRun(GetModuleHandleA(nullptr), c.commandLine, SW_HIDE), 0) << c.commandLine;
        EXPECT_EQ(startSleeps, c.splash ? std::vector<uint32_t>{2000} : std::vector<uint32_t>{})
            << c.commandLine;
        if (IsWindow(FrameGetWindow())) DestroyWindow(FrameGetWindow());
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}
