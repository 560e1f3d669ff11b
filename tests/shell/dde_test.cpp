// The DDE server of the frame:
// - the conversation: a client asking for "Veltrix" in any case is answered with new atoms of "Veltrix" and
//   of its topic, another application name gets no answer; a terminate is posted back;
// - execute strings, acknowledged with the request's handle: every verb of the table and an unknown one; a
//   failing verb stops the rest and acknowledges 0x8000; a missing "]" after a verb that ran reports the
//   box and acknowledges 0x8001; CLOSE and INSERT need a current buffer; PRINT prints the named file without
//   a dialog; EXIT closes the frame; a 64 KB string and a block without a NUL are read safely;
// - a client of the DDE management library in another process (vxpeer): OPEN of a quoted name with a blank
//   and CLOSE() open and close it; OPEN without "]" opens, reports and is acknowledged 0x8001.
#include "shell/dde.h"

#include "shell/cmdrun.h"
#include "shell/frame.h"
#include "shell/frametest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <dde.h>

#include <string>
#include <vector>

namespace {

// What the client window received: the acknowledgements' status words and handles, and the terminates.
struct DdeTestAck {
    UINT message;
    UINT_PTR low;
    UINT_PTR high;
    std::string app;
    std::string topic;
};
std::vector<DdeTestAck> ddeTestReceived;
bool ddeTestInitiating; // the acknowledgement answers an initiate: it carries two atoms

std::string DdeTestAtomName(UINT_PTR atom) {
    char name[256] = {};
    if (atom) GlobalGetAtomNameA((ATOM)atom, name, sizeof name);
    return name;
}

LRESULT CALLBACK DdeTestClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DDE_ACK || message == WM_DDE_TERMINATE) {
        DdeTestAck ack = {message, 0, 0, "", ""};
        if (message == WM_DDE_ACK && ddeTestInitiating) {
            ack.low = LOWORD(lParam);
            ack.high = HIWORD(lParam);
            ack.app = DdeTestAtomName(ack.low);
            ack.topic = DdeTestAtomName(ack.high);
            GlobalDeleteAtom((ATOM)ack.low);
            if (ack.high) GlobalDeleteAtom((ATOM)ack.high);
        } else if (message == WM_DDE_ACK) {
            UnpackDDElParam(WM_DDE_ACK, lParam, &ack.low, &ack.high);
            FreeDDElParam(WM_DDE_ACK, lParam);
        }
        ddeTestReceived.push_back(ack);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ddeTestBuffer;
void DdeTestFacts(CommandStateFacts *facts) {
    facts->buffer = ddeTestBuffer;
}

class DdeTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DdeTestClientProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vxDdeTestClient";
        RegisterClassA(&wc);
        client = CreateWindowExA(0, "vxDdeTestClient", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ddeTestReceived.clear();
        ddeTestBuffer = true;
        CmdRunHooks hooks = {};
        hooks.stateFacts = DdeTestFacts;
        CmdRunSetHooks(&hooks);
        Row(5, "Five");
        Row(58, "Close");
        Install();
        VxAlertsReset();
    }
    void TearDown() override {
        DestroyWindow(client);
        FrameTest::TearDown();
    }
    // Executes the bytes as a client's request: the status word of the acknowledgement (0 when none came).
    WORD Execute(const std::string &bytes, bool terminate = true) {
        HGLOBAL memory =
            GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size() + (terminate ? 1 : 0));
        char *text = (char *)GlobalLock(memory);
        memcpy(text, bytes.data(), bytes.size());
        if (terminate) text[bytes.size()] = 0;
        GlobalUnlock(memory);
        ddeTestReceived.clear();
        PostMessageA(frame, WM_DDE_EXECUTE, (WPARAM)client, (LPARAM)memory);
        FtPump();
        WORD status = 0;
        for (const DdeTestAck &ack : ddeTestReceived)
            if (ack.message == WM_DDE_ACK) {
                EXPECT_EQ(ack.high, (UINT_PTR)memory) << "the request's own handle comes back";
                status = (WORD)ack.low;
            }
        GlobalFree(memory);
        return status;
    }
    HWND client = nullptr;
};

TEST_F(DdeTest, TheConversationIsAnsweredForVeltrixOnly) {
    for (const char *name : {"Veltrix", "VELTRIX", "Other"}) {
        ddeTestReceived.clear();
        ATOM app = GlobalAddAtomA(name), topic = GlobalAddAtomA("System");
        ddeTestInitiating = true;
        SendMessageA(frame, WM_DDE_INITIATE, (WPARAM)client, MAKELPARAM(app, topic));
        ddeTestInitiating = false;
        GlobalDeleteAtom(app);
        GlobalDeleteAtom(topic);
        if (std::string(name) == "Other") {
            EXPECT_TRUE(ddeTestReceived.empty());
            continue;
        }
        ASSERT_EQ(ddeTestReceived.size(), 1u) << name;
        // Atoms ignore case: the name reads as whoever added it first wrote it.
        EXPECT_EQ(_stricmp(ddeTestReceived[0].app.c_str(), "Veltrix"), 0);
        EXPECT_EQ(ddeTestReceived[0].topic, "System");
    }
    ddeTestReceived.clear();
    SendMessageA(frame, WM_DDE_TERMINATE, (WPARAM)client, 0);
    FtPump();
    ASSERT_EQ(ddeTestReceived.size(), 1u);
    EXPECT_EQ(ddeTestReceived[0].message, (UINT)WM_DDE_TERMINATE);
}

TEST_F(DdeTest, EveryVerbOfTheTable) {
    EXPECT_EQ(Execute("[OPEN(\"C:\\w\\a b.c\")][new(x.cpp)] [INSERT( i.c )][PROJ_ADDFILE(a.c)]"
                      "[PROJ_REMOVEFILE(r.c)][LoadClip(c.cli)][RUNCMD(Five)][SOMETHING(z)][PRINT(\"p.c\")]"
                      "[CLOSE()]"),
              0x8000);
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"open:C:\\w\\a b.c", "new:.cpp", "insert:i.c", "add:a.c",
                                                 "remove:r.c", "clip:c.cli", "print:p.c"}));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{5, 58}));
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(DdeTest, CloseAndInsertNeedACurrentBuffer) {
    ddeTestBuffer = false;
    EXPECT_EQ(Execute("[CLOSE()][INSERT(i.c)][OPEN(o.c)]"), 0x8000);
    EXPECT_TRUE(cmdTestCalls.empty());
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:o.c"});
}

TEST_F(DdeTest, AFailingVerbStopsTheRest) {
    ftFailing = {"bad.c"};
    EXPECT_EQ(Execute("[OPEN(bad.c)][OPEN(next.c)]"), 0x8000);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:bad.c"});
    ftCalls.clear();
    EXPECT_EQ(Execute("[PRINT(bad.c)][OPEN(next.c)]"), 0x8000);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"print:bad.c"});
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(DdeTest, SyntaxErrorsReportAndAcknowledge8001) {
    struct Case {
        const char *text;
        std::vector<std::string> calls;
    } cases[] = {
        {"[OPEN(\"x.c\")", {"open:x.c"}},        // the verb ran, then "]" is missing
        {"[OPEN(x.c)][OPEN y.c]", {"open:x.c"}}, // "(" missing
        {"[OPEN(\"x.c\"", {}},                   // ")" missing
        {"[OPEN(\"x.c)]", {}},                   // the quote never closes
        {"[OPEN(\"x.c\"z)]", {}},                // the quote must be followed by ")"
    };
    for (const Case &c : cases) {
        ftCalls.clear();
        VxAlertsReset();
        EXPECT_EQ(Execute(c.text), 0x8001) << c.text;
        EXPECT_EQ(ftCalls, c.calls) << c.text;
        ASSERT_EQ(VxAlerts().size(), 1u) << c.text;
        EXPECT_EQ(VxAlerts()[0].text, std::string("DDE Exec syntax error: ") + c.text);
    }
    ftCalls.clear();
    EXPECT_EQ(Execute("OPEN(x.c)"), 0x8000) << "a string not starting with \"[\" ends at once";
    EXPECT_TRUE(ftCalls.empty());
}

TEST_F(DdeTest, LongStringsAndBlocksWithoutANulAreReadSafely) {
    std::string name(65536, 'a');
    EXPECT_EQ(Execute("[OPEN(\"" + name + "\")]"), 0x8000);
    ASSERT_EQ(ftCalls.size(), 1u);
    EXPECT_EQ(ftCalls[0], "open:" + name) << "the argument arrives whole";
    ftCalls.clear();
    VxAlertsReset();
    // Every byte of the block is text: reading stops at its end, where the ")" is missing.
    EXPECT_EQ(Execute("[OPEN(" + std::string(4093, 'b'), false), 0x8001);
    EXPECT_TRUE(ftCalls.empty());
    EXPECT_EQ(VxAlerts().size(), 1u);
}

TEST_F(DdeTest, ExitClosesTheFrame) {
    EXPECT_EQ(Execute("[EXIT()]"), 0x8000);
    EXPECT_FALSE(IsWindow(frame));
}

// ---- A client in another process

class DdeClient : public DdeTest {
protected:
    // Runs the execute string through vxpeer while the frame takes messages: the peer's exit code.
    DWORD RunClient(const std::string &text) {
        std::string file = VxTempDir() + "\\execute.txt";
        FILE *out = VxFileOpen(file, "wb");
        fwrite(text.data(), 1, text.size(), out);
        fclose(out);
        FtProcess peer;
        if (!FtStart("\"" + FtProgram("vxpeer.exe") + "\" dde \"" + file + "\"", "", &peer))
            return FT_TIMED_OUT;
        return FtWait(&peer, 60000);
    }
};

TEST_F(DdeClient, OpenAQuotedNameThenCloseIt) {
    EXPECT_EQ(RunClient("[OPEN(\"C:\\my files\\a b.c\")][CLOSE()]"), 0x8000u);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:C:\\my files\\a b.c"});
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{58});
}

TEST_F(DdeClient, OpenWithoutItsBracketReportsTheSyntax) {
    EXPECT_EQ(RunClient("[OPEN(\"x.c\")"), 0x8001u);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:x.c"});
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "DDE Exec syntax error: [OPEN(\"x.c\")");
}

} // namespace
